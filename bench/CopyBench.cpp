// Times Dovi's copy and move commands (the very code the menu runs, with a
// Ui that answers nothing) against cp and mv on the same files in the same
// run, and prints the ratios. Best of several rounds, the order of the two
// contenders alternating, the page cache flushed to disk before each.
#include "app/FolderState.h"
#include "app/IniStore.h"
#include "app/Ui.h"
#include "app/Workspace.h"
#include "fileops/CopyMove.h"
#include "fileops/DestinationChooser.h"

#include "SilentUi.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

using namespace dovi;

namespace {

class FixedChooser : public fileops::DestinationChooser {
public:
    explicit FixedChooser(QString folder) : folder_(std::move(folder)) {}
    fileops::DestinationResult choose(fileops::ChooserMode) override {
        return {false, folder_, false};
    }

private:
    QString folder_;
};

struct Options {
    int files = 2000;
    qint64 totalBytes = qint64(1100) << 20;
    int rounds = 3;
    QString work = QDir::tempPath();
    QString otherFileSystem = QStringLiteral("/dev/shm");
    bool verbose = false;
};

// Files of varied sizes (a quarter to one and three quarters of the mean)
// adding up to about the total, with bytes that differ from file to file.
QStringList makeSourceSet(const QString& folder, const Options& o) {
    QDir().mkpath(folder);
    QStringList names;
    const qint64 mean = o.totalBytes / o.files;
    QByteArray block(4 << 20, Qt::Uninitialized);
    quint32 x = 12345;
    for (char& c : block) {
        x = x * 1103515245u + 12345u;
        c = char(x >> 24);
    }
    for (int i = 0; i < o.files; ++i) {
        const qint64 size = mean / 4 + (mean * 3 / 2) * ((i * 7919) % o.files) / o.files;
        const QString name = QStringLiteral("img%1.jpg").arg(i, 5, 10, QLatin1Char('0'));
        QFile f(folder + QLatin1Char('/') + name);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write the source set");
        f.write(QByteArray::number(i)); // every file starts differently
        qint64 left = size;
        while (left > 0) {
            const qint64 n = std::min<qint64>(left, block.size() - (i % 4096));
            f.write(block.constData() + (i % 4096), n);
            left -= n;
        }
        names << name;
    }
    return names;
}

qint64 folderBytes(const QString& folder, int& count) {
    qint64 total = 0;
    count = 0;
    for (const QFileInfo& fi : QDir(folder).entryInfoList(QDir::Files)) {
        total += fi.size();
        ++count;
    }
    return total;
}

void flush() {
    ::sync();
}

double runTool(const QString& program, const QStringList& args) {
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(-1) || p.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(program), p.readAllStandardError().constData());
    return t.nsecsElapsed() / 1e9;
}

double runDovi(const QString& from, const QString& to, bool move) {
    IniStore store(QDir(to).filePath(QStringLiteral("../bench.ini")));
    Workspace ws(QDir::tempPath(), store, SettingsEnvironment{1024, 768, QDir::homePath()});
    ws.settings.confirmActions = 0;
    ws.filePattern = QStringLiteral("*.*");
    changeFolder(ws, from); // nothing selected: every listed file
    SilentUi ui(Answer::Yes);
    FixedChooser chooser(to);
    QElapsedTimer t;
    t.start();
    move ? fileops::moveFiles(ws, ui, chooser) : fileops::copyFiles(ws, ui, chooser);
    return t.nsecsElapsed() / 1e9;
}

QStringList pathsIn(const QString& folder, const QStringList& names) {
    QStringList out;
    for (const QString& n : names)
        out << folder + QLatin1Char('/') + n;
    return out;
}

void check(const QString& folder, const Options& o, qint64 expectedBytes, const char* who) {
    int count = 0;
    const qint64 bytes = folderBytes(folder, count);
    if (count != o.files || bytes != expectedBytes)
        qFatal("%s left %d files, %lld bytes (expected %d, %lld)", who, count, bytes, o.files,
               expectedBytes);
}

struct Best {
    double dovi = 1e99;
    double tool = 1e99;
};

void report(const char* what, const char* tool, const Best& best, qint64 bytes) {
    std::printf("%-34s dovi %7.3f s (%6.1f MB/s)   %-3s %7.3f s (%6.1f MB/s)   ratio %.3f\n", what,
                best.dovi, bytes / 1048576.0 / best.dovi, tool, best.tool,
                bytes / 1048576.0 / best.tool, best.dovi / best.tool);
}

Options parse(const QStringList& args) {
    Options o;
    for (int i = 1; i < args.size(); i += 2) {
        const QString& k = args[i];
        if (k == QLatin1String("--verbose")) {
            o.verbose = true;
            --i;
            continue;
        }
        if (i + 1 >= args.size())
            qFatal("%s needs a value", qPrintable(k));
        const QString& v = args[i + 1];
        if (k == QLatin1String("--files"))
            o.files = v.toInt();
        else if (k == QLatin1String("--megabytes"))
            o.totalBytes = v.toLongLong() << 20;
        else if (k == QLatin1String("--rounds"))
            o.rounds = v.toInt();
        else if (k == QLatin1String("--work"))
            o.work = v;
        else if (k == QLatin1String("--other"))
            o.otherFileSystem = v;
        else
            qFatal("usage: dovi-bench-copy [--files N] [--megabytes M] [--rounds R] "
                   "[--work DIR] [--other DIR-ON-ANOTHER-FILE-SYSTEM] [--verbose]");
    }
    if (o.files < 1 || o.rounds < 1 || o.totalBytes < o.files)
        qFatal("files, rounds and size must be positive");
    return o;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const Options o = parse(app.arguments());
    const bool verbose = o.verbose;
    QTemporaryDir work(o.work + QStringLiteral("/dovi-bench-XXXXXX"));
    QTemporaryDir far(o.otherFileSystem + QStringLiteral("/dovi-bench-XXXXXX"));
    if (!work.isValid() || !far.isValid())
        qFatal("cannot make the work folders");

    const QString master = work.filePath(QStringLiteral("master"));
    std::printf("making %d files of about %lld MB in %s ...\n", o.files, o.totalBytes >> 20,
                qPrintable(master));
    std::fflush(stdout);
    const QStringList names = makeSourceSet(master, o);
    int count = 0;
    const qint64 bytes = folderBytes(master, count);
    flush();
    // One untimed pass so that neither contender pays for a cold cache.
    for (const QString& path : pathsIn(master, names)) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            while (!f.read(1 << 20).isEmpty()) {
            }
    }

    Best copy;
    for (int round = 0; round < o.rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool doviTurn = (round + turn) % 2 == 0;
            const QString to =
                work.filePath(doviTurn ? QStringLiteral("copy-dovi") : QStringLiteral("copy-cp"));
            QDir().mkpath(to);
            flush();
            const double seconds =
                doviTurn ? runDovi(master, to, false)
                         : runTool(QStringLiteral("cp"),
                                   QStringList{QStringLiteral("--preserve=mode,timestamps")} +
                                       pathsIn(master, names) + QStringList{to});
            double& best = doviTurn ? copy.dovi : copy.tool;
            best = std::min(best, seconds);
            if (verbose)
                std::printf("  copy round %d %s %.3f s\n", round + 1, doviTurn ? "dovi" : "cp",
                            seconds);
            check(to, o, bytes, doviTurn ? "dovi copy" : "cp");
            QDir(to).removeRecursively();
        }
    }

    Best move;
    for (int round = 0; round < o.rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool doviTurn = (round + turn) % 2 == 0;
            const QString from = work.filePath(QStringLiteral("move-from"));
            const QString to = far.filePath(QStringLiteral("move-to"));
            QDir().mkpath(to);
            runTool(QStringLiteral("cp"), QStringList{QStringLiteral("-r"), master, from});
            flush();
            const double seconds =
                doviTurn ? runDovi(from, to, true)
                         : runTool(QStringLiteral("mv"), pathsIn(from, names) + QStringList{to});
            double& best = doviTurn ? move.dovi : move.tool;
            best = std::min(best, seconds);
            if (verbose)
                std::printf("  move round %d %s %.3f s\n", round + 1, doviTurn ? "dovi" : "mv",
                            seconds);
            check(to, o, bytes, doviTurn ? "dovi move" : "mv");
            int left = 0;
            folderBytes(from, left);
            if (left != 0)
                qFatal("the move left %d files behind", left);
            QDir(to).removeRecursively();
            QDir(from).removeRecursively();
        }
    }

    std::printf("%d files, %.1f MB, best of %d rounds\n", o.files, bytes / 1048576.0, o.rounds);
    report("copy (one file system)", "cp", copy, bytes);
    report(qPrintable(QStringLiteral("move (%1 -> %2)").arg(o.work, o.otherFileSystem)), "mv", move,
           bytes);
    return 0;
}
