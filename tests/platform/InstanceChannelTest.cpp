#include "platform/InstanceChannel.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <atomic>

using namespace dovi::platform;

namespace {

// send() blocks, as a second copy does; the running copy's loop must turn
// meanwhile, so the sender runs on a thread of its own.
bool sendWhileListening(const QString& name, const QString& path) {
    std::atomic<int> result{-1};
    QThread* sender = QThread::create([&] { result = InstanceChannel::send(name, path, 3000); });
    sender->start();
    (void)QTest::qWaitFor([&] { return result != -1; }, 5000);
    sender->wait();
    delete sender;
    return result == 1;
}

} // namespace

TEST(InstanceChannel, ASecondStartHandsItsPathToTheRunningCopy) {
    QTemporaryDir dir;
    const QString name = dir.filePath("dovi.socket");
    EXPECT_FALSE(InstanceChannel::send(name, "/nobody/listens", 200));

    InstanceChannel running(name);
    ASSERT_TRUE(running.listen());
    QSignalSpy received(&running, &InstanceChannel::pathReceived);
    const QStringList paths = {"/home/me/Pics", "/home/me/Ünïcode, \"quoted\" & spaced.jpg", "/"};
    for (const QString& path : paths)
        EXPECT_TRUE(sendWhileListening(name, path)) << path.toStdString();
    ASSERT_EQ(received.size(), paths.size());
    for (int i = 0; i < paths.size(); ++i)
        EXPECT_EQ(received[i][0].toString(), paths[i]);

    // A path that would end the message early is refused by the sender.
    EXPECT_FALSE(InstanceChannel::send(name, "/a\n/b", 200));
    EXPECT_EQ(received.size(), paths.size());
}

TEST(InstanceChannel, ASocketLeftByADeadRunIsReplaced) {
    QTemporaryDir dir;
    const QString name = dir.filePath("dovi.socket");
    // What a killed run leaves: a file where the socket was.
    ASSERT_TRUE(dovi::test::writeFile(name, ""));
    InstanceChannel next(name);
    EXPECT_TRUE(next.listen());
    QSignalSpy received(&next, &InstanceChannel::pathReceived);
    EXPECT_TRUE(sendWhileListening(name, "/x"));
    EXPECT_EQ(received.size(), 1);
}
