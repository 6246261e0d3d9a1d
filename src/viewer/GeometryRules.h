#pragma once
#include <QList>
#include <QSize>
#include <QString>
#include <optional>

namespace dovi::viewer {

// The largest size "Maintain Aspect" may produce for a width x height picture:
// 32767 on its longer side, the other side in proportion.
struct MaxVals {
    int maxWidth = 0;
    int maxHeight = 0;
};
MaxVals determineMaxVals(int width, int height);

// The texts of the resample dialog's two size boxes.
struct SizeBoxes {
    QString width;
    QString height;
    bool operator==(const SizeBoxes&) const = default;
};
// A key released in the width box (widthBox true) or the height box: text
// that is not a number empties both; a number above the maximum becomes the
// maximum; with keepAspect the other box follows in proportion to picture;
// an empty other box receives a copy.
SizeBoxes sizeBoxTyped(SizeBoxes boxes, bool widthBox, QSize picture, MaxVals max, bool keepAspect);

// The size options, top to bottom after "Custom": 1600 x 1200 ... 640 x 480.
const QList<QSize>& resamplePresets();
// The size the custom boxes ask for, rounded; none when either is empty, not
// a number, or not at least one pixel ("You must enter dimensions").
std::optional<QSize> customSize(const SizeBoxes& boxes);
inline const QString kEnterDimensions = QStringLiteral("You must enter dimensions");

// The rotation the degree box asks for: its number rounded, 0 for empty or
// other text.
int rotationDegrees(const QString& text);

// The perspective directions in the dialog's order, with the codes the
// engine takes.
struct PerspectiveDirection {
    QString caption;
    int code;
};
const QList<PerspectiveDirection>& perspectiveDirections();

} // namespace dovi::viewer
