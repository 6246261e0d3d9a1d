#include "thumbs/ThumbGeometry.h"
#include "thumbs/ThumbGridModel.h"
#include "thumbs/ThumbsSession.h"

#include "RecordingShell.h"
#include "WorkspaceFixture.h"

#include <QFile>
#include <functional>

using namespace dovi;
using namespace dovi::thumbs;
using namespace dovi::test;

TEST(ThumbGeometry, RowsRoundHalvesToEvenAndCellsGiveEightyOneBySeventySix) {
    const std::pair<int, int> rows[] = {{0, 1},  {3, 1},  {6, 2},  {7, 2},  {9, 3},
                                        {15, 3}, {21, 5}, {27, 5}, {33, 7}, {20000, 3334}};
    for (const auto& [files, expected] : rows)
        EXPECT_EQ(gridRows(files), expected) << files;

    EXPECT_EQ(gridGeometry(15, 15).thumbnail, QSize(81, 76));
    // A grid with no room for the margin still makes one-pixel thumbnails.
    EXPECT_EQ(gridGeometry(15, 15, 400, 200).thumbnail, QSize(1, 1));
}

namespace {

// Records what the session shows; onEvents runs whenever it lets events through.
struct RecordingPort : ThumbsPort {
    QList<int> placed;
    QList<int> unreadable;
    QStringList captions;
    QStringList status;
    std::function<void()> onEvents;

    void prepareGrid(int, int) override {}
    void placeThumbnail(int index, const QImage& picture) override {
        (picture.isNull() ? unreadable : placed) << index;
    }
    void setCaption(const QString& caption) override { captions << caption; }
    void setBusyPointer(bool) override {}
    void setProgressRange(int) override {}
    void setProgressValue(int) override {}
    void showStatus(const QString& text) override { status << text; }
    void processEvents() override {
        if (onEvents)
            onEvents();
    }
};

struct ThumbsFixture : PicturesFixture {
    RecordingPort port;
    std::unique_ptr<ThumbsSession> session;
    void SetUp() override {
        PicturesFixture::SetUp();
        session = std::make_unique<ThumbsSession>(*ws, port, QSize(81, 76));
    }
    QString thumb(int i) const { return ws->tempFolder() + "/" + QString::number(i) + ".bmp"; }
    QStringList pictures(int n) {
        const imaging::FormatCode formats[] = {imaging::Jpeg, imaging::Bmp, imaging::Tga,
                                               imaging::Pcx};
        const char* extensions[] = {"jpg", "bmp", "tga", "pcx"};
        QStringList out;
        for (int i = 0; i < n; ++i) {
            const QString name = QString("%1.%2").arg(i).arg(extensions[i % 4]);
            writeImage(pic(name), {300 + 37 * i, 200 + 11 * i}, formats[i % 4]);
            out << pic(name);
        }
        return out;
    }
};

} // namespace

TEST_F(ThumbsFixture, EveryFileGetsABitmapInTheTemporaryFolderAndUnreadableOnesAMark) {
    QStringList files = pictures(7);
    writeFile(pic("notes.txt"), "text");
    files.insert(2, pic("notes.txt"));
    // An old thumbnail of that name must not stand for the unreadable file.
    QDir().mkpath(ws->tempFolder());
    writeFile(thumb(2), "old");

    session->generate(files);
    EXPECT_EQ(port.placed, (QList<int>{0, 1, 3, 4, 5, 6, 7}));
    EXPECT_EQ(port.unreadable, QList<int>{2});
    EXPECT_EQ(port.captions,
              (QStringList{"Generating thumbnails - Press ESCAPE to abort", "Thumbnail Viewer"}));
    EXPECT_FALSE(QFile::exists(thumb(2)));
    const imaging::DecodeResult t = imaging::decodeFile(thumb(7));
    EXPECT_EQ(std::pair(t.image.format, t.image.pixels.size()),
              std::pair(imaging::Bmp, QSize(81, 76)));
}

TEST_F(ThumbsFixture, ParallelWorkersWriteTheSameFilesAsOneByOne) {
    const QStringList files = pictures(9);
    QList<QByteArray> runs[2];
    for (const int workers : {1, 4}) {
        QDir(ws->tempFolder()).removeRecursively();
        session->generate(files, workers);
        for (int i = 0; i < 9; ++i)
            runs[workers > 1] << readFile(thumb(i));
    }
    EXPECT_EQ(runs[0], runs[1]);
}

TEST_F(ThumbsFixture, EscapeStopsAfterTheFileInProgressAndPressesMeanwhileDoNothing) {
    const QStringList files = pictures(8);
    RecordingShell shell;
    port.onEvents = [&] {
        session->doubleClick(0, shell);
        session->leftPress(0);
        session->rightPress(0);
        if (port.placed.size() == 3)
            session->escape();
    };
    session->generate(files, 4);
    EXPECT_EQ(port.placed, (QList<int>{0, 1, 2}));
    EXPECT_TRUE(shell.viewed.isEmpty());
    EXPECT_TRUE(session->marked().isEmpty());
    // The next run starts without the stop request.
    port.onEvents = {};
    session->generate(files, 2);
    EXPECT_EQ(port.placed.size(), 3 + 8);
}

TEST_F(ThumbsFixture, PressesMarkAndViewAndClosingReplacesTheHoldListWithTheMarks) {
    const QStringList files = pictures(4);
    ws->hold.append(pic("earlier.jpg"));
    session->generate(files);
    RecordingShell shell;
    for (const int cell : {4, 11, -1}) {
        session->leftPress(cell);
        session->rightPress(cell);
        session->doubleClick(cell, shell);
    }
    EXPECT_EQ(std::pair(shell.viewed.size(), session->thumbIndex()), std::pair(qsizetype(0), -1));
    session->doubleClick(1, shell);
    EXPECT_EQ(shell.viewed, QStringList{files[1]});
    // Other cells are pressed while viewing: the viewed one's thumbnail is made again.
    session->rightPress(3);
    session->rightPress(1);
    session->leftPress(2);
    port.placed.clear();
    shell.afterViewerClose();
    EXPECT_EQ(port.placed, QList<int>{1});
    EXPECT_EQ(port.status, (QStringList{files[3] + " added to hold list (item 1)",
                                        files[1] + " added to hold list (item 2)", files[2]}));
    session->close();
    EXPECT_EQ(ws->hold.fullPaths(), (QStringList{files[3], files[1]}));

    // Closing without marks keeps the hold list; a viewer closing after its grid touches nothing.
    session = std::make_unique<ThumbsSession>(*ws, port, QSize(81, 76));
    session->generate(files);
    session->close();
    EXPECT_EQ(ws->hold.fullPaths(), (QStringList{files[3], files[1]}));
    port.placed.clear();
    shell.afterViewerClose();
    EXPECT_TRUE(port.placed.isEmpty());
}

TEST(ThumbGridModel, KeepsABoundedNumberOfPicturesAndReadsTheRestFromTheirFiles) {
    QTemporaryDir dir;
    const auto fileOf = [&](int i) { return dir.filePath(QString::number(i) + ".bmp"); };
    ThumbGridModel model(fileOf, 10);
    model.reset(40, gridRows(40));
    for (int i = 0; i < 40; ++i) { // told apart by their widths
        writeImage(fileOf(i), {20 + i, 10}, imaging::Bmp);
        model.place(i, i == 5 ? QImage() : imaging::decodeFile(fileOf(i)).image.pixels);
    }
    EXPECT_EQ(model.cellState(5), ThumbGridModel::Cell::Unreadable);
    EXPECT_EQ(model.picture(0).size(), QSize(20, 10));
    const QVariant last = model.data(model.index(6, 3), Qt::DecorationRole);
    EXPECT_EQ(last.value<QImage>().size(), QSize(59, 10));
    EXPECT_LE(model.cachedPictures(), 10);
    // A grid made again holds nothing of the old one.
    model.reset(2, gridRows(2));
    EXPECT_EQ(std::pair(model.cellState(0), model.cachedPictures()),
              std::pair(ThumbGridModel::Cell::Empty, 0));
}
