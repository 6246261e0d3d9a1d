#include "series/windows/AddSeriesWindow.h"
#include "series/windows/SeriesCommandBindings.h"
#include "series/windows/SeriesWindow.h"

#include "app/FolderState.h"
#include "shell/CommandTable.h"

#include "RecordingShell.h"
#include "WorkspaceFixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace dovi;
using namespace dovi::test;

// The fields' rules are the operation's; the window stays open on a refusal
// with the focus on the field at fault, and closes once the series is made.
// Escape closes it without renaming.
TEST_F(PicturesFixture, CreateASeriesWindowKeepsItselfOpenUntilTheFieldsAreRight) {
    const QStringList targets = make({"a.jpg", "b.jpg"});
    SeriesWindow window(nullptr, *ws, ui, targets);
    window.show();
    window.seriesEdit()->setText("trip");
    window.indexEdit()->setText("x");
    QTest::keyClick(window.seriesEdit(), Qt::Key_Return);
    EXPECT_EQ(window.focusWidget(), window.indexEdit());
    EXPECT_TRUE(window.isVisible());

    window.indexEdit()->setText("7");
    window.prefixOption()->setChecked(true);
    QTest::keyClick(window.seriesEdit(), Qt::Key_Return);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(readFile(pic("7trip.jpg")), "a.jpg");

    SeriesWindow second(nullptr, *ws, ui, {pic("8trip.jpg")});
    second.show();
    second.seriesEdit()->setText("trip");
    QTest::keyClick(second.seriesEdit(), Qt::Key_Escape);
    EXPECT_FALSE(second.isVisible());
    EXPECT_EQ(readFile(pic("8trip.jpg")), "b.jpg");
}

// Continuing and removing records are the operation's; the window continues
// the chosen record and closes once the last record is removed.
TEST_F(PicturesFixture, AddToSeriesWindowListsRecordsContinuesAndRemoves) {
    writeFile(seriesPath(), "\"home\",2,#TRUE#\r\n\"trip\",4,#FALSE#\r\n");
    AddSeriesWindow window(nullptr, *ws, ui, make({"x.jpg"}));
    window.show();
    ASSERT_EQ(window.seriesList()->count(), 2);
    window.seriesList()->item(1)->setSelected(true);
    window.runKey("okay");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(readFile(pic("trip4.jpg")), "x.jpg");

    ws->settings.confirmActions = 0;
    AddSeriesWindow last(nullptr, *ws, ui, {});
    last.show();
    last.seriesList()->selectAll();
    QTest::mouseClick(last.removeButton(), Qt::LeftButton);
    EXPECT_FALSE(last.isVisible());
    EXPECT_FALSE(QFile::exists(seriesPath()));
}

TEST_F(PicturesFixture, SeriesCommandsNeedFilesAndReachTheOperations) {
    CommandDispatcher commands;
    RecordingShell shell;
    bindSeriesCommands(commands, {*ws, ui, nullptr, shell});
    EXPECT_TRUE(commands.runControl("mnucreateseries"));
    make({"a.jpg"});
    rereadFiles(*ws);
    EXPECT_TRUE(runToolbarKey(commands, "addseries"));
    writeFile(seriesPath(), "\"a\",1,#TRUE#\r\n");
    ui.answers = {Answer::No, Answer::Yes};
    for (const bool kept : {true, false}) {
        EXPECT_TRUE(commands.runControl("mnuclearhist"));
        EXPECT_EQ(QFile::exists(seriesPath()), kept);
    }
    EXPECT_EQ(ui.promptTexts(), QStringList({"No files to action!", "No series history exists",
                                             "Clear series history?", "Clear series history?"}));
}
