#include "series/SeriesCreation.h"
#include "series/SeriesRenaming.h"

#include "app/CommandFrame.h"

#include "WorkspaceFixture.h"

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

    QStringList parsed;
    for (const char* text : {"08", " 12 ", "-3", "1.5", "2.5", "1e3", "2147483647", "1a", "",
                             "2147483648", "-2147483649", "inf", "nan"}) {
        const std::optional<qint32> index = parseStartIndex(text);
        parsed << (index ? QString::number(*index) : "-");
    }
    EXPECT_EQ(parsed.join(' '), "8 12 -3 2 2 1000 2147483647 - - - - - -");
}

TEST_F(CreateSeries, RenamesIntoTheSeriesAndRecordsTheNextIndex) {
    for (const auto& [prefix, index, names, record] :
         {std::tuple{false, "1", "trip1.jpg trip2.bmp trip3", "\"trip\",4,#FALSE#\r\n"},
          {true, "08", "8trip.jpg 9trip.bmp 10trip", "\"trip\",11,#TRUE#\r\n"}}) {
        SCOPED_TRACE(index);
        QDir(pics).removeRecursively();
        QDir().mkpath(pics);
        QFile::remove(seriesPath());
        ws->history.clear();
        const QStringList targets = make({"a.jpg", "b.bmp", "c"});
        ws->hold.append(targets[0]);
        EXPECT_EQ(submitSeries(*ws, ui, targets, {"trip", index, prefix, true}), SeriesStep::Done);
        const QStringList named = QString(names).split(' ');
        QStringList contents, lines;
        for (int i = 0; i < 3; ++i) {
            contents << content(named[i]);
            lines << targets[i] + " renamed to " + pic(named[i]);
        }
        EXPECT_EQ(contents, QStringList({"a.jpg", "b.bmp", "c"}));
        EXPECT_EQ(folderNames().size(), 3);
        EXPECT_EQ(seriesDat(), record);
        EXPECT_EQ(historyLines(), lines);
        EXPECT_TRUE(ui.prompts.isEmpty());
        EXPECT_TRUE(ws->files.contains(named[0])) << "the list is read again";
        EXPECT_TRUE(ws->hold.isEmpty()) << "the consumed hold list is cleared";
    }
}

TEST_F(CreateSeries, WrongFieldsAreReportedAndNothingIsRenamed) {
    const QString required = "Please enter the required data",
                  numeric = "The series index must be numeric";
    const struct {
        const char *text, *index;
        QString message;
        SeriesStep step;
    } cases[] = {
        {"", "1", required, SeriesStep::FocusSeries},
        {"trip", "", required, SeriesStep::FocusSeries},
        {"trip", "abc", numeric, SeriesStep::FocusIndex},
        // The next index, 2147483647 + 2, would not fit the record.
        {"trip", "2147483646", numeric, SeriesStep::FocusIndex},
        {"sub/x", "1", kSlashInTextMessage, SeriesStep::FocusSeries},
        {"../up", "1", kSlashInTextMessage, SeriesStep::FocusSeries},
    };
    const QStringList targets = make({"a.jpg", "b.jpg"});
    folder("pics/sub");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " " + c.index);
        ui.prompts.clear();
        EXPECT_EQ(submitSeries(*ws, ui, targets, {c.text, c.index, false, true}), c.step);
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
    QStringList contents;
    for (const QString& n : folderNames())
        contents << n + ":" + content(n);
    EXPECT_EQ(contents,
              QStringList({"_!_trip2.jpg:b.jpg", "_!_trip3.jpg:_!_trip3.jpg", "c.jpg:c.jpg",
                           "trip1.jpg:a.jpg", "trip2.jpg:trip2.jpg", "trip3.jpg:trip3.jpg"}));
    EXPECT_EQ(seriesDat(), "\"trip\",4,#FALSE#\r\n")
        << "the index moves on for a refused rename too";
    EXPECT_EQ(historyLines().value(1), pic("b.jpg") + " renamed to " + pic("_!_trip2.jpg"));
    EXPECT_TRUE(historyLines().value(2).startsWith(pic("c.jpg") + " NOT renamed to " +
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
