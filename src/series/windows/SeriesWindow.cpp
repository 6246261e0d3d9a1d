#include "series/windows/SeriesWindow.h"

#include "app/windows/SelectAllText.h"
#include "series/SeriesCreation.h"
#include "series/windows/OkayCancelBar.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolBar>
#include <QVBoxLayout>

namespace dovi {

SeriesWindow::SeriesWindow(QWidget* parent, Workspace& workspace, Ui& ui, QStringList targets)
    : QDialog(parent), workspace_(workspace), ui_(ui), targets_(std::move(targets)),
      series_(new QLineEdit(this)), index_(new QLineEdit(QStringLiteral("1"), this)),
      prefix_(new QRadioButton(QStringLiteral("Index is Prefix"), this)),
      suffix_(new QRadioButton(QStringLiteral("Index is Suffix"), this)),
      history_(new QCheckBox(QStringLiteral("Add this Series to the History file"), this)),
      tool_(makeOkayCancelBar(this, [this](const QString& key) { runKey(key); })) {
    setObjectName(QStringLiteral("frmSeries"));
    setWindowTitle(QStringLiteral("Create a Series"));
    series_->setObjectName(QStringLiteral("series"));
    index_->setObjectName(QStringLiteral("index"));
    prefix_->setObjectName(QStringLiteral("prefix"));
    suffix_->setObjectName(QStringLiteral("suffix"));
    history_->setObjectName(QStringLiteral("history"));
    suffix_->setChecked(true);
    history_->setChecked(true);
    selectAllOnFocus(series_);
    selectAllOnFocus(index_);
    series_->installEventFilter(this);

    auto* column = new QVBoxLayout(this);
    column->setMenuBar(tool_);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Series Text"), series_);
    fields->addRow(QStringLiteral("Start Index At"), index_);
    column->addLayout(fields);
    column->addWidget(prefix_);
    column->addWidget(suffix_);
    column->addWidget(history_);
    series_->setFocus();
}

void SeriesWindow::runKey(const QString& key) {
    if (key == QLatin1String("okay"))
        okay();
    else if (key == QLatin1String("cancel"))
        reject();
}

void SeriesWindow::okay() {
    const series::SeriesRequest request{series_->text(), index_->text(), prefix_->isChecked(),
                                        history_->isChecked()};
    switch (series::submitSeries(workspace_, ui_, targets_, request)) {
    case series::SeriesStep::FocusSeries:
        series_->setFocus();
        break;
    case series::SeriesStep::FocusIndex:
        index_->setFocus();
        break;
    case series::SeriesStep::Done:
        accept();
        break;
    }
}

bool SeriesWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == series_ &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter || key->key() == Qt::Key_Escape) {
            // The text box acts when the key comes up; the press must not
            // reach the dialog's own default and cancel handling.
            if (event->type() == QEvent::KeyRelease && !key->isAutoRepeat())
                runKey(enter ? QStringLiteral("okay") : QStringLiteral("cancel"));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace dovi
