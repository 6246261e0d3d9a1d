#pragma once
#include <QString>
#include <QStringList>

namespace dovi {

// The log of what the user did in this run, oldest line first.
class RunningHistory {
public:
    // Appends a line; when that puts the count over the limit, the oldest line
    // goes. At most one line goes per call, so lowering the limit does not
    // shrink the list at once. A limit of 0 (history off) drops the line again.
    void add(const QString& line, int limit);
    void clear() { lines_.clear(); }
    const QStringList& lines() const { return lines_; }
    int count() const { return static_cast<int>(lines_.size()); }
    bool isEmpty() const { return lines_.isEmpty(); }

    // "Dovi Running History - 3 item(s)"
    QString caption() const;

private:
    QStringList lines_;
};

} // namespace dovi
