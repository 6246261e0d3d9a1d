#include "app/windows/SelectAllText.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

TEST(SelectAllText, TabbingIntoABoxSelectsItsWholeTextAndAnEmptyBoxNothing) {
    QWidget window;
    auto* first = new QLineEdit(&window);
    auto* number = new QLineEdit("640", &window);
    auto* empty = new QLineEdit(&window);
    first->move(0, 0);
    number->move(0, 30);
    empty->move(0, 60);
    dovi::selectAllOnFocus(number);
    dovi::selectAllOnFocus(empty);
    window.show();
    first->setFocus();
    number->setFocus(Qt::TabFocusReason);
    // The selection is made just after the focus event; let that event run.
    for (int i = 0; i < 100 && number->selectedText().isEmpty(); ++i)
        QTest::qWait(5);
    EXPECT_EQ(number->selectedText(), QStringLiteral("640"));
    empty->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_FALSE(empty->hasSelectedText());
}
