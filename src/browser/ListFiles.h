#pragma once
#include "app/Ui.h"

#include <QString>
#include <QStringList>

namespace dovi {
class Workspace;
}

// What the hold list files and the history export share: the name rule, the
// overwrite question and the way their lines are written.
namespace dovi::browser {

inline const QString kOverwriteQuestion = QStringLiteral("File Already Exists. Overwrite it ?");
inline const QString kOverwriteTitle = QStringLiteral("Query");

// The file a chosen name writes to: the name itself when it already ends in
// the extension written all lower case or all upper case (".hld", ".HLD"),
// otherwise the name with the lower-case extension added ("work.Hld.hld").
QString listFileTarget(const QString& chosen, const QString& extension);

// Asks "File Already Exists. Overwrite it ?" (Yes/No, titled "Query") and
// keeps the answer as the last answer. True for Yes.
bool confirmOverwrite(Workspace& ws, Ui& ui);

// Writes each line in the locale's 8-bit encoding followed by CR LF, through a
// temporary file renamed into place, so a failed write leaves any old file as
// it was. On failure returns false with the reason in error.
bool writeCrLfLines(const QString& path, const QStringList& lines, QString* error);

// Reads a whole list file of at most maxBytes; false with the reason when it
// can't be read (missing, a folder, unreadable, too large).
bool readListFile(const QString& path, qint64 maxBytes, QByteArray& out, QString* error);

} // namespace dovi::browser
