#include "fileops/windows/RenameWindow.h"

#include "fileops/Rename.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace dovi {

RenameWindow::RenameWindow(QWidget* parent, Workspace& ws, Ui& ui, QString oldName)
    : QDialog(parent), ws_(ws), ui_(ui), oldName_(std::move(oldName)) {
    setObjectName(QStringLiteral("frmRename"));
    setWindowTitle(QStringLiteral("Rename File"));
    setModal(true);

    auto* frame = new QGroupBox(this);
    newname_ = new QLineEdit(oldName_, frame);
    newname_->setObjectName(QStringLiteral("newname"));
    newname_->setMinimumWidth(320);
    newname_->installEventFilter(this);
    auto* inner = new QVBoxLayout(frame);
    inner->addWidget(newname_);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(frame);

    doHighLight();
}

void RenameWindow::doHighLight() {
    const fileops::Highlight h = fileops::renameHighlight(newname_->text());
    if (h.length > 0)
        newname_->setSelection(h.start, h.length);
    else
        newname_->deselect();
}

void RenameWindow::submit() {
    switch (fileops::submitNewName(ws_, ui_, oldName_, newname_->text())) {
    case fileops::RenameStep::Renamed:
        renameOk_ = true;
        accept();
        break;
    case fileops::RenameStep::StayAndHighlight:
        doHighLight();
        break;
    case fileops::RenameStep::Stay:
        break;
    }
}

bool RenameWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != newname_ ||
        (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!enter && key != Qt::Key_Escape)
        return QDialog::eventFilter(watched, event);
    // Both keys act when released; their press must not reach the dialog's
    // own default and cancel handling. A release whose press went elsewhere
    // (the Enter that closed a message box) is ignored, or every warning
    // would come straight back.
    if (event->type() == QEvent::KeyPress) {
        pressedKey_ = key;
        return true;
    }
    if (static_cast<QKeyEvent*>(event)->isAutoRepeat() || pressedKey_ != key)
        return true;
    pressedKey_ = 0;
    if (enter)
        submit();
    else
        reject();
    return true;
}

} // namespace dovi
