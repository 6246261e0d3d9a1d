#include "imaging/LargeBuffers.h"

#include "TestSupport.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace dovi::imaging;

// Files on both sides of the size where buffers leave the heap read back
// exactly; files that cannot be read, or are too large to be a picture, say why.
TEST(LargeBuffers, WholeFilesReadBackExactlyOrSayWhyNot) {
    QTemporaryDir dir;
    for (const std::size_t size : {std::size_t(0), std::size_t(1), kLargeBufferBytes - 1,
                                   kLargeBufferBytes, kLargeBufferBytes + 12345}) {
        QByteArray content(qsizetype(size), Qt::Uninitialized);
        QRandomGenerator(unsigned(size))
            .fillRange(reinterpret_cast<quint32*>(content.data()), content.size() / 4);
        const QString path = dir.filePath(QString::number(size));
        ASSERT_TRUE(dovi::test::writeFile(path, content));
        QString error;
        struct stat facts {};
        const auto read = readWholeFile(path, &error, &facts);
        ASSERT_TRUE(read) << size << error.toStdString();
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(read->data()), qsizetype(read->size())),
                  content);
        EXPECT_EQ(std::size_t(facts.st_size), size);
    }
    QFile huge(dir.filePath("huge.bmp")); // sparse: takes no disk
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(kMaxImageFileBytes + 1));
    huge.close();
    const QString fifo = dir.filePath("pipe.jpg"); // must not wait for a writer
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    for (const QString& path : {dir.filePath("missing"), dir.path(), huge.fileName(), fifo}) {
        QString error;
        EXPECT_FALSE(readWholeFile(path, &error)) << path.toStdString();
        EXPECT_FALSE(error.isEmpty()) << path.toStdString();
    }
}

// Small, just over the heap limit, and with rows that need padding to 32
// bits: each holds its pixels, and a copy outlives the buffer.
TEST(LargeBuffers, LargePicturesBehaveLikeAnyOther) {
    for (const auto& [width, height, format] :
         {std::tuple{64, 48, QImage::Format_RGB32}, std::tuple{1200, 1000, QImage::Format_ARGB32},
          std::tuple{1501, 1001, QImage::Format_RGB888}}) {
        QImage image = allocateImage(width, height, format);
        ASSERT_EQ(image.size(), QSize(width, height));
        EXPECT_EQ(image.bytesPerLine() % 4, 0);
        const QImage pattern = dovi::test::makeTestPattern(width, height, image.hasAlphaChannel())
                                   .convertToFormat(format);
        for (int y = 0; y < height; ++y)
            std::memcpy(image.scanLine(y), pattern.constScanLine(y), pattern.bytesPerLine());
        const QImage copy = image.copy();
        image = QImage(); // the buffer goes; the copy must not depend on it
        EXPECT_EQ(copy, pattern) << width;
    }
    EXPECT_TRUE(allocateImage(0, 10, QImage::Format_RGB32).isNull());
}
