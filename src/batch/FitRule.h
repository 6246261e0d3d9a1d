#pragma once
#include <QSize>
#include <optional>

namespace dovi::batch {

// The size that fits width x height into box keeping the aspect ratio: with
// rW = W / BW and rH = H / BH in floating point, rW >= rH gives BW by
// BW / W x H, otherwise BH / H x W by BH, rounded to the nearest integer with
// halves to even (never below 1).
QSize fitIntoBox(QSize image, QSize box);

// Whether and to what size a processing run scales an image: never with
// "Convert Only"; always with "Resample Images Up and Down"; otherwise only
// when the image is larger than the box on either axis. nullopt: no scaling.
std::optional<QSize> scalingFor(QSize image, QSize box, bool convertOnly, bool upAndDown);

} // namespace dovi::batch
