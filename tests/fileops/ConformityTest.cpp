#include "fileops/Conformity.h"

#include "WorkspaceFixture.h"

#include <QFileInfo>

using namespace dovi;
using dovi::test::snapshot;
using dovi::test::WorkspaceFixture;

namespace {
const QString kPrompt = QStringLiteral(
    "Extension Conformity: Please enter the new extension.\nEntering $U or $L will simply convert "
    "case.");
}

TEST(Conformity, NewPathsForEachKindOfAnswer) {
    const struct {
        QString path, answer;
        std::optional<QString> expected;
    } cases[] = {
        {"/p/a.JPEG", "jpg", "/p/a.jpg"},
        {"/p/b.bmp", "jpg", "/p/b.jpg"},
        {"/p/c", "jpg", "/p/c.jpg"},
        {"/p/a.jpg", "$u", "/p/a.JPG"},
        {"/p/B.BMP", "$L", "/p/B.bmp"},
        {"/p/x.tar.Gz", "$U", "/p/x.tar.GZ"},
        {"/p/c", "$U", std::nullopt},
        {"/p/c", "$l", std::nullopt},
        {"/my.pics/file", "jpg", "/my.pics/file.jpg"},
        {"/my.pics/file", "$U", std::nullopt},
        {"/p/a.jpg", "Tga", "/p/a.Tga"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fileops::conformedPath(c.path, c.answer), c.expected)
            << c.path.toStdString() << " " << c.answer.toStdString();
    EXPECT_EQ(fileops::extensionOf("/my.pics/file"), std::nullopt);
    EXPECT_EQ(fileops::extensionOf("/p/a.JPEG"), "JPEG");
}

TEST_F(WorkspaceFixture, ConformityRenamesEveryFileAndAsksWithTheFirstExtension) {
    const QString pics = folder("pics");
    makeFiles(pics, {"a.JPEG", "b.bmp", "c"});
    ws->filePattern = "*.*";
    ws->hold.append(pics + "/a.JPEG");
    ws->hold.append(pics + "/b.bmp");
    ws->hold.append(pics + "/c");
    show(pics);
    const auto before = snapshot(pics);
    ui.texts = {QString("j*g"), QString("j|g"), QString("x/y"), QString("jpg")};

    fileops::conformExtensions(*ws, ui);

    EXPECT_EQ(ui.inputPrompts, QStringList({kPrompt, kPrompt, kPrompt, kPrompt}))
        << "a refused answer is asked again without a message";
    EXPECT_EQ(ui.inputPresets.first(), "jpeg");
    EXPECT_TRUE(ui.prompts.isEmpty());
    EXPECT_EQ(ws->files.names(), QStringList({"a.jpg", "b.jpg", "c.jpg"}));
    EXPECT_EQ(snapshot(pics)["a.jpg"], before["a.JPEG"]);
    EXPECT_EQ(snapshot(pics)["c.jpg"], before["c"]);
    EXPECT_TRUE(ws->hold.isEmpty()) << "the held paths no longer exist";
    EXPECT_TRUE(historyLines().isEmpty()) << "conformity writes no history";
    EXPECT_FALSE(ui.idleLightBusy);
}

TEST_F(WorkspaceFixture, ConformityNeverRenamesOntoAnotherFile) {
    const QString pics = folder("pics");
    makeFiles(pics, {"a.bmp", "a.jpg", "b.jpg", "b.JPG", "d.jpg", "e.bmp"});
    ws->filePattern = "*.*";
    const auto before = snapshot(pics);
    const struct {
        QStringList selected;
        QString answer;
        int errors;
        QStringList after; // the names the folder then holds
    } cases[] = {
        // a.jpg is taken: a.bmp stays.
        {{"a.bmp"}, "jpg", 1, {"a.bmp", "a.jpg", "b.jpg", "b.JPG", "d.jpg", "e.bmp"}},
        // b.JPG is another picture: b.jpg keeps its name; d.jpg converts.
        {{"b.jpg", "d.jpg"}, "$U", 1, {"a.bmp", "a.jpg", "b.jpg", "b.JPG", "d.JPG", "e.bmp"}},
        // Already in that case: no work, no error.
        {{"b.JPG"}, "$u", 0, {"a.bmp", "a.jpg", "b.jpg", "b.JPG", "d.JPG", "e.bmp"}},
        // Already that extension: the name is taken, by the file itself.
        {{"e.bmp"}, "bmp", 1, {"a.bmp", "a.jpg", "b.jpg", "b.JPG", "d.JPG", "e.bmp"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer.toStdString());
        show(pics, c.selected);
        ui.prompts.clear();
        ui.texts = {c.answer};
        fileops::conformExtensions(*ws, ui);
        QStringList names = QDir(pics).entryList(QDir::Files);
        QStringList expected = c.after;
        names.sort();
        expected.sort();
        EXPECT_EQ(names, expected);
        if (c.errors == 0) {
            EXPECT_TRUE(ui.prompts.isEmpty());
            continue;
        }
        EXPECT_EQ(ui.prompts,
                  test::Prompts({test::errorReport(QString::number(c.errors) +
                                                   " error(s) occurred. Possible duplications.")}));
    }
    const auto after = snapshot(pics);
    EXPECT_EQ(after["b.jpg"], before["b.jpg"]);
    EXPECT_EQ(after["b.JPG"], before["b.JPG"]);
    EXPECT_EQ(after["d.JPG"], before["d.jpg"]);
    EXPECT_EQ(after["a.bmp"], before["a.bmp"]);
    EXPECT_EQ(after["a.jpg"], before["a.jpg"]);
}

TEST_F(WorkspaceFixture, CancelledConformityChangesNoNameButRefreshesTheList) {
    const QString pics = folder("pics");
    makeFiles(pics, {"a.jpg", "b.bmp"});
    show(pics, {"a.jpg"});
    ws->hold.append(pics + "/a.jpg");
    ws->hold.bypass = true;
    makeFiles(pics, {"new.tga"}); // appears meanwhile: the refresh lists it
    const auto before = snapshot(pics);
    fileops::conformExtensions(*ws, ui); // the box is cancelled
    EXPECT_EQ(snapshot(pics), before);
    EXPECT_EQ(ws->files.names(), QStringList({"a.jpg", "b.bmp", "new.tga"}));
    EXPECT_EQ(ws->hold.count(), 1);
    EXPECT_TRUE(ui.captions.isEmpty());
}
