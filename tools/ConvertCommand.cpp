#include "ConvertCommand.h"

#include "CommandLine.h"
#include "ProgressLine.h"
#include "batch/ProcessOptions.h"
#include "batch/ProcessRun.h"
#include "platform/NativePath.h"

#include <QDir>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class ConsoleObserver : public dovi::batch::ProcessObserver {
public:
    explicit ConsoleObserver(int total) : progress_(total) {}
    void logLine(const QString& line) override {
        progress_.clear();
        std::printf("%s\n", dovi::platform::nativePath(line).constData());
        std::fflush(stdout);
    }
    void historyLine(const QString&) override {}
    void fileFinished(int index) override { progress_.show(index + 1); }
    bool abortRequested() override { return false; }
    void finish() { progress_.clear(); }

private:
    ProgressLine progress_;
};

int formatIndex(const QString& name) {
    static const QStringList names = {"jpg", "bmp", "tga", "pcx", "png"};
    QString n = name.toLower();
    if (n == QLatin1String("jpeg"))
        n = QStringLiteral("jpg");
    return static_cast<int>(names.indexOf(n));
}

// The absolute, cleaned form of a path named on the command line, its bytes
// kept whatever their encoding.
QString absolutePath(const QString& path) {
    if (QDir::isAbsolutePath(path))
        return QDir::cleanPath(path);
    char* here = ::getcwd(nullptr, 0);
    const QString folder = here ? dovi::platform::pathFromNative(here) : QDir::currentPath();
    std::free(here);
    return QDir::cleanPath(folder + QLatin1Char('/') + path);
}

bool isFolder(const QString& path) {
    struct stat facts {};
    return ::stat(dovi::platform::nativePath(path).constData(), &facts) == 0 &&
           S_ISDIR(facts.st_mode);
}

} // namespace

int runConvertCommand(const QStringList& args) {
    CommandLine cl(args, {"--to", "--fit", "--out", "--lum", "--chrom", "--jobs"},
                   {"--up", "--delete-original"});
    if (!cl.error().isEmpty())
        return usageError(cl.error());
    if (cl.files().isEmpty())
        return usageError(QStringLiteral("convert: no files given"));

    dovi::batch::ProcessOptions options;
    options.historyOn = false;
    options.convertOnly = !cl.has("--fit");
    if (cl.has("--fit")) {
        const QStringList wh = cl.value("--fit").toLower().split(QLatin1Char('x'));
        bool okW = false, okH = false;
        const int w = wh.size() == 2 ? wh[0].toInt(&okW) : 0;
        const int h = wh.size() == 2 ? wh[1].toInt(&okH) : 0;
        if (!okW || !okH || w < 1 || h < 1 || w > 32767 || h > 32767)
            return usageError(QStringLiteral("--fit wants WIDTHxHEIGHT, e.g. 800x600"));
        options.box = QSize(w, h);
    }
    options.resampleUpDown = cl.has("--up");
    if (cl.has("--to")) {
        const int index = formatIndex(cl.value("--to"));
        if (index < 0)
            return usageError(QStringLiteral("--to wants jpg, bmp, tga, pcx or png"));
        options.altSaveFormatOn = true;
        options.altSaveFormat = index;
    }
    if (cl.has("--out")) {
        const QString out = cl.value("--out");
        if (!isFolder(out))
            return usageError(QStringLiteral("--out: no such folder: ") + out);
        options.altSaveFolderOn = true;
        options.altSaveFolderPath = absolutePath(out);
    }
    options.deleteOriginal = cl.has("--delete-original");
    if (!cl.intValue("--lum", 1, 255, &options.jpegLuminance) ||
        !cl.intValue("--chrom", 1, 255, &options.jpegChrominance))
        return usageError(QStringLiteral("--lum and --chrom want a number from 1 to 255"));
    int jobs = QThread::idealThreadCount();
    if (!cl.intValue("--jobs", 1, 256, &jobs))
        return usageError(QStringLiteral("--jobs wants a number from 1 to 256"));

    QStringList sources;
    for (const QString& f : cl.files())
        sources << absolutePath(f);
    ConsoleObserver observer(static_cast<int>(sources.size()));
    const auto summary = dovi::batch::runProcess(sources, options, observer, jobs);
    observer.finish();
    // A script must learn of every file that was not converted.
    if (summary.failed > 0)
        std::fprintf(stderr, "%d file(s) failed\n", summary.failed);
    if (summary.unsupported > 0)
        std::fprintf(stderr, "%d file(s) not in a supported image format\n", summary.unsupported);
    return summary.failed > 0 || summary.unsupported > 0 ? 1 : 0;
}
