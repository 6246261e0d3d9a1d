#include "app/windows/DialogUi.h"

#include "app/windows/StatusSurface.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace dovi {

DialogUi::DialogUi(QWidget* parent, StatusSurface* status) : parent_(parent), status_(status) {}

Answer DialogUi::messageBox(const QString& title, const QString& text, MessageButtons buttons,
                            MessageIcon icon) {
    QMessageBox box(parent_);
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MessageIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    switch (buttons) {
    case MessageButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MessageButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MessageButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    // A wait pointer left by a running operation must not hide the question's buttons.
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int pressed = box.exec();
    if (waiting)
        QApplication::restoreOverrideCursor();
    switch (pressed) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return buttons == MessageButtons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

std::optional<QString> DialogUi::inputText(const QString& title, const QString& prompt,
                                           const QString& initial) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent_, title, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString DialogUi::chooseOpenFile(const QString& title, const QString& folder,
                                 const QString& filter) {
    return QFileDialog::getOpenFileName(parent_, title, folder, filter);
}

QString DialogUi::chooseSaveFile(const QString& title, const QString& folder,
                                 const QString& filter) {
    // The operations ask their own overwrite question, about the name they
    // really write (which may gain an extension), so the dialog must not.
    return QFileDialog::getSaveFileName(parent_, title, folder, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString DialogUi::chooseFolder(const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(parent_, title, start);
}

void DialogUi::setWaitCursor(bool on) {
    // Busy does not nest: one "idle" ends every earlier "busy".
    if (on) {
        if (!QApplication::overrideCursor())
            QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
    }
}

void DialogUi::setIdleLight(bool busy) {
    if (status_)
        status_->showIdleLight(busy);
}
void DialogUi::setProgressMode(int mode) {
    if (status_)
        status_->showProgressMode(mode);
}
void DialogUi::setProgressCaption(const QString& caption) {
    if (status_)
        status_->showProgressCaption(caption);
}
void DialogUi::setProgressRange(int minimum, int maximum) {
    if (status_)
        status_->showProgressRange(minimum, maximum);
}
void DialogUi::setProgressValue(int value) {
    if (status_)
        status_->showProgressValue(value);
}
void DialogUi::setCaption(const QString& caption) {
    if (status_)
        status_->showCaption(caption);
}

void DialogUi::processEvents() {
    QApplication::processEvents();
}

} // namespace dovi
