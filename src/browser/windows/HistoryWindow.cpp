#include "browser/windows/HistoryWindow.h"

#include "app/Workspace.h"
#include "browser/HistoryOperations.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

namespace dovi {

HistoryWindow::HistoryWindow(Workspace& workspace, StatusSurface* status, QWidget* parent)
    : QWidget(parent, Qt::Window), workspace_(workspace), ui_(this, status),
      tools_(new QToolBar(this)), list_(new QListView(this)) {
    setObjectName(QStringLiteral("frmHist"));
    setAttribute(Qt::WA_DeleteOnClose);
    tools_->setObjectName(QStringLiteral("Toolbar1"));
    const struct {
        const char* key;
        const char* tip;
        const char* icon;
    } buttons[] = {{"clear", "Clear History List", "edit-clear"},
                   {"export", "Export List to File", "document-save-as"}};
    for (const auto& b : buttons) {
        QAction* action =
            tools_->addAction(QIcon::fromTheme(QLatin1String(b.icon)), QLatin1String(b.tip));
        action->setObjectName(QStringLiteral("tool_") + QLatin1String(b.key));
        action->setToolTip(QLatin1String(b.tip));
        const QString key = QLatin1String(b.key);
        connect(action, &QAction::triggered, this, [this, key] { runToolbarKey(key); });
    }
    list_->setObjectName(QStringLiteral("hist"));
    list_->setModel(&model_);
    list_->setUniformItemSizes(true);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(3, 0, 3, 3);
    column->addWidget(tools_);
    column->addWidget(list_, 1);

    resize(560, 360);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().topLeft() + QPoint(3, 3));

    linesTimer_.setSingleShot(true);
    linesTimer_.setInterval(0);
    connect(&linesTimer_, &QTimer::timeout, this, &HistoryWindow::showLines);
    connect(&workspace_, &Workspace::historyChanged, this, &HistoryWindow::onHistoryChanged);
    showLines();
}

bool HistoryWindow::runToolbarKey(const QString& key) {
    if (key == QLatin1String("clear"))
        browser::clearHistory(workspace_);
    else if (key == QLatin1String("export"))
        browser::exportHistory(workspace_, ui_);
    else
        return false;
    return true;
}

void HistoryWindow::onHistoryChanged() {
    setWindowTitle(workspace_.history.caption());
    linesTimer_.start();
}

void HistoryWindow::showLines() {
    setWindowTitle(workspace_.history.caption());
    // New lines come in at the bottom; follow them unless the user scrolled up.
    const QScrollBar* bar = list_->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    model_.setStringList(workspace_.history.lines());
    if (atEnd)
        list_->scrollToBottom();
}

void HistoryWindow::closeEvent(QCloseEvent* event) {
    // The window and its lines go together; the next line starts afresh.
    browser::clearHistory(workspace_);
    QWidget::closeEvent(event);
}

} // namespace dovi
