#pragma once
#include <QStringList>
#include <optional>

namespace dovi {

class Workspace;
class Ui;

// The full paths every file command acts on: the hold list unless "Bypass
// Hold List" is ticked, else the selection, else every listed file. With none
// of them: "No files to action!" and nothing, after which the caller does
// nothing more.
std::optional<QStringList> buildActionList(const Workspace& ws, Ui& ui);

} // namespace dovi
