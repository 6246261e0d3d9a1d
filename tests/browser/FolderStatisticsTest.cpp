#include "browser/FolderStatistics.h"

#include "WorkspaceFixture.h"

#include <QLocale>

using namespace dovi;
using dovi::test::WorkspaceFixture;

namespace {

// The statistics group digits by the user's locale: a comma one here.
struct StatisticsFixture : WorkspaceFixture {
    QLocale saved;
    void SetUp() override {
        WorkspaceFixture::SetUp();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override { QLocale::setDefault(saved); }
};

} // namespace

TEST_F(StatisticsFixture, TotalsAndAverageOfTheListedFilesGroupedByThousands) {
    const QString pics = folder("pics");
    const struct {
        const char* name;
        qint64 size;
    } files[] = {{"a.jpg", 1000}, {"b.bmp", 2000}, {"c.tga", 3000}, {"notes.txt", 5000}};
    for (const auto& f : files)
        ASSERT_TRUE(dovi::test::writeFile(pics + "/" + f.name, QByteArray(f.size, 'x')));
    makeFiles(pics, {".hidden.jpg"}, 9000); // the statistics listing hides it
    show(pics);

    const browser::FolderStatistics s = browser::showFolderStatistics(*ws, ui);
    EXPECT_EQ(s.size, "Total Displayed Files");
    EXPECT_EQ(s.colours, "6,000(b)");
    EXPECT_EQ(s.bpp, "Avg Size: 2,000(b)");
    EXPECT_EQ(ui.progressCaptions.first(), "Calculating Folder Size");
    EXPECT_EQ(ui.progressMaximum, 3);
    EXPECT_EQ(ui.highestProgress(), 3);
    EXPECT_FALSE(ui.idleLightBusy);
    EXPECT_EQ(ui.progressCaptions.last(), "Dovi - Idle");

    // The average is rounded to a whole number of bytes.
    ASSERT_TRUE(dovi::test::writeFile(pics + "/c.tga", QByteArray(3001, 'x')));
    EXPECT_EQ(browser::showFolderStatistics(*ws, ui).bpp, "Avg Size: 2,000(b)");
    ASSERT_TRUE(dovi::test::writeFile(pics + "/c.tga", QByteArray(3002, 'x')));
    EXPECT_EQ(browser::showFolderStatistics(*ws, ui).bpp, "Avg Size: 2,001(b)");
}

TEST_F(StatisticsFixture, AFolderWithoutListedFilesSaysSoAndLeavesTheDepthLabel) {
    const QString pics = folder("pics");
    makeFiles(pics, {"readme.txt"});
    show(pics);
    const browser::FolderStatistics s = browser::showFolderStatistics(*ws, ui);
    EXPECT_EQ(s.size, "Current Folder Size");
    EXPECT_EQ(s.colours, "Empty Folder");
    EXPECT_FALSE(s.bpp.has_value());
    EXPECT_FALSE(ui.progressCaptions.contains("Calculating Folder Size"));

    // Zero bytes in all: an empty string where the number would be.
    ASSERT_TRUE(dovi::test::writeFile(pics + "/empty.jpg", QByteArray()));
    show(pics);
    EXPECT_EQ(browser::showFolderStatistics(*ws, ui).colours, "(b)");
}
