#pragma once
#include "series/SeriesRenaming.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace dovi {
class Workspace;
class Ui;
} // namespace dovi

namespace dovi::series {

inline const QString kRequiredDataMessage = QStringLiteral("Please enter the required data");
inline const QString kIndexNotNumericMessage = QStringLiteral("The series index must be numeric");
inline const QString kSlashInTextMessage =
    QStringLiteral("The series text cannot contain \"/\": it would name another folder");

// What the "Create a Series" window holds when okay is pressed.
struct SeriesRequest {
    QString text;
    QString index = QStringLiteral("1");
    bool prefix = false;
    bool addToHistory = true;
};

// Where the window goes on after okay: back to a field, or closed.
enum class SeriesStep { FocusSeries, FocusIndex, Done };

// The start index as typed: a decimal number (sign, fraction, exponent and
// surrounding spaces allowed) rounded to the nearest integer, halves to even.
// nullopt when it is not a number or falls outside 32 bits.
std::optional<qint32> parseStartIndex(const QString& text);

// The window's okay command: checks the fields, renames and records the
// series, then empties a consumed hold list and refreshes the file list.
SeriesStep submitSeries(Workspace& ws, Ui& ui, const QStringList& targets,
                        const SeriesRequest& request);

// Renames the action list into the series and, when asked, appends its record
// (text, next free index, placement) to the history. A text holding "/" would
// move the files to another folder: then nothing is renamed or recorded, and
// every file counts as an error.
SeriesRenameRun seriesCreation(Workspace& ws, Ui& ui, const QStringList& targets,
                               const QString& text, qint32 startIndex, bool prefix,
                               bool addToHistory);

// "Clear Series History": asks, then deletes "series.dat" on any answer but No.
void clearSeriesHistory(Workspace& ws, Ui& ui);

// Tells the user a history rewrite failed; the files are renamed regardless.
void reportHistoryNotWritten(Ui& ui, const QString& error);

} // namespace dovi::series
