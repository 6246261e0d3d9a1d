#include "fileops/windows/DestinationWindow.h"
#include "fileops/windows/DestinationDialogChooser.h"

#include "WorkspaceFixture.h"

#include <QAction>
#include <QApplication>
#include <QFileSystemModel>
#include <QTimer>
#include <QTreeView>

using namespace dovi;
using dovi::test::WorkspaceFixture;
using fileops::ChooserMode;

TEST_F(WorkspaceFixture, CopyMoveChooserRefusesTheSourceAndRemembersWhereItClosed) {
    const QString src = folder("Src");
    const QString dst = folder("Dst/Inner");
    show(src);
    ws->settings.lastDestFolder = dst + "/";
    DestinationWindow w(nullptr, *ws, ui, ChooserMode::CopyMove);
    const auto* tree = w.findChild<QTreeView*>("folders");
    const QModelIndex shown = tree->currentIndex();
    EXPECT_EQ(shown.data(QFileSystemModel::FilePathRole).toString(), dst)
        << "opens at the remembered destination";
    EXPECT_TRUE(tree->isExpanded(shown.parent())) << "unfolded down to it";

    w.show();
    w.showFolder(src);
    w.runToolbarKey("okay");
    EXPECT_EQ(ui.promptTexts(), QStringList({"Destination cannot match the source!"}));
    EXPECT_TRUE(w.isVisible()) << "the window stays open";

    // Through the dialog chooser, as the commands use it.
    QTimer::singleShot(0, [&] {
        auto* modal = qobject_cast<DestinationWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(modal, nullptr);
        modal->showFolder(dir.filePath("Dst"));
        modal->workingFolderBox()->setChecked(true);
        modal->runToolbarKey("okay");
    });
    const fileops::DestinationResult r =
        DestinationDialogChooser(nullptr, *ws, ui).choose(ChooserMode::CopyMove);
    EXPECT_FALSE(r.cancelled);
    EXPECT_EQ(r.folder, dir.filePath("Dst"));
    EXPECT_TRUE(r.makeWorkingFolder);
    EXPECT_EQ(ws->settings.lastDestFolder, dir.filePath("Dst") + "/") << "case kept";
}

TEST_F(WorkspaceFixture, ClosingTheChooserAnyOtherWayCancelsAndSelectAFolderAcceptsTheSource) {
    const QString a = folder("a");
    const QString b = folder("b");
    show(a);
    for (const char* how : {"cancel", "escape", "close", "select"}) {
        SCOPED_TRACE(how);
        const bool select = QByteArray(how) == "select";
        ws->settings.lastDestFolder = a + "/";
        DestinationWindow w(nullptr, *ws, ui,
                            select ? ChooserMode::SelectFolder : ChooserMode::CopyMove);
        w.show();
        w.showFolder(select ? a : b);
        if (select)
            w.runToolbarKey("okay");
        else if (QByteArray(how) == "cancel")
            w.runToolbarKey("cancel");
        else
            QByteArray(how) == "escape" ? w.reject() : void(w.close());
        EXPECT_EQ(w.outcome().cancelled, !select);
        EXPECT_EQ(ws->settings.lastDestFolder, (select ? a : b) + "/");
        EXPECT_EQ(w.workingFolderBox()->isEnabled(), !select);
    }
    EXPECT_TRUE(ui.prompts.isEmpty());
}
