#include "platform/AtomicWrite.h"
#include "platform/NativePath.h"

#include "FileFaults.h"
#include "TestSupport.h"

#include <cerrno>
#include <cstring>
#include <optional>

using namespace dovi::platform;
using namespace dovi::test;

namespace {

QStringList leftovers(const QString& folder) {
    return QDir(folder).entryList({".dovi-*"}, QDir::Files | QDir::Hidden);
}

} // namespace

// Whatever stands at the name, the new bytes arrive whole under it and the
// entry's owner and mode are what they were (plus the bits asked for).
TEST(AtomicWrite, ReplacesWhatStandsThereKeepingOwnerAndMode) {
    const mode_t umask = ::umask(022);
    ::umask(umask);
    constexpr uid_t kOtherUser = 54321;
    const struct {
        const char* what;
        int oldMode; // -1: nothing there, -2: a link to a file elsewhere
        unsigned added;
        bool otherUser; // needs root to set up
        mode_t mode;    // expected
    } cases[] = {
        {"nothing there", -1, 0, false, 0666 & ~umask},
        {"a read-only file, owner write added", 0440, S_IWUSR, false, 0640},
        {"another user's private file", 0640, S_IWUSR, true, 0640},
        {"a link to a file elsewhere", -2, 0, false, 0666 & ~umask},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.otherUser && !runningAsRoot())
            continue;
        QTemporaryDir dir;
        const QString target = dir.filePath("out.bmp"), victim = dir.filePath("victim.txt");
        const QByteArray native = QFile::encodeName(target);
        writeFile(victim, "must stay");
        if (c.oldMode == -2)
            QFile::link(victim, target);
        if (c.oldMode >= 0) {
            writeFile(target, "old");
            ::chmod(native.constData(), mode_t(c.oldMode));
            if (c.otherUser) {
                ASSERT_EQ(::chown(native.constData(), kOtherUser, kOtherUser + 1), 0);
            }
        }
        FileStamp written;
        const QByteArray data = patternedBytes(70000, 3);
        const FileResult result = writeFileAtomically(target, data, {c.added, {}}, &written);
        ASSERT_TRUE(result.ok) << result.reason.toStdString();
        EXPECT_EQ(readFile(target), data);
        EXPECT_EQ(readFile(victim), "must stay");
        struct stat after {};
        ::lstat(native.constData(), &after);
        EXPECT_EQ(after.st_mode & 07777, c.mode);
        EXPECT_EQ(std::pair(after.st_uid, after.st_gid), c.otherUser
                                                             ? std::pair(kOtherUser, kOtherUser + 1)
                                                             : std::pair(::geteuid(), ::getegid()));
        EXPECT_EQ(written, stampOf(target));
        EXPECT_TRUE(leftovers(dir.path()).isEmpty());
    }
}

// A write that fails, at any step, leaves the file at the name as it was:
// bytes, mode and all, and no temporary file.
TEST(AtomicWrite, AFailureLeavesTheOldFileAsItWas) {
    for (const bool refuseAtTheEnd : {false, true}) {
        QTemporaryDir dir;
        const QString target = dir.filePath("a.tga");
        const QByteArray old = patternedBytes(5000, 1);
        writeFile(target, old);
        ::chmod(QFile::encodeName(target).constData(), 0444);
        const FileStamp before = stampOf(target);
        AtomicWriteOptions options{S_IWUSR, {}};
        if (refuseAtTheEnd)
            options.beforeReplace = [] { return FileResult::failed("changed meanwhile"); };
        std::optional<FileSizeLimit> full;
        if (!refuseAtTheEnd)
            full.emplace(16 * 1024);
        const FileResult result =
            writeFileAtomically(target, patternedBytes(64 * 1024, 2), options);
        full.reset();
        EXPECT_EQ(result.reason, refuseAtTheEnd ? QString("changed meanwhile")
                                                : QString::fromLocal8Bit(std::strerror(EFBIG)));
        EXPECT_EQ(readFile(target), old);
        EXPECT_EQ(stampOf(target), before);
        EXPECT_EQ(QFile::permissions(target).toInt() & 0x7077, 0x4044) << "changed only by a save";
        EXPECT_TRUE(leftovers(dir.path()).isEmpty());
    }
}

// Names reach the kernel as the bytes they were given, valid UTF-8 or not;
// valid UTF-8 reads as Qt reads it, and no byte turns into a slash.
TEST(NativePath, EveryByteStringComesBackAsItWas) {
    const QList<QByteArray> names =
        QByteArray("plain.jpg|caf\xc3\xa9.jpg|caf\xe9.jpg|\xff\xfe\x80.bmp|\xf0\x9f\x98\x80 "
                   "smile.tga|\xf0\x90\x82\x80.pcx|\xc0\xaf overlong|\xed\xb2\x80 x|cut \xe2\x82")
            .split('|');
    for (const QByteArray& bytes : names) {
        SCOPED_TRACE(bytes.toHex().toStdString());
        const QString path = pathFromNative(bytes);
        EXPECT_EQ(nativePath(path), bytes);
        const QString utf8 = QString::fromUtf8(bytes);
        EXPECT_TRUE(utf8.toUtf8() != bytes || path == utf8);
        EXPECT_FALSE(path.contains(QLatin1Char('/')));
    }

    QTemporaryDir dir;
    const QByteArray native = QFile::encodeName(dir.path()) + "/caf\xe9.bmp";
    ASSERT_TRUE(writeFileAtomically(pathFromNative(native), "bytes").ok);
    struct stat st {};
    EXPECT_EQ(::stat(native.constData(), &st), 0) << "written under its very bytes";
    ::unlink(native.constData()); // Qt cannot name it to remove it with the folder
}
