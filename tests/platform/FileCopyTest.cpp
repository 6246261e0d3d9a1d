#include "platform/FileCopy.h"

#include "FileFaults.h"
#include "TestSupport.h"

#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <optional>

using namespace dovi::platform;
using namespace dovi::test;

namespace {

struct stat statOf(const QString& path) {
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

} // namespace

// Sizes past the read buffer and several kernel chunks, on one file system and across.
TEST(FileCopy, CopiesAndMovesEveryByteModeAndTime) {
    QTemporaryDir tmp;
    const auto other = otherFileSystemDir(tmp.path());
    for (const bool across : {false, true}) {
        if (across && !other)
            continue;
        const QString dst = (across ? other->path() : tmp.path()) + "/dst";
        QDir().mkpath(dst);
        for (const qint64 size : {0, 1, (1 << 20) + 3, 5 * (1 << 20) + 17}) {
            const QString from = tmp.filePath(QString::number(size));
            const QByteArray data = patternedBytes(size, int(size));
            ASSERT_TRUE(writeFile(from, data));
            ::chmod(QFile::encodeName(from).constData(), 0440);
            const struct timespec times[2] = {{1000000000, 0}, {1000000000, 123456789}};
            ::utimensat(AT_FDCWD, QFile::encodeName(from).constData(), times, 0);
            for (const bool move : {false, true}) {
                SCOPED_TRACE(testing::Message()
                             << size << (move ? " moved" : " copied") << (across ? " across" : ""));
                const QString to = dst + QString("/%1-%2").arg(size).arg(move);
                const int syncs = fileSyncCount();
                const FileResult r = move ? moveFile(from, to, Overwrite::Never)
                                          : copyFile(from, to, Overwrite::Never);
                ASSERT_TRUE(r.ok) << r.reason.toStdString();
                EXPECT_EQ(readFile(to), data);
                const struct stat after = statOf(to);
                EXPECT_EQ(after.st_mode & 07777, 0440u);
                EXPECT_EQ(after.st_mtim.tv_sec * 1000000000LL + after.st_mtim.tv_nsec,
                          1000000000123456789LL);
                EXPECT_EQ(QFileInfo::exists(from), !move);
                if (move) {
                    // Across, the copy and its folder entry reach the disk
                    // before the source is deleted; a rename needs no flush.
                    EXPECT_EQ(fileSyncCount() - syncs >= 2, across);
                }
            }
        }
    }
}

// A full disk fails whether the copy is written beside an existing target or in place.
TEST(FileCopy, RefusalsAndFailuresLeaveEveryFileAsItWas) {
    QTemporaryDir tmp;
    const QString src = tmp.filePath("src"), dst = tmp.filePath("dst");
    QDir().mkpath(dst + "/folder.jpg/inside");
    QDir().mkpath(src);
    const QString from = src + "/a.jpg", to = dst + "/a.jpg", big = src + "/big.bmp";
    writeFile(from, "new picture");
    writeFile(to, "old picture");
    writeFile(big, patternedBytes(3 << 20, 1));
    writeFile(dst + "/A.jpg", "upper");
    writeFile(dst + "/folder.jpg/inside/keep", "kept");
    ASSERT_EQ(::link(QFile::encodeName(from).constData(),
                     QFile::encodeName(dst + "/hard.jpg").constData()),
              0);
    QFile::link(src, tmp.filePath("alias"));
    QTemporaryDir elsewhere; // reading the snapshot must not open the FIFO
    const QString fifo = elsewhere.filePath("pipe.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const auto before = snapshot(tmp.path());

    enum Op { Copy, Move, Rename, Delete, CopyToFullDisk };
    const struct {
        Op op;
        QString source, target;
        Overwrite overwrite;
        int error; // 0: any
    } refusals[] = {
        {Copy, from, to, Overwrite::Never, EEXIST},
        {Copy, from, dst + "/folder.jpg", Overwrite::Replace, EISDIR},
        {Copy, from, dst + "/hard.jpg", Overwrite::Replace, 0},
        {Copy, fifo, to, Overwrite::Replace, 0},
        {CopyToFullDisk, big, to, Overwrite::Replace, EFBIG},
        {CopyToFullDisk, big, dst + "/new.bmp", Overwrite::Replace, EFBIG},
        {Move, from, from, Overwrite::Replace, 0},
        {Move, from, tmp.filePath("alias/a.jpg"), Overwrite::Replace, 0},
        {Rename, to, dst + "/A.jpg", Overwrite::Never, EEXIST},
        // Two links of one file are two names: neither goes.
        {Rename, from, dst + "/hard.jpg", Overwrite::Never, EEXIST},
        {Delete, dst + "/folder.jpg", {}, Overwrite::Never, EISDIR},
    };
    for (const auto& c : refusals) {
        SCOPED_TRACE((QString::number(c.op) + " " + c.source + " to " + c.target).toStdString());
        std::optional<FileSizeLimit> full;
        if (c.op == CopyToFullDisk)
            full.emplace(1 << 20);
        const FileResult r = c.op == Move     ? moveFile(c.source, c.target, c.overwrite)
                             : c.op == Rename ? renameNoReplace(c.source, c.target)
                             : c.op == Delete ? deleteFile(c.source)
                                              : copyFile(c.source, c.target, c.overwrite);
        full.reset();
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.reason.isEmpty());
        EXPECT_TRUE(c.error == 0 || r.error == c.error) << r.error;
        EXPECT_EQ(snapshot(tmp.path()), before); // hidden temporary files included
    }

    ASSERT_TRUE(copyFile(from, to, Overwrite::Replace).ok);
    EXPECT_EQ(readFile(to), "new picture");
    EXPECT_TRUE(deleteFile(tmp.filePath("alias")).ok) << "a link, not what it points at";
    EXPECT_EQ(readFile(from), "new picture");
}
