#include "imaging/ops/ColourCount.h"
#include "support/ImagingSupport.h"

using dovi::imaging::ops::uniqueColours;

namespace dovi::test {

TEST(ColourCount, CountsExactlyAndIgnoresAlpha) {
    const struct {
        const char* name;
        int w, h;
        std::function<QRgb(int x, int y)> colour;
        qint64 expected;
    } cases[] = {
        {"one colour", 40, 30, [](int, int) { return qRgb(12, 34, 56); }, 1},
        {"black and white", 9, 9,
         [](int x, int) { return x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0); }, 2},
        {"every red and green", 256, 256, [](int x, int y) { return qRgb(x, y, 77); }, 65536},
        {"alpha varies, colour not", 50, 50,
         [](int x, int y) { return qRgba(200, 100, 0, (x * 5 + y) % 256); }, 1},
        // Colours at the ends of the bit set and across a word boundary.
        {"edge colours", 5, 1,
         [](int x, int) {
             const QRgb c[] = {0x000000, 0x00003f, 0x000040, 0xffffff, 0xffffc0};
             return 0xff000000u | c[x];
         },
         5},
        {"repeats", 300, 7, [](int x, int y) { return qRgb(x % 10, y % 2, 0); }, 20},
    };
    for (const auto& c : cases) {
        for (const bool alpha : {true, false})
            EXPECT_EQ(uniqueColours(paint(c.w, c.h, c.colour, alpha)), c.expected)
                << c.name << (alpha ? " ARGB32" : " RGB32");
    }
    EXPECT_EQ(uniqueColours(QImage()), 0);
}

} // namespace dovi::test
