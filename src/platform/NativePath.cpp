#include "platform/NativePath.h"

namespace dovi::platform {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// The length of the valid UTF-8 sequence starting at s[i], or 0.
int validSequenceAt(const QByteArray& s, qsizetype i) {
    const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = byte(i);
    if (c < 0x80)
        return 1;
    int length = 0;
    char32_t code = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
        code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        code = c & 0x07;
    } else {
        return 0;
    }
    if (i + length > s.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        const unsigned char next = byte(i + k);
        if ((next & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not valid.
    if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
        (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

// An escaped byte: a low surrogate of the escape range with no high
// surrogate before it (after one, it is half of a real character).
bool escapedByteAt(const QString& path, qsizetype i) {
    const char16_t u = path[i].unicode();
    if (u < kEscapeBase + 0x80 || u > kEscapeBase + 0xFF)
        return false;
    return i == 0 || !path[i - 1].isHighSurrogate();
}

} // namespace

QString pathFromNative(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    qsizetype runStart = 0;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const int length = validSequenceAt(bytes, i);
        if (length > 0) {
            i += length;
            continue;
        }
        out += QString::fromUtf8(bytes.constData() + runStart, i - runStart);
        out += QChar(char16_t(kEscapeBase + static_cast<unsigned char>(bytes[i])));
        runStart = ++i;
    }
    out += QString::fromUtf8(bytes.constData() + runStart, i - runStart);
    return out;
}

QByteArray nativePath(const QString& path) {
    // The common case, a name with no escaped byte, is Qt's own conversion.
    qsizetype escape = -1;
    for (qsizetype i = 0; i < path.size() && escape < 0; ++i)
        if (escapedByteAt(path, i))
            escape = i;
    if (escape < 0)
        return path.toUtf8();
    QByteArray out = QStringView(path).left(escape).toUtf8();
    qsizetype runStart = escape;
    for (qsizetype i = escape; i < path.size(); ++i) {
        if (!escapedByteAt(path, i))
            continue;
        out += QStringView(path).mid(runStart, i - runStart).toUtf8();
        out += char(path[i].unicode() - kEscapeBase);
        runStart = i + 1;
    }
    out += QStringView(path).mid(runStart).toUtf8();
    return out;
}

} // namespace dovi::platform
