#include "series/SeriesCreation.h"
#include "series/AddToSeries.h"
#include "series/SeriesHistory.h"

#include "app/CommandFrame.h"

#include "WorkspaceFixture.h"

#include <QDir>
#include <QFile>

using namespace dovi;
using namespace dovi::series;
using namespace dovi::test;

namespace {
struct CreateSeries : PicturesFixture {
    QStringList folderNames() const { return QDir(pics).entryList(QDir::Files, QDir::Name); }
};
} // namespace

TEST(SeriesNames, TargetsKeepFolderAndExtension) {
    struct Case {
        const char* source;
        bool prefix;
        qint64 index;
        const char* target;
    };
    const Case cases[] = {
        {"/p/a.jpg", false, 1, "/p/trip1.jpg"},
        {"/p/b.bmp", true, 7, "/p/7trip.bmp"},
        {"/p/c", false, 3, "/p/trip3"},
        {"/p/photo.final.jpeg", false, 10, "/p/trip10.jpeg"},
        {"/p.d/noext", false, -2, "/p.d/trip-2"},
        {"/a.jpg", true, 1, "/1trip.jpg"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(seriesTarget(c.source, "trip", c.index, c.prefix), c.target) << c.source;
    EXPECT_EQ(markedTarget("/pics/holiday3.jpg"), "/pics/_!_holiday3.jpg");
}

TEST(SeriesNames, StartIndexIsANumberRoundedHalfToEven) {
    const std::pair<const char*, std::optional<qint32>> cases[] = {
        {"1", 1},
        {"08", 8},
        {" 12 ", 12},
        {"-3", -3},
        {"1.5", 2},
        {"2.5", 2},
        {"1e3", 1000},
        {"2147483647", 2147483647},
        {"abc", {}},
        {"1a", {}},
        {"", {}},
        {"2147483648", {}},
        {"-2147483649", {}},
        {"inf", {}},
        {"nan", {}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(parseStartIndex(text), expected) << text;
}

TEST_F(CreateSeries, RenamesIntoTheSeriesAndRecordsTheNextIndex) {
    struct Case {
        bool prefix;
        QString index;
        QStringList names;
        QByteArray record;
    };
    const Case cases[] = {
        {false, "1", {"trip1.jpg", "trip2.bmp", "trip3"}, "\"trip\",4,#FALSE#\r\n"},
        {true, "7", {"7trip.jpg", "8trip.bmp", "9trip"}, "\"trip\",10,#TRUE#\r\n"},
        {false, "08", {"trip8.jpg", "trip9.bmp", "trip10"}, "\"trip\",11,#FALSE#\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index.toStdString());
        QDir(pics).removeRecursively();
        QDir().mkpath(pics);
        QFile::remove(seriesPath());
        ws->history.clear();
        const QStringList targets = make({"a.jpg", "b.bmp", "c"});
        EXPECT_EQ(submitSeries(*ws, ui, targets, {"trip", c.index, c.prefix, true}),
                  SeriesStep::Done);
        EXPECT_EQ(content(c.names[0]), "a.jpg");
        EXPECT_EQ(content(c.names[1]), "b.bmp");
        EXPECT_EQ(content(c.names[2]), "c");
        EXPECT_EQ(folderNames().size(), 3);
        EXPECT_EQ(seriesDat(), c.record);
        EXPECT_EQ(historyLines(), QStringList({targets[0] + " renamed to " + pic(c.names[0]),
                                               targets[1] + " renamed to " + pic(c.names[1]),
                                               targets[2] + " renamed to " + pic(c.names[2])}));
        EXPECT_TRUE(ui.prompts.isEmpty());
        EXPECT_TRUE(ws->files.contains(c.names[0])) << "the list is read again";
        EXPECT_FALSE(ui.waitCursor);
    }
}

TEST_F(CreateSeries, WrongFieldsAreReportedAndNothingIsRenamed) {
    struct Case {
        SeriesRequest request;
        QString message;
        SeriesStep step;
    };
    const Case cases[] = {
        {{"", "1", false, true}, "Please enter the required data", SeriesStep::FocusSeries},
        {{"trip", "", false, true}, "Please enter the required data", SeriesStep::FocusSeries},
        {{"trip", "abc", false, true}, "The series index must be numeric", SeriesStep::FocusIndex},
        {{"trip", "99999999999", false, true},
         "The series index must be numeric",
         SeriesStep::FocusIndex},
        // The next index, 2147483647 + 2, would not fit the record.
        {{"trip", "2147483646", false, true},
         "The series index must be numeric",
         SeriesStep::FocusIndex},
    };
    const QStringList targets = make({"a.jpg", "b.jpg"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request.index.toStdString());
        ui.prompts.clear();
        EXPECT_EQ(submitSeries(*ws, ui, targets, c.request), c.step);
        EXPECT_EQ(ui.prompts, Prompts({warning(c.message)}));
        EXPECT_EQ(folderNames(), QStringList({"a.jpg", "b.jpg"}));
        EXPECT_FALSE(QFile::exists(seriesPath()));
    }
}

TEST_F(CreateSeries, ATakenNameFallsBackToTheMarkedNameAndNeverReplacesAFile) {
    make({"trip2.jpg", "_!_trip3.jpg", "trip3.jpg"});
    const QStringList targets = make({"a.jpg", "b.jpg", "c.jpg"});
    EXPECT_EQ(submitSeries(*ws, ui, targets, {"trip", "1", false, true}), SeriesStep::Done);
    // trip1 is free; trip2 is taken (so _!_trip2); trip3 and _!_trip3 are
    // both taken, so c.jpg stays c.jpg.
    EXPECT_EQ(content("trip1.jpg"), "a.jpg");
    EXPECT_EQ(content("_!_trip2.jpg"), "b.jpg");
    EXPECT_EQ(content("c.jpg"), "c.jpg");
    EXPECT_EQ(content("trip2.jpg"), "trip2.jpg");
    EXPECT_EQ(content("trip3.jpg"), "trip3.jpg");
    EXPECT_EQ(content("_!_trip3.jpg"), "_!_trip3.jpg");
    EXPECT_EQ(seriesDat(), "\"trip\",4,#FALSE#\r\n")
        << "the index moves on for a refused rename too";
    ASSERT_EQ(historyLines().size(), 3);
    EXPECT_EQ(historyLines()[1], pic("b.jpg") + " renamed to " + pic("_!_trip2.jpg"));
    EXPECT_TRUE(historyLines()[2].startsWith(pic("c.jpg") + " NOT renamed to " +
                                             pic("_!_trip3.jpg") + " - "));
    // Refused renames are reported once, at the end.
    EXPECT_EQ(ui.prompts, Prompts({errorReport("1 error(s) occurred." + kReasonsInHistory)}));
}

// A "/" would move the files to another folder: refused before any rename,
// and never recorded, by the window and by the procedure alike.
TEST_F(CreateSeries, ASlashInTheTextIsRefusedBeforeAnyRenameAndNeverRecorded) {
    const QStringList targets = make({"a.jpg", "b.jpg"});
    folder("pics/sub");
    for (const QString text : {"sub/x", "/", "x/", "../up"}) {
        SCOPED_TRACE(text.toStdString());
        ui.prompts.clear();
        EXPECT_EQ(submitSeries(*ws, ui, targets, {text, "1", false, true}),
                  SeriesStep::FocusSeries);
        EXPECT_EQ(ui.prompts, Prompts({warning(kSlashInTextMessage)}));

        const SeriesRenameRun run = seriesCreation(*ws, ui, targets, text, 1, false, true);
        EXPECT_EQ(run.errors, 2);
        EXPECT_EQ(folderNames(), QStringList({"a.jpg", "b.jpg"}));
        EXPECT_TRUE(QDir(pics + "/sub").isEmpty());
        EXPECT_FALSE(QFile::exists(seriesPath()));
        EXPECT_TRUE(historyLines().isEmpty());
    }
}

TEST_F(CreateSeries, UntickedHistoryLeavesTheFileAloneAndHistoryOffWritesNoLine) {
    writeFile(seriesPath(), "\"old\",5,#TRUE#\r\n");
    const QStringList targets = make({"a.jpg"});
    submitSeries(*ws, ui, targets, {"new", "1", false, false});
    EXPECT_EQ(content("new1.jpg"), "a.jpg");
    EXPECT_EQ(seriesDat(), "\"old\",5,#TRUE#\r\n");

    submitSeries(*ws, ui, {pic("new1.jpg")}, {"more", "3", true, true});
    EXPECT_EQ(seriesDat(), "\"old\",5,#TRUE#\r\n\"more\",4,#TRUE#\r\n") << "appended at the end";
    EXPECT_EQ(historyLines().size(), 2);

    ws->history.clear();
    ws->settings.historyLimit = 0; // history off: no line
    submitSeries(*ws, ui, make({"b.jpg"}), {"s", "1", false, false});
    EXPECT_EQ(content("s1.jpg"), "b.jpg");
    EXPECT_TRUE(historyLines().isEmpty());
}

TEST_F(CreateSeries, AConsumedHoldListIsClearedByCreatingOrAdding) {
    const QStringList targets = make({"a.jpg", "b.jpg"});
    for (const bool bypass : {true, false}) {
        ws->hold.append(targets[0]);
        ws->hold.bypass = bypass;
        submitSeries(*ws, ui, {}, {"s", "1", false, false});
        EXPECT_EQ(ws->hold.isEmpty(), !bypass);
        EXPECT_EQ(ws->hold.bypass, bypass) << "a bypassed hold list stays as it is";
        ws->hold.clear();
    }
    writeFile(seriesPath(), "\"t\",1,#FALSE#\r\n");
    ws->hold.append(targets[1]);
    doAddition(*ws, ui, {targets[1]}, {"t"});
    EXPECT_TRUE(ws->hold.isEmpty());
    EXPECT_EQ(content("t1.jpg"), "b.jpg");
}

TEST_F(CreateSeries, ClearingTheHistoryAsksFirst) {
    const QString path = seriesPath();
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        writeFile(path, "\"a\",1,#TRUE#\r\n");
        ui.prompts.clear();
        ui.answers = {answer};
        clearSeriesHistory(*ws, ui);
        EXPECT_EQ(ui.prompts, Prompts({question("Purge History", "Clear series history?")}));
        EXPECT_EQ(QFile::exists(path), answer == Answer::No);
        EXPECT_EQ(ws->lastAnswer, answer);
    }
    ui.answers = {Answer::Yes};
    clearSeriesHistory(*ws, ui); // nothing there: no complaint
    EXPECT_EQ(ui.prompts.size(), 2);
}
