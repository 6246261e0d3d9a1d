#include "viewer/SaveAsNames.h"

#include <QFileInfo>

namespace dovi::viewer {

const QStringList& saveAsFilters() {
    static const QStringList filters = {
        QStringLiteral("Windows Bitmap (*.bmp)"), QStringLiteral("JPEG (*.jpg)"),
        QStringLiteral("PC Paintbrush (*.pcx)"), QStringLiteral("TrueVision Targa (*.tga)")};
    return filters;
}

namespace {

// Where the file name starts: just after the last "/".
qsizetype fileNameStart(const QString& path) {
    return path.lastIndexOf(QLatin1Char('/')) + 1;
}

} // namespace

QString saveAsBaseName(const QString& path) {
    const qsizetype dot = path.indexOf(QLatin1Char('.'), fileNameStart(path));
    return dot < 0 ? path : path.left(dot);
}

SaveAsTarget saveAsTarget(const QString& chosen, int filter) {
    static const struct {
        const char* extension;
        imaging::FormatCode format;
    } kinds[] = {{nullptr, imaging::Bmp},
                 {".jpg", imaging::Jpeg},
                 {".pcx", imaging::Pcx},
                 {".tga", imaging::Tga}};
    if (filter < 0 || filter > TargaFilter)
        filter = BitmapFilter;
    const auto& kind = kinds[filter];
    if (!kind.extension)
        return {chosen, kind.format};
    return {saveAsBaseName(chosen) + QLatin1String(kind.extension), kind.format};
}

imaging::FormatCode formatForPath(const QString& path, imaging::FormatCode fallback) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("bmp"))
        return imaging::Bmp;
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return imaging::Jpeg;
    if (suffix == QLatin1String("pcx"))
        return imaging::Pcx;
    if (suffix == QLatin1String("tga"))
        return imaging::Tga;
    return fallback;
}

} // namespace dovi::viewer
