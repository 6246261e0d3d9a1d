#include "extras/windows/ExtrasCommandBindings.h"
#include "extras/windows/FavsWindow.h"
#include "extras/windows/SettingsWindow.h"

#include "app/CommandDispatcher.h"
#include "shell/CommandTable.h"

#include "RecordingShell.h"
#include "WorkspaceFixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

using namespace dovi;
using namespace dovi::test;

namespace {

struct Preferences : WorkspaceFixture {
    RecordingShell shell;
    template <typename W> static W* child(QWidget& w, const char* name) {
        W* found = w.findChild<W*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

} // namespace

TEST_F(Preferences, EditsStoreAtOnceAndTheConversionBoxesFollowTheirRule) {
    SettingsWindow window(nullptr, *ws, shell);
    Settings& s = ws->settings;
    auto* altsave = child<QCheckBox>(window, "altsave");
    auto* convonly = child<QCheckBox>(window, "convonly");
    convonly->click();
    EXPECT_FALSE(convonly->isChecked()) << "cleared again at once";
    EXPECT_EQ(s.convertOnly, 0);
    altsave->click();
    convonly->click();
    EXPECT_EQ(s.convertOnly, 1);
    altsave->click();
    EXPECT_FALSE(convonly->isChecked());
    EXPECT_EQ(s.altSaveFormatOn + s.convertOnly, 0);
}

TEST_F(Preferences, CustomBoxesSelectCustomSizeAndKeepTheLastValidNumber) {
    std::tie(ws->settings.processWidth, ws->settings.processHeight) = std::tuple(1000, 700);
    SettingsWindow window(nullptr, *ws, shell);
    window.show();
    auto* width = child<QLineEdit>(window, "iwidth");
    auto* height = child<QLineEdit>(window, "iheight");
    EXPECT_EQ(height->text(), "700");
    child<QRadioButton>(window, "op1612")->click();
    EXPECT_EQ(QSize(ws->settings.processWidth, ws->settings.processHeight), QSize(1600, 1200));
    EXPECT_EQ(width->text() + height->text(), QString()) << "a preset empties them";

    width->setFocus();
    QTest::keyClicks(width, "1280");
    EXPECT_TRUE(child<QRadioButton>(window, "opCustom")->isChecked());
    QTest::keyClick(width, Qt::Key_Return); // leaving the box stores its number
    EXPECT_EQ(ws->settings.processWidth, 1280);
    QTest::keyClicks(height, "12ab");
    emit height->editingFinished();
    EXPECT_EQ(height->text(), "1200") << "letters: the last valid number comes back";
    EXPECT_EQ(ws->settings.processHeight, 1200);
}

TEST_F(Preferences, BrowseKeepsTheFoldersCaseAndClosingRunsTheSteps) {
    shell.selectedFolders = {QString("/media/D/Photos"), QString("/")};
    SettingsWindow window(nullptr, *ws, shell);
    child<QToolButton>(window, "startupbrowse")->click();
    EXPECT_EQ(ws->settings.startupFolder, "/media/D/Photos/");
    child<QToolButton>(window, "altsavefldbrowse")->click();
    EXPECT_EQ(ws->settings.altSaveFolderPath, "/");
    window.reject();
    EXPECT_EQ(shell.calls, QStringList({"selectFolder", "selectFolder", "showSlideshowOptions",
                                        "showProcessingSize"}));
}

TEST_F(Preferences, QuickLinksAddRemoveAndShowAFolderWhileStayingOpen) {
    ws->currentFolder = "/home/me/Pics";
    FavsWindow window(nullptr, *ws, ui, shell);
    window.show();
    window.addButton()->click();
    ws->currentFolder = "/";
    window.addButton()->click();
    window.links()->setCurrentRow(1);
    window.removeButton()->click();
    ASSERT_EQ(window.links()->count(), 1);
    QListWidgetItem* item = window.links()->item(0);
    EXPECT_EQ(item->text(), "/home/me/Pics");
    emit window.links()->itemDoubleClicked(item);
    EXPECT_EQ(shell.calls, QStringList{"showFolder /home/me/Pics"});
    EXPECT_TRUE(window.isVisible());
}

TEST_F(Preferences, TheDesktopCommandsUseTheGivenTools) {
    CommandDispatcher commands;
    QList<QUrl> opened;
    extras::DesktopTools tools;
    tools.run = [](const QString&, const QStringList&, QByteArray*) { return -1; };
    tools.startDetached = [](const QString&, const QStringList&) { return false; };
    tools.openUrl = [&](const QUrl& url) { return opened << url, true; };
    bindExtrasCommands(commands, {*ws, ui, nullptr, shell}, extras::Desktop::Unknown, tools,
                       dir.filePath("data"));
    ws->currentFolder = dir.path();
    EXPECT_TRUE(runToolbarKey(commands, "explorer"));
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(dir.path())});
    EXPECT_TRUE(runToolbarKey(commands, "wallpaper"));
    EXPECT_EQ(ui.promptTexts(), QStringList{"Please select a single image file"});
}
