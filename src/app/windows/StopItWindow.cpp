#include "app/windows/StopItWindow.h"

#include "app/Workspace.h"

#include <QVBoxLayout>

namespace dovi {

StopItWindow::StopItWindow(QWidget* parent, Workspace& ws) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("frmCancel"));
    setWindowTitle(QStringLiteral("Stop It!"));
    setAttribute(Qt::WA_DeleteOnClose);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("cancel"));
    connect(cancel_, &QPushButton::clicked, this, [&ws] { ws.abortRequested = true; });
    auto* column = new QVBoxLayout(this);
    column->addWidget(cancel_);
}

} // namespace dovi
