#include "fileops/DetailedList.h"

#include "app/ActionList.h"
#include "app/SharedServices.h"
#include "app/Workspace.h"
#include "imaging/ImagingEngine.h"

#include <QFileInfo>

namespace dovi::fileops {

bool isMeasured(int fileType) {
    return fileType != 0 && fileType < 21 && fileType != 6 && fileType != 7 && fileType != 10 &&
           fileType != 12;
}

QString formatName(int fileType) {
    switch (fileType) {
    case 1:
        return QStringLiteral("TGA");
    case 2:
        return QStringLiteral("PCX");
    case 5:
        return QStringLiteral("BMP");
    case 8:
        return QStringLiteral("JPG");
    default:
        return {};
    }
}

QString detailedListLine(const QString& path, const MeasuredFile& facts) {
    const QChar comma = QLatin1Char(',');
    if (!isMeasured(facts.fileType))
        return path + comma + QString::number(facts.fileSize) + QStringLiteral(",N/A");
    return path + comma + QString::number(facts.fileSize) + comma + formatName(facts.fileType) +
           comma + QString::number(facts.width) + comma + QString::number(facts.height) + comma +
           QString::number(facts.uniqueColours) + comma + QString::number(facts.bitsPerPixel);
}

QString detailedListLine(const QString& path, imaging::ImagingEngine& engine) {
    engine.release();
    engine.load(path);
    MeasuredFile facts;
    facts.fileType = engine.imageFileType();
    if (!isMeasured(facts.fileType)) {
        facts.fileSize = QFileInfo(path).size();
        return detailedListLine(path, facts);
    }
    facts.fileSize = engine.fileSize();
    facts.width = engine.imageWidth();
    facts.height = engine.imageHeight();
    facts.uniqueColours = engine.uniqueColours();
    facts.bitsPerPixel = engine.bitsPerPixel();
    return detailedListLine(path, facts);
}

void generateDetailedList(Workspace& ws, Ui& ui, DetailedListWindows& windows,
                          const DetailedLineMaker& lineFor) {
    const std::optional<QStringList> targets = buildActionList(ws, ui);
    if (!targets)
        return;
    ws.abortRequested = false;
    if (!ws.history.isEmpty()) {
        const Answer clear = ui.messageBox(QStringLiteral("Generate Detailed List"),
                                           QStringLiteral("Clear history list before beginning?"),
                                           MessageButtons::YesNoCancel, MessageIcon::Question);
        if (clear == Answer::Cancel)
            return;
        if (clear == Answer::Yes) {
            ws.history.clear();
            emit ws.historyChanged();
        }
    }
    if (ui.messageBox(QStringLiteral("Headings"), QStringLiteral("Include field headings?"),
                      MessageButtons::YesNo, MessageIcon::Question) == Answer::Yes)
        ws.addHistory(kDetailedListHeading);

    windows.showRunningHistory();
    windows.showCancelWindow();
    const QStringList& paths = *targets;
    setStatus(ui, true);
    ui.setProgressRange(0, int(paths.size()));
    for (int i = 0; i < paths.size(); ++i) {
        const QString line = lineFor(paths[i]);
        if (ws.settings.historyLimit != 0)
            ws.addHistory(line);
        ui.setProgressValue(i + 1);
        ui.processEvents();
        if (ws.abortRequested)
            break;
    }
    windows.closeCancelWindow();
    setStatus(ui, false);
}

} // namespace dovi::fileops
