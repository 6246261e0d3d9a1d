#pragma once
#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;
class QToolBar;

namespace dovi {

class Workspace;
class Ui;

// "Add to Series": the recorded series, one entry per record; okay continues
// the chosen one over the action list, "Remove" drops records.
class AddSeriesWindow : public QDialog {
    Q_OBJECT
public:
    AddSeriesWindow(QWidget* parent, Workspace& workspace, Ui& ui, QStringList targets);

    QListWidget* seriesList() const { return series_; }
    QPushButton* removeButton() const { return remove_; }
    QToolBar* toolBar() const { return tool_; }

    void runKey(const QString& key);

private:
    QStringList selectedTexts() const;
    void fill(const QStringList& texts);
    void removeSelected();

    Workspace& workspace_;
    Ui& ui_;
    QStringList targets_;
    QListWidget* series_;
    QPushButton* remove_;
    QToolBar* tool_;
};

} // namespace dovi
