#include "slideshow/windows/SlideshowCommandBindings.h"
#include "slideshow/windows/SlideShowWindow.h"

#include "app/CommandDispatcher.h"
#include "shell/CommandTable.h"

#include "RecordingShell.h"
#include "WorkspaceFixture.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

using namespace dovi;
using namespace dovi::test;

namespace {

struct SlideshowCommands : PicturesFixture {
    CommandDispatcher commands;
    RecordingShell shell;
    void SetUp() override {
        PicturesFixture::SetUp();
        bindSlideshowCommands(commands, {*ws, ui, nullptr, shell});
        writeImage(pic("a.bmp"), {40, 30}, imaging::Bmp);
        writeFile(pic("b.txt"), "text");
        writeImage(pic("c.bmp"), {50, 20}, imaging::Bmp);
    }
    void TearDown() override {
        for (SlideShowWindow* w : windows())
            delete w;
    }
    static QList<SlideShowWindow*> windows() {
        QList<SlideShowWindow*> out;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* s = qobject_cast<SlideShowWindow*>(w); s && s->isVisible())
                out << s;
        return out;
    }
    void click(SlideShowWindow* w, Qt::MouseButton button) {
        QTest::mouseClick(w, button, {}, QPoint(5, 5));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

} // namespace

TEST_F(SlideshowCommands, ManualClicksStepAndTheRightButtonEnds) {
    for (const QString& path : paths({"a.bmp", "b.txt", "c.bmp"}))
        ws->hold.append(path);
    ws->settings.slideManual = 1;
    ASSERT_TRUE(commands.runControl("mnuslideshow"));
    ASSERT_EQ(windows().size(), 1);
    SlideShowWindow* w = windows()[0];
    EXPECT_FALSE(w->timer().isActive());
    click(w, Qt::LeftButton);
    EXPECT_EQ(w->captionLabel()->text().right(8), "(3 of 3)");

    // A second start restarts the same window.
    ASSERT_TRUE(commands.runControl("mnuslideshow"));
    ASSERT_EQ(windows(), QList<SlideShowWindow*>{w});
    EXPECT_EQ(w->captionLabel()->text().right(8), "(1 of 3)");
    click(w, Qt::RightButton);
    EXPECT_TRUE(windows().isEmpty());

    // The step after the last slide of a show that does not loop ends it.
    ASSERT_TRUE(commands.runControl("mnuslideshow"));
    click(windows()[0], Qt::LeftButton);
    click(windows()[0], Qt::LeftButton);
    EXPECT_TRUE(windows().isEmpty());
    EXPECT_TRUE(shell.viewed.isEmpty());
}

TEST_F(SlideshowCommands, InTimerModeTheClickHandsTheSlideToTheViewer) {
    ws->hold.append(pic("b.txt"));
    EXPECT_TRUE(runToolbarKey(commands, "slideshow"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(windows().isEmpty()) << "nothing to show opens no window";

    ws->hold.append(pic("a.bmp"));
    std::tie(ws->settings.slideManual, ws->settings.slideInterval) = std::tuple(0, 7);
    ASSERT_TRUE(commands.runControl("mnuslideshow"));
    ASSERT_EQ(windows().size(), 1);
    EXPECT_EQ(windows()[0]->timer().interval(), 7000);
    click(windows()[0], Qt::LeftButton);
    EXPECT_EQ(shell.viewed, QStringList{pic("a.bmp")});
    EXPECT_TRUE(windows().isEmpty());
}
