#include "about/AboutFacts.h"

#include <gtest/gtest.h>

#include <QLocale>

using namespace dovi::about;

TEST(AboutFacts, DisplayLinesNameTheColourClassOfEachDepth) {
    const struct {
        DisplayMode mode;
        const char* depth;
    } cases[] = {
        {{1024, 768, 16}, "Current Depth: 16 bits per pixel  (High Color)"},
        {{800, 600, 8}, "Current Depth: 8 bits per pixel  (256 Color)"},
        {{1920, 1080, 24}, "Current Depth: 24 bits per pixel  (True Color)"},
        {{1024, 768, 30}, "Current Depth: 30 bits per pixel  "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(depthText(c.mode), c.depth);
    EXPECT_EQ(xResText({1024, 768, 16}), "Current xRes: 1024 pixels");
    EXPECT_EQ(yResText({1024, 768, 16}), "Current yRes: 768 pixels");
}

TEST(AboutFacts, OsReleaseGivesThePrettyNameElseNameAndVersion) {
    const struct {
        const char* text;
        const char* name;
    } cases[] = {
        {"NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n",
         "Debian GNU/Linux 12 (bookworm)"},
        {"PRETTY_NAME='Arch Linux'\r\nNAME=Arch\r\n", "Arch Linux"},
        {"NAME=Fedora\nVERSION=\"39 (Workstation Edition)\"\n", "Fedora 39 (Workstation Edition)"},
        {"# comment PRETTY_NAME=x\nPRETTY_NAME=\"Say \\\"hi\\\" OS\"\n", "Say \"hi\" OS"},
        {"ID=alpine\n", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(prettyNameFromOsRelease(c.text), c.name) << c.text;
    EXPECT_EQ(osVersionText("Debian GNU/Linux 12 (bookworm)"),
              "OS Version: Debian GNU/Linux 12 (bookworm)");
}

TEST(AboutFacts, MeminfoTotalsAndAvailableWithThousandsSeparators) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const struct {
        const char* text;
        const char* total;
        const char* free;
    } cases[] = {
        {"MemTotal:       16318516 kB\nMemFree:          612332 kB\nMemAvailable:    9123456 kB\n",
         "Total Physical Memory: 16,318,516 Kbyte", "Free Physical Memory: 9,123,456 Kbyte"},
        {"MemTotal: 2048000 kB\nMemAvailable: 0 kB\n", "Total Physical Memory: 2,048,000 Kbyte",
         "Free Physical Memory: None (Virtual)"},
        {"MemTotal: lots kB\n", "Total Physical Memory: 0 Kbyte",
         "Free Physical Memory: None (Virtual)"},
    };
    for (const auto& c : cases) {
        const MemoryFacts facts = parseMeminfo(c.text);
        EXPECT_EQ(totalMemoryText(facts), c.total) << c.text;
        EXPECT_EQ(freeMemoryText(facts), c.free) << c.text;
    }
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(thousands(1234567), "1.234.567");
    QLocale::setDefault(QLocale::system());
}
