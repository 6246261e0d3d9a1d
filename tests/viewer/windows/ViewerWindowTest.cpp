// The viewer window's wiring: each rule is pinned on the document or the session.
#include "viewer/windows/ViewerWindow.h"
#include "viewer/windows/AdjustDialog.h"
#include "viewer/windows/ImageView.h"
#include "viewer/windows/ResampleDialog.h"

#include "WorkspaceFixture.h"

#include <QAction>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

namespace dovi {
namespace {

using test::samePixels;

struct ViewerWindowTest : test::PicturesFixture {
    std::unique_ptr<ViewerWindow> window;
    QString path;
    QImage original;
    void SetUp() override {
        PicturesFixture::SetUp();
        path = pic("a.bmp");
        test::writeImage(path, {300, 200}, imaging::Bmp);
        window = std::make_unique<ViewerWindow>(*ws, nullptr, nullptr, &ui);
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        ASSERT_TRUE(window->open(path));
        window->resize(800, 600);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        original = window->document().engine().pixels();
    }
    QImage shown() const { return window->view()->picture(); }
};

TEST_F(ViewerWindowTest, ADragSelectsAndCropTakesThatPart) {
    ImageView* view = window->view();
    QWidget* port = view->viewport();
    // The 300 x 200 picture is centred in the viewport.
    const QPoint origin((port->width() - 300) / 2, (port->height() - 200) / 2);
    QTest::mousePress(port, Qt::LeftButton, {}, origin + QPoint(20, 30));
    QTest::mouseMove(port, origin + QPoint(120, 80));
    QTest::mouseRelease(port, Qt::LeftButton, {}, origin + QPoint(120, 80));
    EXPECT_EQ(window->selection().area(), QRect(20, 30, 100, 50));
    window->action("Crop")->trigger();
    EXPECT_TRUE(samePixels(original.copy(20, 30, 100, 50), shown()));
}

// The trial rules are pinned on the session; here a dialog reaches it.
TEST_F(ViewerWindowTest, ASliderMoveShowsATrialAndCancelRestoresTheExactPixels) {
    AdjustDialog dialog(window.get(), window->document(), ui, viewer::AdjustMode::Bright, [this] {
        window->view()->setPicture(window->document().engine().pixels());
    });
    dialog.slider()->setValue(60);
    dialog.slider()->setValue(40); // collapses with the move before
    dialog.settle();
    EXPECT_FALSE(samePixels(original, shown()));
    dialog.reject();
    EXPECT_TRUE(samePixels(original, shown()));
}

TEST_F(ViewerWindowTest, ResampleRefusesAMissingOrZeroSize) {
    ResampleDialog dialog(window.get(), window->document(), ui);
    dialog.widthBox()->setText("0");
    dialog.heightBox()->setText("0");
    dialog.accept();
    EXPECT_EQ(ui.promptTexts(), QStringList{"You must enter dimensions"});
    dialog.heightBox()->clear();
    QTest::keyClicks(dialog.heightBox(), "100"); // the width follows the aspect
    dialog.accept();
    EXPECT_EQ(window->document().engine().imageWidth(), 150);
}

TEST_F(ViewerWindowTest, TheWindowManagersCloseAsksAboutUnsavedChanges) {
    int afterClose = 0;
    window->setAfterClose([&afterClose] { ++afterClose; });
    window->action("Negative")->trigger();
    ui.answers = {Answer::Cancel, Answer::No};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(afterClose, 0);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(afterClose, 1);
}

} // namespace
} // namespace dovi
