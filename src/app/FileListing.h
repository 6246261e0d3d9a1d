#pragma once
#include "app/Settings.h"

#include <QString>
#include <QStringList>

namespace dovi {

// The six entries of the file-type list, in order.
const QStringList& filterCaptions();
// The name pattern of a file-type entry, or an empty string for an index
// outside 0..5 (which leaves the list's pattern as it was).
QString patternForFilter(int index);

// True when name matches any of the ";"-separated wildcard masks of pattern
// ("*" any run, "?" one character), ignoring letter case. "*.*" matches every
// name, with or without a dot.
bool matchesPattern(const QString& name, const QString& pattern);

// Which attributes a listing shows. A file is listed when every attribute it
// carries is shown; a file carrying none is always listed. Folders never are.
struct AttributeRules {
    bool archive = true;
    bool hidden = false;
    bool readOnly = true;
    bool system = false;

    static AttributeRules fromSettings(const Settings& s);
    bool operator==(const AttributeRules&) const = default;
    // The statistics listing: archive and read-only shown, hidden and system not.
    static AttributeRules forStatistics() { return {}; }
};

// The names of folder's files that match pattern and pass rules, in the order a
// file manager shows them ("img2" before "img10"). Names that are not valid in
// the locale's encoding are skipped: they could not be opened again by name.
// An unreadable or missing folder lists nothing, and sets *error (when given)
// to the errno of the failed read; 0 after a good read.
QStringList listFolder(const QString& folder, const QString& pattern, const AttributeRules& rules,
                       int* error = nullptr);

// Sorts names in natural order, in place.
void sortNaturally(QStringList& names);

} // namespace dovi
