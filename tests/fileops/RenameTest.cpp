#include "fileops/Rename.h"

#include "WorkspaceFixture.h"

#include <QFileInfo>
#include <QSignalSpy>

using namespace dovi;
using dovi::test::snapshot;
using dovi::test::WorkspaceFixture;
using fileops::RenameStep;

TEST(RenameHighlight, SelectsTheNameWithoutAThreeLetterExtension) {
    const struct {
        QString text;
        int length;
    } cases[] = {
        {"photo.jpg", 5}, {"README", 6}, {"a.jpeg", 2}, {"a.b", 0}, {".jpg", 0}, {"", 0},
    };
    for (const auto& c : cases) {
        const fileops::Highlight h = fileops::renameHighlight(c.text);
        EXPECT_EQ(h.start, 0) << c.text.toStdString();
        EXPECT_EQ(h.length, c.length) << c.text.toStdString();
    }
}

TEST_F(WorkspaceFixture, RenameChecksTheNameAndNeverReplacesAnotherFile) {
    const QString pics = folder("pics");
    makeFiles(pics, {"photo.jpg", "PHOTO.jpg", "other.jpg"});
    show(pics);
    const auto before = snapshot(pics);

    const struct {
        QString name;
        RenameStep step;
        QString message;
    } refused[] = {
        {"", RenameStep::Stay, "Please enter the new name."},
        {"a\\b.jpg", RenameStep::StayAndHighlight, "The name contains an invalid character."},
        {"sub/b.jpg", RenameStep::StayAndHighlight, "The name contains an invalid character."},
        {"b*.jpg", RenameStep::StayAndHighlight, "The name contains an invalid character."},
        {"b?.jpg", RenameStep::StayAndHighlight, "The name contains an invalid character."},
        {"photo.jpg", RenameStep::StayAndHighlight, "File " + pics + "/photo.jpg already exists"},
        // Differs only in case, but is another picture on this file system.
        {"PHOTO.jpg", RenameStep::StayAndHighlight, "File " + pics + "/PHOTO.jpg already exists"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name.toStdString());
        ui.prompts.clear();
        EXPECT_EQ(fileops::submitNewName(*ws, ui, "photo.jpg", c.name), c.step);
        EXPECT_EQ(ui.prompts, test::Prompts({test::warning(c.message)}));
    }
    EXPECT_EQ(snapshot(pics), before);
    EXPECT_TRUE(historyLines().isEmpty());

    // Only the case changes: a rename of the same file.
    ui.prompts.clear();
    EXPECT_EQ(fileops::submitNewName(*ws, ui, "photo.jpg", "Photo.jpg"), RenameStep::Renamed);
    EXPECT_TRUE(ui.prompts.isEmpty());
    EXPECT_EQ(dovi::test::checksum(pics + "/Photo.jpg"), before["photo.jpg"]);
    EXPECT_EQ(dovi::test::checksum(pics + "/PHOTO.jpg"), before["PHOTO.jpg"]);
    EXPECT_EQ(historyLines(), QStringList({pics + "/photo.jpg renamed to " + pics + "/Photo.jpg"}));
}

TEST_F(WorkspaceFixture, ARenameTheFileSystemRefusesIsReportedAndTheWindowStays) {
    const QString pics = folder("pics");
    show(pics);
    EXPECT_EQ(fileops::submitNewName(*ws, ui, "vanished.jpg", "new.jpg"),
              RenameStep::StayAndHighlight);
    EXPECT_EQ(ui.promptTexts(),
              QStringList(
                  {"File " + pics + "/vanished.jpg was not renamed - No such file or directory"}));
    EXPECT_EQ(historyLines(), QStringList({pics + "/vanished.jpg NOT renamed to " + pics +
                                           "/new.jpg - No such file or directory"}));
}

TEST_F(WorkspaceFixture, RenameCommandOpensOnTheCurrentFileAndRefreshesAfterARename) {
    const QString pics = folder("pics");
    makeFiles(pics, {"a.jpg", "b.jpg"});
    show(pics, {"b.jpg"});
    ws->files.setCurrent(1);
    QStringList opened;
    QSignalSpy reset(ws.get(), &Workspace::previewReset);

    fileops::renameFile(*ws, ui, [&](const QString& oldName) {
        opened << oldName;
        return fileops::submitNewName(*ws, ui, oldName, "z.jpg") == RenameStep::Renamed;
    });
    EXPECT_EQ(opened, QStringList({"b.jpg"}));
    EXPECT_EQ(ws->files.names(), QStringList({"a.jpg", "z.jpg"}));
    EXPECT_EQ(reset.count(), 1);

    // Escape: nothing renamed, nothing refreshed.
    ws->files.setCurrent(1);
    fileops::renameFile(*ws, ui, [&](const QString& oldName) {
        opened << oldName;
        return false;
    });
    EXPECT_EQ(reset.count(), 1);

    // No current entry, or nothing at all to act on.
    ws->files.setCurrent(-1);
    const auto mustNotOpen = [](const QString&) {
        ADD_FAILURE() << "the window opened";
        return false;
    };
    fileops::renameFile(*ws, ui, mustNotOpen);
    show(folder("empty"));
    fileops::renameFile(*ws, ui, mustNotOpen);
    EXPECT_EQ(opened, QStringList({"b.jpg", "z.jpg"}));
    EXPECT_EQ(ui.promptTexts(),
              QStringList({"Please select the file to rename.", "No files to action!"}));
}
