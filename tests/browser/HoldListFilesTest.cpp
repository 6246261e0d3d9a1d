#include "browser/HoldListFiles.h"
#include "browser/ListFiles.h"

#include "WorkspaceFixture.h"

#include <QFile>
#include <QFileInfo>

using namespace dovi;
using dovi::test::WorkspaceFixture;

namespace {

struct HoldListFiles : WorkspaceFixture {
    QString pics;
    void SetUp() override {
        WorkspaceFixture::SetUp();
        pics = filesIn("pics", {"a.jpg", "b.bmp", "c.tga", "d.pcx", "e.jpg", "été, 1.jpg"});
        browser::changeFolder(*ws, pics);
    }
    void hold(const QStringList& names) {
        for (const QString& n : names)
            ws->hold.append(pics + "/" + n);
        ws->hold.choose(0);
    }
    QString listFile(const QString& name) const { return dir.filePath(name); }
};

} // namespace

TEST_F(HoldListFiles, SaveWritesQuotedCrLfLinesAndOpenHoldsTheSameFilesInOrder) {
    hold({"c.tga", "été, 1.jpg", "a.jpg", "c.tga"});
    ui.chosenPaths = {listFile("work")};
    browser::saveHoldList(*ws, ui);
    const QByteArray expected = "\"" + (pics + "/c.tga").toUtf8() + "\"\r\n\"" +
                                (pics + "/été, 1.jpg").toUtf8() + "\"\r\n\"" +
                                (pics + "/a.jpg").toUtf8() + "\"\r\n\"" +
                                (pics + "/c.tga").toUtf8() + "\"\r\n";
    EXPECT_EQ(test::readFile(listFile("work.hld")), expected);
    EXPECT_EQ(ws->history.lines().last(), "Saved the hold list");

    const QStringList saved = ws->hold.fullPaths();
    ws->hold.clear();
    ws->hold.bypass = true;
    ui.chosenPaths = {listFile("work.hld")};
    browser::openHoldList(*ws, ui);
    EXPECT_EQ(ws->hold.fullPaths(), saved);
    EXPECT_EQ(ws->hold.names(), QStringList({"c.tga", "été, 1.jpg", "a.jpg", "c.tga"}));
    EXPECT_EQ(ws->hold.chosenIndex(), 0);
    EXPECT_TRUE(ws->hold.bypass) << "opening leaves the bypass box alone";
    EXPECT_EQ(browser::heldPanelText(*ws), "Held : 4");
    EXPECT_EQ(ws->history.lines().last(), "Opened a hold list");
    EXPECT_TRUE(ui.prompts.isEmpty());
}

TEST_F(HoldListFiles, TheChosenNameKeepsOnlyAnExactLowerOrUpperExtension) {
    const struct {
        const char* typed;
        const char* written;
    } cases[] = {{"work", "work.hld"},
                 {"work.HLD", "work.HLD"},
                 {"work.Hld", "work.Hld.hld"},
                 {"other.hld", "other.hld"},
                 {"work.hld.txt", "work.hld.txt.hld"}};
    hold({"a.jpg"});
    for (const auto& c : cases) {
        ui.chosenPaths = {listFile(c.typed)};
        browser::saveHoldList(*ws, ui);
        EXPECT_TRUE(QFileInfo::exists(listFile(c.written))) << c.typed;
        EXPECT_EQ(browser::listFileTarget(c.typed, ".hld"), c.written);
    }
    EXPECT_TRUE(ui.prompts.isEmpty()) << "every target was new";
}

TEST_F(HoldListFiles, SavingOverAnExistingFileAsksFirstAndNoKeepsIt) {
    test::writeFile(listFile("work.hld"), "old");
    hold({"a.jpg"});
    ui.chosenPaths = {listFile("work")};
    ui.answers = {Answer::No};
    browser::saveHoldList(*ws, ui);
    ASSERT_EQ(ui.prompts.size(), 1);
    EXPECT_EQ(ui.prompts[0].title, "Query");
    EXPECT_EQ(ui.prompts[0].text, "File Already Exists. Overwrite it ?");
    EXPECT_EQ(ui.prompts[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(ui.prompts[0].icon, MessageIcon::Question);
    EXPECT_EQ(test::readFile(listFile("work.hld")), "old");
    EXPECT_EQ(ws->lastAnswer, Answer::No);
    EXPECT_TRUE(ws->history.isEmpty());

    ui.chosenPaths = {listFile("work")};
    ui.answers = {Answer::Yes};
    browser::saveHoldList(*ws, ui);
    EXPECT_EQ(test::readFile(listFile("work.hld")), "\"" + (pics + "/a.jpg").toUtf8() + "\"\r\n");
}

TEST_F(HoldListFiles, SavingAnEmptyHoldListWarnsWithoutADialog) {
    ui.chosenPaths = {listFile("work")};
    browser::saveHoldList(*ws, ui);
    EXPECT_EQ(ui.promptTexts(), QStringList({"The Hold List is empty"}));
    EXPECT_EQ(ui.chosenPaths.size(), 1u) << "no dialog was shown";
    EXPECT_FALSE(QFileInfo::exists(listFile("work.hld")));
}

TEST_F(HoldListFiles, OpeningSkipsFilesThatHaveGoneWithoutAMessage) {
    hold({"a.jpg", "b.bmp", "c.tga", "d.pcx", "e.jpg"});
    ui.chosenPaths = {listFile("five")};
    browser::saveHoldList(*ws, ui);
    QFile::remove(pics + "/b.bmp");
    QFile::remove(pics + "/d.pcx");
    ui.chosenPaths = {listFile("five.hld")};
    browser::openHoldList(*ws, ui);
    EXPECT_EQ(ws->hold.names(), QStringList({"a.jpg", "c.tga", "e.jpg"}));
    EXPECT_EQ(browser::heldPanelText(*ws), "Held : 3");
    EXPECT_TRUE(ui.prompts.isEmpty());
}

TEST_F(HoldListFiles, WhenNoFileIsLeftTheListFileMayBeRemovedEvenIfReadOnly) {
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        const QString path = listFile("gone.hld");
        test::writeFile(path, "\"" + dir.filePath("missing.jpg").toUtf8() + "\"\r\n");
        QFile::setPermissions(path, QFileDevice::ReadOwner);
        hold({"a.jpg"});
        ui.prompts.clear();
        ui.chosenPaths = {path};
        ui.answers = {answer};
        browser::openHoldList(*ws, ui);
        EXPECT_TRUE(ws->hold.isEmpty());
        ASSERT_EQ(ui.prompts.size(), 1);
        EXPECT_EQ(ui.prompts[0].title, "Open Hold List");
        EXPECT_EQ(ui.prompts[0].text, "These files no longer exist. Remove " + path + "?");
        EXPECT_EQ(ui.prompts[0].buttons, MessageButtons::YesNo);
        EXPECT_EQ(ui.prompts[0].icon, MessageIcon::Question);
        EXPECT_EQ(QFileInfo::exists(path), answer == Answer::No);
        EXPECT_EQ(browser::heldPanelText(*ws), "Held : 0");
        EXPECT_EQ(ws->history.lines().last(), "Opened a hold list");
    }
}

TEST_F(HoldListFiles, FieldsFollowTheQuotingAndCommaRules) {
    const struct {
        const char* text;
        QStringList entries;
    } cases[] = {
        {"\"/p/a.jpg\"\r\n\"/p/b.jpg\"\r\n", {"/p/a.jpg", "/p/b.jpg"}},
        {"\"/p/a.jpg\"\n\"/p/b.jpg\"", {"/p/a.jpg", "/p/b.jpg"}},
        {"  \"/p/a, b.jpg\" junk,\"/p/c.jpg\"\r\n", {"/p/a, b.jpg", "/p/c.jpg"}},
        {"/p/a.jpg,/p/b.jpg\r\n", {"/p/a.jpg", "/p/b.jpg"}},
        {"   /p/a.jpg\r\n\r\n", {"/p/a.jpg", ""}},
        {"\"/p/unclosed.jpg", {"/p/unclosed.jpg"}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(browser::readHoldListEntries(QString::fromUtf8(c.text)), c.entries) << c.text;
}

TEST_F(HoldListFiles, OpeningHoldsOnlyExistingFilesNamedByFullPath) {
    const QString path = listFile("mixed.hld");
    test::writeFile(path, "\"" + pics.toUtf8() +
                              "\"\r\n"             // a folder
                              "\"pics/a.jpg\"\r\n" // relative
                              "\"" +
                              (pics + "/e.jpg").toUtf8() + "\"\r\n");
    ui.chosenPaths = {path};
    browser::openHoldList(*ws, ui);
    EXPECT_EQ(ws->hold.fullPaths(), QStringList({pics + "/e.jpg"}));
}

TEST_F(HoldListFiles, AFileThatCannotBeReadIsReportedAndTheHoldListKept) {
    hold({"a.jpg"});
    for (const QString& bad : {listFile("nothing.hld"), pics}) {
        ui.prompts.clear();
        ui.chosenPaths = {bad};
        browser::openHoldList(*ws, ui);
        ASSERT_EQ(ui.prompts.size(), 1) << bad.toStdString();
        EXPECT_TRUE(ui.prompts[0].text.startsWith("Could not open " + bad));
        EXPECT_EQ(ws->hold.count(), 1);
    }
    ui.prompts.clear();
    browser::openHoldList(*ws, ui); // cancelled
    EXPECT_TRUE(ui.prompts.isEmpty());
    EXPECT_EQ(ws->hold.count(), 1);
}
