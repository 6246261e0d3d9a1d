#include "platform/AtomicWrite.h"
#include "platform/NativePath.h"

#include "FileFaults.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace dovi::platform;
using namespace dovi::test;

namespace {

struct stat statOf(const QString& path, bool follow = false) {
    struct stat st {};
    const QByteArray name = QFile::encodeName(path);
    if (follow)
        ::stat(name.constData(), &st);
    else
        ::lstat(name.constData(), &st);
    return st;
}

QStringList leftovers(const QString& folder) {
    return QDir(folder).entryList({".dovi-*"}, QDir::Files | QDir::Hidden);
}

mode_t currentUmask() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

constexpr uid_t kOtherUser = 54321;
constexpr gid_t kOtherGroup = 54322;

} // namespace

// Whatever stands at the name, the new bytes arrive whole under it and the
// entry's owner and mode are what they were (plus the bits asked for).
TEST(AtomicWrite, ReplacesWhatStandsThereKeepingOwnerAndMode) {
    struct Case {
        const char* what;
        std::function<void(const QString& target, const QString& victim)> prepare;
        unsigned added;
        bool otherUser; // needs root to set up
        mode_t mode;    // expected; 0: a new file's default
    };
    const Case cases[] = {
        {"nothing there", [](const QString&, const QString&) {}, 0, false, 0},
        {"a private file",
         [](const QString& t, const QString&) {
             writeFile(t, "old");
             ::chmod(QFile::encodeName(t).constData(), 0600);
         },
         0, false, 0600},
        {"a read-only file, owner write added",
         [](const QString& t, const QString&) {
             writeFile(t, "old");
             ::chmod(QFile::encodeName(t).constData(), 0444);
         },
         S_IWUSR, false, 0644},
        {"another user's private file",
         [](const QString& t, const QString&) {
             writeFile(t, "old");
             ::chmod(QFile::encodeName(t).constData(), 0640);
             (void)::chown(QFile::encodeName(t).constData(), kOtherUser, kOtherGroup);
         },
         S_IWUSR, true, 0640},
        {"a link to a file elsewhere",
         [](const QString& t, const QString& victim) { QFile::link(victim, t); }, 0, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.otherUser && !runningAsRoot())
            continue;
        QTemporaryDir dir;
        const QString target = dir.filePath("out.bmp");
        const QString victim = dir.filePath("victim.txt");
        writeFile(victim, "must stay");
        c.prepare(target, victim);
        const struct stat before = statOf(target);

        FileStamp written;
        const QByteArray data = patternedBytes(70000, 3);
        const FileResult result = writeFileAtomically(target, data, {c.added, {}}, &written);

        ASSERT_TRUE(result.ok) << result.reason.toStdString();
        EXPECT_EQ(readFile(target), data);
        EXPECT_EQ(readFile(victim), "must stay");
        const struct stat after = statOf(target);
        EXPECT_TRUE(S_ISREG(after.st_mode));
        EXPECT_EQ(after.st_mode & 07777,
                  c.mode != 0 ? c.mode : ((0666 & ~currentUmask()) | c.added));
        EXPECT_EQ(after.st_uid, c.otherUser ? before.st_uid : ::geteuid());
        EXPECT_EQ(after.st_gid, c.otherUser ? before.st_gid : after.st_gid);
        EXPECT_EQ(written, stampOf(target));
        EXPECT_TRUE(leftovers(dir.path()).isEmpty());
    }
}

// A write that fails, at any step, leaves the file at the name as it was:
// bytes, mode and all, and no temporary file. (A full disk, ENOSPC, is
// checked where the Process run meets it.)
TEST(AtomicWrite, AFailureLeavesTheOldFileAsItWas) {
    struct Case {
        const char* what;
        qint64 sizeLimit; // 0: none
        bool refuseAtTheEnd;
        QString reason;
    };
    const Case cases[] = {
        {"file too large", 16 * 1024, false, QString::fromLocal8Bit(std::strerror(EFBIG))},
        {"stopped just before the rename", 0, true, "changed meanwhile"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString target = dir.filePath("a.tga");
        const QByteArray old = patternedBytes(5000, 1);
        writeFile(target, old);
        ::chmod(QFile::encodeName(target).constData(), 0444);
        const FileStamp before = stampOf(target);
        AtomicWriteOptions options;
        options.addedModeBits = S_IWUSR;
        if (c.refuseAtTheEnd)
            options.beforeReplace = [] { return FileResult::failed("changed meanwhile"); };
        FileResult result;
        {
            std::unique_ptr<FileSizeLimit> limit;
            if (c.sizeLimit > 0)
                limit = std::make_unique<FileSizeLimit>(c.sizeLimit);
            result = writeFileAtomically(target, patternedBytes(64 * 1024, 2), options);
        }
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.reason, c.reason);
        EXPECT_EQ(readFile(target), old);
        EXPECT_EQ(stampOf(target), before);
        EXPECT_EQ(statOf(target).st_mode & 07777, 0444u) << "the mode is only changed by a save";
        EXPECT_TRUE(leftovers(dir.path()).isEmpty());
    }
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("folder"));
    const FileResult intoFolder = writeFileAtomically(dir.filePath("folder"), "x");
    EXPECT_FALSE(intoFolder.ok);
    EXPECT_EQ(intoFolder.error, EISDIR);
    EXPECT_TRUE(QDir(dir.filePath("folder")).isEmpty());
}

// Names reach the kernel as the bytes they were given, valid UTF-8 or not.
TEST(NativePath, EveryByteStringComesBackAsItWas) {
    const QByteArray names[] = {
        "plain.jpg",
        "caf\xc3\xa9.jpg",            // UTF-8
        "caf\xe9.jpg",                // Latin-1
        "\xff\xfe\x80.bmp",           // no UTF-8 at all
        "\xf0\x9f\x98\x80 smile.tga", // outside the BMP: a surrogate pair
        "\xf0\x90\x82\x80.pcx",       // a pair whose low half is in the escape range
        "\xc0\xaf overlong",          // an overlong "/" is not a slash
        "\xed\xb2\x80 encoded surrogate",
        "cut \xe2\x82",
    };
    for (const QByteArray& bytes : names) {
        SCOPED_TRACE(bytes.toHex().toStdString());
        const QString path = pathFromNative(bytes);
        EXPECT_EQ(nativePath(path), bytes);
        if (QString::fromUtf8(bytes).toUtf8() == bytes) {
            EXPECT_EQ(path, QString::fromUtf8(bytes)) << "valid UTF-8 reads as Qt reads it";
        }
        EXPECT_FALSE(path.contains(QLatin1Char('/')));
    }
    // Two names that differ only in an invalid byte stay two names.
    EXPECT_NE(pathFromNative("a\xe9"), pathFromNative("a\xe8"));

    QTemporaryDir dir;
    const QByteArray native = QFile::encodeName(dir.path()) + "/caf\xe9.bmp";
    ASSERT_TRUE(writeFileAtomically(pathFromNative(native), "bytes").ok);
    struct stat st {};
    EXPECT_EQ(::stat(native.constData(), &st), 0) << "written under its very bytes";
    EXPECT_EQ(st.st_size, 5);
    // Qt cannot name the file to remove it with the folder.
    ::unlink(native.constData());
}
