#include "series/windows/AddSeriesWindow.h"

#include "series/AddToSeries.h"
#include "series/windows/OkayCancelBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

namespace dovi {

AddSeriesWindow::AddSeriesWindow(QWidget* parent, Workspace& workspace, Ui& ui, QStringList targets)
    : QDialog(parent), workspace_(workspace), ui_(ui), targets_(std::move(targets)),
      series_(new QListWidget(this)), remove_(new QPushButton(QStringLiteral("Remove"), this)),
      tool_(makeOkayCancelBar(this, [this](const QString& key) { runKey(key); })) {
    setObjectName(QStringLiteral("frmAdd"));
    setWindowTitle(QStringLiteral("Add to Series"));
    series_->setObjectName(QStringLiteral("series"));
    series_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    remove_->setObjectName(QStringLiteral("remove"));
    remove_->setAutoDefault(false);
    connect(remove_, &QPushButton::clicked, this, &AddSeriesWindow::removeSelected);

    auto* column = new QVBoxLayout(this);
    column->setMenuBar(tool_);
    auto* label =
        new QLabel(QStringLiteral("The following series details have been recorded:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    column->addWidget(label);
    column->addWidget(series_, 1);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(remove_);
    column->addLayout(row);

    fill(series::loadSeriesTexts(workspace_, ui_));
}

void AddSeriesWindow::runKey(const QString& key) {
    if (key == QLatin1String("okay")) {
        if (series::doAddition(workspace_, ui_, targets_, selectedTexts()) ==
            series::AddStep::Close)
            accept();
    } else if (key == QLatin1String("cancel")) {
        reject();
    }
}

QStringList AddSeriesWindow::selectedTexts() const {
    QStringList out;
    for (int i = 0; i < series_->count(); ++i)
        if (series_->item(i)->isSelected())
            out << series_->item(i)->text();
    return out;
}

void AddSeriesWindow::fill(const QStringList& texts) {
    series_->clear();
    series_->addItems(texts);
}

void AddSeriesWindow::removeSelected() {
    const series::RemoveOutcome outcome = series::removeSeries(workspace_, ui_, selectedTexts());
    if (outcome.reloaded)
        fill(outcome.texts);
    if (outcome.step == series::AddStep::Close)
        accept();
}

} // namespace dovi
