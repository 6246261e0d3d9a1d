#include "app/FileList.h"

#include "TestSupport.h"

using namespace dovi;

TEST(FileList, AReReadKeepsSelectionAndFocusByNameAndNewNamesComeUnselected) {
    const struct {
        const char* name;
        QStringList reread;
        QStringList selected;
        int current;
    } cases[] = {
        {"same names", {"a", "b", "c", "d"}, {"b", "d"}, 3},
        {"one gone before the focus", {"b", "c", "d"}, {"b", "d"}, 2},
        {"focused one gone", {"a", "b", "c"}, {"b"}, -1},
        {"new ones", {"0", "a", "b", "d", "e"}, {"b", "d"}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FileList list({"a", "b", "c", "d"});
        list.setSelected(1, true);
        list.setSelected(3, true);
        list.setCurrent(3);
        list.reread(c.reread);
        EXPECT_EQ(list.names(), c.reread);
        EXPECT_EQ(list.selectedNames(), c.selected);
        EXPECT_EQ(list.current(), c.current);
    }
}

TEST(FileList, IndexesOutsideTheListChangeNothing) {
    FileList list({"a", "b"});
    for (const int i : {-1, 2, 100}) {
        list.setSelected(i, true);
        EXPECT_FALSE(list.isSelected(i));
        list.setCurrent(i);
        EXPECT_EQ(list.current(), -1);
    }
    EXPECT_TRUE(list.selectedNames().isEmpty());
}
