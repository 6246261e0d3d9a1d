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

// The fields' rules are the operation's; the window stays open on a refusal
// with the focus on the field at fault, and closes once the series is made.
TEST_F(PicturesFixture, CreateASeriesWindowKeepsItselfOpenUntilTheFieldsAreRight) {
    const QStringList targets = make({"a.jpg", "b.jpg"});
    SeriesWindow window(nullptr, *ws, ui, targets);
    window.show();
    EXPECT_EQ(window.indexEdit()->text(), "1");
    EXPECT_TRUE(window.suffixOption()->isChecked() && window.historyBox()->isChecked());
    window.seriesEdit()->setText("trip");
    window.indexEdit()->setText("x");
    QTest::keyClick(window.seriesEdit(), Qt::Key_Return);
    EXPECT_EQ(ui.promptTexts(), QStringList{"The series index must be numeric"});
    EXPECT_EQ(window.focusWidget(), window.indexEdit());
    EXPECT_TRUE(window.isVisible());

    // Focus selects the whole text.
    window.indexEdit()->setText("640");
    window.indexEdit()->deselect();
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(window.indexEdit(), &focusIn);
    QTRY_COMPARE(window.indexEdit()->selectedText(), QString("640"));

    window.indexEdit()->setText("7");
    window.prefixOption()->setChecked(true);
    QTest::keyClick(window.seriesEdit(), Qt::Key_Return);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(readFile(pic("7trip.jpg")), "a.jpg");
    EXPECT_EQ(readFile(seriesPath()), "\"trip\",9,#TRUE#\r\n");
}

TEST_F(PicturesFixture, EscapeInTheSeriesTextOrCancelClosesWithoutRenaming) {
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
    EXPECT_EQ(readFile(seriesPath()), "\"home\",2,#TRUE#\r\n\"trip\",5,#FALSE#\r\n");

    ws->settings.confirmActions = 0;
    writeFile(seriesPath(), "\"trip\",5,#FALSE#\r\n");
    AddSeriesWindow last(nullptr, *ws, ui, {});
    last.show();
    last.seriesList()->item(0)->setSelected(true);
    QTest::mouseClick(last.removeButton(), Qt::LeftButton);
    EXPECT_FALSE(last.isVisible());
    EXPECT_FALSE(QFile::exists(seriesPath()));
}
