#include "batch/OutputNaming.h"

#include "app/ProgramFiles.h"
#include "batch/ProcessOptions.h"

#include <iterator>

namespace dovi::batch {

namespace {
struct Row {
    const char* extension;
    imaging::FormatCode format;
};
// The first four rows are the settings' choices; the last is the command line's
// lossless output.
constexpr Row kAlternates[] = {{".jpg", imaging::Jpeg},
                               {".bmp", imaging::Bmp},
                               {".tga", imaging::Tga},
                               {".pcx", imaging::Pcx},
                               {".png", imaging::PngOutput}};

const Row& rowFor(int index) {
    return (index >= 0 && index < int(std::size(kAlternates))) ? kAlternates[index]
                                                               : kAlternates[0];
}
} // namespace

QString alternateExtension(int altSaveFormat) {
    return QLatin1String(rowFor(altSaveFormat).extension);
}

imaging::FormatCode alternateFormat(int altSaveFormat) {
    return rowFor(altSaveFormat).format;
}

OutputTarget alternateSavePath(const QString& source, int altSaveFormat) {
    const qsizetype nameStart = source.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = source.indexOf(QLatin1Char('.'), nameStart);
    const QString stem = dot >= 0 ? source.left(dot) : source;
    return {stem + alternateExtension(altSaveFormat), alternateFormat(altSaveFormat)};
}

OutputTarget outputFor(const QString& source, imaging::FormatCode loadedFormat,
                       const ProcessOptions& options) {
    OutputTarget target = options.altSaveFormatOn ? alternateSavePath(source, options.altSaveFormat)
                                                  : OutputTarget{source, loadedFormat};
    if (options.altSaveFolderOn) {
        const QString name = target.path.mid(target.path.lastIndexOf(QLatin1Char('/')) + 1);
        target.path = joinPath(options.altSaveFolderPath, name);
    }
    return target;
}

} // namespace dovi::batch
