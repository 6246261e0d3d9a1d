#include "fileops/Conformity.h"
#include "fileops/DestinationChooser.h"
#include "fileops/Rename.h"

#include "app/CommandFrame.h"

#include "WorkspaceFixture.h"

using namespace dovi;
using namespace dovi::test;
using fileops::RenameStep;

TEST(Naming, ConformedPathsAndRenameHighlights) {
    const std::tuple<QString, QString, std::optional<QString>> cases[] = {
        {"/p/a.JPEG", "jpg", "/p/a.jpg"}, {"/p/c", "jpg", "/p/c.jpg"},
        {"/p/a.jpg", "$u", "/p/a.JPG"},   {"/p/x.tar.Gz", "$U", "/p/x.tar.GZ"},
        {"/p/c", "$l", std::nullopt},     {"/my.pics/file", "jpg", "/my.pics/file.jpg"},
        {"/p/a.jpg", "Tga", "/p/a.Tga"},
    };
    for (const auto& [path, answer, expected] : cases)
        EXPECT_EQ(fileops::conformedPath(path, answer), expected) << path.toStdString();
    const std::pair<QString, int> highlights[] = {{"photo.jpg", 5}, {"README", 6}, {"a.jpeg", 2},
                                                  {"a.b", 0},       {".jpg", 0},   {"", 0}};
    for (const auto& [text, length] : highlights)
        EXPECT_EQ(fileops::renameHighlight(text).length, length) << text.toStdString();
}

// b.bmp and c.JPEG clash with b.jpg and c.jpg; c.JPG is another picture on a
// file system that tells case apart. Nothing is renamed onto another file.
TEST_F(WorkspaceFixture, ConformityCountsOnlyRealClashesAndLogsTheirReasons) {
    const QString pics = folder("pics");
    makeFiles(pics, {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "b.bmp", "c.JPEG", "c.JPG"});
    ws->filePattern = "*.*";
    const auto before = snapshot(pics);
    show(pics, {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "b.bmp", "c.JPEG"});
    ui.texts = {QString("j*g"), QString("x/y"), QString("jpg")};
    fileops::conformExtensions(*ws, ui);
    EXPECT_EQ(ui.inputPrompts.size(), 3) << "a refused answer is asked again";
    EXPECT_EQ(snapshot(pics), before);
    EXPECT_EQ(ui.prompts, Prompts({errorReport("2 error(s) occurred. Possible duplications." +
                                               QString(kReasonsInHistory))}));
    ASSERT_EQ(historyLines().size(), 2) << "one line per clash, none for files already right";
    EXPECT_TRUE(historyLines()[0].startsWith(pics + "/b.bmp NOT renamed to " + pics + "/b.jpg - "));

    show(pics, {"c.jpg", "d.jpg"});
    ui.texts = {QString("$U")};
    ui.prompts.clear();
    fileops::conformExtensions(*ws, ui);
    auto expected = before;
    expected["d.JPG"] = expected.take("d.jpg");
    EXPECT_EQ(snapshot(pics), expected);
}

TEST_F(WorkspaceFixture, RenameChecksTheNameAndNeverReplacesAnotherFile) {
    const QString pics = folder("pics");
    makeFiles(pics, {"photo.jpg", "PHOTO.jpg", "b.jpg"});
    show(pics, {"photo.jpg", "b.jpg"});
    const auto before = snapshot(pics);
    const QString invalid = "The name contains an invalid character.";
    const std::tuple<QString, RenameStep, QString> refused[] = {
        {"", RenameStep::Stay, "Please enter the new name."},
        {"sub/b.jpg", RenameStep::StayAndHighlight, invalid},
        {"PHOTO.jpg", RenameStep::StayAndHighlight, "File " + pics + "/PHOTO.jpg already exists"},
    };
    for (const auto& [name, step, message] : refused) {
        ui.prompts.clear();
        EXPECT_EQ(fileops::submitNewName(*ws, ui, "photo.jpg", name), step);
        EXPECT_EQ(ui.prompts, Prompts({warning(message)}));
    }
    EXPECT_EQ(snapshot(pics), before);
    EXPECT_EQ(fileops::submitNewName(*ws, ui, "gone.jpg", "new.jpg"), RenameStep::StayAndHighlight);
    EXPECT_EQ(ui.promptTexts().last(),
              "File " + pics + "/gone.jpg was not renamed - No such file or directory");

    // The command opens on the current file and renews list, selection and preview.
    ws->files.setCurrent(int(ws->files.indexOf("photo.jpg")));
    fileops::renameFile(*ws, ui, [&](const QString& oldName) {
        return fileops::submitNewName(*ws, ui, oldName, "Photo.jpg") == RenameStep::Renamed;
    });
    EXPECT_EQ(checksum(pics + "/Photo.jpg") + checksum(pics + "/PHOTO.jpg"),
              before["photo.jpg"] + before["PHOTO.jpg"]);
    EXPECT_EQ(historyLines().last(), pics + "/photo.jpg renamed to " + pics + "/Photo.jpg");
    ws->files.setCurrent(-1);
    fileops::renameFile(*ws, ui, [](const QString&) { return false; });
    EXPECT_EQ(ui.promptTexts().last(), "Please select the file to rename.");

    ws->settings.lastDestFolder = pics + "/gone/deeper/"; // the chooser opens nearest to it
    EXPECT_EQ(fileops::chooserStartFolder(*ws), pics);
    ws->settings.lastDestFolder = "c:\\";
    EXPECT_EQ(fileops::chooserStartFolder(*ws), QDir::homePath());
}
