// The viewer's commands over a real folder: no failed save loses a file or an edit.
#include "viewer/ViewerDocument.h"
#include "viewer/SaveAsNames.h"

#include "WorkspaceFixture.h"

#include <QFile>

namespace dovi::viewer {
namespace {

using test::question;
using test::samePixels;
using test::warning;

struct ScriptedChooser : SaveAsChooser {
    std::deque<SaveAsChoice> choices;
    SaveAsChoice chooseSaveAs(const QString&, const QString&, const QStringList&) override {
        if (choices.empty())
            return {};
        const SaveAsChoice c = choices.front();
        choices.pop_front();
        return c;
    }
};

struct ViewerDocumentTest : test::WorkspaceFixture {
    QString pics;
    std::unique_ptr<ViewerDocument> doc;
    ScriptedChooser chooser;

    void SetUp() override {
        WorkspaceFixture::SetUp();
        pics = folder("my.photos");
        doc = std::make_unique<ViewerDocument>(*ws, ui);
    }
    QString picture(const QString& name, QSize size = {40, 30},
                    imaging::FormatCode format = imaging::Bmp) {
        const QString path = pics + "/" + name;
        test::writeImage(path, size, format);
        return path;
    }
};

TEST_F(ViewerDocumentTest, OpenCropFiltersAndUndo) {
    const QString path = picture("a.bmp", {400, 300});
    ASSERT_TRUE(doc->open(path));
    EXPECT_EQ(historyLines(), QStringList{"Viewed " + path});
    // A file that cannot be read is reported and the open picture stays.
    ASSERT_TRUE(test::writeFile(pics + "/note.bmp", "not a picture"));
    EXPECT_FALSE(doc->open(pics + "/note.bmp"));
    EXPECT_EQ(std::pair(ui.prompts.size(), doc->fileName()), std::pair(qsizetype(1), path));

    doc->crop({10, 10}, {10, 50}, {0, 0}); // one-dimensional: nothing cropped
    EXPECT_TRUE(doc->modified());
    EXPECT_EQ(doc->engine().imageWidth(), 400);
    doc->crop({110, 70}, {10, 20}, {100, 50});
    EXPECT_EQ(doc->caption(), path + "  X:100  Y:50");
    const QImage cropped = doc->engine().pixels();
    ASSERT_TRUE(doc->applyFilter(*findViewerFilter("Negative")));
    doc->undo();
    EXPECT_TRUE(samePixels(cropped, doc->engine().pixels()));
}

TEST_F(ViewerDocumentTest, SaveWritesTheFormatItsNameSaysAndClearsTheChange) {
    const QString path = picture("a.pcx", {40, 30}, imaging::Pcx);
    ASSERT_TRUE(doc->open(path));
    doc->applyFilter(*findViewerFilter("Mirror"));
    ASSERT_TRUE(doc->save());
    EXPECT_FALSE(doc->modified());
    const imaging::DecodeResult back = imaging::decodeFile(path);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.image.format, imaging::Pcx);
    EXPECT_TRUE(samePixels(doc->engine().pixels(), back.image.pixels));
    doc->undo();
    EXPECT_FALSE(doc->modified()); // Undo after Save does not mark a change
}

TEST_F(ViewerDocumentTest, AFailedSaveKeepsTheFileAndTheEdits) {
    const QString path = picture("a.bmp", {300, 200});
    const QByteArray before = test::checksum(path);
    ASSERT_TRUE(doc->open(path));
    doc->applyFilter(*findViewerFilter("Flip"));
    const QImage edited = doc->engine().pixels();
    {
        test::FileSizeLimit full(1000); // the disk fills up after 1000 bytes
        EXPECT_FALSE(doc->save());
        ui.answers = {Answer::Yes};
        EXPECT_EQ(doc->closeFile(), CloseAnswer::Stay); // Yes, but the save fails
    }
    EXPECT_EQ(test::checksum(path), before);
    EXPECT_TRUE(doc->modified());
    EXPECT_TRUE(samePixels(edited, doc->engine().pixels()));
    ASSERT_EQ(ui.prompts.size(), 3);
    EXPECT_TRUE(ui.prompts[2].text.contains("could not be saved"));
    EXPECT_EQ(historyLines().size(), 1); // no "Edited" after a failed save

    // Crop, Save and Close: the crop stays on screen when its save fails.
    {
        test::FileSizeLimit full(1000);
        EXPECT_EQ(doc->cropSaveClose({0, 0}, {20, 20}, {0, 0}), CloseAnswer::Stay);
    }
    EXPECT_EQ(std::pair(doc->modified(), doc->engine().imageWidth()), std::pair(true, 20));
    EXPECT_EQ(test::checksum(path), before);
}

TEST_F(ViewerDocumentTest, ClosePromptFollowsTheAnswer) {
    const QString path = picture("a.bmp");
    ASSERT_TRUE(doc->open(path));
    EXPECT_EQ(doc->closeFile(), CloseAnswer::Close); // unchanged: no question
    EXPECT_TRUE(ui.prompts.isEmpty());

    doc->applyFilter(*findViewerFilter("Negative"));
    const QByteArray before = test::checksum(path);
    ui.answers = {Answer::Cancel, Answer::No, Answer::Yes};
    EXPECT_EQ(doc->closeFile(), CloseAnswer::Stay);
    EXPECT_EQ(doc->closeFile(), CloseAnswer::Close);
    EXPECT_EQ(test::checksum(path), before); // No saves nothing
    EXPECT_EQ(doc->closeFile(), CloseAnswer::Close);
    EXPECT_NE(test::checksum(path), before);
    EXPECT_EQ(ui.prompts,
              test::Prompts(3, question("", "Save Your Changes ?", MessageButtons::YesNoCancel)));
    EXPECT_EQ(historyLines(), QStringList({"Viewed " + path, "Edited " + path}));
}

TEST_F(ViewerDocumentTest, SaveAsNamesPromptsAndHistory) {
    const QString path = picture("a.x.bmp");
    ASSERT_TRUE(doc->open(path));
    const QString taken = picture("b.jpg", {10, 10}, imaging::Jpeg);
    const QByteArray takenBefore = test::checksum(taken);

    chooser.choices = {
        {}, {path, BitmapFilter}, {pics + "/b.x.bmp", JpegFilter}, {pics + "/b.bmp", JpegFilter}};
    ui.answers = {Answer::Ok, Answer::No, Answer::Yes};
    EXPECT_FALSE(doc->saveAs(chooser)); // cancelled
    EXPECT_FALSE(doc->saveAs(chooser)); // the same name
    EXPECT_FALSE(doc->saveAs(chooser)); // b.jpg exists: No
    EXPECT_EQ(test::checksum(taken), takenBefore);
    ASSERT_TRUE(doc->saveAs(chooser)); // b.jpg again: Yes
    EXPECT_EQ(ui.prompts, test::Prompts({warning("New name is the same as the current name!"),
                                         question("Overwrite", "File Exists. Overwrite?"),
                                         question("Overwrite", "File Exists. Overwrite?")}));
    const imaging::Image written = imaging::decodeFile(taken).image;
    EXPECT_EQ(std::pair(written.format, written.pixels.size()),
              std::pair(imaging::Jpeg, QSize(40, 30)));
    EXPECT_EQ(std::tuple(doc->fileName(), doc->saveFileName(), doc->savedAs()),
              std::tuple(taken, taken, true));
    EXPECT_EQ(historyLines().last(), "Saved " + pics + "/a as " + taken);
}

TEST_F(ViewerDocumentTest, SaveAsOverAReadOnlyFileReplacesItOrLeavesItWhole) {
    const QString path = picture("a.bmp");
    ASSERT_TRUE(doc->open(path));
    const QString locked = picture("locked.tga", {8, 8}, imaging::Tga);
    QFile::setPermissions(locked, QFile::ReadOwner);
    const QByteArray before = test::checksum(locked);

    chooser.choices = {{locked, TargaFilter}, {locked, TargaFilter}};
    ui.answers = {Answer::Yes, Answer::Ok, Answer::Yes};
    {
        test::FileSizeLimit full(100);
        EXPECT_FALSE(doc->saveAs(chooser));
    }
    EXPECT_EQ(test::checksum(locked), before);
    EXPECT_FALSE(doc->savedAs());
    ASSERT_TRUE(doc->saveAs(chooser));
    const imaging::DecodeResult back = imaging::decodeFile(locked);
    EXPECT_EQ(back.image.format, imaging::Tga);
    EXPECT_TRUE(samePixels(doc->engine().pixels(), back.image.pixels));
}

TEST_F(ViewerDocumentTest, SaveOfAReadOnlyFileIsRefused) {
    if (test::runningAsRoot())
        GTEST_SKIP() << "root may write read-only files";
    const QString path = picture("a.bmp");
    QFile::setPermissions(path, QFile::ReadOwner);
    const QByteArray before = test::checksum(path);
    ASSERT_TRUE(doc->open(path));
    doc->applyFilter(*findViewerFilter("Median"));
    EXPECT_FALSE(doc->save());
    EXPECT_EQ(test::checksum(path), before);
    EXPECT_TRUE(ui.prompts.first().text.contains("read-only"));
}

} // namespace
} // namespace dovi::viewer
