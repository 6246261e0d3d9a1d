#include "viewer/windows/DialogButtons.h"

#include <QAction>
#include <QDialog>
#include <QIcon>
#include <QLayout>
#include <QToolBar>

namespace dovi {

QToolBar* addOkayCancelBar(QDialog* dialog) {
    auto* bar = new QToolBar(dialog);
    bar->setObjectName(QStringLiteral("tool"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* okay = bar->addAction(QIcon::fromTheme(QStringLiteral("dialog-ok")),
                                   QStringLiteral("Okay"), dialog, &QDialog::accept);
    okay->setObjectName(QStringLiteral("okay"));
    QAction* cancel = bar->addAction(QIcon::fromTheme(QStringLiteral("dialog-cancel")),
                                     QStringLiteral("Cancel"), dialog, &QDialog::reject);
    cancel->setObjectName(QStringLiteral("cancel"));
    if (dialog->layout())
        dialog->layout()->setMenuBar(bar);
    return bar;
}

} // namespace dovi
