#include "app/OpenRequest.h"

#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>

using namespace dovi;

TEST(OpenRequest, ArgumentsBecomeAbsolutePathsWhereTheyWereTyped) {
    const struct {
        const char* argument;
        const char* working;
        const char* expected;
    } cases[] = {
        {"../x/./a b.jpg", "/home/me/pics", "/home/me/x/a b.jpg"},
        {"/srv/pics/", "/home/me", "/srv/pics"},
        {"file:///srv/My%20Pics/a.jpg", "/home/me", "/srv/My Pics/a.jpg"},
        {"file:relative", "/home/me", "/home/me/file:relative"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(absoluteArgument(c.argument, c.working), c.expected) << c.argument;
}

TEST(OpenRequest, AFolderOpensItselfAFileItsFolderWithTheFileAndAMissingPathNothing) {
    QTemporaryDir dir;
    const QString pics = dir.filePath("Pics");
    QDir().mkpath(pics);
    ASSERT_TRUE(test::writeFile(pics + "/Shot.JPG", "x"));
    const struct {
        QString path;
        bool found;
        QString folder;
        QString file;
    } cases[] = {
        {pics, true, pics, ""},
        {pics + "/Shot.JPG", true, pics, "Shot.JPG"},
        {pics + "/shot.jpg", false, "", ""}, // names differ by case on Linux
        {"Pics", false, "", ""},
        {"", false, "", ""},
    };
    for (const auto& c : cases) {
        const std::optional<OpenRequest> request = openRequestFor(c.path);
        ASSERT_EQ(request.has_value(), c.found) << c.path.toStdString();
        if (!request)
            continue;
        EXPECT_EQ(request->folder, c.folder);
        EXPECT_EQ(request->fileName, c.file);
    }
}
