#include "series/windows/AddSeriesWindow.h"
#include "series/windows/SeriesWindow.h"

#include "WorkspaceFixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolBar>

using namespace dovi;
using namespace dovi::test;

namespace {

struct SeriesWindows : PicturesFixture {
    QStringList toolKeys(QToolBar* bar) {
        QStringList keys;
        for (QAction* a : bar->actions())
            keys << a->objectName();
        return keys;
    }
};

} // namespace

TEST_F(SeriesWindows, CreateASeriesStartsWithItsDefaults) {
    SeriesWindow window(nullptr, *ws, ui, {});
    EXPECT_EQ(window.objectName(), "frmSeries");
    EXPECT_EQ(window.windowTitle(), "Create a Series");
    EXPECT_EQ(window.seriesEdit()->text(), "");
    EXPECT_EQ(window.indexEdit()->text(), "1");
    EXPECT_EQ(window.prefixOption()->text(), "Index is Prefix");
    EXPECT_EQ(window.suffixOption()->text(), "Index is Suffix");
    EXPECT_TRUE(window.suffixOption()->isChecked());
    EXPECT_FALSE(window.prefixOption()->isChecked());
    EXPECT_EQ(window.historyBox()->text(), "Add this Series to the History file");
    EXPECT_TRUE(window.historyBox()->isChecked());
    EXPECT_EQ(toolKeys(window.toolBar()), QStringList({"okay", "cancel"}));
    QStringList labels;
    for (QLabel* l : window.findChildren<QLabel*>())
        labels << l->text();
    EXPECT_TRUE(labels.contains("Series Text"));
    EXPECT_TRUE(labels.contains("Start Index At"));
}

TEST_F(SeriesWindows, EnterInTheTextRunsOkayAndMissingDataKeepsTheWindow) {
    const QStringList targets = make({"a.jpg", "b.jpg"});
    SeriesWindow window(nullptr, *ws, ui, targets);
    window.show();
    QTest::keyClick(window.seriesEdit(), Qt::Key_Return);
    EXPECT_EQ(ui.promptTexts(), QStringList{"Please enter the required data"});
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.focusWidget(), window.seriesEdit());

    window.seriesEdit()->setText("trip");
    window.indexEdit()->setText("x");
    QTest::keyClick(window.seriesEdit(), Qt::Key_Return);
    EXPECT_EQ(ui.promptTexts().last(), "The series index must be numeric");
    EXPECT_EQ(window.focusWidget(), window.indexEdit());
    EXPECT_TRUE(window.isVisible());

    window.indexEdit()->setText("7");
    window.prefixOption()->setChecked(true);
    QTest::keyClick(window.seriesEdit(), Qt::Key_Return);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(readFile(pic("7trip.jpg")), "a.jpg");
    EXPECT_EQ(readFile(pic("8trip.jpg")), "b.jpg");
    EXPECT_EQ(readFile(seriesPath()), "\"trip\",9,#TRUE#\r\n");
}

TEST_F(SeriesWindows, EscapeInTheTextOrCancelClosesWithoutRenaming) {
    const QStringList targets = make({"a.jpg"});
    for (const bool escape : {true, false}) {
        SeriesWindow window(nullptr, *ws, ui, targets);
        window.show();
        window.seriesEdit()->setText("trip");
        if (escape)
            QTest::keyClick(window.seriesEdit(), Qt::Key_Escape);
        else
            window.toolBar()->actions().at(1)->trigger();
        EXPECT_EQ(window.result(), QDialog::Rejected);
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(readFile(pic("a.jpg")), "a.jpg");
    }
}

TEST_F(SeriesWindows, FocusSelectsTheWholeText) {
    SeriesWindow window(nullptr, *ws, ui, {});
    window.show();
    window.activateWindow();
    window.indexEdit()->setText("640");
    window.indexEdit()->deselect();
    window.indexEdit()->setFocus(Qt::TabFocusReason);
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(window.indexEdit(), &focusIn);
    QTRY_COMPARE(window.indexEdit()->selectedText(), QString("640"));
}

TEST_F(SeriesWindows, AddToSeriesListsRecordsContinuesAndRemoves) {
    writeFile(seriesPath(), "\"trip\",4,#FALSE#\r\n\"home\",2,#TRUE#\r\n\"trip\",9,#TRUE#\r\n");
    const QStringList targets = make({"x.jpg"});
    AddSeriesWindow window(nullptr, *ws, ui, targets);
    window.show();
    EXPECT_EQ(window.objectName(), "frmAdd");
    EXPECT_EQ(window.windowTitle(), "Add to Series");
    EXPECT_EQ(window.findChild<QLabel*>("Label1")->text(),
              "The following series details have been recorded:");
    EXPECT_EQ(window.removeButton()->text(), "Remove");
    EXPECT_EQ(toolKeys(window.toolBar()), QStringList({"okay", "cancel"}));
    ASSERT_EQ(window.seriesList()->count(), 3);

    window.runKey("okay");
    EXPECT_EQ(ui.promptTexts(), QStringList{"Select a series from the list"});
    EXPECT_TRUE(window.isVisible());

    ws->settings.confirmActions = 0;
    window.seriesList()->item(1)->setSelected(true);
    QTest::mouseClick(window.removeButton(), Qt::LeftButton);
    ASSERT_EQ(window.seriesList()->count(), 2);
    EXPECT_EQ(window.seriesList()->item(1)->text(), "trip");

    window.seriesList()->item(1)->setSelected(true);
    window.runKey("okay");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(readFile(pic("trip4.jpg")), "x.jpg");
    EXPECT_EQ(readFile(seriesPath()), "\"trip\",5,#FALSE#\r\n");
}

TEST_F(SeriesWindows, RemovingTheLastRecordClosesTheWindow) {
    writeFile(seriesPath(), "\"only\",1,#FALSE#\r\n");
    ws->settings.confirmActions = 1;
    ui.answers = {Answer::Yes};
    AddSeriesWindow window(nullptr, *ws, ui, {});
    window.show();
    window.seriesList()->item(0)->setSelected(true);
    QTest::mouseClick(window.removeButton(), Qt::LeftButton);
    EXPECT_EQ(ui.promptTexts(), QStringList{"Remove selected item?"});
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(QFile::exists(seriesPath()));
}
