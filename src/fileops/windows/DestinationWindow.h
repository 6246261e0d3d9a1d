#pragma once
#include "fileops/DestinationChooser.h"

#include <QCheckBox>
#include <QDialog>
#include <QToolBar>
#include <QTreeView>

class QFileSystemModel;

namespace dovi {

class Workspace;
class Ui;

// The destination chooser: a folder tree, "Make this your working
// directory", and a toolbar with the keys "okay" and "cancel". Any way of
// closing it other than "okay" cancels.
class DestinationWindow : public QDialog {
    Q_OBJECT
public:
    DestinationWindow(QWidget* parent, Workspace& ws, Ui& ui, fileops::ChooserMode mode);

    // The folder the tree shows: no trailing "/" but for "/".
    QString treeFolder() const;
    // Points the tree at folder (the tests' hand, and the opening folder).
    void showFolder(const QString& folder);
    // Runs the toolbar button of that key ("okay", "cancel").
    void runToolbarKey(const QString& key);

    fileops::DestinationResult outcome() const { return outcome_; }
    QCheckBox* workingFolderBox() const { return gothere_; }
    QToolBar* toolbar() const { return toolbar_; }

    void done(int result) override;

private:
    Workspace& ws_;
    Ui& ui_;
    fileops::ChooserMode mode_;
    QString startFolder_;
    QFileSystemModel* model_;
    QTreeView* folders_;
    QCheckBox* gothere_;
    QToolBar* toolbar_;
    fileops::DestinationResult outcome_;
};

} // namespace dovi
