#pragma once
#include <QString>

namespace dovi::imaging {
class ImagingEngine;
}

namespace dovi::browser {

// The heading line of a detailed list.
inline const QString kDetailedListHeading = QStringLiteral("Filename,File Size,Format,X,Y,Colours,BPP");

// One line of a detailed list for the file at path, measured with engine:
// path, size in bytes, "TGA"/"PCX"/"BMP"/"JPG", width, height, distinct colours
// and bits per pixel joined by ","; a file that is not measured gives
// path + "," + size + ",N/A". The engine is left holding the file.
QString detailedListLine(const QString& path, imaging::ImagingEngine& engine);

} // namespace dovi::browser
