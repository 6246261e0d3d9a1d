#pragma once
#include <QDialog>
#include <QLineEdit>

namespace dovi {

class Workspace;
class Ui;

// "Rename File": one text box with the current name, the likely part of it
// selected. Enter (on release) renames; Escape closes without renaming.
class RenameWindow : public QDialog {
    Q_OBJECT
public:
    RenameWindow(QWidget* parent, Workspace& ws, Ui& ui, QString oldName);

    QLineEdit* nameBox() const { return newname_; }
    bool renamed() const { return renameOk_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void doHighLight();
    void submit();

    Workspace& ws_;
    Ui& ui_;
    QString oldName_;
    QLineEdit* newname_;
    bool renameOk_ = false;
    int pressedKey_ = 0;
};

} // namespace dovi
