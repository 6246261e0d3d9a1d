#pragma once
#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QToolBar;

namespace dovi {

class Workspace;
class Ui;

// "Create a Series": the series text, the start index, the index's place and
// whether to record the series; okay renames the action list.
class SeriesWindow : public QDialog {
    Q_OBJECT
public:
    SeriesWindow(QWidget* parent, Workspace& workspace, Ui& ui, QStringList targets);

    QLineEdit* seriesEdit() const { return series_; }
    QLineEdit* indexEdit() const { return index_; }
    QRadioButton* prefixOption() const { return prefix_; }
    QRadioButton* suffixOption() const { return suffix_; }
    QCheckBox* historyBox() const { return history_; }
    QToolBar* toolBar() const { return tool_; }

    // The toolbar's commands by key.
    void runKey(const QString& key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void okay();

    Workspace& workspace_;
    Ui& ui_;
    QStringList targets_;
    QLineEdit* series_;
    QLineEdit* index_;
    QRadioButton* prefix_;
    QRadioButton* suffix_;
    QCheckBox* history_;
    QToolBar* tool_;
};

} // namespace dovi
