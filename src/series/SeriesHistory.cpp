#include "series/SeriesHistory.h"

#include "app/ProgramFiles.h"
#include "app/SharedServices.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace dovi::series {

namespace {

const QByteArray kTrue = QByteArrayLiteral("#TRUE#");
const QByteArray kFalse = QByteArrayLiteral("#FALSE#");
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

std::optional<qint32> parseIndex(const QByteArray& field) {
    const QByteArray digits = field.startsWith('-') ? field.mid(1) : field;
    if (digits.isEmpty() || digits.size() > 10)
        return std::nullopt;
    for (const char c : digits)
        if (c < '0' || c > '9')
            return std::nullopt;
    bool ok = false;
    const qlonglong value = field.toLongLong(&ok);
    if (!ok || value < std::numeric_limits<qint32>::min() ||
        value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(value);
}

void setError(QString* error, const QString& what) {
    if (error)
        *error = what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

// The whole file. A missing file reads as empty; one that exists but cannot
// be read (no permission, a folder, a FIFO: never waited on) gives the reason.
QByteArray readAllOf(const QString& path, bool* exists, QString* error) {
    *exists = false;
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        if (errno != ENOENT) {
            *exists = true;
            setError(error, QStringLiteral("could not read ") + path);
        }
        return {};
    }
    *exists = true;
    QByteArray all;
    struct stat facts {};
    if (::fstat(fd, &facts) != 0) {
        setError(error, QStringLiteral("could not read ") + path);
    } else if (S_ISDIR(facts.st_mode)) {
        errno = EISDIR;
        setError(error, QStringLiteral("could not read ") + path);
    } else if (!S_ISREG(facts.st_mode)) {
        if (error)
            *error =
                QStringLiteral("could not read ") + path + QStringLiteral(": not a regular file");
    } else {
        char buffer[64 * 1024];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                setError(error, QStringLiteral("could not read ") + path);
                all.clear();
                break;
            }
            if (n == 0)
                break;
            all.append(buffer, n);
        }
    }
    ::close(fd);
    return all;
}

// The lines of the file, their ends (CR LF or LF) cut.
QList<QByteArray> readLines(const QString& path, bool* exists, QString* error) {
    QList<QByteArray> lines = readAllOf(path, exists, error).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the end of the last line, not a line
    for (QByteArray& line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return lines;
}

bool writeAll(int fd, const QByteArray& data) {
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

} // namespace

QString seriesHistoryPath(const QString& programFolder) {
    return programFilePath(programFolder, kSeriesFileName);
}

QByteArray formatRecord(const SeriesRecord& record) {
    return '"' + record.text.toLocal8Bit() + "\"," + QByteArray::number(record.nextIndex) + ',' +
           (record.prefix ? kTrue : kFalse);
}

std::optional<SeriesRecord> parseRecord(const QByteArray& line) {
    const qsizetype flagComma = line.lastIndexOf(',');
    if (flagComma <= 0)
        return std::nullopt;
    const qsizetype indexComma = line.lastIndexOf(',', flagComma - 1);
    if (indexComma < 0)
        return std::nullopt;
    const QByteArray flag = line.mid(flagComma + 1).trimmed();
    const QByteArray text = line.left(indexComma).trimmed();
    const auto index = parseIndex(line.mid(indexComma + 1, flagComma - indexComma - 1).trimmed());
    if (!index || (flag != kTrue && flag != kFalse) || text.size() < 2 || !text.startsWith('"') ||
        !text.endsWith('"'))
        return std::nullopt;
    return SeriesRecord{QString::fromLocal8Bit(text.mid(1, text.size() - 2)), *index,
                        flag == kTrue};
}

SeriesHistoryRead readSeriesHistory(const QString& programFolder) {
    SeriesHistoryRead out;
    const QList<QByteArray> lines =
        readLines(seriesHistoryPath(programFolder), &out.exists, &out.error);
    for (const QByteArray& line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        const auto record = parseRecord(line);
        if (!record) {
            out.damaged = true;
            break;
        }
        out.records.append(*record);
    }
    return out;
}

bool anyRecordIn(const QString& programFolder) {
    bool exists = false;
    QString error;
    for (const QByteArray& line : readLines(seriesHistoryPath(programFolder), &exists, &error))
        if (parseRecord(line))
            return true;
    return false;
}

bool rewriteSeriesHistory(const QString& programFolder, const QStringList& removeTexts,
                          const QList<SeriesRecord>& appended, QString* error) {
    const QString target = seriesHistoryPath(programFolder);
    const QString temp = programFilePath(programFolder, kTempSeriesFileName);
    bool exists = false;
    QString readError;
    const QList<QByteArray> lines = readLines(target, &exists, &readError);
    // A history that is there but cannot be read is never replaced by one
    // holding only what this rewrite adds.
    if (!readError.isEmpty()) {
        if (error)
            *error = readError;
        return false;
    }
    QByteArray content;
    for (const QByteArray& line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        const auto record = parseRecord(line);
        if (record && removeTexts.contains(record->text))
            continue;
        content += line + kLineEnd;
    }
    for (const SeriesRecord& record : appended)
        content += formatRecord(record) + kLineEnd;

    const QByteArray tempName = QFile::encodeName(temp);
    ::unlink(tempName.constData()); // an old one, or a link that must not be written through
    const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        setError(error, QStringLiteral("could not create ") + temp);
        return false;
    }
    // On disk in full before it takes the history's name.
    const bool written = writeAll(fd, content) && ::fsync(fd) == 0;
    if (!written)
        setError(error, QStringLiteral("could not write ") + temp);
    ::close(fd);
    if (!written) {
        ::unlink(tempName.constData());
        return false;
    }
    if (::rename(tempName.constData(), QFile::encodeName(target).constData()) != 0) {
        setError(error, QStringLiteral("could not replace ") + target);
        ::unlink(tempName.constData());
        return false;
    }
    return true;
}

bool deleteSeriesHistory(const QString& programFolder) {
    const QString path = seriesHistoryPath(programFolder);
    if (fileExists(path)) {
        clearAttributes(path);
        QFile::remove(path);
    }
    return !fileExists(path);
}

} // namespace dovi::series
