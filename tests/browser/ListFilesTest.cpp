// The hold list file (.hld) and the exported history (.hst): two list files
// that share their naming, overwrite and failure rules.
#include "browser/ListFiles.h"
#include "browser/HistoryOperations.h"
#include "browser/HoldListFiles.h"

#include "WorkspaceFixture.h"

#include <QFileInfo>

using namespace dovi;
using namespace dovi::test;

namespace {

struct ListFiles : WorkspaceFixture {
    QString pics;
    void SetUp() override {
        WorkspaceFixture::SetUp();
        pics = filesIn("pics", {"a.jpg", "b.bmp", "c.tga", "d.pcx", "e.jpg", "été, 1.jpg"});
        changeFolder(*ws, pics);
    }
    void hold(const QStringList& names) {
        for (const QString& n : names)
            ws->hold.append(pics + "/" + n);
        ws->hold.choose(0);
    }
    QString out(const QString& name) const { return dir.filePath(name); }
    QByteArray quoted(const QString& name) const {
        return "\"" + (pics + "/" + name).toUtf8() + "\"\r\n";
    }
    void openHoldList(const QString& path) {
        ui.prompts.clear();
        ui.chosenPaths = {path};
        browser::openHoldList(*ws, ui);
    }
};

// What differs between the two list files.
const struct ListKind {
    const char* extension;
    void (*save)(Workspace&, Ui&);
    void (*fill)(ListFiles&); // gives the list something to write
    const char* emptyMessage;
} kKinds[] = {
    {".hld", browser::saveHoldList, [](ListFiles& f) { f.hold({"a.jpg"}); },
     "The Hold List is empty"},
    {".hst", browser::exportHistory, [](ListFiles& f) { f.ws->addHistory("new"); },
     "The History List is empty"},
};

} // namespace

// An empty list warns without a dialog; the chosen name keeps only an exact
// lower or upper extension; a file there already is replaced only after Yes;
// a failed write says why.
TEST_F(ListFiles, SavingNamesWarnsAsksBeforeReplacingAndReportsFailures) {
    for (const ListKind& k : kKinds) {
        SCOPED_TRACE(k.extension);
        const QString e = k.extension;
        ui.prompts.clear();
        ui.chosenPaths = {out("work")};
        k.save(*ws, ui);
        EXPECT_EQ(ui.promptTexts(), QStringList({k.emptyMessage}));

        k.fill(*this);
        for (const QString& typed :
             QStringList{"work", "work" + e.toUpper(), "work.H" + e.mid(2), "work" + e + ".txt"}) {
            ui.chosenPaths = {out(typed)};
            k.save(*ws, ui);
        }
        for (const QString& written : QStringList{"work" + e, "work" + e.toUpper(),
                                                  "work.H" + e.mid(2) + e, "work" + e + ".txt" + e})
            EXPECT_TRUE(QFileInfo::exists(out(written))) << written.toStdString();

        const QString target = out("work" + e);
        writeFile(target, "old");
        ui.prompts.clear();
        ui.chosenPaths = {out("work"), out("work")};
        ui.answers = {Answer::No, Answer::Yes};
        k.save(*ws, ui);
        EXPECT_EQ(ui.prompts, Prompts({question("Query", "File Already Exists. Overwrite it ?")}));
        EXPECT_EQ(readFile(target), "old");
        k.save(*ws, ui);
        EXPECT_NE(readFile(target), "old");

        ui.prompts.clear();
        ui.chosenPaths = {out("no-such-folder/log")};
        k.save(*ws, ui);
        ASSERT_EQ(ui.prompts.size(), 1);
        EXPECT_EQ(ui.prompts[0].text.section(':', 0, 0),
                  "Could not save " + out("no-such-folder/log") + k.extension);
        ws->history.clear();
    }
    EXPECT_EQ(readFile(out("work.hld")), quoted("a.jpg"));
    EXPECT_EQ(readFile(out("work.hst")), "new\r\n");
}

TEST_F(ListFiles, ExportWritesEveryLineOldestFirstAndTheLimitTrimsTheOldest) {
    ws->settings.historyLimit = 3;
    for (const char* line : {"a", "Viewed /p/a.jpg", "Saved the hold list", "Ünïcode /p/é.jpg"})
        ws->addHistory(line);
    ui.chosenPaths = {out("log")};
    browser::exportHistory(*ws, ui);
    EXPECT_EQ(readFile(out("log.hst")),
              QString("Viewed /p/a.jpg\r\nSaved the hold list\r\nÜnïcode /p/é.jpg\r\n").toUtf8());
    EXPECT_EQ(ws->history.count(), 3) << "no line of its own";
    ws->history.add("e", 1); // lowering the limit removes one line per call only
    EXPECT_EQ(ws->history.count(), 3);
    browser::clearHistory(*ws);
    EXPECT_EQ(ws->history.count(), 0);
    ws->history.add("heading", 0);
    EXPECT_TRUE(ws->history.isEmpty()) << "a limit of 0 keeps nothing";
}

TEST_F(ListFiles, SaveWritesQuotedCrLfLinesAndOpenHoldsTheSameFilesInOrder) {
    hold({"c.tga", "été, 1.jpg", "a.jpg", "c.tga"});
    ui.chosenPaths = {out("work")};
    browser::saveHoldList(*ws, ui);
    EXPECT_EQ(readFile(out("work.hld")),
              quoted("c.tga") + quoted("été, 1.jpg") + quoted("a.jpg") + quoted("c.tga"));
    EXPECT_EQ(ws->history.lines().last(), "Saved the hold list");

    const QStringList saved = ws->hold.fullPaths();
    ws->hold.clear();
    ws->hold.bypass = true;
    openHoldList(out("work.hld"));
    EXPECT_EQ(ws->hold.fullPaths(), saved);
    EXPECT_TRUE(ws->hold.bypass) << "opening leaves the bypass box alone";
    EXPECT_EQ(ws->history.lines().last(), "Opened a hold list");

    // Only existing files named by full path are held, without a message.
    writeFile(out("mixed.hld"), "\"" + pics.toUtf8() + "\"\r\n\"pics/a.jpg\"\r\n" +
                                    quoted("b.bmp") + quoted("gone.pcx") + quoted("e.jpg"));
    openHoldList(out("mixed.hld"));
    EXPECT_EQ(ws->hold.fullPaths(), QStringList({pics + "/b.bmp", pics + "/e.jpg"}));
    EXPECT_TRUE(ui.prompts.isEmpty());

    // A file that cannot be read is reported and the hold list kept.
    for (const QString& bad : {out("nothing.hld"), pics, QString()}) {
        openHoldList(bad);
        EXPECT_EQ(ui.prompts.size(), bad.isEmpty() ? 0 : 1) << bad.toStdString();
        EXPECT_EQ(ui.promptTexts().value(0).startsWith("Could not open " + bad), !bad.isEmpty());
        EXPECT_EQ(ws->hold.count(), 2);
    }
}

TEST_F(ListFiles, WhenNoFileIsLeftTheListFileMayBeRemovedEvenIfReadOnly) {
    const DataHome data(dir.filePath("data")); // the trash of this test
    const QString trashed = dir.filePath("data/Trash/files/gone.hld");
    const QString path = out("gone.hld");
    for (const Answer answer : {Answer::No, Answer::Yes, Answer::Yes}) {
        // The last run deletes outright; the one before goes to the trash.
        ws->settings.recycleDeleted = QFileInfo::exists(trashed) ? 0 : 1;
        writeFile(path, "\"" + dir.filePath("missing.jpg").toUtf8() + "\"\r\n");
        QFile::setPermissions(path, QFileDevice::ReadOwner);
        hold({"a.jpg"});
        ui.answers = {answer};
        openHoldList(path);
        const QString asked = "These files no longer exist. Remove " + path + "?";
        EXPECT_EQ(ui.prompts, Prompts({question("Open Hold List", asked)}));
        EXPECT_TRUE(ws->hold.isEmpty());
        EXPECT_EQ(std::tuple(QFileInfo::exists(path), QFileInfo::exists(trashed)),
                  std::tuple(answer == Answer::No, answer == Answer::Yes));
    }
}

TEST(HoldListEntries, FieldsFollowTheQuotingAndCommaRules) {
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
    };
    for (const auto& c : cases)
        EXPECT_EQ(browser::readHoldListEntries(QString::fromUtf8(c.text)), c.entries) << c.text;

    // Every path written reads back as the same file or is left out.
    const QStringList paths = {"/p/a.jpg",        "/p/a, b.jpg",        "/p/say \"hi\".jpg",
                               "/p/\"q\", c.jpg", "/p/line\nbreak.jpg", "/p/ lead.jpg"};
    QStringList kept;
    for (const QString& p : paths)
        if (browser::holdListLine(p))
            kept << p;
    EXPECT_EQ(kept, QStringList({"/p/a.jpg", "/p/a, b.jpg", "/p/say \"hi\".jpg", "/p/ lead.jpg"}));
    EXPECT_EQ(browser::readHoldListEntries(browser::holdListLines(paths).join("\r\n")), kept);
}
