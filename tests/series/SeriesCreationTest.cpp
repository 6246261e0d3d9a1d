#include "series/SeriesCreation.h"
#include "series/AddToSeries.h"
#include "series/SeriesRenaming.h"

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

TEST(SeriesNames, TargetsKeepFolderAndExtensionAndTheIndexRoundsHalfToEven) {
    const struct {
        const char* source;
        bool prefix;
        qint64 index;
        const char* target;
    } targets[] = {
        {"/p/a.jpg", false, 1, "/p/trip1.jpg"},
        {"/p/b.bmp", true, 7, "/p/7trip.bmp"},
        {"/p/photo.final.jpeg", false, 10, "/p/trip10.jpeg"},
        {"/p.d/noext", false, -2, "/p.d/trip-2"},
    };
    for (const auto& c : targets)
        EXPECT_EQ(seriesTarget(c.source, "trip", c.index, c.prefix), c.target) << c.source;
    EXPECT_EQ(markedTarget("/pics/holiday3.jpg"), "/pics/_!_holiday3.jpg");

    const std::pair<const char*, std::optional<qint32>> indexes[] = {
        {"08", 8},
        {" 12 ", 12},
        {"-3", -3},
        {"1.5", 2},
        {"2.5", 2},
        {"1e3", 1000},
        {"2147483647", 2147483647},
        {"1a", {}},
        {"", {}},
        {"2147483648", {}},
        {"-2147483649", {}},
        {"inf", {}},
        {"nan", {}},
    };
    for (const auto& [text, expected] : indexes)
        EXPECT_EQ(parseStartIndex(text), expected) << text;
}

TEST_F(CreateSeries, RenamesIntoTheSeriesAndRecordsTheNextIndex) {
    const struct {
        bool prefix;
        QString index;
        QStringList names;
        QByteArray record;
    } cases[] = {
        {false, "1", {"trip1.jpg", "trip2.bmp", "trip3"}, "\"trip\",4,#FALSE#\r\n"},
        {true, "08", {"8trip.jpg", "9trip.bmp", "10trip"}, "\"trip\",11,#TRUE#\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index.toStdString());
        QDir(pics).removeRecursively();
        QDir().mkpath(pics);
        QFile::remove(seriesPath());
        ws->history.clear();
        const QStringList targets = make({"a.jpg", "b.bmp", "c"});
        ws->hold.append(targets[0]);
        EXPECT_EQ(submitSeries(*ws, ui, targets, {"trip", c.index, c.prefix, true}),
                  SeriesStep::Done);
        EXPECT_EQ(folderNames().size(), 3);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(content(c.names[i]), QFileInfo(targets[i]).fileName());
        EXPECT_EQ(seriesDat(), c.record);
        EXPECT_EQ(historyLines(), QStringList({targets[0] + " renamed to " + pic(c.names[0]),
                                               targets[1] + " renamed to " + pic(c.names[1]),
                                               targets[2] + " renamed to " + pic(c.names[2])}));
        EXPECT_TRUE(ui.prompts.isEmpty());
        EXPECT_TRUE(ws->files.contains(c.names[0])) << "the list is read again";
        EXPECT_TRUE(ws->hold.isEmpty()) << "the consumed hold list is cleared";
    }
}

TEST_F(CreateSeries, WrongFieldsAreReportedAndNothingIsRenamed) {
    const struct {
        SeriesRequest request;
        QString message;
        SeriesStep step;
    } cases[] = {
        {{"", "1", false, true}, "Please enter the required data", SeriesStep::FocusSeries},
        {{"trip", "", false, true}, "Please enter the required data", SeriesStep::FocusSeries},
        {{"trip", "abc", false, true}, "The series index must be numeric", SeriesStep::FocusIndex},
        // The next index, 2147483647 + 2, would not fit the record.
        {{"trip", "2147483646", false, true},
         "The series index must be numeric",
         SeriesStep::FocusIndex},
        {{"sub/x", "1", false, true}, kSlashInTextMessage, SeriesStep::FocusSeries},
        {{"../up", "1", false, true}, kSlashInTextMessage, SeriesStep::FocusSeries},
    };
    const QStringList targets = make({"a.jpg", "b.jpg"});
    folder("pics/sub");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.request.index.toStdString() + c.request.text.toStdString());
        ui.prompts.clear();
        EXPECT_EQ(submitSeries(*ws, ui, targets, c.request), c.step);
        EXPECT_EQ(ui.prompts, Prompts({warning(c.message)}));
    }
    // A "/" is refused by the procedure too, before any rename.
    EXPECT_EQ(seriesCreation(*ws, ui, targets, "sub/x", 1, false, true).errors, 2);
    EXPECT_EQ(folderNames(), QStringList({"a.jpg", "b.jpg"}));
    EXPECT_TRUE(QDir(pics + "/sub").isEmpty());
    EXPECT_FALSE(QFile::exists(seriesPath()));
    EXPECT_TRUE(historyLines().isEmpty());
}

TEST_F(CreateSeries, ATakenNameFallsBackToTheMarkedNameAndNeverReplacesAFile) {
    make({"trip2.jpg", "_!_trip3.jpg", "trip3.jpg"});
    const QStringList targets = make({"a.jpg", "b.jpg", "c.jpg"});
    EXPECT_EQ(submitSeries(*ws, ui, targets, {"trip", "1", false, true}), SeriesStep::Done);
    // trip2 is taken, so _!_trip2; trip3 and _!_trip3 are both taken, so c.jpg stays.
    for (const QString n : {"trip2.jpg", "trip3.jpg", "_!_trip3.jpg", "c.jpg"})
        EXPECT_EQ(content(n), n);
    EXPECT_EQ(content("trip1.jpg"), "a.jpg");
    EXPECT_EQ(content("_!_trip2.jpg"), "b.jpg");
    EXPECT_EQ(seriesDat(), "\"trip\",4,#FALSE#\r\n")
        << "the index moves on for a refused rename too";
    ASSERT_EQ(historyLines().size(), 3);
    EXPECT_EQ(historyLines()[1], pic("b.jpg") + " renamed to " + pic("_!_trip2.jpg"));
    EXPECT_TRUE(historyLines()[2].startsWith(pic("c.jpg") + " NOT renamed to " +
                                             pic("_!_trip3.jpg") + " - "));
    EXPECT_EQ(ui.prompts, Prompts({errorReport("1 error(s) occurred." + kReasonsInHistory)}));
}

TEST_F(CreateSeries, TheHistoryBoxTheHistoryLimitAndABypassedHoldList) {
    writeFile(seriesPath(), "\"old\",5,#TRUE#\r\n");
    ws->hold.append(make({"a.jpg"})[0]);
    ws->hold.bypass = true;
    submitSeries(*ws, ui, {pic("a.jpg")}, {"new", "1", false, false});
    EXPECT_EQ(content("new1.jpg"), "a.jpg");
    EXPECT_EQ(seriesDat(), "\"old\",5,#TRUE#\r\n") << "unticked: not recorded";
    EXPECT_EQ(ws->hold.count(), 1) << "a bypassed hold list stays as it is";

    ws->history.clear();
    ws->settings.historyLimit = 0;
    submitSeries(*ws, ui, {pic("new1.jpg")}, {"more", "3", true, true});
    EXPECT_EQ(seriesDat(), "\"old\",5,#TRUE#\r\n\"more\",4,#TRUE#\r\n") << "appended at the end";
    EXPECT_TRUE(historyLines().isEmpty()) << "history off: no line";
}
