#include "imaging/LargeBuffers.h"

#include "TestSupport.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace dovi::imaging;

TEST(LargeBuffers, WholeFilesReadBackExactlyOnBothSidesOfTheHeapLimit) {
    QTemporaryDir dir;
    for (const std::size_t size : {std::size_t(0), std::size_t(1), kLargeBufferBytes - 1,
                                   kLargeBufferBytes, kLargeBufferBytes + 12345}) {
        QByteArray content(qsizetype(size), Qt::Uninitialized);
        QRandomGenerator(unsigned(size))
            .fillRange(reinterpret_cast<quint32*>(content.data()), content.size() / 4);
        const QString path = dir.filePath(QString::number(size));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();

        QString error;
        struct stat facts {};
        const auto read = readWholeFile(path, &error, &facts);
        ASSERT_TRUE(read) << size << error.toStdString();
        EXPECT_EQ(read->size(), size);
        EXPECT_EQ(std::memcmp(read->data(), content.constData(), size), 0) << size;
        EXPECT_EQ(std::size_t(facts.st_size), size);
    }
}

TEST(LargeBuffers, UnreadableOrOversizedFilesSayWhy) {
    QTemporaryDir dir;
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

TEST(LargeBuffers, LargePicturesBehaveLikeAnyOther) {
    // Small, just over the limit, and with rows that need padding to 32 bits.
    const struct {
        int width, height;
        QImage::Format format;
    } cases[] = {{64, 48, QImage::Format_RGB32},
                 {1200, 1000, QImage::Format_ARGB32},
                 {1501, 1001, QImage::Format_RGB888}};
    for (const auto& c : cases) {
        QImage image = allocateImage(c.width, c.height, c.format);
        ASSERT_FALSE(image.isNull()) << c.width;
        ASSERT_EQ(image.size(), QSize(c.width, c.height));
        EXPECT_EQ(image.bytesPerLine() % 4, 0);
        const QImage pattern =
            dovi::test::makeTestPattern(c.width, c.height, image.hasAlphaChannel())
                .convertToFormat(c.format);
        for (int y = 0; y < c.height; ++y)
            std::memcpy(image.scanLine(y), pattern.constScanLine(y), pattern.bytesPerLine());
        const QImage copy = image.copy();
        image = QImage(); // the buffer goes; the copy must not depend on it
        EXPECT_EQ(copy, pattern) << c.width;
    }
    EXPECT_TRUE(allocateImage(0, 10, QImage::Format_RGB32).isNull());
}
