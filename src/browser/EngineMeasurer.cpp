#include "browser/EngineMeasurer.h"

#include "imaging/ImagingEngine.h"

namespace dovi::browser {

ImageFacts EngineMeasurer::measure(const QString& path, const QSize& box) {
    imaging::ImagingEngine engine;
    if (!engine.load(path) || engine.imageFileType() == 0)
        return {};
    ImageFacts facts;
    facts.fileType = engine.imageFileType();
    facts.width = engine.imageWidth();
    facts.height = engine.imageHeight();
    facts.fileSize = engine.fileSize();
    facts.uniqueColours = engine.uniqueColours();
    facts.bitsPerPixel = engine.bitsPerPixel();
    facts.picture = fitInto(engine.pixels(), box);
    return facts;
}

} // namespace dovi::browser
