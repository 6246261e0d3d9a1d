#include "fileops/CopyMove.h"

#include "app/ActionList.h"
#include "app/CommandFrame.h"
#include "app/FolderState.h"
#include "app/HoldListOperations.h"
#include "app/ProgramFiles.h"
#include "app/SharedServices.h"
#include "app/Version.h"
#include "app/Workspace.h"
#include "fileops/DestinationChooser.h"
#include "platform/FileCopy.h"

#include <QFileInfo>

#include <cerrno>

namespace dovi::fileops {

namespace {

enum class Transfer { Copy, Move };

struct TransferWords {
    QString title;     // the first question's title
    QString verb;      // its first word
    QString caption;   // appended to the main window's caption
    QString pastTense; // "copied to"
};

TransferWords wordsFor(Transfer kind) {
    if (kind == Transfer::Copy)
        return {QStringLiteral("Copy Files"), QStringLiteral("Copy "),
                QStringLiteral(" - Copying File(s)"), QStringLiteral("copied to")};
    return {QStringLiteral("Move Files"), QStringLiteral("Move "),
            QStringLiteral(" - Moving File(s)"), QStringLiteral("moved to")};
}

enum class Step { Done, Failed, Declined };

// One file: the overwrite question, then the copy or move. Nothing is asked
// about a file that cannot be done anyway: a source that has gone, a target
// that is a folder, or a target that is the source itself.
Step transferOne(Workspace& ws, Ui& ui, Transfer kind, const QString& source, const QString& target,
                 QString& reason) {
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.exists() && !sourceInfo.isSymLink()) {
        reason = platform::FileResult::fromErrno(ENOENT).reason;
        return Step::Failed;
    }
    if (QFileInfo(target).isDir()) {
        reason = platform::FileResult::fromErrno(EISDIR).reason;
        return Step::Failed;
    }
    if (platform::isSameFile(source, target)) {
        reason = QStringLiteral("the target is the source file itself");
        return Step::Failed;
    }
    auto overwrite = platform::Overwrite::Never;
    if (fileExists(target)) {
        ws.lastAnswer = ui.messageBox(QStringLiteral("File Exists"),
                                      QStringLiteral("Overwrite ") + target + QLatin1Char('?'),
                                      MessageButtons::YesNo, MessageIcon::Question);
        if (ws.lastAnswer != Answer::Yes)
            return Step::Declined;
        overwrite = platform::Overwrite::Replace;
    }
    const platform::FileResult result = kind == Transfer::Copy
                                            ? platform::copyFile(source, target, overwrite)
                                            : platform::moveFile(source, target, overwrite);
    reason = result.reason;
    return result.ok ? Step::Done : Step::Failed;
}

void tidyUp(Workspace& ws, Ui& ui, Transfer kind, const DestinationResult& destination,
            const QStringList& done) {
    rereadFiles(ws);
    if (destination.makeWorkingFolder)
        changeFolder(ws, destination.folder);
    if (kind == Transfer::Move)
        rereadFiles(ws);
    refreshSelection(ws);
    if (kind == Transfer::Move) {
        // Held files that did not go (a failure, a No to overwriting) stay
        // held, so the user still finds them.
        if (!ws.hold.bypass)
            dropHeldFiles(ws, done);
        resetPreview(ws);
    }
    updateCounters(ws);
    ui.setCaption(applicationTitle());
    setStatus(ui, false);
}

void transferFiles(Workspace& ws, Ui& ui, DestinationChooser& chooser, Transfer kind) {
    const std::optional<QStringList> targets = buildActionList(ws, ui);
    if (!targets)
        return;
    const DestinationResult destination = chooser.choose(ChooserMode::CopyMove);
    if (destination.cancelled)
        return;

    const TransferWords words = wordsFor(kind);
    const QStringList& sources = *targets;
    const int count = int(sources.size());
    if (ws.settings.confirmActions == 1) {
        ws.lastAnswer =
            ui.messageBox(words.title,
                          words.verb + QString::number(count) + QStringLiteral(" file(s) to ") +
                              destination.folder + QStringLiteral(" ?"),
                          MessageButtons::YesNo, MessageIcon::Question);
        if (ws.lastAnswer != Answer::Yes)
            return;
    }

    setStatus(ui, true);
    ui.setCaption(applicationTitle() + words.caption);
    ui.setProgressRange(0, count);
    int errors = 0;
    QStringList done;
    for (int i = 0; i < count; ++i) {
        ui.processEvents();
        const QString& source = sources[i];
        const QString target = joinPath(destination.folder, HoldList::namePart(source));
        QString reason;
        switch (transferOne(ws, ui, kind, source, target, reason)) {
        case Step::Done:
            done << source;
            logLine(ws, source + QLatin1Char(' ') + words.pastTense + QLatin1Char(' ') + target);
            break;
        case Step::Failed:
            ++errors;
            logLine(ws, failureLine(source, words.pastTense + QLatin1Char(' ') + target, reason));
            break;
        case Step::Declined:
            break;
        }
        ui.setProgressValue(i + 1);
    }
    tidyUp(ws, ui, kind, destination, done);
    reportErrors(ws, ui, errors);
}

} // namespace

void copyFiles(Workspace& ws, Ui& ui, DestinationChooser& chooser) {
    transferFiles(ws, ui, chooser, Transfer::Copy);
}

void moveFiles(Workspace& ws, Ui& ui, DestinationChooser& chooser) {
    transferFiles(ws, ui, chooser, Transfer::Move);
}

} // namespace dovi::fileops
