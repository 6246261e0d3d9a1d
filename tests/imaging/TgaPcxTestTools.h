#pragma once
// Helpers for the TGA and PCX tests: byte spans, and the two outside readers
// (Pillow through Python, GraphicsMagick's gm) used as independent references.
#include "imaging/codecs/CodecTypes.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace dovi::test::tgapcx {

inline imaging::Bytes bytesOf(const QByteArray& a) {
    return {reinterpret_cast<const std::uint8_t*>(a.constData()), std::size_t(a.size())};
}

inline void put16(QByteArray& out, int v) {
    out.append(char(v & 0xff));
    out.append(char((v >> 8) & 0xff));
}

// Every file under corpus/<sub> with the given suffix, sorted.
inline QStringList corpusFiles(const QString& sub, const QString& suffix) {
    QStringList files;
    QDirIterator it(corpusDir() + '/' + sub, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith(suffix, Qt::CaseInsensitive))
            files << path;
    }
    files.sort();
    return files;
}

inline QString pythonWithPillow() {
    static const QString found = [] {
        for (const QString& py : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
            QProcess p;
            p.start(py, {QStringLiteral("-c"), QStringLiteral("import PIL")});
            if (p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit &&
                p.exitCode() == 0)
                return py;
        }
        return QString();
    }();
    return found;
}

inline bool haveGm() {
    return !QStandardPaths::findExecutable(QStringLiteral("gm")).isEmpty();
}

// Runs a Python script (Pillow importable) in dir; true when it exited 0.
inline bool runPython(const QString& script, const QString& dir, const QStringList& args = {}) {
    QProcess p;
    p.setWorkingDirectory(dir);
    p.start(pythonWithPillow(), QStringList{QStringLiteral("-c"), script} + args);
    const bool ok =
        p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!ok)
        ADD_FAILURE() << "python failed: " << p.readAllStandardError().toStdString();
    return ok;
}

// Pillow's reading of each file, as RGB or RGBA pictures (null where Pillow
// refused the file). One Python run for the whole list.
inline QList<QImage> pillowDecode(const QStringList& files, const QString& scratchDir) {
    static const QString script = QStringLiteral(R"(
import sys
from PIL import Image
for i, src in enumerate(sys.argv[1:]):
    try:
        im = Image.open(src)
        im.load()
        im = im.convert('RGBA' if 'A' in im.mode else 'RGB')
        im.save('pil_%d.png' % i)
    except Exception as e:
        print(src, e, file=sys.stderr)
)");
    QList<QImage> out;
    if (!runPython(script, scratchDir, files))
        return out;
    for (int i = 0; i < files.size(); ++i)
        out << QImage(scratchDir + QStringLiteral("/pil_%1.png").arg(i));
    return out;
}

// GraphicsMagick's reading of a file, or a null picture when it refused it.
inline QImage gmDecode(const QString& file, const QString& scratchDir) {
    const QString png = scratchDir + QStringLiteral("/gm_out.png");
    QFile::remove(png);
    QProcess p;
    p.start(QStringLiteral("gm"), {QStringLiteral("convert"), file, png});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QImage(png);
}

// Drops the alpha of a picture (as an opaque RGB32 copy) for comparisons that
// only look at colour.
inline QImage colourOnly(const QImage& image) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] |= 0xff000000u;
    }
    return out;
}

} // namespace dovi::test::tgapcx
