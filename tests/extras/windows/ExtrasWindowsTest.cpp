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
#include <QSlider>
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
    static QStringList texts(QWidget& w, const QStringList& boxes) {
        QStringList out;
        for (const QString& name : boxes)
            out << child<QLineEdit>(w, name.toLatin1().constData())->text();
        return out;
    }
};

} // namespace

TEST_F(Preferences, EditsStoreAtOnceAndTheConversionBoxesFollowTheirRule) {
    SettingsWindow window(nullptr, *ws, shell);
    Settings& s = ws->settings;
    child<QCheckBox>(window, "system")->click();
    EXPECT_EQ(s.includeSystem, 1);
    child<QSlider>(window, "interval")->setValue(45);
    EXPECT_EQ(s.slideInterval, 45);

    auto* altsave = child<QCheckBox>(window, "altsave");
    auto* convonly = child<QCheckBox>(window, "convonly");
    auto* delorig = child<QCheckBox>(window, "delorig");
    convonly->click();
    EXPECT_FALSE(convonly->isChecked()) << "cleared again at once";
    EXPECT_EQ(s.convertOnly, 0);
    altsave->click();
    convonly->click();
    delorig->click();
    EXPECT_EQ(s.convertOnly + s.deleteOriginal, 2);
    altsave->click();
    EXPECT_FALSE(convonly->isChecked() || delorig->isChecked());
    EXPECT_EQ(s.altSaveFormatOn + s.convertOnly + s.deleteOriginal, 0);

    child<QRadioButton>(window, "op1612")->click();
    EXPECT_EQ(QSize(s.processWidth, s.processHeight), QSize(1600, 1200));
}

TEST_F(Preferences, CustomBoxesSelectCustomSizeAndKeepTheLastValidNumber) {
    std::tie(ws->settings.processWidth, ws->settings.processHeight) = std::tuple(1000, 700);
    SettingsWindow window(nullptr, *ws, shell);
    window.show();
    auto* width = child<QLineEdit>(window, "iwidth");
    auto* height = child<QLineEdit>(window, "iheight");
    EXPECT_EQ(texts(window, {"iwidth", "iheight", "lines"}), QStringList({"1000", "700", "500"}));
    EXPECT_TRUE(child<QRadioButton>(window, "opCustom")->isChecked());
    child<QRadioButton>(window, "op64")->click();
    EXPECT_EQ(texts(window, {"iwidth", "iheight"}), QStringList(2, QString()))
        << "a preset empties them";

    width->setFocus();
    QTest::keyClicks(width, "1280");
    EXPECT_TRUE(child<QRadioButton>(window, "opCustom")->isChecked());
    QTest::keyClick(width, Qt::Key_Return); // leaving the box stores its number
    EXPECT_EQ(ws->settings.processWidth, 1280);
    QTest::keyClicks(height, "12ab");
    emit height->editingFinished();
    EXPECT_EQ(height->text(), "480") << "letters: the last valid number comes back";
    EXPECT_EQ(ws->settings.processHeight, 480);

    window.reject();
    EXPECT_EQ(QSize(ws->settings.processWidth, ws->settings.processHeight), QSize(1280, 480));
}

TEST_F(Preferences, BrowseKeepsTheFoldersCaseAndClosingRunsTheSteps) {
    shell.selectedFolders = {QString("/media/D/Photos"), QString("/"), std::nullopt};
    SettingsWindow window(nullptr, *ws, shell);
    child<QToolButton>(window, "startupbrowse")->click();
    EXPECT_EQ(ws->settings.startupFolder, "/media/D/Photos/");
    child<QToolButton>(window, "altsavefldbrowse")->click();
    EXPECT_EQ(ws->settings.altSaveFolderPath, "/");
    child<QToolButton>(window, "startupbrowse")->click(); // cancelled
    EXPECT_EQ(child<QLineEdit>(window, "startup")->text(), "/media/D/Photos/");

    child<QLineEdit>(window, "lines")->setText("letters");
    child<QLineEdit>(window, "limitamount")->setText("1234567");
    window.reject();
    EXPECT_EQ(std::pair(ws->settings.historyLimit, ws->settings.previewLimitKb),
              std::pair(5000, 256000));
    EXPECT_EQ(shell.calls, QStringList({"selectFolder", "selectFolder", "selectFolder",
                                        "showSlideshowOptions", "showProcessingSize"}));
}

TEST_F(Preferences, QuickLinksAddRemoveAndShowAFolderWhileStayingOpen) {
    ws->currentFolder = "/home/me/Pics";
    FavsWindow window(nullptr, *ws, ui, shell);
    window.show();
    window.addButton()->click();
    ws->currentFolder = "/";
    window.addButton()->click();
    window.addButton()->click();
    EXPECT_EQ(window.links()->count(), 3);

    window.links()->setCurrentRow(1);
    window.removeButton()->click();
    ASSERT_EQ(window.links()->count(), 1) << "both entries for / went";
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
