#include "app/QuotedFields.h"

namespace dovi {

namespace {
bool isLineEnd(QChar c) {
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}
} // namespace

QStringList readQuotedFields(const QString& text) {
    QStringList entries;
    const qsizetype n = text.size();
    qsizetype pos = 0;
    while (pos < n) {
        while (pos < n && text[pos] == QLatin1Char(' '))
            ++pos;
        if (pos >= n)
            break;
        QString field;
        if (text[pos] == QLatin1Char('"')) {
            qsizetype close = text.indexOf(QLatin1Char('"'), pos + 1);
            if (close < 0)
                close = n;
            field = text.mid(pos + 1, close - pos - 1);
            pos = close + 1;
            while (pos < n && text[pos] != QLatin1Char(',') && !isLineEnd(text[pos]))
                ++pos;
        } else {
            const qsizetype start = pos;
            while (pos < n && text[pos] != QLatin1Char(',') && !isLineEnd(text[pos]))
                ++pos;
            field = text.mid(start, pos - start);
        }
        if (pos < n) {
            if (text[pos] == QLatin1Char('\r') && pos + 1 < n && text[pos + 1] == QLatin1Char('\n'))
                ++pos;
            ++pos;
        }
        entries << field;
    }
    return entries;
}

QByteArray quotedLines(const QStringList& entries) {
    QByteArray out;
    for (const QString& entry : entries)
        out += (QLatin1Char('"') + entry + QLatin1Char('"')).toLocal8Bit() + "\r\n";
    return out;
}

} // namespace dovi
