#include "extras/QuickLinks.h"

#include "WorkspaceFixture.h"

#include <QFile>

using namespace dovi;
using namespace dovi::extras;

namespace {

struct QuickLinks : test::WorkspaceFixture {
    QString linksFile() const { return programFolder() + "/qlinks.dat"; }
    QByteArray bytes() const { return test::readFile(linksFile()); }
    void add(const QStringList& folders) {
        for (const QString& f : folders)
            ASSERT_TRUE(addLink(programFolder(), f, ui));
    }
};

} // namespace

TEST_F(QuickLinks, AddAppendsQuotedCrLfLinesInTheLocaleEncodingAndReadsThemBackInOrder) {
    EXPECT_TRUE(readLinks(programFolder()).isEmpty()) << "first use: empty, no message";
    add({"/home/me/Pics", "/", "/srv/Fotos ä, 2024", "/home/me/Pics"});
    EXPECT_EQ(bytes(), "\"/home/me/Pics\"\r\n\"/\"\r\n" +
                           QString("\"/srv/Fotos ä, 2024\"\r\n").toLocal8Bit() +
                           "\"/home/me/Pics\"\r\n");
    // A later run (a fresh read of the file) lists them as added.
    EXPECT_EQ(readLinks(programFolder()),
              QStringList({"/home/me/Pics", "/", "/srv/Fotos ä, 2024", "/home/me/Pics"}));
    EXPECT_TRUE(ui.prompts.isEmpty());
}

TEST_F(QuickLinks, ReadingTakesLfLinesUnquotedFieldsAndLeadingSpaces) {
    test::writeFile(linksFile(), "\"/a\"\n  \"/b c\"\r\n/d,ignored\r\n\"/e\" trailing\r\n");
    EXPECT_EQ(readLinks(programFolder()), QStringList({"/a", "/b c", "/d", "ignored", "/e"}));
}

TEST_F(QuickLinks, RemoveDropsEveryExactlyEqualEntryAndKeepsTheRestInOrder) {
    const struct {
        const char* chosen;
        QStringList left;
    } cases[] = {
        {"/home/me/Pics", {"/", "/home/me/pics", "/x"}},
        {"/home/me/pics", {"/home/me/Pics", "/", "/home/me/Pics", "/x"}},
        {"/nowhere", {"/home/me/Pics", "/", "/home/me/pics", "/home/me/Pics", "/x"}},
    };
    for (const auto& c : cases) {
        QFile::remove(linksFile());
        add({"/home/me/Pics", "/", "/home/me/pics", "/home/me/Pics", "/x"});
        ASSERT_TRUE(removeLink(programFolder(), c.chosen, ui)) << c.chosen;
        EXPECT_EQ(readLinks(programFolder()), c.left) << c.chosen;
        QByteArray expected;
        for (const QString& l : c.left)
            expected += "\"" + l.toLocal8Bit() + "\"\r\n";
        EXPECT_EQ(bytes(), expected) << c.chosen;
    }
    EXPECT_TRUE(ui.prompts.isEmpty());
    EXPECT_FALSE(QFile::exists(programFolder() + "/templink.dat"));
}

TEST_F(QuickLinks, RemovalThatCannotReadOrRewriteSaysSoAndKeepsTheFile) {
    // Missing at removal time.
    EXPECT_FALSE(removeLink(programFolder(), "/a", ui));
    ASSERT_EQ(ui.prompts.size(), 1);
    EXPECT_TRUE(ui.prompts[0].text.startsWith("Unable to read the quick links file"));
    EXPECT_FALSE(QFile::exists(linksFile()));

    add({"/a", "/b"});
    const QByteArray before = bytes();
    {
        // A full disk: neither a removal nor an add can write the new file.
        test::FileSizeLimit full(before.size() - 2);
        EXPECT_FALSE(removeLink(programFolder(), "/not listed", ui));
        EXPECT_FALSE(addLink(programFolder(), "/a much longer folder name", ui));
    }
    ASSERT_EQ(ui.prompts.size(), 3);
    EXPECT_TRUE(ui.prompts[1].text.startsWith("Unable to rewrite the quick links file"));
    EXPECT_TRUE(ui.prompts[2].text.startsWith("Unable to write the quick links file"));
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(QDir(programFolder()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"qlinks.dat"});
}
