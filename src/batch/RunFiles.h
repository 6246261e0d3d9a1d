#pragma once
#include "platform/FileStamp.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <utility>

namespace dovi::batch {

// The files one run works on and the files it has written, so that no file
// of the run replaces another's picture: two sources that come to the same
// output name (p.jpg from two folders, q.bmp and q.tga to JPEG), or an output
// that would land on a source not yet processed.
class RunFiles {
public:
    explicit RunFiles(const QStringList& sources);

    // Why the file at index may not write target, or empty when it may. A
    // file may always replace itself, unless this run already wrote it.
    QString refusal(int index, const QString& target) const;
    // Notes an output the run has written.
    void wrote(const QString& target, const platform::FileStamp& stamp);

private:
    using Inode = std::pair<quint64, quint64>;
    static Inode inodeOf(const platform::FileStamp& s) { return {s.device, s.inode}; }

    QStringList sourceKeys_; // by index
    QList<platform::FileStamp> sourceStamps_;
    QSet<QString> allSourceKeys_;
    QSet<Inode> allSourceInodes_;
    QSet<QString> writtenKeys_;
    QSet<Inode> writtenInodes_;
};

} // namespace dovi::batch
