#include "platform/FileAttributes.h"
#include "platform/InstanceLock.h"

#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

using namespace dovi::platform;

// Names differ in case on Linux, and "*", "?" and "[" are ordinary characters.
TEST(FileAttributes, PathExistsForTheLiteralNameOnly) {
    QTemporaryDir dir;
    for (const char* name : {"one.JPG", ".secret", "a[1]*?.jpg"})
        dovi::test::writeFile(dir.filePath(name), "x");
    QFile::link(dir.filePath("nowhere"), dir.filePath("dangling"));
    for (const char* name : {"", "one.JPG", "a[1]*?.jpg", "dangling"})
        EXPECT_TRUE(pathExists(dir.filePath(name))) << name;
    for (const char* name : {"one.jpg", "*.JPG", ".sec*", "one.JP?", "a1*?.jpg", "missing"})
        EXPECT_FALSE(pathExists(dir.filePath(name))) << name;
}

// Other permission bits stay; a link's target is never made writable.
TEST(FileAttributes, MakeOwnerWritableKeepsTheOtherBitsAndNeverFollowsLinks) {
    QTemporaryDir dir;
    const QString file = dir.filePath(".hidden.bmp"), target = dir.filePath("target");
    for (const QString& path : {file, target}) {
        dovi::test::writeFile(path, "x");
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    }
    QFile::link(target, dir.filePath("link"));
    for (const char* name : {".hidden.bmp", "link", "missing"})
        makeOwnerWritable(dir.filePath(name));
    EXPECT_EQ(QFile::permissions(file).toInt() & 0x7077, 0x6040);
    EXPECT_EQ(QFile::permissions(target).toInt() & 0x7077, 0x4040);
}

// A lock left by a process that no longer runs (pids stay below 999999 here) is taken over.
TEST(InstanceLock, AStaleLockIsTakenOver) {
    QTemporaryDir dir;
    const QString path = dir.filePath("dovi.lock");
    dovi::test::writeFile(path, "999999\ndovi\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    InstanceLock lock(path);
    EXPECT_TRUE(lock.tryAcquire());
}
