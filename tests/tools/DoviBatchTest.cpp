#include "TestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

QString tool() {
    return QCoreApplication::applicationDirPath() + "/dovi-batch";
}

struct ToolRun {
    int exitCode;
    QString out;
    QString err;
};

ToolRun runTool(const QStringList& args) {
    QProcess p;
    p.start(tool(), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

} // namespace

TEST(DoviBatch, MeasurePrintsTheDetailedListLines) {
    if (!QFileInfo::exists(tool()))
        GTEST_SKIP() << "dovi-batch not built beside the tests";
    QTemporaryDir dir;
    const QString bmp = dir.filePath("four,bit.bmp");
    const QString text = dir.filePath("notes.txt");
    ASSERT_TRUE(dovi::test::writeFile(bmp, dovi::test::sixteenColourBmp()));
    ASSERT_TRUE(dovi::test::writeFile(text, "hello"));
    const ToolRun r = runTool({"measure", "--headings", bmp, text});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Filename,File Size,Format,X,Y,Colours,BPP\n" + bmp + ",246,BMP,16,16,16,4\n" +
                         text + ",5,N/A\n");
}

TEST(DoviBatch, ConvertExitStatusTellsUsageErrorsAndFailedFiles) {
    if (!QFileInfo::exists(tool()))
        GTEST_SKIP() << "dovi-batch not built beside the tests";
    QTemporaryDir dir;
    const QString bmp = dir.filePath("a.bmp");
    ASSERT_TRUE(dovi::test::writeFile(bmp, dovi::test::sixteenColourBmp()));
    const struct {
        QStringList args;
        int exitCode;
    } cases[] = {
        {{"convert", "--to", "gif", bmp}, 2},
        {{"convert", "--fit", "800", bmp}, 2},
        {{"convert", "--jobs", "0", bmp}, 2},
        {{"convert", "--out", dir.filePath("nowhere"), bmp}, 2},
        {{"frobnicate", bmp}, 2},
        {{"--help"}, 0},
        {{"convert", "--to", "tga", bmp}, 0},
        {{"convert", "--to", "jpg", dir.filePath("missing.bmp")}, 1},
    };
    for (const auto& c : cases) {
        const ToolRun r = runTool(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString() << "\n"
                                          << r.err.toStdString();
    }
    EXPECT_TRUE(runTool({"--help"}).out.startsWith("usage:\n  dovi-batch measure"));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("a.tga")));
    EXPECT_EQ(runTool({"convert", "--to", "tga", bmp}).out, bmp + "   ...   complete\n");
}
