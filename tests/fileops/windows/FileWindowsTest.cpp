#include "fileops/windows/DestinationDialogChooser.h"
#include "fileops/windows/DestinationWindow.h"
#include "fileops/windows/FileCommandBindings.h"
#include "fileops/windows/RenameWindow.h"

#include "shell/CommandTable.h"

#include "RecordingShell.h"
#include "WorkspaceFixture.h"

#include <QApplication>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QTest>
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

    w.show();
    w.showFolder(src);
    w.runToolbarKey("okay");
    EXPECT_EQ(ui.promptTexts(), QStringList({"Destination cannot match the source!"}));

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
    EXPECT_EQ(std::tuple(r.cancelled, r.folder, r.makeWorkingFolder),
              std::tuple(false, dir.filePath("Dst"), true));

    // Closed any way but OK, the chooser is cancelled yet remembers where it was.
    DestinationWindow closed(nullptr, *ws, ui, ChooserMode::CopyMove);
    closed.show();
    closed.showFolder(dst);
    closed.close();
    EXPECT_TRUE(closed.outcome().cancelled);
    EXPECT_EQ(ws->settings.lastDestFolder, dst + "/");
}

// The name's rules are the operation's; the window acts when Enter comes up,
// so the Enter that closes a warning does not submit again.
TEST_F(WorkspaceFixture, RenameWindowRenamesOnEnterReleaseWarnsInPlaceAndEscapeCloses) {
    const QString pics = folder("pics");
    makeFiles(pics, {"photo.jpg", "taken.jpg"});
    show(pics);
    RenameWindow w(nullptr, *ws, ui, "photo.jpg");
    w.show();
    QLineEdit* box = w.nameBox();
    EXPECT_EQ(box->selectedText(), "photo") << "the likely part is selected";

    box->setText("taken.jpg");
    QTest::keyPress(box, Qt::Key_Return);
    EXPECT_TRUE(ui.prompts.isEmpty()) << "nothing happens on the press";
    QTest::keyRelease(box, Qt::Key_Return);
    QTest::keyRelease(box, Qt::Key_Return); // the Enter that closed the warning
    EXPECT_EQ(ui.prompts.size(), 1);

    box->setText("new.jpg");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_TRUE(w.renamed() && QFileInfo::exists(pics + "/new.jpg"));

    RenameWindow other(nullptr, *ws, ui, "taken.jpg");
    other.show();
    QTest::keyClick(other.nameBox(), Qt::Key_Escape);
    EXPECT_FALSE(other.isVisible() || other.renamed());
}

// The commands' rules are pinned where they are made; here the detailed list
// measures with an engine of its own (a.jpg holds no picture).
TEST_F(WorkspaceFixture, TheDetailedListCommandMeasuresWithItsOwnEngine) {
    CommandDispatcher commands;
    test::RecordingShell shell;
    bindFileCommands(commands, {*ws, ui, nullptr, shell});
    const QString pics = folder("pics");
    makeFiles(pics, {"a.jpg"});
    show(pics);
    EXPECT_TRUE(commands.runControl("mnuDetail"));
    EXPECT_EQ(ui.promptTexts(), QStringList({"Include field headings?"}));
    EXPECT_EQ(historyLines(), QStringList({pics + "/a.jpg,4096,N/A"}));
    EXPECT_EQ(shell.historyShown, 1);
}
