#pragma once
#include <QString>
#include <optional>

namespace dovi {
class Workspace;
class Ui;
} // namespace dovi

namespace dovi::fileops {

// A file's extension: the text after the last "." of its name (never of a
// folder); nullopt when the name has no ".".
std::optional<QString> extensionOf(const QString& path);

// The path a file takes under the answer: the extension replaced by answer,
// or (answer "$U" / "$L", any case) converted to upper / lower case. nullopt
// when the file stays as it is (no extension to convert).
std::optional<QString> conformedPath(const QString& path, const QString& answer);

// "&Extension Conformity": one extension for every file of the action list,
// or only its case converted. A file whose new name is already another file
// keeps its name and counts in the "Errors" box at the end.
void conformExtensions(Workspace& ws, Ui& ui);

} // namespace dovi::fileops
