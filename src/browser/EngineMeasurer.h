#pragma once
#include "browser/PreviewFacts.h"

namespace dovi::browser {

// Measures a file with an imaging engine of its own, so any number can run
// on worker threads at once. The whole file is decoded: the colour count is
// that of the full picture, not of a reduced copy.
class EngineMeasurer : public ImageMeasurer {
public:
    ImageFacts measure(const QString& path, const QSize& box) override;
};

} // namespace dovi::browser
