#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace dovi {
class Workspace;
class Ui;
} // namespace dovi

// Hold list files (".hld"): one held path per line, in double quotes, ended by
// CR LF, in the locale's 8-bit encoding.
namespace dovi::browser {

inline const QString kHoldListEmptyMessage = QStringLiteral("The Hold List is empty");
inline const QString kSaveHoldListTitle = QStringLiteral("Save Dovi Hold List");
inline const QString kOpenHoldListTitle = QStringLiteral("Open Hold List");
inline const QString kHoldListFilter = QStringLiteral("Dovi Hold Lists (*.hld)");
inline const QString kHoldListFileName = QStringLiteral("Dovi.hld");

// The file's lines for these paths, without line ends.
QStringList holdListLines(const QStringList& fullPaths);

// The entries of a hold list file. A field starts after leading spaces; a
// quoted field runs to the next quote and whatever follows it up to the line's
// end or the next comma is skipped; an unquoted field runs to the next comma
// or the line's end. Lines end in CR LF or LF.
QStringList readHoldListEntries(const QString& text);

// Asks for a file and writes the hold list there (warns when it is empty).
void saveHoldList(Workspace& ws, Ui& ui);

// Asks for a hold list file and replaces the hold list with those of its
// files that still exist. When none does, offers to delete the list file.
void openHoldList(Workspace& ws, Ui& ui);

} // namespace dovi::browser
