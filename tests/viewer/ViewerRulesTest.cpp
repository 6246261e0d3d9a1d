// The viewer's arithmetic: layout, selection, crop rectangles, Save As names.
#include "viewer/SaveAsNames.h"
#include "viewer/ViewerLayout.h"
#include "viewer/ViewerSelection.h"

#include "TestSupport.h"

namespace dovi::viewer {
namespace {

TEST(ViewerLayout, WideTallAndScrollBarsFollowTheScreen) {
    // A 1024 x 768 screen under a 30-pixel toolbar: tall from 708 rows.
    const QSize area = screenArea({1024, 768}, 30);
    ASSERT_EQ(area, QSize(1024, 708));
    const struct {
        QSize image;
        bool wide, tall;
        int bars;
        QPoint origin;
    } cases[] = {
        {{400, 300}, false, false, 0, {312, 204}}, // centred
        {{1024, 300}, true, false, 1, {0, 204}},   // exactly as wide counts as wide
        {{1023, 300}, false, false, 0, {0, 204}},
        {{400, 708}, false, true, 2, {312, 0}}, // SH - 2T counts as tall
        {{400, 707}, false, false, 0, {312, 0}},
        {{5000, 4000}, true, true, 3, {0, 0}},
    };
    for (const auto& c : cases) {
        const ViewerLayout l = fitViewerImage(area, c.image);
        EXPECT_EQ(std::tuple(l.wide, l.tall, l.scrollBars(), l.origin),
                  std::tuple(c.wide, c.tall, c.bars, c.origin))
            << c.image.width() << "x" << c.image.height();
    }
}

TEST(ViewerLayout, ABarOnOneSideCanMakeTheOtherScroll) {
    // 800 wide needs a horizontal bar; 590 rows then no longer fit under it.
    EXPECT_EQ(fitViewerImage({800, 600}, {900, 590}, 15).scrollBars(), 3);
    EXPECT_EQ(fitViewerImage({800, 600}, {900, 580}, 15).scrollBars(), 1);
}

TEST(ViewerSelection, DragsLeaveASelectionOnlyWhenTwoDimensional) {
    const struct {
        QPointF from, to;
        bool selected;
        QRect area;
    } cases[] = {
        {{10, 10}, {10, 10}, false, {}}, // a click
        {{10, 10}, {60, 10}, false, {}}, // only horizontal
        {{10, 10}, {10, 60}, false, {}}, // only vertical
        {{10, 20}, {60, 80}, true, QRect(10, 20, 50, 60)},
        {{60, 80}, {10, 20}, true, QRect(10, 20, 50, 60)},         // up and to the left
        {{10.4, 19.6}, {59.5, 80.2}, true, QRect(10, 20, 50, 60)}, // rounded
        {{10, 10}, {-5, -7}, true, QRect(0, 0, 10, 10)},           // negatives raised to 0
        {{10, 10}, {500, 900}, true, QRect(10, 10, 190, 90)},      // the edge itself at the end
    };
    for (const auto& c : cases) {
        ViewerSelection s;
        s.setViewExtent({200, 100});
        s.press(c.from);
        s.move(c.to);
        s.release(c.to);
        EXPECT_EQ(std::tuple(s.hasArea(), s.area(), s.dragging()),
                  std::tuple(c.selected, c.area, false))
            << c.to.x() << "," << c.to.y();
    }
}

TEST(ViewerSelection, DragCaptionShowsSignedDifferencesAndStopsShortOfTheEdge) {
    ViewerSelection s;
    s.setViewExtent({200, 100});
    s.press({50, 40});
    s.move({20, 70});
    EXPECT_EQ(s.dragCaption("/p/a.jpg  X:200  Y:100"),
              "/p/a.jpg  X:200  Y:100     [ X:50,Y:40     X:20(-30),Y:70(-30) ]");
    s.move({201, 101}); // past the extent: the last pixel while moving
    EXPECT_EQ(s.current(), QPoint(199, 99));
    s.move({200, 100}); // the extent itself stays
    EXPECT_EQ(s.current(), QPoint(200, 100));
}

TEST(ViewerSelection, CropOnAScrolledViewTakesThePictureUnderTheRectangle) {
    const QSize picture(4000, 3000);
    EXPECT_EQ(cropRectangle({10, 20}, {110, 70}, {0, 0}, picture), QRect(10, 20, 100, 50));
    EXPECT_EQ(cropRectangle({110, 70}, {10, 20}, {1500, 900}, picture), QRect(1510, 920, 100, 50));
    // Never outside the picture.
    EXPECT_EQ(cropRectangle({0, 0}, {300, 300}, {3900, 2900}, picture),
              QRect(3900, 2900, 100, 100));
}

TEST(SaveAsNames, BaseNameCutsAtTheFileNamesFirstDotOnly) {
    const struct {
        const char* path;
        const char* base;
    } cases[] = {
        {"/home/u/my.photos/noext", "/home/u/my.photos/noext"},
        {"/home/u/.hidden", "/home/u/"},
        {"noext", "noext"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(saveAsBaseName(c.path), QString(c.base)) << c.path;
}

TEST(SaveAsNames, EachTypeEntryFormsItsName) {
    const struct {
        const char* chosen;
        int filter;
        const char* path;
        imaging::FormatCode format;
    } cases[] = {
        {"/d/a.jpg", BitmapFilter, "/d/a.jpg", imaging::Bmp}, // as typed
        {"/d/a", PaintbrushFilter, "/d/a.pcx", imaging::Pcx},
        {"/d/my.photos/a.bmp", TargaFilter, "/d/my.photos/a.tga", imaging::Tga},
        {"/d/a", 9, "/d/a", imaging::Bmp}, // an unknown entry is the first
    };
    for (const auto& c : cases) {
        const SaveAsTarget t = saveAsTarget(c.chosen, c.filter);
        EXPECT_EQ(std::pair(t.path, t.format), std::pair(QString(c.path), c.format)) << c.chosen;
    }
    EXPECT_EQ(
        QList({formatForPath("/d/A.JPEG", imaging::Bmp), formatForPath("/d/a.png", imaging::Pcx)}),
        QList({imaging::Jpeg, imaging::Pcx}));
}

} // namespace
} // namespace dovi::viewer
