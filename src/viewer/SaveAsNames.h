#pragma once
#include "imaging/Image.h"

#include <QString>
#include <QStringList>

namespace dovi::viewer {

// The entries of the Save As dialog's type list, in order.
enum SaveAsFilter { BitmapFilter = 0, JpegFilter = 1, PaintbrushFilter = 2, TargaFilter = 3 };
const QStringList& saveAsFilters();

// The path up to, not including, the first "." of its file name; the whole
// path when the file name has none. A dot in a folder name never counts.
QString saveAsBaseName(const QString& path);

// The name Save As writes for a chosen name and type entry, and its format.
// Windows Bitmap keeps the name as typed; the others replace everything
// from the file name's first "." with their extension, or append it.
struct SaveAsTarget {
    QString path;
    imaging::FormatCode format = imaging::Bmp;
};
SaveAsTarget saveAsTarget(const QString& chosen, int filter);

// The format a file's extension names (bmp, jpg/jpeg, pcx, tga, any case);
// fallback for any other name.
imaging::FormatCode formatForPath(const QString& path, imaging::FormatCode fallback);

} // namespace dovi::viewer
