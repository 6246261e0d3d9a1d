#include "browser/FolderStatistics.h"

#include "WorkspaceFixture.h"

#include <QLocale>

using namespace dovi;
using dovi::test::WorkspaceFixture;

// The statistics group digits by the user's locale: a comma one here.
TEST_F(WorkspaceFixture, FolderStatisticsTotalAndAverageTheListedFiles) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QString pics = folder("pics");
    makeFiles(pics, {"readme.txt"});
    show(pics);
    browser::FolderStatistics s = browser::showFolderStatistics(*ws, ui);
    EXPECT_EQ(s.size + "|" + s.colours, "Current Folder Size|Empty Folder");
    dovi::test::writeFile(pics + "/empty.jpg", QByteArray());
    show(pics);
    EXPECT_EQ(browser::showFolderStatistics(*ws, ui).colours, "(b)") << "zero is empty";

    const std::pair<const char*, qint64> files[] = {
        {"a.jpg", 1000}, {"b.bmp", 2000}, {"c.tga", 3001}, {"notes.txt", 5000}};
    for (const auto& [name, size] : files)
        dovi::test::writeFile(pics + "/" + name, QByteArray(size, 'x'));
    makeFiles(pics, {".hidden.jpg"}, 9000); // the statistics listing hides it
    show(pics);
    s = browser::showFolderStatistics(*ws, ui);
    EXPECT_EQ(QStringList({s.size, s.colours, s.bpp.value_or("-")}),
              QStringList({"Total Displayed Files", "6,001(b)", "Avg Size: 1,500(b)"}))
        << "the average rounded to a whole byte";
    EXPECT_TRUE(ui.progressCaptions.contains("Calculating Folder Size"));
    dovi::test::writeFile(pics + "/c.tga", QByteArray(3003, 'x'));
    EXPECT_EQ(browser::showFolderStatistics(*ws, ui).bpp, "Avg Size: 1,501(b)");
    QLocale::setDefault(saved);
}
