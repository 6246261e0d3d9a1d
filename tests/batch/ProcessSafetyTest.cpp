// Runs that would lose a picture: two sources with one output name, a link
// planted where an output goes, a source changed while the run works on it, a
// picture read only in part, another user's file, a full disk. Every file is
// checked before and after.
#include "batch/OutputCommit.h"
#include "batch/ProcessOptions.h"
#include "batch/RunFiles.h"
#include "batch/WorkFootprint.h"

#include "ProcessTestSupport.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

using namespace dovi;
using namespace dovi::test;

namespace {

struct ProcessSafety : PicturesFixture {
    ScriptedWindow window;

    void SetUp() override {
        PicturesFixture::SetUp();
        ws->settings.confirmActions = 0;
        ws->settings.convertOnly = 1;
    }
    // The Process window's operation over files named relative to the
    // temporary folder.
    batch::ProcessSummary process(const QStringList& relative) {
        QStringList targets;
        for (const QString& r : relative)
            targets << dir.filePath(r);
        window = {};
        return batch::processFiles(*ws, ui, window, targets);
    }
    QStringList log() const { return relativeLines(window.log, dir.path()); }
    QSize sizeOf(const QString& relative) const {
        return imaging::decodeFile(dir.filePath(relative)).image.pixels.size();
    }
};

struct stat statOf(const QString& path) {
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

// Rewrites a file in place (same inode, new bytes and time) or replaces it
// with a new file under the name, as another program might.
void changeBehindTheRun(const QString& path, bool replace) {
    const QByteArray bytes = readFile(path) + "edited";
    if (replace) {
        writeFile(path + ".new", bytes);
        ::rename(QFile::encodeName(path + ".new").constData(), QFile::encodeName(path).constData());
    } else {
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Append);
        f.write("edited");
    }
}

} // namespace

// The first source's output is kept, the second source fails with the reason
// and stays, whatever "Delete Original" says.
TEST_F(ProcessSafety, TwoSourcesForOneOutputNameKeepBothPictures) {
    struct Case {
        const char* what;
        QString first, second; // relative to the temporary folder, different sizes
        QString output;        // the first one's output
        bool intoFolder;
    };
    const Case cases[] = {
        {"p.jpg of two folders into one", "a/p.jpg", "b/p.jpg", "out/p.jpg", true},
        {"q.bmp and q.tga to JPEG", "pics/q.bmp", "pics/q.tga", "pics/q.jpg", false},
        {"r.bmp to JPEG before r.jpg", "pics/r.bmp", "pics/r.jpg", "pics/r.jpg", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* sub : {"a", "b", "out", "pics"}) {
            QDir(dir.filePath(sub)).removeRecursively();
            folder(sub);
        }
        const auto formatOf = [](const QString& name) {
            return name.endsWith(".bmp")   ? imaging::Bmp
                   : name.endsWith(".tga") ? imaging::Tga
                                           : imaging::Jpeg;
        };
        writeImage(dir.filePath(c.first), {60, 40}, formatOf(c.first));
        writeImage(dir.filePath(c.second), {30, 50}, formatOf(c.second));
        ws->settings.altSaveFormatOn = 1;
        ws->settings.altSaveFormat = 0; // JPEG
        ws->settings.altSaveFolderOn = c.intoFolder;
        ws->settings.altSaveFolderPath = dir.filePath("out") + "/";
        ws->settings.deleteOriginal = 1;
        const auto before = snapshot(dir.path());

        const auto summary = process({c.first, c.second});

        const auto after = snapshot(dir.path());
        const bool secondInPlace = c.second == c.output;
        EXPECT_EQ(sizeOf(c.output), secondInPlace ? QSize(30, 50) : QSize(60, 40))
            << "each output holds its own source's picture";
        if (secondInPlace) {
            // r.bmp may not write over r.jpg, which is then converted itself.
            EXPECT_EQ(after.value(c.first), before.value(c.first));
            EXPECT_EQ(summary.failed, 1);
            EXPECT_TRUE(log()[0].startsWith("<dir>/" + c.first + "   ...   not saved as <dir>/" +
                                            c.output + ": that file is another file of this run"))
                << log()[0].toStdString();
            continue;
        }
        EXPECT_FALSE(after.contains(c.first)) << "deleted once its own output was safe";
        EXPECT_EQ(after.value(c.second), before.value(c.second)) << "kept, byte for byte";
        EXPECT_EQ(after.size(), before.size()) << "one output in, one original out";
        EXPECT_EQ(summary.failed, 1);
        EXPECT_EQ(log(), QStringList({"<dir>/" + c.first + "   ...   complete",
                                      "<dir>/" + c.second + "   ...   not saved as <dir>/" +
                                          c.output + ": this run has already written that file",
                                      "1 file(s) could not be processed"}));
        EXPECT_EQ(window.caption, "Work Complete - 1 file(s) failed");
    }
}

TEST_F(ProcessSafety, ALinkPlantedWhereAnOutputGoesIsReplacedNotWrittenThrough) {
    writeImage(pic("a.jpg"), {40, 30}, imaging::Jpeg);
    writeFile(dir.filePath("victim.txt"), "a file outside the output folder");
    const QString out = folder("out");
    ASSERT_TRUE(QFile::link("../victim.txt", out + "/a.bmp"));
    ws->settings.altSaveFormatOn = 1;
    ws->settings.altSaveFormat = 1; // BMP
    ws->settings.altSaveFolderOn = 1;
    ws->settings.altSaveFolderPath = out + "/";
    const QByteArray victim = checksum(dir.filePath("victim.txt"));

    process({"pics/a.jpg"});

    EXPECT_EQ(checksum(dir.filePath("victim.txt")), victim);
    EXPECT_TRUE(S_ISREG(statOf(out + "/a.bmp").st_mode)) << "the link itself was replaced";
    EXPECT_EQ(sizeOf("out/a.bmp"), QSize(40, 30));
    EXPECT_EQ(log(), QStringList{"<dir>/pics/a.jpg   ...   complete"});
}

// Another program changes the source after it was read, just before its
// output takes its name: the change is never overwritten or deleted.
TEST(ProcessRun, ASourceChangedBeforeTheCommitIsLeftAlone) {
    struct Case {
        const char* what;
        bool alternate; // a TGA beside it with Delete Original, else in place
        bool replace;   // a new file under the name, else the same file rewritten
        QString line;
    };
    const Case cases[] = {
        {"rewritten, in place", false, false, "changed since it was read; left as it is"},
        {"replaced, in place", false, true, "changed since it was read; left as it is"},
        {"rewritten, delete original", true, false,
         "saved as <dir>/b.tga, but the original changed since it was read and was kept"},
        {"replaced, delete original", true, true,
         "saved as <dir>/b.tga, but the original changed since it was read and was kept"},
    };
    for (const Case& c : cases) {
        for (const int jobs : {1, 3}) {
            SCOPED_TRACE(::testing::Message() << c.what << ", jobs " << jobs);
            QTemporaryDir dir;
            const QStringList files = {dir.filePath("a.bmp"), dir.filePath("b.bmp"),
                                       dir.filePath("c.bmp")};
            for (const QString& f : files)
                writeImage(f, {30, 20}, imaging::Bmp);
            batch::ProcessOptions options;
            options.convertOnly = true;
            options.altSaveFormatOn = c.alternate;
            options.altSaveFormat = 2; // TGA
            options.deleteOriginal = c.alternate;
            RecordingObserver observer;
            QByteArray changed;
            observer.onCommit = [&](const QString& source, const QString&) {
                if (source != files[1])
                    return;
                changeBehindTheRun(source, c.replace);
                changed = checksum(source);
            };

            const auto summary = batch::runProcess(files, options, observer, jobs);

            EXPECT_EQ(checksum(files[1]), changed);
            EXPECT_EQ(summary.failed, 1);
            EXPECT_EQ(relativeLines(observer.log, dir.path()),
                      QStringList({"<dir>/a.bmp   ...   complete", "<dir>/b.bmp   ...   " + c.line,
                                   "<dir>/c.bmp   ...   complete"}));
            EXPECT_EQ(QFile::exists(files[0]), !c.alternate);
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(),
                      c.alternate ? 4 : 3)
                << "no temporary file left";
        }
    }
}

// A picture whose end was missing may be written elsewhere, never over
// itself, in any format.
TEST_F(ProcessSafety, APictureReadOnlyInPartNeverReplacesItsFile) {
    const std::pair<const char*, imaging::FormatCode> formats[] = {{"jpg", imaging::Jpeg},
                                                                   {"bmp", imaging::Bmp},
                                                                   {"tga", imaging::Tga},
                                                                   {"pcx", imaging::Pcx}};
    for (const auto& [extension, format] : formats) {
        SCOPED_TRACE(extension);
        const QString name = QString("cut.") + extension;
        writeImage(pic(name), {64, 64}, format);
        writeFile(pic(name), readFile(pic(name)).left(readFile(pic(name)).size() * 2 / 3));
        ASSERT_TRUE(imaging::decodeFile(pic(name)).partial);
        const QByteArray before = checksum(pic(name));
        ws->settings.altSaveFormatOn = 0;
        process({"pics/" + name});
        EXPECT_EQ(checksum(pic(name)), before);
        EXPECT_EQ(log(), QStringList({"<dir>/pics/" + name +
                                          "   ...   only part of the picture could be read; not "
                                          "saved over its file",
                                      "1 file(s) could not be processed"}));

        ws->settings.altSaveFormatOn = 1;
        ws->settings.altSaveFormat = format == imaging::Bmp ? 2 : 1;
        process({"pics/" + name});
        EXPECT_EQ(checksum(pic(name)), before);
        EXPECT_EQ(log(), QStringList{"<dir>/pics/" + name + "   ...   complete"});
    }
}

// Rewritten in place, a file keeps its owner, group and mode (made writable
// for its owner, as cleared attributes would); a failed save changes none.
TEST_F(ProcessSafety, AFileRewrittenInPlaceKeepsItsOwnerAndMode) {
    struct Case {
        const char* name;
        mode_t mode;
        bool otherUser;
        mode_t after;
    };
    const Case cases[] = {
        {"private.bmp", 0600, false, 0600},
        {"readonly.bmp", 0444, false, 0644},
        {"theirs.bmp", 0600, true, 0600},
        {"theirs-readonly.tga", 0440, true, 0640},
    };
    constexpr uid_t kUser = 54321;
    constexpr gid_t kGroup = 54322;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.otherUser && !runningAsRoot())
            continue;
        writeImage(pic(c.name), {120, 80},
                   QString(c.name).endsWith("tga") ? imaging::Tga : imaging::Bmp);
        const QByteArray native = QFile::encodeName(pic(c.name));
        ::chmod(native.constData(), c.mode);
        if (c.otherUser) {
            ASSERT_EQ(::chown(native.constData(), kUser, kGroup), 0);
        }
        const struct stat before = statOf(pic(c.name));
        const QByteArray bytes = checksum(pic(c.name));

        // A disk too small for the file: nothing changes.
        {
            FileSizeLimit disk(4 * 1024);
            process({"pics/" + QString(c.name)});
        }
        EXPECT_EQ(checksum(pic(c.name)), bytes);
        EXPECT_EQ(statOf(pic(c.name)).st_mode, before.st_mode);
        EXPECT_EQ(statOf(pic(c.name)).st_uid, before.st_uid);

        ws->settings.convertOnly = 0; // resampled into the 100 x 100 box
        process({"pics/" + QString(c.name)});
        ws->settings.convertOnly = 1;
        const struct stat after = statOf(pic(c.name));
        EXPECT_NE(checksum(pic(c.name)), bytes);
        EXPECT_EQ(sizeOf("pics/" + QString(c.name)), QSize(100, 67));
        EXPECT_EQ(after.st_mode & 07777, c.after);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
    }
}

TEST_F(ProcessSafety, AFullOutputDiskSaysSoAndKeepsTheOriginals) {
    SmallDisk disk(128 * 1024);
    if (!disk.valid())
        GTEST_SKIP() << "no small file system can be mounted here";
    writeImage(pic("big.jpg"), {400, 300}, imaging::Jpeg); // 480 kB as BMP
    writeImage(pic("small.jpg"), {20, 10}, imaging::Jpeg);
    const auto before = snapshot(pics);
    ws->settings.altSaveFormatOn = 1;
    ws->settings.altSaveFormat = 1; // BMP
    ws->settings.altSaveFolderOn = 1;
    ws->settings.altSaveFolderPath = disk.path() + "/";
    ws->settings.deleteOriginal = 1;

    const auto summary = process({"pics/big.jpg", "pics/small.jpg"});

    EXPECT_EQ(summary.failed, 1);
    EXPECT_EQ(log()[0], "<dir>/pics/big.jpg   ...   could not be saved as " + disk.path() +
                            "/big.bmp: No space left on device");
    EXPECT_EQ(snapshot(pics).value("big.jpg"), before.value("big.jpg"));
    EXPECT_FALSE(QFile::exists(pic("small.jpg")));
    EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"small.bmp"});
    EXPECT_EQ(window.caption, "Work Complete - 1 file(s) failed");
}

// The estimate of what preparing a file holds covers the picture it decodes
// to, for each format, decoded whole or for a box.
TEST(WorkFootprint, CoversTheDecodedPicture) {
    QTemporaryDir dir;
    const std::pair<const char*, imaging::FormatCode> formats[] = {{"a.jpg", imaging::Jpeg},
                                                                   {"a.bmp", imaging::Bmp},
                                                                   {"a.tga", imaging::Tga},
                                                                   {"a.pcx", imaging::Pcx}};
    for (const auto& [name, format] : formats) {
        for (const bool convertOnly : {true, false}) {
            SCOPED_TRACE(::testing::Message() << name << ", convert only " << convertOnly);
            const QString path = dir.filePath(name);
            writeImage(path, {640, 480}, format);
            batch::ProcessOptions options;
            options.convertOnly = convertOnly;
            options.box = {100, 100};
            imaging::DecodeRequest request;
            if (!convertOnly)
                request.fitBox = options.box;
            const QImage decoded = imaging::decodeFile(path, request).image.pixels;
            const qint64 footprint = batch::preparationFootprint(path, options);
            EXPECT_GE(footprint, QFileInfo(path).size() + decoded.sizeInBytes());
            // Not wildly more: the whole picture three times over at most.
            EXPECT_LE(footprint, QFileInfo(path).size() + 3 * 640 * 480 * 4);
        }
    }
    writeFile(dir.filePath("notes.txt"), "text");
    EXPECT_EQ(batch::preparationFootprint(dir.filePath("notes.txt"), {}), 4);
    EXPECT_EQ(batch::preparationFootprint(dir.filePath("missing.bmp"), {}), 0);
}

// Within a budget the run holds as little as one file in flight and still
// writes exactly what a one-by-one run does.
TEST(ProcessRun, WorkInFlightStaysWithinTheMemoryBudget) {
    const auto filesIn = [](const QString& root) {
        QStringList files;
        for (int i = 0; i < 8; ++i) {
            files << root + QString("/f%1.bmp").arg(i);
            writeImage(files.last(), {200 + 10 * i, 150}, imaging::Bmp);
        }
        return files;
    };
    batch::ProcessOptions options = [] {
        batch::ProcessOptions o;
        o.convertOnly = true;
        o.altSaveFormatOn = true;
        o.altSaveFormat = 2; // TGA
        return o;
    }();
    QTemporaryDir one;
    const QStringList sequentialFiles = filesIn(one.path());
    qint64 largest = 0, total = 0;
    for (const QString& f : sequentialFiles) {
        largest = std::max(largest, batch::preparationFootprint(f, options));
        total += batch::preparationFootprint(f, options);
    }
    RecordingObserver sequential;
    batch::runProcess(sequentialFiles, options, sequential, 1);

    const struct {
        qint64 budget;
        qint64 mostInFlight;
    } cases[] = {
        {1, largest}, // one file at a time, however large
        {largest * 2, largest * 2},
        {total * 2, total}, // no limit: the window of jobs decides
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.budget);
        QTemporaryDir many;
        options.memoryBudget = c.budget;
        RecordingObserver parallel;
        const auto summary = batch::runProcess(filesIn(many.path()), options, parallel, 4);
        EXPECT_LE(summary.peakInFlight, c.mostInFlight);
        if (c.budget == 1) {
            EXPECT_EQ(summary.peakInFlight, largest);
        } else {
            EXPECT_GT(summary.peakInFlight, largest) << "more than one file at a time";
        }
        EXPECT_EQ(relativeLines(parallel.log, many.path()),
                  relativeLines(sequential.log, one.path()));
        EXPECT_EQ(snapshot(many.path()), snapshot(one.path()));
    }
}
