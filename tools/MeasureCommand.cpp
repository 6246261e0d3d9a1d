#include "MeasureCommand.h"

#include "CommandLine.h"
#include "batch/FileProcessing.h"
#include "fileops/DetailedList.h"
#include "imaging/Codecs.h"
#include "imaging/ImagingEngine.h"
#include "platform/NativePath.h"

#include <cstdio>

namespace {

// A CSV field: quoted, with its quotes doubled, when it holds a comma, a quote
// or a line break, so that every line parses into the same seven fields.
QString csvField(const QString& text) {
    const bool plain = !text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
                       !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'));
    if (plain)
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// The detailed list's facts of one file, read by its bytes as named. Empty
// error: the file was read (an image or not).
dovi::fileops::MeasuredFile measure(const QString& path, dovi::imaging::ImagingEngine& engine,
                                    QString* error) {
    dovi::fileops::MeasuredFile facts;
    const dovi::batch::SourceRead read = dovi::batch::readSource(path);
    if (!read.data) {
        *error = read.error;
        return facts;
    }
    facts.fileSize = read.stamp.size;
    dovi::imaging::DecodeResult decoded = dovi::imaging::decodeBytes(read.data->bytes());
    if (!decoded.ok())
        return facts;
    engine.setImage(std::move(decoded.image), path);
    facts.fileType = engine.imageFileType();
    facts.fileSize = engine.fileSize();
    facts.width = engine.imageWidth();
    facts.height = engine.imageHeight();
    facts.uniqueColours = engine.uniqueColours();
    facts.bitsPerPixel = engine.bitsPerPixel();
    return facts;
}

} // namespace

int runMeasureCommand(const QStringList& args) {
    CommandLine cl(args, {}, {"--headings"});
    if (!cl.error().isEmpty())
        return usageError(cl.error());
    if (cl.files().isEmpty())
        return usageError(QStringLiteral("measure: no files given"));
    if (cl.has("--headings"))
        std::printf("%s\n", dovi::fileops::kDetailedListHeading.toLocal8Bit().constData());
    dovi::imaging::ImagingEngine engine;
    int unreadable = 0;
    for (const QString& file : cl.files()) {
        QString error;
        const dovi::fileops::MeasuredFile facts = measure(file, engine, &error);
        const QString line = dovi::fileops::detailedListLine(csvField(file), facts);
        std::printf("%s\n", dovi::platform::nativePath(line).constData());
        if (!error.isEmpty()) {
            ++unreadable;
            std::fflush(stdout);
            std::fprintf(stderr, "dovi-batch: %s: %s\n",
                         dovi::platform::nativePath(file).constData(),
                         error.toLocal8Bit().constData());
        }
    }
    return unreadable > 0 ? 1 : 0;
}
