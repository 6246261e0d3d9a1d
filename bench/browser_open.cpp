// How long Dovi takes to show a folder of 20,000 files, against a plain
// directory read (opendir/readdir) of the same folder. Dovi's time covers
// what the user waits for: the listing with its pattern, attribute rules and
// natural order, the selection and counters, and the main window's list view
// taking the new names. No file is opened or decoded.
//
// Usage: browser_open [folder] [files] [runs]   (defaults: /tmp/dovi-bench-open 20000 15)
#include "app/FolderState.h"
#include "app/IniStore.h"
#include "app/Workspace.h"
#include "shell/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Files named as a camera and a scanner would, with a few that the image
// filter leaves out.
void makeFolder(const QString& folder, int count) {
    QDir().mkpath(folder);
    static const char* const extensions[] = {".JPG", ".jpg", ".bmp", ".tga", ".pcx", ".txt"};
    int made = 0;
    for (int i = 0; made < count; ++i) {
        const QByteArray name = QFile::encodeName(folder) + "/IMG_" +
                                QByteArray::number(i).rightJustified(5, '0') + extensions[i % 6];
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY, 0644);
        if (fd >= 0)
            ::close(fd);
        ++made;
    }
}

int countEntries(const QString& folder) {
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    int n = 0;
    if (!dir)
        return 0;
    while (const dirent* e = ::readdir(dir))
        n += e->d_name[0] != '.';
    ::closedir(dir);
    return n;
}

// The baseline: every name read into memory, nothing else.
std::vector<std::string> plainRead(const QString& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return names;
    while (const dirent* e = ::readdir(dir))
        names.emplace_back(e->d_name);
    ::closedir(dir);
    return names;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/dovi-bench-open");
    const int files = argc > 2 ? std::max(1, atoi(argv[2])) : 20000;
    const int runs = argc > 3 ? std::max(1, atoi(argv[3])) : 15;
    if (countEntries(folder) != files) {
        QDir(folder).removeRecursively();
        makeFolder(folder, files);
    }

    QTemporaryDir scratch;
    QDir().mkpath(scratch.filePath("prog/Temp"));
    QDir().mkpath(scratch.filePath("empty"));
    dovi::IniStore store(scratch.filePath("Dovi.ini"));
    store.setValue("File System", "startup", scratch.filePath("empty"));
    store.setValue("File System", "filter", "1"); // "All Images"
    dovi::Workspace ws(scratch.filePath("prog"), store,
                       dovi::SettingsEnvironment{1280, 800, scratch.path()});
    dovi::MainWindow window(ws);
    window.resize(1100, 700);
    window.show();
    QApplication::processEvents();

    std::vector<double> plain, dovi;
    size_t plainCount = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        plainCount = plainRead(folder).size();
        plain.push_back(t.nsecsElapsed() / 1e6);

        // Leave the folder, then open it again the way the tree does.
        dovi::changeFolder(ws, scratch.filePath("empty"));
        QApplication::processEvents();
        t.restart();
        dovi::changeFolder(ws, folder);
        QApplication::processEvents(); // the list view lays out and paints
        dovi.push_back(t.nsecsElapsed() / 1e6);
    }
    const double p = median(plain), d = median(dovi);
    std::printf("folder              %s (%d files, %zu entries read)\n", qPrintable(folder), files,
                plainCount);
    std::printf("listed by Dovi      %lld image files\n", (long long)ws.files.size());
    std::printf("readdir             %8.2f ms (median of %d)\n", p, runs);
    std::printf("Dovi opens folder   %8.2f ms (median of %d)\n", d, runs);
    std::printf("ratio Dovi/readdir  %8.1f\n", p > 0 ? d / p : 0.0);
    return 0;
}
