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

// Whatever stands at the name, the new bytes arrive whole under it with the
// entry's owner and mode (plus owner write); a failed write leaves all as it was.
TEST(AtomicWrite, ReplacesWhatStandsThereWholeOrNotAtAllKeepingOwnerAndMode) {
    const mode_t umask = ::umask(022);
    ::umask(umask);
    constexpr uid_t kOtherUser = 54321;
    enum Fault { None, FullDisk, Refused };
    const struct {
        const char* what;
        int oldMode;    // -1: nothing there, -2: a link to a file elsewhere
        bool otherUser; // needs root to set up
        Fault fault;
        mode_t mode; // expected
    } cases[] = {
        {"nothing there", -1, false, None, 0666 & ~umask},
        {"a read-only file", 0440, false, None, 0640},
        {"another user's private file", 0640, true, None, 0640},
        {"a link to a file elsewhere", -2, false, None, 0666 & ~umask},
        {"a full disk", 0444, false, FullDisk, 0444},
        {"a refusal just before the replace", 0444, false, Refused, 0444},
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
        AtomicWriteOptions options{S_IWUSR, {}};
        if (c.fault == Refused)
            options.beforeReplace = [] { return FileResult::failed("changed meanwhile"); };
        std::optional<FileSizeLimit> full;
        if (c.fault == FullDisk)
            full.emplace(16 * 1024);
        const QByteArray data = patternedBytes(70000, 3);
        const FileResult result = writeFileAtomically(target, data, options);
        full.reset();
        EXPECT_EQ(result.reason, c.fault == None ? QString()
                                 : c.fault == Refused
                                     ? QString("changed meanwhile")
                                     : QString::fromLocal8Bit(std::strerror(EFBIG)));
        EXPECT_EQ(readFile(target), c.fault == None ? data : QByteArray("old"));
        EXPECT_EQ(readFile(victim), "must stay");
        struct stat after {};
        ::lstat(native.constData(), &after);
        EXPECT_EQ(after.st_mode & 07777, c.mode);
        EXPECT_EQ(std::pair(after.st_uid, after.st_gid), c.otherUser
                                                             ? std::pair(kOtherUser, kOtherUser + 1)
                                                             : std::pair(::geteuid(), ::getegid()));
        EXPECT_TRUE(leftovers(dir.path()).isEmpty());
    }
}

// Names reach the kernel as their bytes; valid UTF-8 reads as Qt reads it; no byte becomes '/'.
TEST(NativePath, EveryByteStringComesBackAsItWas) {
    const QList<QByteArray> names =
        QByteArray("caf\xc3\xa9.jpg|caf\xe9.jpg|\xff\xfe\x80.bmp|\xf0\x9f\x98\x80 smile.tga|"
                   "\xc0\xaf overlong|\xed\xb2\x80 x|cut \xe2\x82")
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
