#pragma once
#include <QPoint>
#include <QSize>

namespace dovi::viewer {

// Where the picture sits in the viewer and which scroll bars it needs. The
// picture is never scaled: one smaller than the area is centred, one at
// least as large starts at the edge and scrolls.
struct ViewerLayout {
    QPoint origin; // the picture's top-left corner in the area
    bool wide = false;
    bool tall = false;
    // 0 none, 1 horizontal, 2 vertical, 3 both.
    int scrollBars() const { return (wide ? 1 : 0) + (tall ? 2 : 0); }
};

// Lays a picture out in an area: wide when it is at least as wide as the
// area, tall when it is at least as high. A scroll bar of barThickness
// pixels, once needed on one side, takes room from the other, which may then
// need its own.
ViewerLayout fitViewerImage(QSize area, QSize image, int barThickness = 0);

// The area the viewer's rules measure against on a whole screen under a
// toolbar of the given height: the full width and the height less two
// toolbars.
QSize screenArea(QSize screen, int toolbarHeight);

} // namespace dovi::viewer
