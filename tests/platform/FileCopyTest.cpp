#include "platform/FileCopy.h"

#include "FileFaults.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace dovi::platform;
using dovi::test::checksum;
using dovi::test::patternedBytes;
using dovi::test::snapshot;
using dovi::test::writeFile;

namespace {

QStringList temporaryLeftovers(const QString& folder) {
    return QDir(folder).entryList({".dovi-copy-*"}, QDir::Files | QDir::Hidden);
}

qint64 modificationTime(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

bool setModificationTime(const QString& path, time_t seconds) {
    const struct timespec times[2] = {{seconds, 0}, {seconds, 123456789}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

struct Folders {
    QTemporaryDir tmp;
    std::unique_ptr<QTemporaryDir> other = dovi::test::otherFileSystemDir(tmp.path());
    QString source() const { return tmp.filePath("src"); }
    // The target folder on this file system, or on another when asked and there is one.
    QString target(bool otherFileSystem) const {
        return otherFileSystem ? other->filePath("dst") : tmp.filePath("dst");
    }
    Folders() {
        QDir().mkpath(source());
        QDir().mkpath(tmp.filePath("dst"));
    }
};

} // namespace

TEST(FileCopy, CopiesEveryByteModeAndTimeOnOneAndAcrossFileSystems) {
    Folders f;
    if (f.other)
        QDir().mkpath(f.target(true));
    // Empty, tiny, just past the read buffer, and several kernel chunks' worth of buffers.
    const qint64 sizes[] = {0, 1, (1 << 20) + 3, 5 * (1 << 20) + 17};
    for (const bool across : {false, true}) {
        if (across && !f.other)
            continue;
        for (const qint64 size : sizes) {
            SCOPED_TRACE(QString("size %1 across %2").arg(size).arg(across).toStdString());
            const QString from = f.source() + QString("/f%1.bin").arg(size);
            const QString to = f.target(across) + QString("/f%1.bin").arg(size);
            ASSERT_TRUE(writeFile(from, patternedBytes(size, int(size))));
            QFile::setPermissions(from, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
            ASSERT_TRUE(setModificationTime(from, 1000000000));

            const FileResult r = copyFile(from, to, Overwrite::Never);
            ASSERT_TRUE(r.ok) << r.reason.toStdString();
            EXPECT_EQ(checksum(to), checksum(from));
            EXPECT_EQ(QFileInfo(to).size(), size);
            EXPECT_EQ(QFile::permissions(to), QFile::permissions(from));
            EXPECT_EQ(modificationTime(to), modificationTime(from));
            EXPECT_TRUE(temporaryLeftovers(f.target(across)).isEmpty());
        }
    }
}

// A missing source or a FIFO fails too, leaving the target as it was.
TEST(FileCopy, NeverReplacesUnlessToldAndNeverWritesOverAFolderOrItself) {
    Folders f;
    const QString from = f.source() + "/a.jpg";
    const QString to = f.tmp.filePath("dst/a.jpg");
    writeFile(from, "new picture");
    writeFile(to, "old picture");
    QDir().mkpath(f.tmp.filePath("dst/folder.jpg/inside"));
    writeFile(f.tmp.filePath("dst/folder.jpg/inside/keep"), "kept");
    ASSERT_EQ(::link(QFile::encodeName(from).constData(),
                     QFile::encodeName(f.tmp.filePath("dst/hard.jpg")).constData()),
              0);
    // Kept apart: reading the snapshot must not open the FIFO.
    QTemporaryDir elsewhere;
    const QString fifo = elsewhere.filePath("pipe.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const auto before = snapshot(f.tmp.path());

    const struct {
        QString source, target;
        Overwrite overwrite;
        int error;
    } refusals[] = {
        {from, to, Overwrite::Never, EEXIST},
        {from, f.tmp.filePath("dst/folder.jpg"), Overwrite::Replace, EISDIR},
        {from, from, Overwrite::Replace, 0},                           // the source itself
        {from, f.tmp.filePath("dst/hard.jpg"), Overwrite::Replace, 0}, // another name of it
        {f.source() + "/gone.jpg", to, Overwrite::Replace, ENOENT},
        {fifo, to, Overwrite::Replace, 0},
    };
    for (const auto& c : refusals) {
        SCOPED_TRACE((c.source + " to " + c.target).toStdString());
        const FileResult r = copyFile(c.source, c.target, c.overwrite);
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.reason.isEmpty());
        if (c.error) {
            EXPECT_EQ(r.error, c.error);
        }
        EXPECT_EQ(snapshot(f.tmp.path()), before);
    }

    ASSERT_TRUE(copyFile(from, to, Overwrite::Replace).ok);
    EXPECT_EQ(dovi::test::readFile(to), "new picture");
    EXPECT_TRUE(temporaryLeftovers(f.tmp.filePath("dst")).isEmpty());
}

TEST(FileCopy, AFailedWriteLeavesTheOldTargetWholeAndNoPartialFile) {
    // A target that exists (written beside it, then renamed) and a new name
    // (written in place): neither may leave anything half-written.
    for (const bool targetExists : {true, false}) {
        Folders f;
        const QString from = f.source() + "/big.bmp";
        const QString to = f.tmp.filePath("dst/big.bmp");
        ASSERT_TRUE(writeFile(from, patternedBytes(3 << 20, 1)));
        if (targetExists) {
            ASSERT_TRUE(writeFile(to, patternedBytes(1000, 2)));
        }
        const auto before = snapshot(f.tmp.path());
        FileResult r;
        {
            dovi::test::FileSizeLimit full(1 << 20);
            r = copyFile(from, to, Overwrite::Replace);
        }
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, EFBIG) << r.reason.toStdString();
        EXPECT_EQ(snapshot(f.tmp.path()), before) << "target existed: " << targetExists;
        EXPECT_TRUE(temporaryLeftovers(f.tmp.filePath("dst")).isEmpty());
    }
}

TEST(FileMove, RenamesOnOneFileSystemAndCopiesThenUnlinksAcross) {
    Folders f;
    for (const bool across : {false, true}) {
        if (across && !f.other)
            continue;
        QDir().mkpath(f.target(across));
        const QString from = f.source() + "/m.jpg";
        const QString to = f.target(across) + "/m.jpg";
        const QByteArray data = patternedBytes(300000, across);
        writeFile(from, data);
        setModificationTime(from, 1200000000);
        const qint64 mtime = modificationTime(from);
        struct stat before {};
        ::stat(QFile::encodeName(from).constData(), &before);

        const FileResult r = moveFile(from, to, Overwrite::Never);
        ASSERT_TRUE(r.ok) << r.reason.toStdString();
        EXPECT_FALSE(QFileInfo::exists(from));
        EXPECT_EQ(dovi::test::readFile(to), data);
        EXPECT_EQ(modificationTime(to), mtime);
        struct stat after {};
        ::stat(QFile::encodeName(to).constData(), &after);
        EXPECT_EQ(after.st_ino == before.st_ino, !across) << "one file system: the same inode";
    }
}

// A move across a full disk is checked where the move command meets it.
TEST(FileMove, KeepsBothFilesWhenItCannotFinish) {
    Folders f;
    const QString from = f.source() + "/a.jpg";
    writeFile(from, patternedBytes(2 << 20, 3));
    writeFile(f.tmp.filePath("dst/a.jpg"), "existing");
    ::symlink(QFile::encodeName(f.source()).constData(),
              QFile::encodeName(f.tmp.filePath("alias")).constData());
    const auto before = snapshot(f.tmp.path());

    EXPECT_EQ(moveFile(from, f.tmp.filePath("dst/a.jpg"), Overwrite::Never).error, EEXIST);
    EXPECT_FALSE(moveFile(from, from, Overwrite::Replace).ok);
    EXPECT_FALSE(moveFile(from, f.tmp.filePath("alias/a.jpg"), Overwrite::Replace).ok)
        << "the same file reached through a linked folder";
    EXPECT_EQ(snapshot(f.tmp.path()), before);
}

TEST(FileRename, NeverReplacesAnotherFileButChangesCase) {
    QTemporaryDir dir;
    writeFile(dir.filePath("a.jpg"), "lower");
    writeFile(dir.filePath("A.jpg"), "upper");
    writeFile(dir.filePath("b.jpg"), "b");
    ::link(QFile::encodeName(dir.filePath("b.jpg")).constData(),
           QFile::encodeName(dir.filePath("B.jpg")).constData());
    const auto before = snapshot(dir.path());

    EXPECT_EQ(renameNoReplace(dir.filePath("a.jpg"), dir.filePath("A.jpg")).error, EEXIST);
    EXPECT_EQ(renameNoReplace(dir.filePath("b.jpg"), dir.filePath("B.jpg")).error, EEXIST)
        << "two links of one file are two names; neither goes";
    EXPECT_EQ(snapshot(dir.path()), before);

    ASSERT_TRUE(renameNoReplace(dir.filePath("a.jpg"), dir.filePath("a.JPG")).ok);
    EXPECT_EQ(dovi::test::readFile(dir.filePath("a.JPG")), "lower");
    EXPECT_EQ(dovi::test::readFile(dir.filePath("A.jpg")), "upper");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("a.jpg")));
}

TEST(FileDelete, RemovesALinkButNotWhatItPointsAt) {
    QTemporaryDir dir;
    writeFile(dir.filePath("kept.jpg"), "kept");
    ::symlink("kept.jpg", QFile::encodeName(dir.filePath("link.jpg")).constData());
    QDir().mkdir(dir.filePath("folder"));
    EXPECT_TRUE(deleteFile(dir.filePath("link.jpg")).ok);
    EXPECT_EQ(dovi::test::readFile(dir.filePath("kept.jpg")), "kept");
    EXPECT_EQ(deleteFile(dir.filePath("folder")).ok, false);
    EXPECT_TRUE(QFileInfo(dir.filePath("folder")).isDir());
    EXPECT_EQ(deleteFile(dir.filePath("missing")).error, ENOENT);
}
