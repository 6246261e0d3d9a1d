#pragma once
#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <QString>

#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace dovi::test {

// The public image suites live outside the repository, beside it at
// ../shared/corpus. Empty when the folder is absent (a user's clone).
QString corpusDir();

// Skips the current test, saying why, when the corpus is absent.
#define DOVI_REQUIRE_CORPUS()                                                                      \
    do {                                                                                           \
        if (::dovi::test::corpusDir().isEmpty())                                                   \
            GTEST_SKIP() << "image corpus folder not found beside the project";                    \
    } while (0)

// A deterministic picture with smooth ramps, hard edges and (optionally) varied
// alpha, so codec and filter faults show up as pixel differences.
QImage makeTestPattern(int width, int height, bool withAlpha = false);

// Compares two pictures pixel by pixel as ARGB values; the failure message
// names the first differing pixel.
::testing::AssertionResult samePixels(const QImage& expected, const QImage& actual);

// Largest per-channel difference between two same-sized pictures, or 256 when
// their sizes differ.
int maxChannelDifference(const QImage& a, const QImage& b);

QByteArray readFile(const QString& path);
bool writeFile(const QString& path, const QByteArray& data);

} // namespace dovi::test
