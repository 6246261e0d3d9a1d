#include "series/SeriesHistory.h"
#include "series/AddToSeries.h"
#include "series/SeriesCreation.h"

#include "WorkspaceFixture.h"

#include <QFileInfo>

#include <sys/stat.h>

using namespace dovi;
using namespace dovi::series;
using namespace dovi::test;

namespace {
struct SeriesHistoryFile : WorkspaceFixture {
    QString path() const { return programFolder() + "/series.dat"; }
    bool rewrite(const QStringList& remove, const QList<SeriesRecord>& add,
                 QString* error = nullptr) {
        return rewriteSeriesHistory(programFolder(), remove, add, error);
    }
};
} // namespace

TEST(SeriesRecordLine, RecordsAndLinesTurnIntoEachOtherAndDamageIsRefused) {
    const struct {
        SeriesRecord record;
        QByteArray line;
    } cases[] = {
        {{"holiday", 13, false}, R"("holiday",13,#FALSE#)"},
        {{"trip", 10, true}, R"("trip",10,#TRUE#)"},
        {{"a,b", 2147483647, true}, R"("a,b",2147483647,#TRUE#)"},
        {{"say \"hi\"", -2147483648, false}, R"("say "hi"",-2147483648,#FALSE#)"},
        {{"été", 1, false}, QString(R"("été",1,#FALSE#)").toLocal8Bit()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::tuple(formatRecord(c.record), parseRecord(c.line)),
                  std::tuple(c.line, std::optional(c.record)));
    for (const char* line :
         {"", "holiday", R"("holiday",13)", R"(holiday,13,#FALSE#)", R"("holiday,13,#FALSE#)",
          R"("holiday",,#FALSE#)", R"("holiday",1x,#FALSE#)", R"("holiday",13,#YES#)",
          R"("holiday",2147483648,#TRUE#)", R"("holiday",-2147483649,#TRUE#)", R"(",1,#TRUE#)"})
        EXPECT_FALSE(parseRecord(line).has_value()) << line;
    // Spaces around the fields are tolerated, as a hand-edited file may have.
    EXPECT_EQ(parseRecord(R"( "x" , 3 , #TRUE# )"), (SeriesRecord{"x", 3, true}));
}

// Written with CRLF (see the series tests), read with CRLF or LF.
TEST_F(SeriesHistoryFile, RewritesKeepingDamagedLinesAndReadsCrLfOrLf) {
    EXPECT_FALSE(readSeriesHistory(programFolder()).exists);
    writeFile(path(), "\"a\",1,#TRUE#\n\n\"b\",2,#FALSE#");
    SeriesHistoryRead read = readSeriesHistory(programFolder());
    EXPECT_EQ(std::tuple(read.damaged, read.records),
              std::tuple(false, QList<SeriesRecord>{{"a", 1, true}, {"b", 2, false}}));
    writeFile(path(), "\"a\",1,#TRUE#\r\ngarbage\r\n\"b\",2,#FALSE#\r\n\"a\",7,#FALSE#\r\n");
    read = readSeriesHistory(programFolder());
    EXPECT_EQ(std::tuple(read.damaged, read.records),
              std::tuple(true, QList<SeriesRecord>{{"a", 1, true}}));
    // Every record of "a" goes, the damaged line and the others stay, the
    // addition comes last.
    ASSERT_TRUE(rewrite({"a"}, {{"a", 9, true}}));
    EXPECT_EQ(readFile(path()), "garbage\r\n\"b\",2,#FALSE#\r\n\"a\",9,#TRUE#\r\n");
    writeFile(path(), "garbage\r\n");
    EXPECT_FALSE(anyRecordIn(programFolder()));
}

// A full disk or a link planted under the temporary name never costs the history.
TEST_F(SeriesHistoryFile, AFailedRewriteLeavesTheHistoryWhole) {
    QList<SeriesRecord> many;
    for (int i = 0; i < 400; ++i)
        many.append({QString("series number %1").arg(i), i, i % 2 == 0});
    ASSERT_TRUE(rewrite({}, many));
    const QByteArray before = readFile(path());
    QString error;
    {
        FileSizeLimit disk(4 * 1024);
        EXPECT_FALSE(rewrite({"series number 3"}, {{"x", 1, false}}, &error));
    }
    EXPECT_NE(error, "");
    EXPECT_EQ(readFile(path()), before);
    EXPECT_FALSE(QFile::exists(programFolder() + "/tempseries.dat"));

    writeFile(dir.filePath("elsewhere.txt"), "keep me");
    ASSERT_TRUE(QFile::link(dir.filePath("elsewhere.txt"), programFolder() + "/tempseries.dat"));
    ASSERT_TRUE(rewrite({}, {{"b", 2, true}}));
    EXPECT_EQ(readFile(dir.filePath("elsewhere.txt")), "keep me");
    EXPECT_EQ(readSeriesHistory(programFolder()).records.size(), 401);
}

// A history that is there but cannot be read is reported, never replaced by
// one holding only the new record nor deleted as if empty; the files are
// renamed all the same.
TEST_F(SeriesHistoryFile, AHistoryThatCannotBeReadIsReportedAndNeverReplaced) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(path()).constData(), 0644), 0);
    const QString error = "The series history could not be written - could not read " + path() +
                          ": not a regular file";
    const QString file = folder("pics") + "/a.jpg";
    writeFile(file, "a");
    submitSeries(*ws, ui, {file}, {"trip", "1", false, true});
    EXPECT_TRUE(QFile::exists(dir.filePath("pics/trip1.jpg")));
    ws->settings.confirmActions = 0;
    EXPECT_TRUE(removeSeries(*ws, ui, {"a"}).texts.isEmpty());
    EXPECT_EQ(ui.prompts, Prompts({warning(error), warning(error)}));
    EXPECT_TRUE(QFileInfo::exists(path()) && !QFileInfo(path()).isFile()) << "still the FIFO";
}
