#include "slideshow/Slide.h"

#include "imaging/ImagingEngine.h"
#include "slideshow/SlideFit.h"

#include <cmath>

namespace dovi::slideshow {

bool isShowableCode(int code) {
    switch (code) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 8:
    case 9:
    case 11:
        return true;
    default:
        return code >= 13 && code <= 21;
    }
}

std::optional<Slide> prepareSlide(const QString& path, const SlideScreen& screen) {
    const double available = std::max(1.0, availableHeight(screen.size, screen.labelHeight));
    const QSize box(std::max(1, screen.size.width()), int(std::ceil(available)));
    imaging::ImagingEngine engine;
    if (!engine.load(path, imaging::DecodeRequest{box, true}) ||
        !isShowableCode(engine.imageFileType()))
        return std::nullopt;
    Slide slide;
    slide.path = path;
    slide.width = engine.imageWidth();
    slide.height = engine.imageHeight();
    const QSize shown = fitToScreen({slide.width, slide.height}, screen.size, screen.labelHeight);
    if (engine.pixels().size() != shown) {
        if (!engine.resample(shown.width(), shown.height()))
            return std::nullopt;
        slide.resampled = true;
    }
    slide.picture = engine.pixels();
    slide.position = slidePosition(shown, screen.size);
    return slide;
}

FoundSlide findSlide(const QStringList& list, int index, const SlideScreen& screen) {
    FoundSlide found;
    found.nextIndex = std::max(0, index);
    while (found.nextIndex < list.size() && !found.slide) {
        found.slide = prepareSlide(list.at(found.nextIndex), screen);
        ++found.nextIndex;
    }
    return found;
}

} // namespace dovi::slideshow
