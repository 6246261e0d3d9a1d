#include "batch/windows/ProcessWindow.h"

#include "WorkspaceFixture.h"

#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using namespace dovi;
using namespace dovi::test;

namespace {

// Lets the window's events run as the real Ui does, and plays the user: looks
// at the window while the run goes on and releases Escape in the log list once
// two files are done.
struct UserAtTheWindow : ScriptedUi {
    QPointer<ProcessWindow> window;
    bool closeEverEnabled = false;
    bool closeRefused = false;
    QString runningCaption;
    void processEvents() override {
        ScriptedUi::processEvents();
        QApplication::processEvents();
        if (!window)
            return;
        closeEverEnabled |= window->closeButton()->isEnabled();
        if (runningCaption.isEmpty()) {
            runningCaption = window->windowTitle();
            closeRefused = !window->close();
        }
        if (window && window->progressBar()->value() == 2)
            QTest::keyRelease(window->logList(), Qt::Key_Escape);
    }
};

struct ProcessWindowTest : PicturesFixture {
    UserAtTheWindow user;
};

} // namespace

TEST_F(ProcessWindowTest, ShowsTheRunAndStopsOnEscapeInTheLog) {
    QStringList targets;
    for (int i = 1; i <= 4; ++i) {
        targets << ws->currentFolder + QString("/f%1.bmp").arg(i);
        writeImage(targets.last(), {200, 100}, imaging::Bmp);
    }
    ws->settings.confirmActions = 0;
    auto* window = new ProcessWindow(nullptr, *ws);
    user.window = window;

    const auto summary = batch::processFiles(*ws, user, *window, targets);

    ASSERT_TRUE(user.window) << "the window cannot be closed during the run";
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(user.runningCaption, "Processing 4 files. ESCAPE to abort");
    EXPECT_TRUE(user.closeRefused);
    EXPECT_FALSE(user.closeEverEnabled);
    EXPECT_EQ(window->focusWidget(), window->logList());
    EXPECT_TRUE(ws->processAbort);
    EXPECT_EQ(summary.finished, 2);
    EXPECT_EQ(window->windowTitle(), "ABORT after processing 2 files...");
    EXPECT_EQ(window->progressBar()->maximum(), 4);
    EXPECT_EQ(window->progressBar()->value(), 2);
    const int lines = window->logList()->count();
    ASSERT_EQ(lines, 4);
    EXPECT_EQ(window->logList()->item(2)->text(), " ");
    EXPECT_EQ(window->logList()->item(3)->text(), "ABORT!");
    EXPECT_TRUE(window->closeButton()->isEnabled());
    EXPECT_EQ(window->closeButton()->text(), "Close");

    QTest::mouseClick(window->closeButton(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(user.window) << "Close unloads the window";
}

// A reason can be long; the log shows it whole and scrolls sideways to it.
TEST_F(ProcessWindowTest, EveryLogLineIsShownWhole) {
    auto* window = new ProcessWindow(nullptr, *ws);
    window->resize(320, 240);
    window->open("Converting 2 files. ESCAPE to abort", 2);
    const QString longLine = pic("photo.jpg") + "   ...   could not be saved as " +
                             QString("/a/long/output/folder").repeated(8) +
                             "/photo.jpg: No space left on device";
    window->addLogLine(pic("a.jpg") + "   ...   complete");
    window->addLogLine(longLine);
    window->addLogLine(pic("b.jpg") + "   ...   complete");
    QApplication::processEvents();

    QListWidget* log = window->logList();
    EXPECT_EQ(log->item(1)->text(), longLine);
    EXPECT_EQ(log->textElideMode(), Qt::ElideNone);
    EXPECT_GE(log->visualItemRect(log->item(1)).width(),
              log->fontMetrics().horizontalAdvance(longLine));
    EXPECT_GT(log->horizontalScrollBar()->maximum(), 0);
    window->setCloseEnabled(true);
    window->close();
}
