#include "platform/FileAttributes.h"
#include "platform/InstanceLock.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

using namespace dovi::platform;

TEST(FileAttributes, LinuxMeaningsOfTheFourAttributes) {
    QTemporaryDir dir;
    const QString plain = dir.filePath("a.jpg");
    const QString hidden = dir.filePath(".b.jpg");
    const QString readOnly = dir.filePath("c.jpg");
    const QString fifo = dir.filePath("d.jpg");
    dovi::test::writeFile(plain, "x");
    dovi::test::writeFile(hidden, "x");
    dovi::test::writeFile(readOnly, "x");
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);

    const struct {
        QString path;
        bool hidden, readOnly, system, archive;
    } cases[] = {
        {plain, false, false, false, true},
        {hidden, true, false, false, true},
        {readOnly, false, ::geteuid() != 0, false, true}, // root may write anything
        {fifo, false, false, true, false},
        {dir.filePath("missing"), false, false, false, false},
    };
    for (const auto& c : cases) {
        const FileAttributes a = attributesOf(c.path);
        EXPECT_EQ(a.hidden, c.hidden) << c.path.toStdString();
        EXPECT_EQ(a.readOnly, c.readOnly) << c.path.toStdString();
        EXPECT_EQ(a.system, c.system) << c.path.toStdString();
        EXPECT_EQ(a.archive, c.archive) << c.path.toStdString();
    }
}

TEST(FileAttributes, PathExistsForTheLiteralNameOnly) {
    QTemporaryDir dir;
    dovi::test::writeFile(dir.filePath("one.JPG"), "x");
    dovi::test::writeFile(dir.filePath(".secret"), "x");
    dovi::test::writeFile(dir.filePath("a[1]*?.jpg"), "x");
    QFile::link(dir.filePath("nowhere"), dir.filePath("dangling"));
    EXPECT_TRUE(pathExists(dir.path()));
    EXPECT_TRUE(pathExists(dir.filePath("one.JPG")));
    EXPECT_FALSE(pathExists(dir.filePath("one.jpg"))) << "names differ in case on Linux";
    // "*", "?" and "[" are ordinary characters of Linux names.
    EXPECT_FALSE(pathExists(dir.filePath("*.JPG")));
    EXPECT_FALSE(pathExists(dir.filePath(".sec*")));
    EXPECT_FALSE(pathExists(dir.filePath("one.JP?")));
    EXPECT_TRUE(pathExists(dir.filePath("a[1]*?.jpg")));
    EXPECT_FALSE(pathExists(dir.filePath("a1*?.jpg")));
    EXPECT_TRUE(pathExists(dir.filePath("dangling")));
    EXPECT_FALSE(pathExists(""));
    EXPECT_FALSE(pathExists(dir.filePath("missing")));
}

TEST(FileAttributes, MakeOwnerWritableKeepsNamesAndNeverFollowsLinks) {
    QTemporaryDir dir;
    const QString file = dir.filePath(".hidden.bmp");
    dovi::test::writeFile(file, "x");
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    makeOwnerWritable(file);
    EXPECT_TRUE(QFile::permissions(file) & QFileDevice::WriteOwner);
    EXPECT_TRUE(QFile::permissions(file) & QFileDevice::ReadGroup);
    EXPECT_TRUE(QFileInfo::exists(file));

    const QString target = dir.filePath("target");
    dovi::test::writeFile(target, "x");
    QFile::setPermissions(target, QFileDevice::ReadOwner);
    QFile::link(target, dir.filePath("link"));
    makeOwnerWritable(dir.filePath("link"));
    EXPECT_FALSE(QFile::permissions(target) & QFileDevice::WriteOwner);
    makeOwnerWritable(dir.filePath("missing")); // nothing to report, nothing to crash
}

TEST(InstanceLock, OneHolderAtATimeAndAStaleLockIsTakenOver) {
    QTemporaryDir dir;
    const QString path = dir.filePath("dovi.lock");
    InstanceLock first(path);
    ASSERT_TRUE(first.tryAcquire());
    InstanceLock second(path);
    EXPECT_FALSE(second.tryAcquire());
    first.release();
    EXPECT_TRUE(second.tryAcquire());
    second.release();

    // A lock file left by a process that no longer runs.
    QProcess gone;
    gone.start("true");
    gone.waitForFinished();
    const qint64 deadPid = gone.processId() ? gone.processId() : 999999;
    dovi::test::writeFile(path, QByteArray::number(deadPid) + "\ndovi\n" +
                                    QSysInfo::machineHostName().toUtf8() + "\n");
    InstanceLock third(path);
    EXPECT_TRUE(third.tryAcquire());
}
