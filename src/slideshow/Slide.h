#pragma once
#include <QImage>
#include <QPointF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

// One slide made ready for the screen, and the load loop that finds the next
// showable one. Plain functions of their arguments: they run on a worker
// thread while the slide before is shown.
namespace dovi::slideshow {

// The screen a show fills and the height of its caption line, in pixels.
struct SlideScreen {
    QSize size;
    int labelHeight = 0;
};

struct Slide {
    QString path;
    int width = 0; // of the file, before any fitting
    int height = 0;
    QImage picture; // as shown
    QPointF position;
    bool resampled = false;
};

// True for the format codes a show displays (1..5, 8, 9, 11, 13..21); 0 is
// nothing loaded.
bool isShowableCode(int formatCode);

// Loads path and fits it to the screen. A large JPEG is decoded at a reduced
// size that still covers the screen and then resampled, so a 24 MP photo
// costs a fraction of a full decode. Nothing when the file cannot be read or
// is of a kind a show does not display.
std::optional<Slide> prepareSlide(const QString& path, const SlideScreen& screen);

// The load loop: tries the entries of list from index on until one is
// showable. nextIndex is the index after the last entry tried (the 1-based
// number of the slide found), or the list's size when none was.
struct FoundSlide {
    std::optional<Slide> slide;
    int nextIndex = 0;
};
FoundSlide findSlide(const QStringList& list, int index, const SlideScreen& screen);

} // namespace dovi::slideshow
