#include "platform/FileAttributes.h"
#include "platform/InstanceLock.h"

#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

using namespace dovi::platform;

// Names differ in case on Linux, and "*", "?" and "[" are ordinary characters.
// Making a file writable keeps its other bits and never changes a link's target.
TEST(FileAttributes, PathsExistByLiteralNameAndMakingWritableKeepsBitsAndLinks) {
    QTemporaryDir dir;
    for (const char* name : {"one.JPG", "a[1]*?.jpg", "target"}) {
        dovi::test::writeFile(dir.filePath(name), "x");
        QFile::setPermissions(dir.filePath(name), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    }
    QFile::link(dir.filePath("nowhere"), dir.filePath("dangling"));
    QFile::link(dir.filePath("target"), dir.filePath("link"));
    for (const char* name : {"", "one.JPG", "a[1]*?.jpg", "dangling"})
        EXPECT_TRUE(pathExists(dir.filePath(name))) << name;
    for (const char* name : {"one.jpg", "*.JPG", "one.JP?", "a1*?.jpg", "missing"})
        EXPECT_FALSE(pathExists(dir.filePath(name))) << name;
    for (const char* name : {"one.JPG", "link", "missing"})
        makeOwnerWritable(dir.filePath(name));
    EXPECT_EQ(QFile::permissions(dir.filePath("one.JPG")).toInt() & 0x7077, 0x6040);
    EXPECT_EQ(QFile::permissions(dir.filePath("target")).toInt() & 0x7077, 0x4040);
}

// A lock left by a process that no longer runs (pids stay below 999999 here) is taken over.
TEST(InstanceLock, AStaleLockIsTakenOver) {
    QTemporaryDir dir;
    const QString path = dir.filePath("dovi.lock");
    dovi::test::writeFile(path, "999999\ndovi\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    InstanceLock lock(path);
    EXPECT_TRUE(lock.tryAcquire());
}
