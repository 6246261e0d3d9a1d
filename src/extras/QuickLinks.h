#pragma once
#include <QString>
#include <QStringList>

namespace dovi {
class Ui;
}

// Quick links: the user's favourite folders, one quoted path per line of
// "qlinks.dat" in the program folder, CR LF, the locale's 8-bit encoding, in
// the order they were added. The same folder may be listed more than once.
namespace dovi::extras {

QString quickLinksPath(const QString& programFolder);

// The entries of the file in file order; empty when it is missing or cannot
// be read (first use), without a message.
QStringList readLinks(const QString& programFolder);

// Appends folder as one quoted line, creating the file when missing; the file
// is replaced in one step, never left half written. No check for duplicates
// or for the folder's existence. False, after a message, when the file cannot
// be read or written.
bool addLink(const QString& programFolder, const QString& folder, Ui& ui);

// Drops every entry exactly equal to chosen (case-sensitive; "" when nothing
// is chosen, which keeps every real entry) and replaces the file in one step,
// so a failure leaves it as it was. False, after a message, when the file is
// missing or cannot be read or rewritten.
bool removeLink(const QString& programFolder, const QString& chosen, Ui& ui);

} // namespace dovi::extras
