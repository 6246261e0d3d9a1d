#pragma once
#include "imaging/Image.h"

#include <QString>

namespace dovi::batch {

struct ProcessOptions;

struct OutputTarget {
    QString path;
    imaging::FormatCode format = imaging::None;
};

// The source path with the alternate format's extension: cut just before the
// first "." of the file-name part (photo.final.bmp becomes photo.jpg), or the
// whole path + the extension when the name has no ".".
OutputTarget alternateSavePath(const QString& source, int altSaveFormat);

// Where a processed source goes and in which format: in place in the format it
// was loaded in, or the alternate format's name; with the alternate folder on,
// that name's file-name part inside the alternate folder.
OutputTarget outputFor(const QString& source, imaging::FormatCode loadedFormat,
                       const ProcessOptions& options);

// The extension and format of an alternate-format index (0 JPEG, 1 BMP, 2 TGA,
// 3 PCX, and 4 PNG for the command line); an index outside the table gives JPEG.
QString alternateExtension(int altSaveFormat);
imaging::FormatCode alternateFormat(int altSaveFormat);

} // namespace dovi::batch
