#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace dovi::test;

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

// Runs the tool with arguments given as bytes, exactly (QProcess would
// re-encode them as UTF-8); its standard output as bytes.
int runWithBytes(const QList<QByteArray>& args, QByteArray* out) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return -1;
    const QByteArray program = QFile::encodeName(tool());
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::close(pipeFds[0]);
        std::vector<char*> argv{const_cast<char*>(program.constData())};
        for (const QByteArray& a : args)
            argv.push_back(const_cast<char*>(a.constData()));
        argv.push_back(nullptr);
        ::execv(program.constData(), argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        out->append(buffer, n);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#define REQUIRE_TOOL()                                                                             \
    if (!QFileInfo::exists(tool()))                                                                \
    GTEST_SKIP() << "dovi-batch not built beside the tests"

} // namespace

TEST(DoviBatch, MeasurePrintsTheDetailedListLinesAsCsv) {
    REQUIRE_TOOL();
    QTemporaryDir dir;
    const QString bmp = dir.filePath("four,bit.bmp");
    const QString quoted = dir.filePath("say \"hi\".bmp");
    const QString broken = dir.filePath("two\nlines.bmp");
    const QString text = dir.filePath("notes.txt");
    for (const QString& p : {bmp, quoted, broken})
        ASSERT_TRUE(writeFile(p, sixteenColourBmp()));
    ASSERT_TRUE(writeFile(text, "hello"));
    const ToolRun r = runTool({"measure", "--headings", bmp, quoted, broken, text});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Filename,File Size,Format,X,Y,Colours,BPP\n"
                     "\"" +
                         bmp +
                         "\",246,BMP,16,16,16,4\n"
                         "\"" +
                         dir.filePath("say \"\"hi\"\".bmp") +
                         "\",246,BMP,16,16,16,4\n"
                         "\"" +
                         broken + "\",246,BMP,16,16,16,4\n" + text + ",5,N/A\n");
}

TEST(DoviBatch, MeasureFailsForAFileItCannotRead) {
    REQUIRE_TOOL();
    QTemporaryDir dir;
    const QString bmp = dir.filePath("a.bmp");
    ASSERT_TRUE(writeFile(bmp, sixteenColourBmp()));
    QDir().mkpath(dir.filePath("folder.bmp"));
    for (const QString& bad : {dir.filePath("missing.bmp"), dir.filePath("folder.bmp")}) {
        SCOPED_TRACE(bad.toStdString());
        const ToolRun r = runTool({"measure", bmp, bad});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.out.startsWith(bmp + ",246,BMP,16,16,16,4\n")) << "the others are measured";
        EXPECT_TRUE(r.err.startsWith("dovi-batch: " + bad + ": ")) << r.err.toStdString();
    }
}

TEST(DoviBatch, ConvertExitStatusTellsUsageErrorsAndFilesNotConverted) {
    REQUIRE_TOOL();
    QTemporaryDir dir;
    const QString bmp = dir.filePath("a.bmp");
    ASSERT_TRUE(writeFile(bmp, sixteenColourBmp()));
    ASSERT_TRUE(writeFile(dir.filePath("notes.txt"), "text"));
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
        {{"convert", "--to", "jpg", dir.filePath("notes.txt")}, 1},
        {{"convert", "--to", "pcx", bmp, dir.filePath("notes.txt")}, 1},
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

// A name that is not UTF-8 is taken byte for byte: read, converted beside
// itself under the same bytes, and measured.
TEST(DoviBatch, NamesThatAreNotUtf8AreProcessed) {
    REQUIRE_TOOL();
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    const QByteArray source = folder + "/caf\xe9.bmp";
    const QByteArray output = folder + "/caf\xe9.tga";
    const QByteArray bmp = sixteenColourBmp();
    const int fd = ::open(source.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, bmp.constData(), size_t(bmp.size())), bmp.size());
    ::close(fd);

    QByteArray out;
    EXPECT_EQ(runWithBytes({"convert", "--to", "tga", source}, &out), 0);
    EXPECT_EQ(out, source + "   ...   complete\n");
    struct stat st {};
    EXPECT_EQ(::stat(output.constData(), &st), 0) << "the output has the same bytes";
    out.clear();
    EXPECT_EQ(runWithBytes({"measure", output}, &out), 0);
    EXPECT_EQ(out, output + "," + QByteArray::number(qint64(st.st_size)) + ",TGA,16,16,16,8\n");

    // Qt cannot name these files to remove them with the folder.
    ::unlink(source.constData());
    ::unlink(output.constData());
}
