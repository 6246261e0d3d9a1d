#include "series/AddToSeries.h"
#include "series/SeriesCreation.h"

#include "WorkspaceFixture.h"

using namespace dovi;
using namespace dovi::series;
using namespace dovi::test;

namespace {
// The bytes of a history whose lines are given joined by "|".
QByteArray dat(const QString& lines) {
    return (lines.split('|').join("\r\n") + "\r\n").toUtf8();
}
using AddSeries = PicturesFixture;
} // namespace

TEST_F(AddSeries, ContinuesTheRecordedNumbersAndMovesTheRecordToTheEnd) {
    const struct {
        const char *history, *selected, *first, *second, *updated;
    } cases[] = {
        {R"("trip",4,#FALSE#|"other",2,#TRUE#)", "trip", "trip4.jpg", "trip5.jpeg",
         R"("other",2,#TRUE#|"trip",6,#FALSE#)"},
        // The first of two records is used and both become one; with several
        // entries selected, the last one in list order is continued.
        {R"("trip",4,#FALSE#|"a",1,#TRUE#|"trip",40,#TRUE#)", "a|trip", "trip4.jpg", "trip5.jpeg",
         R"("a",1,#TRUE#|"trip",6,#FALSE#)"},
        // What comes before a damaged line is listed and may be continued; the
        // damaged line and what follows it are kept for a hand repair.
        {R"("a",1,#TRUE#|"b",2|"c",3,#FALSE#)", "a", "1a.jpg", "2a.jpeg",
         R"("b",2|"c",3,#FALSE#|"a",3,#TRUE#)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.history);
        QDir(pics).removeRecursively();
        QDir().mkpath(pics);
        writeFile(seriesPath(), dat(c.history));
        const QStringList targets = make({"x.jpg", "y.jpeg"});
        ws->hold.append(targets[0]);
        EXPECT_EQ(doAddition(*ws, ui, targets, QString(c.selected).split('|')), AddStep::Close);
        EXPECT_EQ(content(c.first) + content(c.second), "x.jpgy.jpeg");
        EXPECT_EQ(seriesDat(), dat(c.updated));
        EXPECT_TRUE(ui.prompts.isEmpty());
        EXPECT_TRUE(ws->hold.isEmpty()) << "the consumed hold list is cleared";
    }
    writeFile(seriesPath(), dat(cases[2].history));
    EXPECT_EQ(loadSeriesTexts(*ws, ui), QStringList{"a"}) << "the list ends at the damage";
    EXPECT_EQ(ui.promptTexts(), QStringList{"There are no records of previous series"});
}

TEST_F(AddSeries, NothingSelectedOrASlashInTheRecordRenamesNothing) {
    const QByteArray history = dat(R"("trip",4,#FALSE#|"sub/x",3,#FALSE#)");
    writeFile(seriesPath(), history);
    const QStringList targets = make({"x.jpg"});
    EXPECT_EQ(doAddition(*ws, ui, targets, {}), AddStep::Stay);
    EXPECT_EQ(removeSeries(*ws, ui, {}).step, AddStep::Stay);
    EXPECT_EQ(doAddition(*ws, ui, targets, {"sub/x"}), AddStep::Stay);
    EXPECT_EQ(ui.prompts,
              Prompts({warning("Select a series from the list"),
                       warning("Select a series from the list"), warning(kSlashInTextMessage)}));
    EXPECT_EQ(content("x.jpg"), "x.jpg");
    EXPECT_EQ(seriesDat(), history);
}

TEST_F(AddSeries, RemovingRecordsAsksAndDeletesAnEmptyHistory) {
    const QByteArray all = dat(R"("a",1,#TRUE#|"b",2,#FALSE#|"a",3,#TRUE#|"c",4,#TRUE#)");
    writeFile(seriesPath(), all);
    ws->settings.confirmActions = 1;
    ui.answers = {Answer::No, Answer::Yes, Answer::Yes};
    EXPECT_FALSE(removeSeries(*ws, ui, {"a", "b"}).reloaded);
    EXPECT_EQ(seriesDat(), all);
    const RemoveOutcome out = removeSeries(*ws, ui, {"a", "b"});
    EXPECT_EQ(std::tuple(out.step, out.texts), std::tuple(AddStep::Stay, QStringList{"c"}));
    EXPECT_EQ(seriesDat(), dat(R"("c",4,#TRUE#)"));
    EXPECT_EQ(removeSeries(*ws, ui, {"c"}).step, AddStep::Close);
    EXPECT_FALSE(QFile::exists(seriesPath()));
    const auto two = question("Remove Series", "Remove 2 selected items?");
    EXPECT_EQ(ui.prompts, Prompts({two, two, question("Remove Series", "Remove selected item?")}));
}
