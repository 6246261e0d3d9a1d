// Runs that would lose a picture; every file is checked before and after.
#include "batch/WorkFootprint.h"

#include "ProcessTestSupport.h"

#include <QFileInfo>

#include <optional>

#include <sys/stat.h>

using namespace dovi;
using namespace dovi::test;

namespace {

imaging::FormatCode formatOf(const QString& name) {
    return name.endsWith("bmp")   ? imaging::Bmp
           : name.endsWith("tga") ? imaging::Tga
           : name.endsWith("pcx") ? imaging::Pcx
                                  : imaging::Jpeg;
}

struct ProcessSafety : ::testing::Test {
    QTemporaryDir dir;
    RecordingObserver observer;
    batch::ProcessSummary summary;

    QString at(const QString& relative) const { return dir.filePath(relative); }
    void clear() { // an empty temporary folder but for an empty "out"
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(at("out"));
    }
    // Runs over files named relative to the temporary folder; the log with
    // the folder as <dir>.
    QStringList run(const QStringList& relative, const batch::ProcessOptions& options,
                    int jobs = 1) {
        QStringList files;
        for (const QString& r : relative)
            files << at(r);
        observer.log.clear();
        summary = batch::runProcess(files, options, observer, jobs);
        return relativeLines(observer.log, dir.path());
    }
};

} // namespace

// "Delete Original" removes a source only when its output is another file,
// safely written and whole. A link where the output goes is replaced, not
// written through; a picture read only in part, or changed by another program
// after it was read, is never overwritten or deleted.
TEST_F(ProcessSafety, AnOutputReplacesOnlyWhatItMayAndItsSourceGoesOnlyOnceItIsSafe) {
    enum Arrange { None, Link, Cut, DiskFull, ReadOnly, Changed, KeepOriginal };
    const QString cutLine = "only part of the picture could be read; not saved over its file";
    const struct {
        QString source;
        int format; // the alternate format, -1 for none
        bool intoFolder;
        Arrange arrange;
        QString output; // the file that holds the picture after, if any
        QString line;   // the log line after the file name, its start
    } cases[] = {
        {"a.jpg", -1, false, ReadOnly, "a.jpg", "complete"},
        {"a.jpg", 1, false, None, "a.bmp", "complete"},
        {"a.jpg", 1, false, KeepOriginal, "a.bmp", "complete"},
        {"a.jpg", 1, true, Link, "out/a.bmp", "complete"},
        {"a.jpg", 1, false, DiskFull, "", "could not be saved as <dir>/a.bmp: "},
        {"cut.jpg", -1, false, Cut, "", cutLine},
        {"cut.pcx", 1, false, Cut, "cut.bmp",
         "saved as <dir>/cut.bmp, but only part of the picture could be read and the original "
         "was kept"},
        {"b.bmp", -1, false, Changed, "", "changed since it was read; left as it is"},
        {"b.bmp", 2, false, Changed, "b.tga",
         "saved as <dir>/b.tga, but the original changed since it was read and was kept"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.source + " as " + c.output + ", " + c.line).toStdString());
        clear();
        writeFile(at("victim.txt"), "a file outside the output folder");
        writeImage(at(c.source), {300, 150}, formatOf(c.source));
        if (c.arrange == Cut) {
            writeFile(at(c.source), readFile(at(c.source)).left(readFile(at(c.source)).size() / 2));
            ASSERT_TRUE(imaging::decodeFile(at(c.source)).partial);
        }
        if (c.arrange == ReadOnly)
            ::chmod(QFile::encodeName(at(c.source)).constData(), 0444);
        if (c.arrange == Link) {
            ASSERT_TRUE(QFile::link("../victim.txt", at(c.output)));
        }
        QByteArray changed;
        observer.onCommit = [&](const QString& source) {
            if (c.arrange == Changed) {
                writeFile(source, readFile(source) + "edited");
                changed = checksum(source);
            }
        };
        const auto before = snapshot(dir.path());
        batch::ProcessOptions options = convertTo(std::max(c.format, 0), c.arrange != KeepOriginal);
        options.altSaveFormatOn = c.format >= 0;
        options.altSaveFolderOn = c.intoFolder;
        options.altSaveFolderPath = at("out");
        std::optional<FileSizeLimit> disk;
        if (c.arrange == DiskFull)
            disk.emplace(4 * 1024);
        const QStringList log = run({c.source}, options);
        disk.reset();
        ASSERT_EQ(log.size(), 1);
        EXPECT_TRUE(log[0].startsWith("<dir>/" + c.source + "   ...   " + c.line))
            << log[0].toStdString();
        auto after = snapshot(dir.path());
        auto expected = before;
        if (!c.output.isEmpty()) {
            EXPECT_EQ(imaging::decodeFile(at(c.output)).image.pixels.size(), QSize(300, 150));
            EXPECT_TRUE(QFileInfo(at(c.output)).permissions() & QFileDevice::WriteOwner);
            after.remove(c.output);
        }
        if (c.line == "complete" && c.arrange != KeepOriginal)
            expected.remove(c.source);
        if (c.arrange == Changed)
            expected[c.source] = changed;
        EXPECT_EQ(after, expected) << "every other file as it was, no temporary file left";
    }
}

// Within a budget the run holds as little as one file in flight, and the
// estimate of a file's work covers the picture it decodes to.
TEST_F(ProcessSafety, WorkInFlightStaysWithinTheMemoryBudget) {
    batch::ProcessOptions options = convertTo(2);
    QStringList names = {"f0.bmp", "f1.jpg", "f2.tga", "f3.pcx", "f4.bmp", "f5.jpg"};
    qint64 largest = 0, total = 0;
    for (int i = 0; i < names.size(); ++i) {
        writeImage(at(names[i]), {200 + 10 * i, 150}, formatOf(names[i]));
        const qint64 footprint = batch::preparationFootprint(at(names[i]), options);
        EXPECT_GE(footprint, QFileInfo(at(names[i])).size() +
                                 imaging::decodeFile(at(names[i])).image.pixels.sizeInBytes());
        largest = std::max(largest, footprint);
        total += footprint;
    }
    for (const auto& [budget, mostInFlight] : {std::pair{qint64(1), largest}, {total * 2, total}}) {
        options.memoryBudget = budget;
        run(names, options, 4);
        // Above one file's work, more than one file is in flight at a time.
        EXPECT_EQ(summary.peakInFlight > largest, budget != 1);
        EXPECT_GE(summary.peakInFlight, largest);
        EXPECT_LE(summary.peakInFlight, mostInFlight);
    }
}

// Converting a.bmp to JPEG makes a.jpg, a later entry of the list, and a.bmp
// comes again at the end; q.bmp and q.tga come to one output name: the first
// output is kept, the later source fails with the reason and stays. A parallel
// run must match a one-by-one run, aborted or not.
TEST(ProcessRun, ParallelRunWritesAndLogsExactlyWhatAOneByOneRunDoes) {
    const auto filesIn = [](const QString& root) {
        QStringList files = mixedFolder(root, "a.jpg") << root + "/a.bmp";
        writeImage(root + "/q.bmp", {80, 60}, imaging::Bmp);
        writeImage(root + "/q.tga", {70, 50}, imaging::Tga);
        files.insert(2, root + "/q.bmp");
        return files << root + "/q.tga";
    };
    for (const int abortAfter : {-1, 3}) {
        SCOPED_TRACE(abortAfter);
        QTemporaryDir one, many;
        const auto runIn = [&](const QString& root, RecordingObserver& observer, int jobs) {
            batch::ProcessOptions o = convertTo(0);
            o.convertOnly = false;
            o.box = {100, 100};
            return batch::runProcess(filesIn(root), o, observer, jobs);
        };
        RecordingObserver seq(abortAfter), par(abortAfter);
        const batch::ProcessSummary s1 = runIn(one.path(), seq, 1);
        const batch::ProcessSummary s2 = runIn(many.path(), par, 4);
        const QStringList log = relativeLines(seq.log, one.path());
        EXPECT_EQ(log, relativeLines(par.log, many.path()));
        EXPECT_EQ(relativeLines(seq.history, one.path()), relativeLines(par.history, many.path()));
        EXPECT_EQ(snapshot(one.path()), snapshot(many.path()));
        EXPECT_EQ(std::tuple(s1.finished, s1.failed, s1.aborted),
                  std::tuple(s2.finished, s2.failed, abortAfter >= 0));
        if (abortAfter >= 0)
            continue;
        EXPECT_EQ(log.filter("   ...   not saved as "),
                  QStringList({"<dir>/a.bmp   ...   not saved as <dir>/a.jpg: that file is "
                               "another file of this run",
                               "<dir>/a.bmp   ...   not saved as <dir>/a.jpg: this run has "
                               "already written that file",
                               "<dir>/q.tga   ...   not saved as <dir>/q.jpg: this run has "
                               "already written that file"}));
        EXPECT_TRUE(QFile::exists(one.filePath("q.tga"))) << "a refused source stays";
        EXPECT_EQ(imaging::decodeFile(one.filePath("q.jpg")).image.pixels.size(), QSize(80, 60));
    }
}
