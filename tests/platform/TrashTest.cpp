#include "platform/Trash.h"

#include "FileFaults.h"
#include "TestSupport.h"

#include <QFileInfo>
#include <QRegularExpression>

using namespace dovi::platform;
using namespace dovi::test;

namespace {

const QString kUid = QString::number(::getuid());

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

} // namespace

// A file is moved only once its record is written: a full disk strands nothing.
TEST(Trash, HomeFileSystemFilesGoToTheDataFolderTrashOnlyWithTheirRecord) {
    QTemporaryDir dir;
    DataHome home(dir.filePath("data"));
    const QString trash = dir.filePath("data/Trash");
    const QString name = "a b%c,\u00e9.jpg";
    const QString path = dir.filePath(name);
    writeFile(path, "first");
    {
        FileSizeLimit full(8);
        EXPECT_FALSE(moveToTrash(path).ok);
    }
    EXPECT_EQ(readFile(path), "first");
    EXPECT_TRUE(snapshot(trash).isEmpty());

    const QByteArray recorded =
        QFile::encodeName(dir.path()).toPercentEncoding("/") + "/a%20b%25c%2C%C3%A9.jpg";
    for (const char* content : {"first", "second"}) {
        writeFile(path, content);
        ASSERT_EQ(trashFolderFor(path), trash);
        ASSERT_TRUE(moveToTrash(path).ok);
        EXPECT_FALSE(QFileInfo::exists(path));
    }
    expectTrashed(trash, name, "first", recorded);
    expectTrashed(trash, "a b%c,\u00e9.2.jpg", "second", recorded);
}

// An administrator's .Trash is trusted only with its sticky bit.
TEST(Trash, FilesOnAnotherMountGoToThatMountsTrash) {
    QTemporaryDir dir;
    DataHome home(dir.filePath("data"));
    SmallDisk mount(4 << 20);
    if (!mount.valid())
        GTEST_SKIP() << "no right to mount a second file system to test with";
    QDir().mkpath(mount.filePath("pics"));
    const QString path = mount.filePath("pics/x y.jpg");
    QDir().mkpath(mount.filePath(".Trash"));
    for (const int shared : {0777, 01777}) {
        SCOPED_TRACE(shared);
        ::chmod(QFile::encodeName(mount.filePath(".Trash")).constData(), mode_t(shared));
        writeFile(path, "on another mount");
        ASSERT_TRUE(moveToTrash(path).ok);
        EXPECT_FALSE(QFileInfo::exists(path));
        const QString trash =
            shared == 01777 ? mount.filePath(".Trash/" + kUid) : mount.filePath(".Trash-" + kUid);
        expectTrashed(trash, "x y.jpg", "on another mount", "pics/x%20y.jpg");
        EXPECT_EQ(QFileInfo(trash).permissions() & 0x0077, 0) << "private to the user";
        QFile::remove(trash + "/files/x y.jpg");
        QFile::remove(trash + "/info/x y.jpg.trashinfo");
    }
}
