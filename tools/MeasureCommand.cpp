#include "MeasureCommand.h"

#include "CommandLine.h"
#include "fileops/DetailedList.h"
#include "imaging/ImagingEngine.h"

#include <cstdio>

int runMeasureCommand(const QStringList& args) {
    CommandLine cl(args, {}, {"--headings"});
    if (!cl.error().isEmpty())
        return usageError(cl.error());
    if (cl.files().isEmpty())
        return usageError(QStringLiteral("measure: no files given"));
    if (cl.has("--headings"))
        std::printf("%s\n", dovi::fileops::kDetailedListHeading.toLocal8Bit().constData());
    dovi::imaging::ImagingEngine engine;
    for (const QString& file : cl.files()) {
        const QString line = dovi::fileops::detailedListLine(file, engine);
        std::printf("%s\n", line.toLocal8Bit().constData());
    }
    return 0;
}
