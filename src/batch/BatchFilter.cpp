#include "batch/BatchFilter.h"

#include "app/FolderState.h"
#include "app/SharedServices.h"
#include "app/Workspace.h"
#include "batch/FileProcessing.h"
#include "batch/OutputCommit.h"
#include "batch/RunFiles.h"
#include "imaging/Codecs.h"
#include "imaging/ImagingEngine.h"

namespace dovi::batch {

using imaging::ImagingEngine;

const QList<BatchFilter>& batchFilters() {
    static const QList<BatchFilter> rows = {
        {"autocontrast", "mnuautocont", "Apply AutoContrast to the selected file(s) ?",
         " - Auto Contrast", &ImagingEngine::autoContrast},
        {"emboss", "mnuemboss", "Apply Emboss to the selected file(s) ?", " - Emboss",
         &ImagingEngine::emboss},
        {"flip", "mnuFlip", "Apply Flip to the selected file(s) ?", " - Flip",
         &ImagingEngine::flip},
        {"median", "mnubatmedian", "Apply Median to the selected file(s) ?", " - Median",
         &ImagingEngine::median},
        {"mirror", "mnumirror", "Apply Mirror to the selected file(s) ?", " - Mirror",
         &ImagingEngine::mirror},
        {"negate", "mnuNegate", "Apply Negate to the selected file(s) ?", " - Negate",
         &ImagingEngine::negate},
    };
    return rows;
}

const BatchFilter* findBatchFilter(const QString& name) {
    for (const BatchFilter& f : batchFilters())
        if (f.name == name)
            return &f;
    return nullptr;
}

namespace {

enum class Outcome { Filtered, Unsupported, Failed };

// Reads, filters and writes back one file. A file whose content is one of the
// four formats is supported even when it cannot be decoded: its failure is an
// error to report, not a skip; so is a file that cannot be read at all. A
// FIFO, device or folder in the list is skipped unread.
Outcome filterFile(ImagingEngine& engine, RunFiles& run, int index, const QString& path,
                   const BatchFilter& filter, const imaging::EncodeOptions& encoding) {
    const SourceRead read = readSource(path);
    if (!read.data)
        return read.notRegular ? Outcome::Unsupported : Outcome::Failed;
    const imaging::Bytes bytes = read.data->bytes();
    if (imaging::sniffFormat(bytes) == imaging::None)
        return Outcome::Unsupported;
    imaging::DecodeResult decoded = imaging::decodeBytes(bytes);
    if (!decoded.ok())
        return Outcome::Failed;
    engine.setImage(std::move(decoded.image), path);
    QByteArray encoded;
    if (!(engine.*(filter.apply))() ||
        !imaging::encodeImage(engine.image(), engine.image().format, encoding, encoded))
        return Outcome::Failed;
    OutputCommit commit;
    commit.index = index;
    commit.source = path;
    commit.sourceStamp = read.stamp;
    commit.target = path;
    commit.bytes = std::move(encoded);
    commit.partial = decoded.partial;
    return commitOutput(run, commit).ok ? Outcome::Filtered : Outcome::Failed;
}

QString countText(int n, const char* one, const char* many) {
    return n == 1 ? QLatin1String(one) : QString::number(n) + QLatin1String(many);
}

void reportSkipped(Ui& ui, const BatchFilterSummary& s, const QStringList& failedFiles) {
    QStringList lines;
    if (s.unsupported > 0)
        lines << countText(s.unsupported, "1 unsupported file was skipped",
                           " unsupported files were skipped");
    if (s.failed > 0) {
        lines << countText(s.failed, "1 file could not be filtered and was left as it was:",
                           " files could not be filtered and were left as they were:");
        // The first few names; the rest would only make the box too tall.
        constexpr int kNamesShown = 10;
        lines << failedFiles.mid(0, kNamesShown);
        if (failedFiles.size() > kNamesShown)
            lines << QStringLiteral("...");
    }
    if (!lines.isEmpty())
        ui.messageBox(QStringLiteral("Errors"), lines.join(QLatin1Char('\n')), MessageButtons::Ok,
                      MessageIcon::Information);
}

} // namespace

BatchFilterSummary applyBatchFilter(Workspace& ws, Ui& ui, const QString& name,
                                    const QStringList& targets) {
    BatchFilterSummary summary;
    const BatchFilter* filter = findBatchFilter(name);
    if (!filter)
        return summary;
    const int count = static_cast<int>(targets.size());
    if (ws.settings.confirmActions == 1) {
        ws.lastAnswer = ui.messageBox(
            QStringLiteral("Batch Process ") + QString::number(count) + QStringLiteral(" files"),
            filter->question, MessageButtons::YesNo, MessageIcon::Question);
        if (ws.lastAnswer == Answer::No)
            return summary;
    }
    setStatus(ui, true);
    ui.setProgressRange(0, count);

    ImagingEngine engine;
    const imaging::EncodeOptions encoding{ws.settings.jpegLuminance, ws.settings.jpegChrominance};
    QStringList failedFiles;
    RunFiles run(targets);
    for (int i = 0; i < count; ++i) {
        const QString& path = targets[i];
        switch (filterFile(engine, run, i, path, *filter, encoding)) {
        case Outcome::Filtered:
            ++summary.filtered;
            if (ws.settings.historyLimit != 0)
                ws.addHistory(path + filter->historySuffix);
            break;
        case Outcome::Unsupported:
            ++summary.unsupported;
            break;
        case Outcome::Failed:
            ++summary.failed;
            failedFiles << path;
            break;
        }
        ui.setProgressValue(i + 1);
    }
    engine.release();

    rereadAndRefreshSelection(ws);
    resetPreview(ws);
    setStatus(ui, false);
    reportSkipped(ui, summary, failedFiles);
    return summary;
}

} // namespace dovi::batch
