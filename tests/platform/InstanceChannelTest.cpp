#include "platform/InstanceChannel.h"

#include "TestSupport.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <thread>

using namespace dovi::platform;

namespace {

// send() blocks as a second copy does, so it runs on a thread while the loop turns.
bool sendWhileListening(const QString& name, const QString& path) {
    std::atomic<int> result{-1};
    std::thread sender([&] { result = InstanceChannel::send(name, path, 3000); });
    (void)QTest::qWaitFor([&] { return result != -1; }, 5000);
    sender.join();
    return result == 1;
}

} // namespace

// The running copy refuses a path that would end the message early.
TEST(InstanceChannel, ASecondStartHandsItsPathToTheRunningCopy) {
    QTemporaryDir dir;
    const QString name = dir.filePath("dovi.socket");
    EXPECT_FALSE(InstanceChannel::send(name, "/nobody/listens", 200));
    ASSERT_TRUE(dovi::test::writeFile(name, "")); // what a killed run leaves
    InstanceChannel running(name);
    ASSERT_TRUE(running.listen());
    QSignalSpy received(&running, &InstanceChannel::pathReceived);
    const QStringList paths = {"/home/me/Pics", "/home/me/Ünïcode, \"quoted\" & spaced.jpg", "/"};
    for (const QString& path : paths)
        EXPECT_TRUE(sendWhileListening(name, path)) << path.toStdString();
    EXPECT_FALSE(InstanceChannel::send(name, "/a\n/b", 200));
    ASSERT_EQ(received.size(), paths.size());
    for (int i = 0; i < paths.size(); ++i)
        EXPECT_EQ(received[i][0].toString(), paths[i]);
}
