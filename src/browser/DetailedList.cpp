#include "browser/DetailedList.h"

#include "imaging/ImagingEngine.h"

#include <QFileInfo>

namespace dovi::browser {
namespace {

QString formatName(int code) {
    switch (code) {
    case 1: return QStringLiteral("TGA");
    case 2: return QStringLiteral("PCX");
    case 5: return QStringLiteral("BMP");
    case 8: return QStringLiteral("JPG");
    default: return QString();
    }
}

bool isMeasured(int code) {
    return code != 0 && code != 6 && code != 7 && code != 10 && code != 12 && code < 21;
}

} // namespace

QString detailedListLine(const QString& path, imaging::ImagingEngine& engine) {
    engine.release();
    engine.load(path);
    const int code = engine.imageFileType();
    const QString comma = QStringLiteral(",");
    if (!isMeasured(code))
        return path + comma + QString::number(QFileInfo(path).size()) + QStringLiteral(",N/A");
    return path + comma + QString::number(engine.fileSize()) + comma + formatName(code) + comma +
           QString::number(engine.imageWidth()) + comma + QString::number(engine.imageHeight()) +
           comma + QString::number(engine.uniqueColours()) + comma +
           QString::number(engine.bitsPerPixel());
}

} // namespace dovi::browser
