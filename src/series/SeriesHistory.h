#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The series history "series.dat" in the program folder: one record per line,
// ended by CR LF, in the locale's 8-bit encoding:
//   "holiday",13,#FALSE#
// the series text in double quotes (a quote inside is not escaped), the next
// free index as a 32-bit decimal, and #TRUE# when the index goes before the
// text. Several records may share a text; readers use the first.
namespace dovi::series {

struct SeriesRecord {
    QString text;
    qint32 nextIndex = 1;
    bool prefix = false;
    bool operator==(const SeriesRecord&) const = default;
};

QString seriesHistoryPath(const QString& programFolder);

// One record as a line, without the line end.
QByteArray formatRecord(const SeriesRecord& record);
// One line (its line end already cut) back into a record; nullopt when the
// line is damaged. Fields are taken from the right, so commas and quotes in
// the text survive.
std::optional<SeriesRecord> parseRecord(const QByteArray& line);

struct SeriesHistoryRead {
    bool exists = false;
    QList<SeriesRecord> records; // in file order, up to the first damaged line
    bool damaged = false;
    QString error; // why a history that exists could not be read
};

SeriesHistoryRead readSeriesHistory(const QString& programFolder);

// True when any line of the history, damaged lines skipped, is a record.
bool anyRecordIn(const QString& programFolder);

// Rewrites "series.dat" without the records whose text is one of removeTexts
// (exact comparison) and with appended added at the end: the new content goes
// to "tempseries.dat", which then replaces "series.dat" in one step, so a
// crash or a full disk leaves the old history whole. Lines that cannot be read
// are kept as they are. A missing history counts as empty; one that exists
// but cannot be read fails the rewrite, and stays as it is.
bool rewriteSeriesHistory(const QString& programFolder, const QStringList& removeTexts,
                          const QList<SeriesRecord>& appended, QString* error = nullptr);

// Deletes "series.dat" (after making it writable); true when it is gone.
bool deleteSeriesHistory(const QString& programFolder);

} // namespace dovi::series
