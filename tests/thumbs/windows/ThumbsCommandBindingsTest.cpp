#include "thumbs/windows/ThumbsCommandBindings.h"
#include "thumbs/windows/ThumbGridView.h"
#include "thumbs/windows/ThumbsWindow.h"

#include "app/CommandDispatcher.h"
#include "shell/CommandTable.h"

#include "RecordingShell.h"
#include "WorkspaceFixture.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

using namespace dovi;
using namespace dovi::test;

namespace {

struct ThumbsCommands : PicturesFixture {
    CommandDispatcher commands;
    RecordingShell shell;
    void SetUp() override {
        PicturesFixture::SetUp();
        bindThumbsCommands(commands, {*ws, ui, nullptr, shell});
        for (int i = 0; i < 7; ++i)
            writeImage(pic(QString("p%1.bmp").arg(i)), {60 + i, 40}, imaging::Bmp);
    }
    void TearDown() override {
        for (ThumbsWindow* w : windows())
            delete w;
    }
    static QList<ThumbsWindow*> windows() {
        QList<ThumbsWindow*> out;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* t = qobject_cast<ThumbsWindow*>(w); t && t->isVisible())
                out << t;
        return out;
    }
    void holdAll() {
        for (int i = 0; i < 7; ++i)
            ws->hold.append(pic(QString("p%1.bmp").arg(i)));
    }
    QPoint cellCentre(ThumbGridView* grid, int row, int column) {
        return grid->visualRect(grid->model()->index(row, column)).center();
    }
};

} // namespace

// Presses and marks are pinned on the session; here the window reaches it.
TEST_F(ThumbsCommands, TheGridReachesTheSessionAndClosingAppliesTheMarks) {
    holdAll();
    ASSERT_TRUE(runToolbarKey(commands, "thumbs"));
    ASSERT_EQ(windows().size(), 1);
    ThumbsWindow* w = windows()[0];
    ThumbGridView* grid = w->grid();
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, cellCentre(grid, 0, 2));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, 1, 0));
    EXPECT_EQ(shell.viewed, QStringList{pic("p6.bmp")});

    // A second command reuses the window and keeps its marks.
    ASSERT_TRUE(commands.runControl("mnuThumbs"));
    ASSERT_EQ(windows(), QList<ThumbsWindow*>{w});
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(windows().isEmpty());
    EXPECT_EQ(ws->hold.fullPaths(), QStringList{pic("p2.bmp")});
}

TEST_F(ThumbsCommands, ClosingDuringGenerationStopsTheRunFirst) {
    holdAll();
    int closes = 0;
    // The first repaint of the run closes the window, as a click in the tree would.
    QTimer::singleShot(0, [&] {
        for (ThumbsWindow* w : windows()) {
            ++closes;
            EXPECT_TRUE(w->generating());
            w->close();
            EXPECT_TRUE(w->isVisible());
        }
    });
    ASSERT_TRUE(commands.runControl("mnuThumbs"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(windows().isEmpty());
}
