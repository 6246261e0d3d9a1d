#pragma once
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace dovi::thumbs {

// One thumbnail: the picture at exactly the thumbnail size (proportions not
// kept) and its Windows bitmap file's bytes; both empty when the file could
// not be read.
struct Thumbnail {
    QImage picture;
    QByteArray bitmap;
    QString error;
    bool ok() const { return !picture.isNull(); }
};

// Makes the thumbnail of path: a JPEG is decoded at the smallest DCT scale
// that still covers size, then everything is resampled to size and encoded
// as a bitmap. Safe to call from several threads at once.
Thumbnail makeThumbnail(const QString& path, QSize size);

} // namespace dovi::thumbs
