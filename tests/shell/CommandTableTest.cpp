#include "shell/CommandTable.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace dovi;

TEST(CommandTable, EveryToolbarButtonRunsAMenuOperationAndKeysAreUnique) {
    QSet<QString> controls, keys;
    for (const MenuCommand& m : menuCommands())
        if (!m.control.isEmpty())
            controls << m.control;
    for (const ToolbarCommand& t : toolbarCommands()) {
        EXPECT_TRUE(controls.contains(t.control)) << t.key.toStdString();
        EXPECT_FALSE(keys.contains(t.key)) << t.key.toStdString();
        keys << t.key;
    }
    EXPECT_EQ(toolbarCommands().size(), 24);
}

TEST(CommandTable, ToolbarKeysDispatchCaseSensitivelyToTheBoundOperation) {
    CommandDispatcher d;
    QStringList ran;
    d.bind("mnucopy", [&] { ran << "copy"; });
    d.bind("mnuquit", [&] { ran << "quit"; });
    const struct {
        const char* key;
        bool runs;
    } cases[] = {{"copy", true},  {"Copy", false}, {"quit", true},
                 {"move", false}, {"", false},     {"QUIT", false}};
    for (const auto& c : cases)
        EXPECT_EQ(runToolbarKey(d, c.key), c.runs) << c.key;
    EXPECT_EQ(ran, QStringList({"copy", "quit"}));
}
