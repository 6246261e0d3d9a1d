#include "batch/ProcessOptions.h"
#include "batch/ProcessRun.h"
#include "imaging/Codecs.h"

#include "TestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

using namespace dovi;
using namespace dovi::batch;

namespace {

class RecordingObserver : public ProcessObserver {
public:
    explicit RecordingObserver(int abortAfter = -1) : abortAfter_(abortAfter) {}
    QStringList log, history;
    int finished = 0;
    void logLine(const QString& line) override { log << line; }
    void historyLine(const QString& line) override { history << line; }
    void fileFinished(int) override { ++finished; }
    bool abortRequested() override { return abortAfter_ >= 0 && finished >= abortAfter_; }

private:
    int abortAfter_;
};

void writeImage(const QString& path, QSize size, imaging::FormatCode format) {
    imaging::Image image;
    image.pixels = test::makeTestPattern(size.width(), size.height());
    image.format = format;
    ASSERT_TRUE(imaging::saveImageFile(image, path, format, {}));
}

// A folder of mixed files, where converting a.bmp to JPEG writes a.jpg, which
// is itself a later entry of the list.
QStringList makeFolder(const QString& dir) {
    writeImage(dir + "/a.bmp", {200, 100}, imaging::Bmp);
    writeImage(dir + "/b.tga", {50, 50}, imaging::Tga);
    writeImage(dir + "/a.jpg", {300, 300}, imaging::Jpeg);
    writeImage(dir + "/c.pcx", {400, 200}, imaging::Pcx);
    test::writeFile(dir + "/notes.txt", "not an image");
    QByteArray broken = test::readFile(dir + "/a.jpg").left(300);
    test::writeFile(dir + "/broken.jpg", broken);
    return {dir + "/a.bmp", dir + "/notes.txt", dir + "/b.tga", dir + "/a.jpg",
            dir + "/broken.jpg", dir + "/c.pcx", dir + "/a.bmp"};
}

QMap<QString, QByteArray> folderHashes(const QString& dir) {
    QMap<QString, QByteArray> out;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        out[path.mid(dir.size())] =
            QCryptographicHash::hash(test::readFile(path), QCryptographicHash::Sha256);
    }
    return out;
}

QStringList relative(QStringList lines, const QString& dir) {
    for (QString& l : lines)
        l.replace(dir, "<dir>");
    return lines;
}

ProcessOptions convertToJpeg() {
    ProcessOptions o;
    o.box = {100, 100};
    o.altSaveFormatOn = true;
    o.altSaveFormat = 0;
    return o;
}

} // namespace

TEST(ProcessRun, ParallelRunWritesAndLogsExactlyWhatAOneByOneRunDoes) {
    for (int abortAfter : {-1, 3}) {
        QTemporaryDir one, many;
        const QStringList a = makeFolder(one.path());
        const QStringList b = makeFolder(many.path());
        RecordingObserver seq(abortAfter), par(abortAfter);
        const ProcessSummary s1 = runProcess(a, convertToJpeg(), seq, 1);
        const ProcessSummary s2 = runProcess(b, convertToJpeg(), par, 4);
        EXPECT_EQ(relative(seq.log, one.path()), relative(par.log, many.path()));
        EXPECT_EQ(relative(seq.history, one.path()), relative(par.history, many.path()));
        EXPECT_EQ(folderHashes(one.path()), folderHashes(many.path())) << "abort " << abortAfter;
        EXPECT_EQ(s1.finished, s2.finished);
        EXPECT_EQ(s1.failed, s2.failed);
        EXPECT_EQ(s1.aborted, abortAfter >= 0);
    }
}

TEST(ProcessRun, LogLinesSayWhatHappenedToEachFile) {
    QTemporaryDir dir;
    const QStringList files = makeFolder(dir.path());
    RecordingObserver obs;
    ProcessOptions o;
    o.box = {100, 100};
    const ProcessSummary s = runProcess(files, o, obs, 2);
    const QStringList expected = {
        "<dir>/a.bmp   ...   complete",
        "<dir>/notes.txt   ...   not a supported image type",
        "<dir>/b.tga   ...   resample not required",
        "<dir>/a.jpg   ...   complete",
        "<dir>/broken.jpg   ...   could not be read: ",
        "<dir>/c.pcx   ...   complete",
        "<dir>/a.bmp   ...   resample not required", // already fitted by the first entry
    };
    const QStringList got = relative(obs.log, dir.path());
    ASSERT_EQ(got.size(), expected.size()) << got.join("\n").toStdString();
    for (int i = 0; i < got.size(); ++i)
        EXPECT_TRUE(got[i].startsWith(expected[i])) << got[i].toStdString();
    EXPECT_EQ(obs.history, QStringList({"Processing " + dir.path() +
                                            "/notes.txt   ...   not a supported image type",
                                        "Processing " + dir.path() +
                                            "/b.tga   ...   resample not required",
                                        "Processing " + obs.log[4],
                                        "Processing " + dir.path() +
                                            "/a.bmp   ...   resample not required"}));
    EXPECT_EQ(s.failed, 1);
    const auto fitted = imaging::decodeFile(dir.filePath("c.pcx"));
    EXPECT_EQ(QSize(fitted.fullWidth, fitted.fullHeight), QSize(100, 50));
    EXPECT_EQ(fitted.image.format, imaging::Pcx) << "saved in place in its own format";
}

TEST(ProcessRun, DeleteOriginalOnlyAfterADifferentOutputIsSafelyWritten) {
    QTemporaryDir dir;
    writeImage(dir.filePath("x.jpg"), {300, 200}, imaging::Jpeg);
    writeImage(dir.filePath("y.bmp"), {300, 200}, imaging::Bmp);
    writeImage(dir.filePath("z.jpg"), {300, 200}, imaging::Jpeg);
    const QByteArray zBefore = test::readFile(dir.filePath("z.jpg"));

    ProcessOptions o = convertToJpeg();
    o.deleteOriginal = true;
    RecordingObserver obs;
    runProcess({dir.filePath("y.bmp"), dir.filePath("x.jpg")}, o, obs, 2);
    EXPECT_FALSE(QFile::exists(dir.filePath("y.bmp")));
    EXPECT_TRUE(QFile::exists(dir.filePath("y.jpg")));
    EXPECT_TRUE(QFile::exists(dir.filePath("x.jpg"))) << "output is the source: never deleted";

    // An output that cannot be written keeps the source, and says so.
    o.altSaveFolderOn = true;
    o.altSaveFolderPath = dir.filePath("z.jpg") + "/inside-a-file";
    RecordingObserver failing;
    const ProcessSummary s = runProcess({dir.filePath("z.jpg")}, o, failing, 1);
    EXPECT_EQ(s.failed, 1);
    ASSERT_EQ(failing.log.size(), 1);
    EXPECT_TRUE(failing.log[0].contains("could not be saved")) << failing.log[0].toStdString();
    EXPECT_EQ(test::readFile(dir.filePath("z.jpg")), zBefore);
}
