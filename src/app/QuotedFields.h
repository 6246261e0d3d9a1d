#pragma once
#include <QString>
#include <QStringList>

namespace dovi {

// The entries of a list file of quoted paths (hold lists, quick links). A
// field starts after leading spaces; a quoted field runs to the next quote and
// whatever follows it up to the line's end or the next comma is skipped; an
// unquoted field runs to the next comma or the line's end. Lines end in CR LF
// or LF.
QStringList readQuotedFields(const QString& text);

// One quoted line per entry, each ended by CR LF, in the locale's 8-bit
// encoding: what such list files hold.
QByteArray quotedLines(const QStringList& entries);

} // namespace dovi
