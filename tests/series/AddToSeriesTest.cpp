#include "series/AddToSeries.h"
#include "series/SeriesCreation.h"

#include "WorkspaceFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

using namespace dovi;
using namespace dovi::series;
using namespace dovi::test;

using AddSeries = PicturesFixture;

TEST_F(AddSeries, ContinuesTheRecordedNumbersAndMovesTheRecordToTheEnd) {
    const struct {
        QByteArray history;
        QStringList selected;
        QString first, second;
        QByteArray updated;
    } cases[] = {
        {"\"trip\",4,#FALSE#\r\n\"other\",2,#TRUE#\r\n",
         {"trip"},
         "trip4.jpg",
         "trip5.jpeg",
         "\"other\",2,#TRUE#\r\n\"trip\",6,#FALSE#\r\n"},
        {"\"trip\",4,#TRUE#\r\n\"other\",2,#TRUE#\r\n",
         {"trip"},
         "4trip.jpg",
         "5trip.jpeg",
         "\"other\",2,#TRUE#\r\n\"trip\",6,#TRUE#\r\n"},
        // The first of two records is used and both become one; with several
        // entries selected, the last one in list order is continued.
        {"\"trip\",4,#FALSE#\r\n\"a\",1,#TRUE#\r\n\"trip\",40,#TRUE#\r\n",
         {"a", "trip"},
         "trip4.jpg",
         "trip5.jpeg",
         "\"a\",1,#TRUE#\r\n\"trip\",6,#FALSE#\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.history.toStdString());
        QDir(pics).removeRecursively();
        QDir().mkpath(pics);
        ws->history.clear();
        writeFile(seriesPath(), c.history);
        const QStringList targets = make({"x.jpg", "y.jpeg"});
        ws->hold.append(targets[0]);
        EXPECT_EQ(doAddition(*ws, ui, targets, c.selected), AddStep::Close);
        EXPECT_EQ(content(c.first), "x.jpg");
        EXPECT_EQ(content(c.second), "y.jpeg");
        EXPECT_EQ(seriesDat(), c.updated);
        EXPECT_EQ(historyLines(), QStringList({targets[0] + " renamed to " + pic(c.first),
                                               targets[1] + " renamed to " + pic(c.second)}));
        EXPECT_TRUE(ui.prompts.isEmpty());
        EXPECT_TRUE(ws->hold.isEmpty()) << "the consumed hold list is cleared";
    }
}

TEST_F(AddSeries, NothingSelectedNoHistoryOrASlashInTheRecordRenamesNothing) {
    EXPECT_FALSE(seriesHistoryAvailable(*ws, ui));
    EXPECT_EQ(ui.promptTexts(), QStringList{"No series history exists"});

    const QByteArray history = "\"trip\",4,#FALSE#\r\n\"sub/x\",3,#FALSE#\r\n";
    writeFile(seriesPath(), history);
    QDir().mkpath(pics + "/sub");
    ui.prompts.clear();
    EXPECT_TRUE(seriesHistoryAvailable(*ws, ui));
    const QStringList targets = make({"x.jpg"});
    EXPECT_EQ(doAddition(*ws, ui, targets, {}), AddStep::Stay);
    EXPECT_EQ(removeSeries(*ws, ui, {}).step, AddStep::Stay);
    EXPECT_EQ(doAddition(*ws, ui, targets, {"sub/x"}), AddStep::Stay);
    EXPECT_EQ(ui.prompts,
              Prompts({warning("Select a series from the list"),
                       warning("Select a series from the list"), warning(kSlashInTextMessage)}));
    EXPECT_EQ(content("x.jpg"), "x.jpg");
    EXPECT_TRUE(QDir(pics + "/sub").isEmpty());
    EXPECT_EQ(seriesDat(), history);
}

// What comes before a damaged line is listed and may be continued; the
// damaged line and what follows it are kept for a hand repair.
TEST_F(AddSeries, ADamagedHistoryListsWhatCameBeforeTheDamage) {
    writeFile(seriesPath(), "\"a\",1,#TRUE#\r\n\"b\",2\r\n\"c\",3,#FALSE#\r\n");
    EXPECT_EQ(loadSeriesTexts(*ws, ui), QStringList{"a"});
    EXPECT_EQ(ui.promptTexts(), QStringList{"There are no records of previous series"});
    make({"x.jpg"});
    EXPECT_EQ(doAddition(*ws, ui, {pic("x.jpg")}, {"a"}), AddStep::Close);
    EXPECT_EQ(content("1a.jpg"), "x.jpg");
    EXPECT_EQ(seriesDat(), "\"b\",2\r\n\"c\",3,#FALSE#\r\n\"a\",2,#TRUE#\r\n");

    ws->settings.confirmActions = 0;
    const RemoveOutcome out = removeSeries(*ws, ui, {"a"});
    EXPECT_EQ(out.step, AddStep::Close) << "nothing left to list";
    EXPECT_EQ(seriesDat(), "\"b\",2\r\n\"c\",3,#FALSE#\r\n");
}

TEST_F(AddSeries, RemovingRecordsAsksAndDeletesAnEmptyHistory) {
    const QByteArray all =
        "\"a\",1,#TRUE#\r\n\"b\",2,#FALSE#\r\n\"a\",3,#TRUE#\r\n\"c\",4,#TRUE#\r\n";
    writeFile(seriesPath(), all);
    ws->settings.confirmActions = 1;
    ui.answers = {Answer::No, Answer::Yes, Answer::Yes};
    EXPECT_FALSE(removeSeries(*ws, ui, {"a", "b"}).reloaded);
    EXPECT_EQ(ui.prompts.last(), question("Remove Series", "Remove 2 selected items?"));
    EXPECT_EQ(seriesDat(), all);

    RemoveOutcome out = removeSeries(*ws, ui, {"a", "b"});
    EXPECT_EQ(out.step, AddStep::Stay);
    EXPECT_EQ(out.texts, QStringList{"c"});
    EXPECT_EQ(seriesDat(), "\"c\",4,#TRUE#\r\n");

    out = removeSeries(*ws, ui, {"c"});
    EXPECT_EQ(ui.prompts.last().text, "Remove selected item?");
    EXPECT_EQ(out.step, AddStep::Close);
    EXPECT_FALSE(QFile::exists(seriesPath()));

    // A history that cannot be read is reported, never deleted as if empty.
    ASSERT_EQ(::mkfifo(QFile::encodeName(seriesPath()).constData(), 0644), 0);
    ws->settings.confirmActions = 0;
    ui.prompts.clear();
    EXPECT_TRUE(removeSeries(*ws, ui, {"a"}).texts.isEmpty());
    EXPECT_EQ(ui.promptTexts(),
              QStringList{"The series history could not be written - could not read " +
                          seriesPath() + ": not a regular file"});
    EXPECT_TRUE(QFileInfo(seriesPath()).exists());
}
