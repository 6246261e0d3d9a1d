#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

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

// The line of one path, without its line end: the path in double quotes; a
// path holding a quote itself unquoted (a quoted field would end at it), so it
// reads back as written. nullopt for a path no line can carry: a quote and a
// comma together, or a line break.
std::optional<QString> holdListLine(const QString& fullPath);

// The file's lines for these paths, leaving out those no line can carry.
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
