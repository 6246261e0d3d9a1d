#include "fileops/windows/RenameWindow.h"

#include "WorkspaceFixture.h"

#include <QFileInfo>
#include <QTest>

using namespace dovi;
using dovi::test::WorkspaceFixture;

TEST_F(WorkspaceFixture, RenameWindowRenamesOnEnterReleaseWarnsInPlaceAndEscapeCloses) {
    const QString pics = folder("pics");
    makeFiles(pics, {"photo.jpg", "taken.jpg"});
    show(pics);
    RenameWindow w(nullptr, *ws, ui, "photo.jpg");
    w.show();
    QLineEdit* box = w.nameBox();
    EXPECT_EQ(box->selectedText(), "photo") << "the likely part is selected";

    box->setText("taken.jpg");
    QTest::keyPress(box, Qt::Key_Return);
    EXPECT_TRUE(ui.prompts.isEmpty()) << "nothing happens on the press";
    QTest::keyRelease(box, Qt::Key_Return);
    EXPECT_EQ(ui.promptTexts(), QStringList({"File " + pics + "/taken.jpg already exists"}));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(box->selectedText(), "taken");
    QTest::keyRelease(box, Qt::Key_Return); // the Enter that closed the warning
    EXPECT_EQ(ui.prompts.size(), 1);

    box->setText("new.jpg");
    QTest::keyClick(box, Qt::Key_Enter);
    EXPECT_TRUE(w.renamed());
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(QFileInfo::exists(pics + "/new.jpg"));

    RenameWindow second(nullptr, *ws, ui, "new.jpg");
    second.show();
    second.nameBox()->setText("other.jpg");
    QTest::keyClick(second.nameBox(), Qt::Key_Escape);
    EXPECT_FALSE(second.isVisible() || second.renamed());
    EXPECT_TRUE(QFileInfo::exists(pics + "/new.jpg"));
}
