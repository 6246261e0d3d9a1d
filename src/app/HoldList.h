#pragma once
#include <QString>
#include <QStringList>

namespace dovi {

// Files set aside from any number of folders. The full paths and the names
// shown in the drop-down are kept together: every change touches both at the
// same index. The same file may be held more than once.
class HoldList {
public:
    void append(const QString& fullPath);
    void removeAt(int index);
    void clear(); // empties both lists; "Bypass Hold List" stays as it is

    const QStringList& fullPaths() const { return holdlong_; }
    const QStringList& names() const { return holdshort_; }
    int count() const { return static_cast<int>(holdlong_.size()); }
    bool isEmpty() const { return holdlong_.isEmpty(); }

    // The entry chosen in the drop-down; -1 when none.
    int chosenIndex() const { return chosen_; }
    void choose(int index) { chosen_ = (index >= 0 && index < count()) ? index : -1; }

    // "Bypass Hold List": act on the selection even though files are held.
    bool bypass = false;

    // The name part of a full path: the text after its last "/".
    static QString namePart(const QString& fullPath);
    // The folder part, up to and including the last "/".
    static QString folderPart(const QString& fullPath);

private:
    QStringList holdlong_;
    QStringList holdshort_;
    int chosen_ = -1;
};

} // namespace dovi
