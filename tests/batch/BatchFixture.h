#pragma once
// A workspace over a temporary folder, a scripted Ui, and ways to make files,
// fingerprint folders and make writes fail, for the batch and series tests.
#include "app/IniStore.h"
#include "app/Workspace.h"
#include "imaging/Codecs.h"

#include "ScriptedUi.h"
#include "TestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QMap>
#include <QTemporaryDir>

#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

namespace dovi::test {

struct BatchFixture : ::testing::Test {
    QTemporaryDir dir;
    std::unique_ptr<IniStore> store;
    std::unique_ptr<Workspace> ws;
    ScriptedUi ui;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir().mkpath(dir.filePath("prog"));
        store = std::make_unique<IniStore>(dir.filePath("Dovi.ini"));
        ws = std::make_unique<Workspace>(dir.filePath("prog"), *store,
                                         SettingsEnvironment{1024, 768, dir.path()});
        ws->settings.processWidth = 100;
        ws->settings.processHeight = 100;
        ws->currentFolder = folder("pics");
        ws->filePattern = QStringLiteral("*.*");
    }

    QString folder(const QString& name) const {
        QDir().mkpath(dir.filePath(name));
        return dir.filePath(name);
    }
    QString programFolder() const { return dir.filePath("prog"); }

    QStringList historyLines() const { return ws->history.lines(); }
};

inline void writeImage(const QString& path, QSize size, imaging::FormatCode format,
                       bool alpha = false) {
    imaging::Image image;
    image.pixels = makeTestPattern(size.width(), size.height(), alpha);
    image.format = format;
    ASSERT_TRUE(imaging::saveImageFile(image, path, format, {})) << path.toStdString();
}

inline QByteArray checksum(const QString& path) {
    return QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha256).toHex();
}

// Every file below folder by its path relative to it, with its checksum.
inline QMap<QString, QByteArray> snapshot(const QString& folder) {
    QMap<QString, QByteArray> out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        out.insert(QDir(folder).relativeFilePath(path), checksum(path));
    }
    return out;
}

// Lines with the temporary folder replaced by "<dir>", so runs in two
// folders compare.
inline QStringList relativeLines(QStringList lines, const QString& folder) {
    for (QString& l : lines)
        l.replace(folder, QStringLiteral("<dir>"));
    return lines;
}

// Caps the size any file of this process may grow to, as a full disk would:
// writes past it fail with EFBIG instead of raising SIGXFSZ. Undone on scope
// exit.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    struct rlimit saved_ {};
    void (*previous_)(int) = SIG_DFL;
};

} // namespace dovi::test
