#include "batch/ProcessOptions.h"
#include "batch/ProcessTestSupport.h"
#include "imaging/codecs/bmp/BmpCodec.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>
#include <fstream>
#include <unistd.h>

using namespace dovi;
using namespace dovi::test;

namespace {

QString tool() {
    return QCoreApplication::applicationDirPath() + "/dovi-batch";
}

struct ToolRun {
    int exitCode;
    QString out, err;
};

ToolRun runTool(const QStringList& args) {
    QProcess p;
    p.start(tool(), args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

// A 16 x 16 BMP of 4 bits per pixel (246 bytes): every row runs through 16 colours.
QByteArray sixteenColourBmp() {
    imaging::Image image;
    image.pixels = QImage(16, 16, QImage::Format_RGB32);
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 16; ++y)
            image.pixels.setPixel(x, y, qRgb(x * 16, 255 - x * 16, x * 8));
    image.sourceHadPalette = true;
    QByteArray file;
    imaging::bmp::encode(image, file);
    return file;
}

#define REQUIRE_TOOL()                                                                             \
    if (!QFileInfo(tool()).isExecutable())                                                         \
    GTEST_SKIP() << "dovi-batch not built beside the tests"

} // namespace

// The command line is the engine's run: for the same files and options it
// writes the same files and lines, and its status says whether any failed.
TEST(DoviBatch, ConvertWritesWhatTheEngineRunWrites) {
    REQUIRE_TOOL();
    const struct {
        QStringList args; // <out>: the output folder
        std::function<void(batch::ProcessOptions&, const QString& out)> options;
    } cases[] = {
        {{"--to", "bmp"}, [](batch::ProcessOptions& o, const QString&) { o = convertTo(1); }},
        {{"--fit", "100x80", "--to", "jpg", "--out", "<out>", "--delete-original", "--lum", "20",
          "--chrom", "30"},
         [](batch::ProcessOptions& o, const QString& out) {
             o = convertTo(0, true);
             o.convertOnly = false;
             o.box = {100, 80};
             o.altSaveFolderOn = true;
             o.altSaveFolderPath = out;
             o.jpegLuminance = 20;
             o.jpegChrominance = 30;
         }},
        {{"--fit", "100x100", "--up"},
         [](batch::ProcessOptions& o, const QString&) {
             o.box = {100, 100};
             o.resampleUpDown = true;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QTemporaryDir engineRun, toolRun;
        for (QTemporaryDir* d : {&engineRun, &toolRun})
            QDir().mkpath(d->filePath("out"));
        batch::ProcessOptions options;
        c.options(options, engineRun.filePath("out"));
        RecordingObserver observer;
        batch::runProcess(mixedFolder(engineRun.path(), "d.jpg"), options, observer, 2);

        QStringList args{"convert"};
        for (const QString& a : c.args)
            args << (a == "<out>" ? toolRun.filePath("out") : a);
        const ToolRun r = runTool(args + mixedFolder(toolRun.path(), "d.jpg"));
        EXPECT_EQ(relativeLines(r.out.split('\n', Qt::SkipEmptyParts), toolRun.path()),
                  relativeLines(observer.log, engineRun.path()));
        EXPECT_EQ(snapshot(toolRun.path()), snapshot(engineRun.path()));
        EXPECT_EQ(r.exitCode, 1) << "notes.txt and broken.jpg fail";
    }
}

TEST(DoviBatch, ExitStatusTellsUsageErrorsFromFilesNotDone) {
    REQUIRE_TOOL();
    QTemporaryDir dir;
    const QString bmp = dir.filePath("a, \"b\".bmp");
    const QString csv = "\"" + dir.filePath("a, \"\"b\"\".bmp") + "\"";
    const QString text = dir.filePath("notes.txt");
    writeFile(bmp, sixteenColourBmp());
    writeFile(text, "hello");
    const struct {
        QStringList args;
        int exitCode;
        QString out; // the start of standard output
    } cases[] = {
        {{"convert", "--to", "gif", bmp}, 2, ""},
        {{"convert", "--fit", "800", bmp}, 2, ""},
        {{"convert", "--out", dir.filePath("nowhere"), bmp}, 2, ""},
        {{"--help"}, 0, "usage:\n  dovi-batch measure"},
        {{"convert", "--to", "tga", bmp}, 0, bmp + "   ...   complete\n"},
        {{"measure", "--headings", bmp, text},
         0,
         "Filename,File Size,Format,X,Y,Colours,BPP\n" + csv + ",246,BMP,16,16,16,4\n" + text +
             ",5,N/A\n"},
        {{"measure", bmp, dir.filePath("missing.bmp")}, 1, csv + ",246,BMP"},
    };
    for (const auto& c : cases) {
        const ToolRun r = runTool(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString() << r.err.toStdString();
        EXPECT_EQ(r.out.left(c.out.size()), c.out);
        if (c.exitCode == 1) {
            EXPECT_TRUE(r.err.startsWith("dovi-batch: " + c.args.last() + ": "));
        }
    }
}

// A name that is not UTF-8 is taken byte for byte: read, converted beside
// itself under the same bytes, and measured.
TEST(DoviBatch, NamesThatAreNotUtf8AreProcessed) {
    REQUIRE_TOOL();
    QTemporaryDir dir;
    const QByteArray source = QFile::encodeName(dir.path()) + "/caf\xe9.bmp";
    const QByteArray output = QFile::encodeName(dir.path()) + "/caf\xe9.tga";
    std::ofstream(source.constData(), std::ios::binary) << sixteenColourBmp().toStdString();
    const auto shell = [](const QByteArray& args) { // the shell passes the bytes as they are
        QByteArray out(4096, '\0');
        FILE* p = ::popen("'" + QFile::encodeName(tool()) + "' " + args, "r");
        out.truncate(qsizetype(std::fread(out.data(), 1, size_t(out.size()), p)));
        return std::pair{::pclose(p), out};
    };
    EXPECT_EQ(shell("convert --to tga '" + source + "'"),
              std::pair(0, source + "   ...   complete\n"));
    const QByteArray measured = shell("measure '" + output + "'").second; // under the same bytes
    EXPECT_TRUE(measured.startsWith(output + ",") && measured.endsWith(",TGA,16,16,16,8\n"));
    ::unlink(source.constData()); // Qt cannot name these files to remove them
    ::unlink(output.constData());
}
