// The browser's ways into the viewer: a double-click on the file list and a
// left click on the preview, only while the preview shows a file.
#include "app/IniStore.h"
#include "app/Workspace.h"
#include "browser/windows/BrowserViews.h"
#include "browser/windows/PreviewPane.h"
#include "shell/MainWindow.h"
#include "viewer/windows/ViewerWindow.h"

#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace dovi;

namespace {

TEST(ViewerOpening, DoubleClickAndPreviewClickOpenTheOneViewer) {
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("prog/Temp"));
    const QString pics = dir.filePath("pics");
    QDir().mkpath(pics);
    ASSERT_TRUE(test::makeTestPattern(64, 48).save(pics + "/a.bmp", "BMP"));
    IniStore store(dir.filePath("Dovi.ini"));
    store.setValue("File System", "startup", pics);
    Workspace ws(dir.filePath("prog"), store, SettingsEnvironment{1920, 1080, dir.path()});
    MainWindow w(ws);
    w.resize(1000, 700);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

    // Nothing previewed yet: a click on the preview opens nothing.
    QTest::mouseClick(w.previewPane(), Qt::LeftButton);
    EXPECT_EQ(w.viewerWindow(), nullptr);

    FileListView* list = w.fileList();
    const QRect row = list->visualRect(list->model()->index(0, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return ws.previewValid; }, 10000));
    QTest::mouseClick(w.previewPane(), Qt::RightButton);
    EXPECT_EQ(w.viewerWindow(), nullptr) << "the right button does not open the viewer";

    // The double-click's first click reads the file again; the viewer opens
    // once it has been read.
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.viewerWindow() != nullptr; }, 10000));
    ViewerWindow* viewer = w.viewerWindow();
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->windowTitle(), pics + "/a.bmp  X:64  Y:48");
    EXPECT_EQ(ws.history.lines(), QStringList{"Viewed " + pics + "/a.bmp"});

    // The preview's click opens the same file in the one viewer.
    QTest::mouseClick(w.previewPane(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.viewerWindow() && w.viewerWindow() != viewer; }));
    EXPECT_EQ(ws.history.lines().size(), 2);
    w.viewerWindow()->close();
}

} // namespace
