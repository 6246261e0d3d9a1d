#pragma once
#include <QDialog>

class QListWidget;
class QPushButton;

namespace dovi {

class ShellServices;
class Workspace;
class Ui;

// "Quick Link Items": the quick links file listed; "Add" appends the folder
// shown, "Remove" drops the chosen entry (and its duplicates), a double-click
// shows the entry in the main window. Modeless: it stays open beside it.
class FavsWindow : public QDialog {
    Q_OBJECT
public:
    FavsWindow(QWidget* parent, Workspace& workspace, Ui& ui, ShellServices& shell);

    QListWidget* links() const { return links_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* removeButton() const { return remove_; }

    // Fills the list from the file.
    void readLinks();

private:
    void addCurrentFolder();
    void removeChosen();

    Workspace& workspace_;
    Ui& ui_;
    ShellServices& shell_;
    QListWidget* links_;
    QPushButton* add_;
    QPushButton* remove_;
};

} // namespace dovi
