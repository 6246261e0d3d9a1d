#include "platform/Trash.h"

#include "FileFaults.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace dovi::platform;
using dovi::test::readFile;
using dovi::test::writeFile;

namespace {

QString uid() {
    return QString::number(::getuid());
}

// Checks one trashed entry: the file's bytes under files/, and its record.
void expectTrashed(const QString& trash, const QString& entry, const QByteArray& data,
                   const QByteArray& recordedPath) {
    EXPECT_EQ(readFile(trash + "/files/" + entry), data) << entry.toStdString();
    const QByteArray info = readFile(trash + "/info/" + entry + ".trashinfo");
    const QRegularExpression shape(
        "^\\[Trash Info\\]\nPath=(.*)\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n$");
    const auto m = shape.match(QString::fromLatin1(info));
    ASSERT_TRUE(m.hasMatch()) << info.toStdString();
    EXPECT_EQ(m.captured(1).toLatin1(), recordedPath);
}

// A file system of its own inside folder: a tmpfs when mounting is allowed,
// else /dev/shm when that is another file system.
class OtherMount {
public:
    explicit OtherMount(const QString& inside) {
        const QString point = inside + "/mnt";
        QDir().mkpath(point);
        if (::mount("dovi-test", QFile::encodeName(point).constData(), "tmpfs", 0, "size=4m") ==
            0) {
            root_ = point;
            mounted_ = true;
            return;
        }
        shm_ = dovi::test::otherFileSystemDir(inside);
        if (shm_)
            root_ = "/dev/shm";
    }
    ~OtherMount() {
        if (mounted_)
            ::umount2(QFile::encodeName(root_).constData(), MNT_DETACH);
        else if (shm_ && !trashExisted_)
            QDir(root_ + "/.Trash-" + uid()).removeRecursively();
    }
    bool available() const { return !root_.isEmpty(); }
    QString root() const { return root_; }
    // Where the test's own files go on it.
    QString work() {
        if (shm_) {
            trashExisted_ = QFileInfo::exists(root_ + "/.Trash-" + uid());
            return shm_->path();
        }
        return root_;
    }
    bool isPrivateMount() const { return mounted_; }

private:
    QString root_;
    bool mounted_ = false;
    bool trashExisted_ = true;
    std::unique_ptr<QTemporaryDir> shm_;
};

} // namespace

TEST(Trash, HomeFileSystemFilesGoToTheDataFolderTrashWithAnEncodedRecord) {
    QTemporaryDir dir;
    dovi::test::DataHome home(dir.filePath("data"));
    const QString name = "a b%c,\u00e9.jpg";
    const QString path = dir.filePath(name);
    writeFile(path, "first");

    ASSERT_EQ(trashFolderFor(path), dir.filePath("data/Trash"));
    const FileResult r = moveToTrash(path);
    ASSERT_TRUE(r.ok) << r.reason.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path));
    const QByteArray encodedFolder = QFile::encodeName(dir.path()).toPercentEncoding("/");
    expectTrashed(dir.filePath("data/Trash"), name, "first",
                  encodedFolder + "/a%20b%25c%2C%C3%A9.jpg");

    // A second file of the same name gets an entry of its own.
    writeFile(path, "second");
    ASSERT_TRUE(moveToTrash(path).ok);
    expectTrashed(dir.filePath("data/Trash"), "a b%c,\u00e9.2.jpg", "second",
                  encodedFolder + "/a%20b%25c%2C%C3%A9.jpg");
    EXPECT_EQ(readFile(dir.filePath("data/Trash/files/") + name), "first");
}

TEST(Trash, ALinkIsTrashedAsALinkAndAMissingFileFails) {
    QTemporaryDir dir;
    dovi::test::DataHome home(dir.filePath("data"));
    writeFile(dir.filePath("target.jpg"), "keep");
    ::symlink("target.jpg", QFile::encodeName(dir.filePath("link.jpg")).constData());
    ASSERT_TRUE(moveToTrash(dir.filePath("link.jpg")).ok);
    EXPECT_EQ(readFile(dir.filePath("target.jpg")), "keep");
    EXPECT_TRUE(QFileInfo(dir.filePath("data/Trash/files/link.jpg")).isSymLink());

    const FileResult gone = moveToTrash(dir.filePath("missing.jpg"));
    EXPECT_FALSE(gone.ok);
    EXPECT_TRUE(QDir(dir.filePath("data/Trash/info")).entryList(QDir::Files).size() == 1);
}

TEST(Trash, FilesOnAnotherMountGoToThatMountsTrash) {
    QTemporaryDir dir;
    dovi::test::DataHome home(dir.filePath("data"));
    OtherMount mount(dir.path());
    if (!mount.available())
        GTEST_SKIP() << "no second file system to test with (no mount right, no /dev/shm)";
    const QString work = mount.work();
    QDir().mkpath(work + "/pics");
    const QString path = work + "/pics/x y.jpg";
    writeFile(path, "on another mount");

    // Relative to the mount's root, as a $topdir trash records it.
    const QString relative = QDir(mount.root()).relativeFilePath(work + "/pics");
    const QByteArray recorded = QFile::encodeName(relative).toPercentEncoding("/") + "/x%20y.jpg";
    const QString ownTrash = mount.root() + "/.Trash-" + uid();
    ASSERT_TRUE(moveToTrash(path).ok);
    EXPECT_FALSE(QFileInfo::exists(path));
    expectTrashed(ownTrash, "x y.jpg", "on another mount", recorded);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("data/Trash/files/x y.jpg")));
    struct stat st {};
    ::lstat(QFile::encodeName(ownTrash).constData(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    QFile::remove(ownTrash + "/files/x y.jpg");
    QFile::remove(ownTrash + "/info/x y.jpg.trashinfo");

    if (!mount.isPrivateMount())
        return; // the shared $topdir/.Trash is the administrator's: only on our own mount
    // A sticky $topdir/.Trash set up by the administrator takes precedence;
    // one without the sticky bit is not trusted.
    for (const bool sticky : {false, true}) {
        QDir().mkpath(mount.root() + "/.Trash");
        ::chmod(QFile::encodeName(mount.root() + "/.Trash").constData(), sticky ? 01777 : 0777);
        writeFile(path, "again");
        ASSERT_TRUE(moveToTrash(path).ok);
        const QString expected = sticky ? mount.root() + "/.Trash/" + uid() : ownTrash;
        EXPECT_EQ(readFile(expected + "/files/x y.jpg"), "again") << sticky;
        QFile::remove(expected + "/files/x y.jpg");
        QFile::remove(expected + "/info/x y.jpg.trashinfo");
    }
}
