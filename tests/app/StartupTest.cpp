#include "app/Startup.h"
#include "app/ProgramFiles.h"
#include "app/SharedServices.h"
#include "app/Shutdown.h"
#include "app/Workspace.h"

#include "FileFaults.h"
#include "ScriptedUi.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace dovi;

namespace {

struct StartFixture : ::testing::Test {
    QTemporaryDir dir;
    QString program() const { return dir.filePath("prog"); }
    QString ini() const { return dir.filePath("Dovi.ini"); }
    QString lockPath() const { return dir.filePath("dovi.lock"); }
    void SetUp() override { QDir().mkpath(program()); }

    StartOutcome start(test::ScriptedUi& ui, platform::DisplayFacts display,
                       const std::function<bool()>& handOver = {}) {
        IniStore store(ini());
        platform::InstanceLock lock(lockPath());
        const StartOutcome outcome = startProgram(ui, store, lock, program(), display, handOver);
        lock.release();
        return outcome;
    }
};

} // namespace

TEST_F(StartFixture, FirstStartDisplayChecksByScreenWidthAndDpiAndOnlyOnce) {
    const struct {
        int width;
        double dpi;
        QStringList expected;
    } cases[] = {
        {800, 96.0, {kLargeFontsMessage, kResolutionMessage}},
        {1024, 96.0, {kLargeFontsMessage}},
        {1023, 120.0, {kResolutionMessage}},
        {1920, 144.0, {}},
    };
    for (const auto& c : cases) {
        QFile::remove(ini());
        test::ScriptedUi first;
        EXPECT_EQ(start(first, {c.width, 600, c.dpi}), StartOutcome::Run);
        EXPECT_EQ(first.promptTexts(), c.expected) << c.width << " px at " << c.dpi;
        test::ScriptedUi later;
        start(later, {c.width, 600, c.dpi});
        EXPECT_TRUE(later.prompts.isEmpty()) << "later starts ask nothing";
    }
}

// A second copy hands its path over silently or says the first runs, and writes nothing.
TEST_F(StartFixture, ASecondCopyHandsItsPathOverOrIsRefusedAndWritesNothing) {
    platform::InstanceLock running(lockPath());
    ASSERT_TRUE(running.tryAcquire());
    const struct {
        bool taken;
        StartOutcome outcome;
        QStringList prompts;
    } cases[] = {{true, StartOutcome::HandedOver, {}},
                 {false, StartOutcome::AlreadyRunning, {kAlreadyRunningMessage}}};
    for (const auto& c : cases) {
        test::ScriptedUi ui;
        EXPECT_EQ(start(ui, {800, 600, 96.0}, [&] { return c.taken; }), c.outcome);
        EXPECT_EQ(ui.promptTexts(), c.prompts);
        for (const QString& written : {ini(), program() + "/Temp", program() + "/dovilogo.jpg"})
            EXPECT_FALSE(QFileInfo::exists(written)) << written.toStdString();
    }
}

TEST_F(StartFixture, StartCreatesTempPutsTheLogoAndMakesSeriesWritable) {
    const QString series = program() + "/series.dat";
    ASSERT_TRUE(test::writeFile(series, "\"x\",1\r\n"));
    QFile::setPermissions(series, QFileDevice::ReadOwner);
    test::ScriptedUi ui;
    start(ui, {1920, 1080, 120.0});
    EXPECT_TRUE(QFileInfo(program() + "/Temp").isDir());
    EXPECT_TRUE(QFile::permissions(series) & QFileDevice::WriteOwner);
    EXPECT_FALSE(QImage(program() + "/dovilogo.jpg").isNull());
}

TEST_F(StartFixture, TempIsEmptiedAtShutDownNotAtStartAndNothingOutsideIsTouched) {
    const QString temp = program() + "/Temp";
    QDir().mkpath(temp + "/sub");
    const QString outside = dir.filePath("precious.txt");
    test::writeFile(outside, "keep");
    QFile::setPermissions(outside, QFileDevice::ReadOwner);
    for (const char* name : {"0.bmp", ".hidden", "readonly.bmp", "sub/inner.bmp"})
        test::writeFile(temp + "/" + name, name);
    QFile::setPermissions(temp + "/readonly.bmp", QFileDevice::ReadOwner);
    QFile::link(outside, temp + "/link-out");

    test::ScriptedUi ui;
    start(ui, {1920, 1080, 120.0});
    EXPECT_TRUE(QFileInfo::exists(temp + "/0.bmp")) << "start must not empty Temp";

    IniStore store(ini());
    Workspace ws(program(), store, {1920, 1080, dir.path()});
    ws.loadSettings();
    shutDown(ws);
    EXPECT_EQ(test::snapshot(temp).keys(), QStringList{"sub/inner.bmp"});
    EXPECT_EQ(test::readFile(outside), "keep");
    EXPECT_FALSE(QFile::permissions(outside) & QFileDevice::WriteOwner)
        << "a link's target is never changed";
}

TEST_F(StartFixture, TempThatIsALinkIsNotEmptied) {
    const QString elsewhere = dir.filePath("elsewhere");
    QDir().mkpath(elsewhere);
    test::writeFile(elsewhere + "/important.jpg", "x");
    QFile::link(elsewhere, program() + "/Temp");
    EXPECT_EQ(emptyTempFolder(program()), 0);
    EXPECT_TRUE(QFileInfo::exists(elsewhere + "/important.jpg"));
}
