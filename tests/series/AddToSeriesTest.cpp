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
    struct Case {
        QByteArray record;
        QString first, second;
        QByteArray updated;
    };
    const Case cases[] = {
        {"\"trip\",4,#FALSE#", "trip4.jpg", "trip5.jpeg", "\"trip\",6,#FALSE#"},
        {"\"trip\",4,#TRUE#", "4trip.jpg", "5trip.jpeg", "\"trip\",6,#TRUE#"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record.toStdString());
        QDir(pics).removeRecursively();
        QDir().mkpath(pics);
        ws->history.clear();
        writeFile(seriesPath(), c.record + "\r\n\"other\",2,#TRUE#\r\n");
        const QStringList targets = make({"x.jpg", "y.jpeg"});
        EXPECT_EQ(loadSeriesTexts(*ws, ui), QStringList({"trip", "other"}));
        EXPECT_EQ(doAddition(*ws, ui, targets, {"trip"}), AddStep::Close);
        EXPECT_EQ(content(c.first), "x.jpg");
        EXPECT_EQ(content(c.second), "y.jpeg");
        EXPECT_EQ(seriesDat(), "\"other\",2,#TRUE#\r\n" + c.updated + "\r\n");
        EXPECT_EQ(historyLines(), QStringList({targets[0] + " renamed to " + pic(c.first),
                                               targets[1] + " renamed to " + pic(c.second)}));
        EXPECT_TRUE(ui.prompts.isEmpty());
        EXPECT_FALSE(QFile::exists(programFolder() + "/tempseries.dat"));
    }
}

TEST_F(AddSeries, TheFirstOfTwoRecordsIsUsedAndBothBecomeOne) {
    writeFile(seriesPath(), "\"trip\",4,#FALSE#\r\n\"a\",1,#TRUE#\r\n\"trip\",40,#TRUE#\r\n");
    make({"x.jpg"});
    // With several entries selected, the last one in list order is continued.
    doAddition(*ws, ui, {pic("x.jpg")}, {"a", "trip"});
    EXPECT_EQ(content("trip4.jpg"), "x.jpg");
    EXPECT_EQ(seriesDat(), "\"a\",1,#TRUE#\r\n\"trip\",5,#FALSE#\r\n");
}

TEST_F(AddSeries, NothingSelectedOrNoHistory) {
    EXPECT_FALSE(seriesHistoryAvailable(*ws, ui));
    EXPECT_EQ(ui.promptTexts(), QStringList{"No series history exists"});

    writeFile(seriesPath(), "\"trip\",4,#FALSE#\r\n");
    ui.prompts.clear();
    EXPECT_TRUE(seriesHistoryAvailable(*ws, ui));
    const QStringList targets = make({"x.jpg"});
    EXPECT_EQ(doAddition(*ws, ui, targets, {}), AddStep::Stay);
    EXPECT_EQ(removeSeries(*ws, ui, {}).step, AddStep::Stay);
    EXPECT_EQ(ui.promptTexts(),
              QStringList({"Select a series from the list", "Select a series from the list"}));
    EXPECT_EQ(content("x.jpg"), "x.jpg");
    EXPECT_EQ(seriesDat(), "\"trip\",4,#FALSE#\r\n");
}

TEST_F(AddSeries, ADamagedHistoryListsWhatCameBeforeTheDamage) {
    writeFile(seriesPath(), "\"a\",1,#TRUE#\r\n\"b\",2\r\n\"c\",3,#FALSE#\r\n");
    EXPECT_EQ(loadSeriesTexts(*ws, ui), QStringList{"a"});
    EXPECT_EQ(ui.promptTexts(), QStringList{"There are no records of previous series"});

    // Continuing the readable record keeps the rest of the file as it was.
    make({"x.jpg"});
    ui.prompts.clear();
    EXPECT_EQ(doAddition(*ws, ui, {pic("x.jpg")}, {"a"}), AddStep::Close);
    EXPECT_EQ(content("1a.jpg"), "x.jpg");
    EXPECT_EQ(seriesDat(), "\"b\",2\r\n\"c\",3,#FALSE#\r\n\"a\",2,#TRUE#\r\n");
}

TEST_F(AddSeries, RemovingRecordsAsksAndDeletesAnEmptyHistory) {
    const QByteArray all =
        "\"a\",1,#TRUE#\r\n\"b\",2,#FALSE#\r\n\"a\",3,#TRUE#\r\n\"c\",4,#TRUE#\r\n";
    writeFile(seriesPath(), all);
    ws->settings.confirmActions = 1;

    ui.answers = {Answer::No};
    RemoveOutcome out = removeSeries(*ws, ui, {"a", "b"});
    EXPECT_EQ(ui.prompts.last(), question("Remove Series", "Remove 2 selected items?"));
    EXPECT_FALSE(out.reloaded);
    EXPECT_EQ(seriesDat(), all);

    ui.answers = {Answer::Yes};
    out = removeSeries(*ws, ui, {"a", "b"});
    EXPECT_EQ(out.step, AddStep::Stay);
    EXPECT_EQ(out.texts, QStringList{"c"});
    EXPECT_EQ(seriesDat(), "\"c\",4,#TRUE#\r\n");

    ui.answers = {Answer::Yes};
    out = removeSeries(*ws, ui, {"c"});
    EXPECT_EQ(ui.prompts.last().text, "Remove selected item?");
    EXPECT_EQ(out.step, AddStep::Close);
    EXPECT_TRUE(out.texts.isEmpty());
    EXPECT_FALSE(QFile::exists(seriesPath()));

    ui.prompts.clear();
    EXPECT_FALSE(seriesHistoryAvailable(*ws, ui));
    EXPECT_EQ(ui.promptTexts(), QStringList{"No series history exists"});
}

TEST_F(AddSeries, RemovingWithoutConfirmationAndRecordsHiddenByDamage) {
    ws->settings.confirmActions = 0;
    writeFile(seriesPath(), "\"a\",1,#TRUE#\r\nbroken\r\n\"b\",2,#FALSE#\r\n");
    const RemoveOutcome out = removeSeries(*ws, ui, {"a"});
    EXPECT_TRUE(ui.prompts.isEmpty());
    EXPECT_EQ(out.step, AddStep::Close) << "nothing left to list";
    // A record after the damaged line is still there for a hand repair.
    EXPECT_EQ(seriesDat(), "broken\r\n\"b\",2,#FALSE#\r\n");
}

TEST_F(AddSeries, ARecordedTextWithASlashMovesNoFileAndStaysAsItWas) {
    const QByteArray history = "\"sub/x\",3,#FALSE#\r\n";
    writeFile(seriesPath(), history);
    QDir().mkpath(pics + "/sub");
    const QStringList targets = make({"a.jpg"});
    EXPECT_EQ(doAddition(*ws, ui, targets, {"sub/x"}), AddStep::Stay);
    EXPECT_EQ(ui.prompts, Prompts({warning(kSlashInTextMessage)}));
    EXPECT_EQ(content("a.jpg"), "a.jpg");
    EXPECT_TRUE(QDir(pics + "/sub").isEmpty());
    EXPECT_EQ(seriesDat(), history);
}

TEST_F(AddSeries, RemovingFromAHistoryThatCannotBeReadDeletesNothing) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(seriesPath()).constData(), 0644), 0);
    ws->settings.confirmActions = 0;
    const RemoveOutcome out = removeSeries(*ws, ui, {"a"});
    EXPECT_EQ(ui.promptTexts(),
              QStringList{"The series history could not be written - could not read " +
                          seriesPath() + ": not a regular file"});
    EXPECT_TRUE(out.texts.isEmpty());
    EXPECT_TRUE(QFileInfo(seriesPath()).exists()) << "not deleted as if it were empty";
}
