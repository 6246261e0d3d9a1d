#pragma once
#include <QString>
#include <optional>

namespace dovi {

// A path handed to the program ("dovi PATH", a file manager's "Open With"):
// the folder to show and the file to select in it.
struct OpenRequest {
    QString folder;   // as the browser keeps folders: no trailing "/" but for "/"
    QString fileName; // "" for a folder
};

// The argument as an absolute path: relative to workingFolder, a "file:" URL
// ("file://...") taken as its local path. "" for an empty argument.
QString absoluteArgument(const QString& argument, const QString& workingFolder);

// What to show for an absolute path: a folder itself, a file its folder with
// the file selected; nothing when neither exists.
std::optional<OpenRequest> openRequestFor(const QString& absolutePath);

} // namespace dovi
