#pragma once
#include <QByteArray>
#include <QString>

// File names as the kernel sees them: bytes, usually but not always UTF-8.
// A name that is not valid UTF-8 (an old Latin-1 file, say) must still reach
// the very same file, so each byte that is not part of a valid UTF-8 sequence
// is carried in the string as the lone surrogate U+DC00 + byte and turned
// back into that byte on the way out. Valid UTF-8 maps exactly as Qt maps it.
namespace dovi::platform {

QString pathFromNative(const QByteArray& bytes);
QByteArray nativePath(const QString& path);

} // namespace dovi::platform
