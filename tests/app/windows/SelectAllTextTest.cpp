#include "app/windows/SelectAllText.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

TEST(SelectAllText, TabbingIntoABoxSelectsItsWholeText) {
    QWidget window;
    auto* first = new QLineEdit(&window);
    auto* number = new QLineEdit("640", &window);
    number->move(0, 30);
    dovi::selectAllOnFocus(number);
    window.show();
    first->setFocus();
    number->setFocus(Qt::TabFocusReason);
    // The selection is made just after the focus event; let that event run.
    for (int i = 0; i < 100 && number->selectedText().isEmpty(); ++i)
        QTest::qWait(5);
    EXPECT_EQ(number->selectedText(), QStringLiteral("640"));
}
