#pragma once
#include "app/Ui.h"

#include <QPointer>
#include <QWidget>

namespace dovi {

class StatusSurface;

// The real Ui: Qt's message, input and file dialogs over the given parent
// window, and the main window's status through its StatusSurface.
class DialogUi : public Ui {
public:
    explicit DialogUi(QWidget* parent = nullptr, StatusSurface* status = nullptr);

    Answer messageBox(const QString& title, const QString& text, MessageButtons buttons,
                      MessageIcon icon) override;
    std::optional<QString> inputText(const QString& title, const QString& prompt,
                                     const QString& initial) override;
    QString chooseOpenFile(const QString& title, const QString& folder,
                           const QString& filter) override;
    QString chooseSaveFile(const QString& title, const QString& folder,
                           const QString& filter) override;
    QString chooseFolder(const QString& title, const QString& start) override;
    void setWaitCursor(bool on) override;
    void setIdleLight(bool busy) override;
    void setProgressMode(int mode) override;
    void setProgressCaption(const QString& caption) override;
    void setProgressRange(int minimum, int maximum) override;
    void setProgressValue(int value) override;
    void setCaption(const QString& caption) override;
    void processEvents() override;

private:
    QPointer<QWidget> parent_;
    StatusSurface* status_;
};

} // namespace dovi
