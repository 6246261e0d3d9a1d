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
        EXPECT_TRUE(!readWholeFile(path, &error) && !error.isEmpty()) << path.toStdString();
    }
}
