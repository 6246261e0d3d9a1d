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

    QStringList parsed;
    for (const char* text : {"08", " 12 ", "-3", "1.5", "2.5", "1e3", "2147483647", "1a", "",
                             "2147483648", "-2147483649", "inf", "nan"}) {
        const std::optional<qint32> index = parseStartIndex(text);
        parsed << (index ? QString::number(*index) : "-");
    }
    EXPECT_EQ(parsed.join(' '), "8 12 -3 2 2 1000 2147483647 - - - - - -");
}

TEST_F(CreateSeries, RenamesIntoTheSeriesAndRecordsTheNextIndex) {
    const QStringList targets = make({"a.jpg", "b.bmp", "c"});
    ws->hold.append(targets[0]);
    EXPECT_EQ(submitSeries(*ws, ui, targets, {"trip", "08", true, true}), SeriesStep::Done);
    EXPECT_EQ(folderNames(), QStringList({"10trip", "8trip.jpg", "9trip.bmp"}));
    EXPECT_EQ(content("8trip.jpg") + content("9trip.bmp") + content("10trip"), "a.jpgb.bmpc");
    EXPECT_EQ(seriesDat(), "\"trip\",11,#TRUE#\r\n");
    EXPECT_EQ(historyLines().value(2), targets[2] + " renamed to " + pic("10trip"));
    EXPECT_TRUE(ui.prompts.isEmpty());
    EXPECT_TRUE(ws->files.contains("8trip.jpg")) << "the list is read again";
    EXPECT_TRUE(ws->hold.isEmpty()) << "the consumed hold list is cleared";

    // Unticked, the history is left alone; so is a bypassed hold list.
    ws->hold.append(pic("10trip"));
    ws->hold.bypass = true;
    submitSeries(*ws, ui, {pic("10trip")}, {"new", "1", false, false});
    EXPECT_EQ(content("new1"), "c");
    EXPECT_EQ(seriesDat(), "\"trip\",11,#TRUE#\r\n");
    EXPECT_EQ(ws->hold.count(), 1);
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
        {"trip", "abc", numeric, SeriesStep::FocusIndex},
        // The next index, 2147483647 + 2, would not fit the record.
        {"trip", "2147483646", numeric, SeriesStep::FocusIndex},
        {"sub/x", "1", kSlashInTextMessage, SeriesStep::FocusSeries},
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
    EXPECT_FALSE(QFile::exists(seriesPath()));
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
    EXPECT_TRUE(historyLines().value(2).startsWith(pic("c.jpg") + " NOT renamed to " +
                                                   pic("_!_trip3.jpg") + " - "));
    EXPECT_EQ(ui.prompts, Prompts({errorReport("1 error(s) occurred." + kReasonsInHistory)}));
}
