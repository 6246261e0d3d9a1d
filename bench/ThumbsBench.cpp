// The thumbnail generator, the thumbnail grid and the slideshow's next slide,
// timed on real files (bench/thumbs.sh drives it).
//
//   dovi-bench-thumbs generate OUT FILE...  thumbnails of FILE... written as
//       OUT/Temp/0.bmp, 1.bmp, ... by the thumbnail viewer's own generator
//   dovi-bench-thumbs grid FOLDER           opens the thumbnail window over every
//       file of FOLDER (offscreen): time to the first row, to the last cell, peak RSS
//   dovi-bench-thumbs make-small FOLDER N   N small JPEGs (160 x 120, each its own)
//   dovi-bench-thumbs slides FILE...        the slideshow over FILE... on a
//       1920 x 1080 screen: each step after the slide before has been shown for a
//       second, and the same slides loaded without the background decode
#include "app/CommandContext.h"
#include "app/IniStore.h"
#include "app/Workspace.h"
#include "imaging/Codecs.h"
#include "slideshow/SlideShow.h"
#include "thumbs/ThumbGridModel.h"
#include "thumbs/ThumbsSession.h"
#include "thumbs/windows/ThumbsWindow.h"

#include "SilentUi.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <thread>

using namespace dovi;

namespace {

struct NoPort : thumbs::ThumbsPort {
    void prepareGrid(int, int) override {}
    void placeThumbnail(int, const QImage&) override {}
    void setCaption(const QString&) override {}
    void setBusyPointer(bool) override {}
    void setProgressRange(int) override {}
    void setProgressValue(int) override {}
    void showStatus(const QString&) override {}
    void processEvents() override {}
};

struct NoShell : ShellServices {
    void showRunningHistory() override {}
    void refreshFolderTree() override {}
    void openViewer(const QString&, std::function<void()>) override {}
    void closeWhenBrowsing(QWidget*) override {}
    void showFolder(const QString&) override {}
    void showSlideshowOptions() override {}
    void showProcessingSize() override {}
    std::optional<QString> selectFolder() override { return std::nullopt; }
    QString previewedFile() const override { return {}; }
};

long peakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

QStringList arguments(int argc, char** argv, int from) {
    QStringList out;
    for (int i = from; i < argc; ++i)
        out << QString::fromLocal8Bit(argv[i]);
    return out;
}

int makeSmall(const QString& folder, int count) {
    QDir().mkpath(folder);
    QImage picture(160, 120, QImage::Format_RGB32);
    for (int i = 0; i < count; ++i) {
        for (int y = 0; y < picture.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x)
                row[x] = qRgb((x + i) % 256, (y * 2 + i / 7) % 256, (x * y + i * 13) % 256);
        }
        imaging::Image image;
        image.pixels = picture;
        image.format = imaging::Jpeg;
        const QString path = folder + QString::asprintf("/s%05d.jpg", i);
        if (!imaging::saveImageFile(image, path, imaging::Jpeg, {}))
            return 1;
    }
    return 0;
}

int generate(const QString& out, const QStringList& files) {
    QDir().mkpath(out);
    IniStore store(out + "/bench.ini");
    Workspace ws(out, store, SettingsEnvironment{1024, 768, out});
    NoPort port;
    thumbs::ThumbsSession session(ws, port, thumbs::gridGeometry().thumbnail);
    session.generate(files);
    return 0;
}

int grid(const QString& folder) {
    QStringList files;
    for (const QString& name : QDir(folder).entryList(QDir::Files, QDir::Name))
        files << folder + "/" + name;
    QTemporaryDir program;
    IniStore store(program.filePath("bench.ini"));
    Workspace ws(program.path(), store, SettingsEnvironment{1024, 768, program.path()});
    NoShell shell;
    const long before = peakRssKb();
    auto* window = new ThumbsWindow(nullptr, ws, shell);
    QElapsedTimer clock;
    clock.start();
    qint64 firstRow = -1;
    // The first row is on the screen once its six cells (or all, when fewer) are placed.
    QObject::connect(window->model(), &QAbstractItemModel::dataChanged, window, [&] {
        if (firstRow < 0 && window->model()->cellState(std::min<int>(5, int(files.size()) - 1)) !=
                                thumbs::ThumbGridModel::Cell::Empty) {
            QCoreApplication::processEvents();
            firstRow = clock.elapsed();
        }
    });
    window->generate(files);
    const qint64 all = clock.elapsed();
    const int widgets = int(window->findChildren<QWidget*>().size());
    std::printf("grid files=%lld first_row_ms=%lld all_ms=%lld per_file_ms=%.2f widgets=%d "
                "cached=%d rss_before_kb=%ld peak_rss_kb=%ld\n",
                static_cast<long long>(files.size()), static_cast<long long>(firstRow),
                static_cast<long long>(all), files.isEmpty() ? 0.0 : double(all) / files.size(),
                widgets, window->model()->cachedPictures(), before, peakRssKb());
    delete window;
    return 0;
}

int slides(const QStringList& files) {
    const slideshow::SlideScreen screen{{1920, 1080}, 17};
    SilentUi ui(Answer::Ok);
    std::vector<double> steps, cold;
    slideshow::SlideShow show(screen);
    slideshow::ShowOptions options;
    QElapsedTimer clock;
    clock.start();
    if (!show.start(ui, files, options))
        return 1;
    const double first = clock.nsecsElapsed() / 1e6;
    for (qsizetype i = 1; i < files.size(); ++i) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        clock.restart();
        if (!show.step(ui))
            break;
        steps.push_back(clock.nsecsElapsed() / 1e6);
    }
    for (const QString& f : files) {
        clock.restart();
        if (slideshow::prepareSlide(f, screen))
            cold.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::printf("slides n=%lld first_ms=%.1f step_median_ms=%.2f step_max_ms=%.2f "
                "without_background_median_ms=%.1f without_background_max_ms=%.1f\n",
                static_cast<long long>(files.size()), first, median(steps),
                steps.empty() ? 0.0 : *std::max_element(steps.begin(), steps.end()), median(cold),
                cold.empty() ? 0.0 : *std::max_element(cold.begin(), cold.end()));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(
            stderr,
            "usage: %s generate OUT FILE... | grid FOLDER | make-small FOLDER N | slides FILE...\n",
            argv[0]);
        return 2;
    }
    const QString mode = QString::fromLocal8Bit(argv[1]);
    if (mode == "grid") {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return grid(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    if (mode == "make-small" && argc == 4)
        return makeSmall(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]).toInt());
    if (mode == "generate")
        return generate(QString::fromLocal8Bit(argv[2]), arguments(argc, argv, 3));
    if (mode == "slides")
        return slides(arguments(argc, argv, 2));
    return 2;
}
