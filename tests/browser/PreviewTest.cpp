#include "browser/Preview.h"
#include "browser/BrowserEvents.h"
#include "browser/EngineMeasurer.h"
#include "browser/SlideshowOptions.h"

#include "app/SharedServices.h"

#include "ScriptedMeasurer.h"
#include "WorkspaceFixture.h"

#include <QSignalSpy>
#include <QTest>

using namespace dovi;
using dovi::test::WorkspaceFixture;

namespace {

struct PreviewFixture : WorkspaceFixture {
    std::shared_ptr<test::ScriptedMeasurer> measurer = std::make_shared<test::ScriptedMeasurer>();
    std::unique_ptr<browser::Preview> preview;
    QString pics;

    void SetUp() override {
        WorkspaceFixture::SetUp();
        pics = filesIn("pics", {"a.bmp", "b.jpg", "notes.txt"});
        ws->filePattern = "*.*";
        changeFolder(*ws, pics);
        preview = std::make_unique<browser::Preview>(*ws, ui, measurer);
        measurer->script("a.bmp", test::loadedFacts(3000, 2000, 1234567, 65536, 24));
        measurer->script("b.jpg", test::loadedFacts(640, 480, 1000, 12, 8));
    }
    void TearDown() override { measurer->release(); }

    // Selects one file and previews it, as a left-button release does.
    void previewOnly(const QString& name) {
        select({name});
        preview->showSelectedFile();
    }
    bool settles() {
        return QTest::qWaitFor([this] { return !preview->isReading(); }, 5000);
    }
    bool measuring() {
        return QTest::qWaitFor([this] { return measurer->waiting(); }, 5000);
    }
    // Nothing shown, nothing busy.
    void expectLogo() {
        EXPECT_TRUE(preview->labels().isEmpty());
        EXPECT_TRUE(preview->picture().isNull());
        EXPECT_FALSE(ws->previewValid);
        EXPECT_FALSE(ui.idleLightBusy);
        EXPECT_TRUE(ui.prompts.isEmpty());
    }
};
using BrowserEvents = PreviewFixture;

} // namespace

TEST(PreviewLabels, SizesAndColoursAreGroupedByTheLocale) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const struct {
        qint64 value;
        QLocale locale;
        const char* text;
    } cases[] = {{1234567, english, "1,234,567"},
                 {1234567, QLocale(QLocale::German, QLocale::Germany), "1.234.567"}};
    for (const auto& c : cases)
        EXPECT_EQ(browser::groupThousands(c.value, c.locale), c.text) << c.value;

    const browser::PreviewLabels l = browser::PreviewLabels::describe(
        test::loadedFacts(3000, 2000, 1234567, 23456, 24), english);
    EXPECT_EQ(QStringList({l.x, l.y, l.size, l.colours, l.bpp}),
              QStringList({"X : 3000", "Y : 2000", "Size : 1,234,567(b)", "Unique Colours : 23,456",
                           "Colour Depth : 24 bpp"}));
}

TEST_F(PreviewFixture, OneFileIsReadOnAWorkerWhileBusyAndOnlyTheNewestShown) {
    measurer->hold();
    previewOnly("a.bmp");
    EXPECT_EQ(std::pair(ui.idleLightBusy, ui.progressCaptions.last()),
              std::pair(true, QString("Reading Selected File")));
    ASSERT_TRUE(measuring());
    measurer->release();
    ASSERT_TRUE(settles());
    EXPECT_EQ(preview->labels().x, "X : 3000");
    EXPECT_FALSE(preview->picture().isNull());
    EXPECT_EQ(std::tuple(ws->previewValid, ui.idleLightBusy), std::tuple(true, false));

    measurer->hold();
    previewOnly("a.bmp");
    ASSERT_TRUE(measuring());
    previewOnly("b.jpg"); // the user moved on while a.bmp was still being read
    measurer->release();
    ASSERT_TRUE(settles());
    QCoreApplication::processEvents(); // a.bmp's answer, arriving late, must not replace it
    EXPECT_EQ(preview->fileName() + preview->labels().x, pics + "/b.jpgX : 640");
}

TEST_F(PreviewFixture, AResetOrACommandWhileReadingDropsTheAnswer) {
    measurer->hold();
    previewOnly("a.bmp");
    ASSERT_TRUE(measuring());
    changeFolder(*ws, dir.path()); // a folder change resets the preview
    EXPECT_FALSE(preview->isReading());
    QSignalSpy changed(preview.get(), &browser::Preview::changed);
    measurer->release();
    EXPECT_FALSE(changed.wait(200)) << "the dropped answer changed the preview";
    expectLogo();

    // A delete starts meanwhile: the late answer leaves its busy state and shows nothing.
    changeFolder(*ws, pics);
    measurer->hold();
    previewOnly("a.bmp");
    ASSERT_TRUE(measuring());
    ASSERT_TRUE(ui.commandGate().tryEnter("Delete File(s)"));
    setStatus(ui, true);
    measurer->release();
    ASSERT_TRUE(settles());
    EXPECT_EQ(std::pair(ui.idleLightBusy, ui.progressCaptions.last()),
              std::pair(true, QString("Delete File(s)")));
    EXPECT_TRUE(preview->labels().isEmpty()) << "facts of a file being deleted";
    ui.commandGate().leave();
}

TEST_F(PreviewFixture, ThePreviewLimitSkipsOnlyFilesStrictlyOverIt) {
    ws->settings.previewLimitOn = 1;
    ws->settings.previewLimitKb = 100;
    const struct {
        const char* name;
        int bytes;
        bool read;
    } cases[] = {{"at.bmp", 102400, true}, {"over.bmp", 102401, false}};
    for (const auto& c : cases) {
        test::writeFile(pics + "/" + c.name, QByteArray(c.bytes, 'x'));
        measurer->script(c.name, test::loadedFacts(10, 10, c.bytes, 2, 24));
    }
    rereadFiles(*ws);
    for (const auto& c : cases) {
        const qsizetype before = measurer->measured().size();
        previewOnly(c.name);
        ASSERT_TRUE(settles());
        EXPECT_EQ(
            std::tuple(measurer->measured().size() - before, ws->previewValid, ui.idleLightBusy),
            std::tuple(c.read ? 1 : 0, c.read, false))
            << c.name;
    }
}

// Preview off, a file the engine cannot load, a file gone from disk: the logo,
// no message, no busy state left.
TEST_F(PreviewFixture, WhatCannotBeShownShowsTheLogo) {
    ws->settings.showPreviewInfo = 0;
    previewOnly("a.bmp");
    EXPECT_TRUE(measurer->measured().isEmpty());
    expectLogo();

    ws->settings.showPreviewInfo = 1;
    previewOnly("notes.txt");
    ASSERT_TRUE(settles());
    expectLogo();

    select({"b.jpg"});
    QFile::remove(pics + "/b.jpg");
    preview->showSelectedFile();
    EXPECT_EQ(totalPanelText(*ws), "Total : 2") << "the list is read again";
    expectLogo();
}

TEST(EngineMeasurer, GivesTheWholeFilesFactsAndAPictureThatFitsTheBox) {
    QTemporaryDir dir;
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(qRgb(10, 20, 30));
    for (int x = 0; x < 300; ++x)
        picture.setPixel(x, 0, qRgb(x % 7, 0, 0)); // 7 colours on the top row
    const QString bmp = dir.filePath("p.bmp");
    ASSERT_TRUE(picture.save(bmp, "BMP"));
    browser::EngineMeasurer measurer;
    const browser::ImageFacts facts = measurer.measure(bmp, QSize(60, 60));
    EXPECT_EQ(std::tuple(facts.fileType, facts.width, facts.height, facts.fileSize,
                         facts.uniqueColours, facts.bitsPerPixel, facts.picture.size()),
              std::tuple(5, 300, 200, QFileInfo(bmp).size(), 8, 24, QSize(60, 40)));
    test::writeFile(dir.filePath("fake.jpg"), "not a picture at all");
    EXPECT_FALSE(measurer.measure(dir.filePath("fake.jpg"), QSize(60, 60)).loaded());
}

// A release previews one file or shows the logo for several; Space and the
// right button hold the previous selection; other keys refresh it.
TEST_F(BrowserEvents, ReleasesPreviewAndSpaceOrTheRightButtonHoldThePreviousSelection) {
    select({"a.bmp", "notes.txt"}, false);
    browser::fileListReleased(*ws, *preview);
    EXPECT_FALSE(ws->previewValid);

    select({"a.bmp"});        // refreshed: "selected" is a.bmp
    select({"b.jpg"}, false); // an arrow key moved the list's selection
    browser::fileListKeyReleased(*ws, *preview, Qt::Key_Space);
    EXPECT_EQ(ws->hold.names() + ws->selected, QStringList({"a.bmp", "a.bmp"}));
    EXPECT_TRUE(measurer->measured().isEmpty()) << "nothing read for two files or for Space";

    browser::fileListKeyReleased(*ws, *preview, Qt::Key_Down);
    ASSERT_TRUE(settles());
    EXPECT_EQ(ws->selected, QStringList({"b.jpg"}));
    EXPECT_EQ(measurer->measured(), QStringList({pics + "/b.jpg"}));

    ws->hold.clear();
    select({"a.bmp", "b.jpg"});
    select({"notes.txt"}, false);
    browser::fileListRightPressed(*ws);
    EXPECT_EQ(ws->hold.names(), QStringList({"a.bmp", "b.jpg"}));
}

TEST_F(BrowserEvents, ATreeRightClickLeavesTheListAloneAndTheNextClickReReads) {
    select({"a.bmp"});
    test::writeFile(pics + "/d.jpg", "x");
    browser::folderTreeRightPressed(*ws);
    EXPECT_FALSE(ws->abortRequested) << "a right press would stop a detailed list";
    browser::folderTreeClicked(*ws, *preview); // the click that ends the right press
    EXPECT_EQ(ws->files.size(), 3);
    ws->abortRequested = true; // a detailed list cancelled: the next click still reads
    browser::folderTreeClicked(*ws, *preview);
    EXPECT_EQ(ws->files.names(), QStringList({"a.bmp", "b.jpg", "d.jpg", "notes.txt"}));

    // Hidden files shown: the list is read again, the statistics listing never shows them.
    test::writeFile(pics + "/.e.jpg", "x");
    ws->settings.includeHidden = 1;
    applyAttributeRules(*ws);
    EXPECT_EQ(ws->files.names().first(), ".e.jpg");
    EXPECT_EQ(ws->sizer, QStringList({"a.bmp", "b.jpg", "d.jpg", "notes.txt"}));

    // Changes on disk are followed; a vanished folder falls back to its parent.
    const QString deep = filesIn("pics/deep/er", {"z.jpg"});
    changeFolder(*ws, deep);
    test::writeFile(deep + "/y.jpg", "x");
    browser::followFolderOnDisk(*ws);
    EXPECT_EQ(ws->files.names(), QStringList({"y.jpg", "z.jpg"}));
    QDir(dir.filePath("pics/deep")).removeRecursively();
    browser::followFolderOnDisk(*ws);
    EXPECT_EQ(ws->currentFolder, pics);
}

TEST_F(BrowserEvents, SlideshowOptionsStoreManualAndIntervalAtOnce) {
    QStringList stored;
    for (const auto& [manual, given, kept] :
         {std::tuple{false, 12, 12}, {true, 45, 30}, {true, 0, 1}}) {
        browser::chooseSlideMode(*ws, manual);
        stored << storedValue("Slideshow", "manual");
        browser::setSlideInterval(*ws, given);
        EXPECT_EQ(ws->settings.slideInterval, kept);
        stored << storedValue("Slideshow", "interval");
    }
    EXPECT_EQ(stored, QStringList({"0", "12", "1", "30", "1", "1"}));
}

TEST_F(BrowserEvents, StartingListsTheStartupFolderUnderTheStoredFilterAndAttributes) {
    const QString start = filesIn("start", {"a.tga", "b.jpg", ".hidden.tga", "c.TGA"});
    const struct {
        QString startup, filter, hidden;
        QStringList listed;
    } cases[] = {
        {start, "4", "0", {"a.tga", "c.TGA"}},
        {start, "4", "1", {".hidden.tga", "a.tga", "c.TGA"}},
        {dir.filePath("gone"), "2", "0", {}},
    };
    for (const auto& c : cases) {
        store->setValue("File System", "startup", c.startup);
        store->setValue("File System", "filter", c.filter);
        store->setValue("File System", "incH", c.hidden);
        Workspace fresh(programFolder(), *store, SettingsEnvironment{1024, 768, dir.path()});
        fresh.loadSettings();
        openStartupFolder(fresh);
        EXPECT_EQ(fresh.currentFolder, c.listed.isEmpty() ? dir.path() : start);
        EXPECT_EQ(fresh.files.names(), c.listed)
            << c.filter.toStdString() << c.hidden.toStdString();
    }
}
