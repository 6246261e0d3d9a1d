#include "viewer/ViewerLayout.h"

namespace dovi::viewer {

ViewerLayout fitViewerImage(QSize area, QSize image, int barThickness) {
    ViewerLayout layout;
    layout.wide = image.width() >= area.width();
    layout.tall = image.height() >= area.height();
    // A bar on one side takes room from the other; twice covers the cascade.
    for (int pass = 0; pass < 2 && barThickness > 0; ++pass) {
        if (layout.wide && !layout.tall && image.height() > area.height() - barThickness)
            layout.tall = true;
        if (layout.tall && !layout.wide && image.width() > area.width() - barThickness)
            layout.wide = true;
    }
    layout.origin.setX(layout.wide ? 0 : (area.width() - image.width()) / 2);
    layout.origin.setY(layout.tall ? 0 : (area.height() - image.height()) / 2);
    return layout;
}

QSize screenArea(QSize screen, int toolbarHeight) {
    return {screen.width(), screen.height() - 2 * toolbarHeight};
}

} // namespace dovi::viewer
