#pragma once
#include "app/windows/DialogUi.h"

#include <QListView>
#include <QStringListModel>
#include <QTimer>
#include <QToolBar>
#include <QWidget>

namespace dovi {

class StatusSurface;
class Workspace;

// The running history: every line written in this run, oldest first, with
// "clear" and "export" on its toolbar. Modeless; closing it discards its lines.
class HistoryWindow : public QWidget {
    Q_OBJECT
public:
    HistoryWindow(Workspace& workspace, StatusSurface* status, QWidget* parent = nullptr);

    QListView* list() const { return list_; }
    QToolBar* toolBar() const { return tools_; }
    Ui& ui() { return ui_; }

    // Runs a toolbar button by its key ("clear", "export"); false for any other.
    bool runToolbarKey(const QString& key);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void onHistoryChanged();
    void showLines();

    Workspace& workspace_;
    DialogUi ui_;
    QToolBar* tools_;
    QListView* list_;
    QStringListModel model_;
    // Many lines written in one go (a detailed list) redraw the list once.
    QTimer linesTimer_;
};

} // namespace dovi
