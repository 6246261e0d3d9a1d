#include "app/FileListing.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace dovi;

TEST(FileListing, PatternsMatchMasksIgnoringCase) {
    const struct {
        const char* name;
        int filter;
        bool listed;
    } cases[] = {
        {"a.JPG", 2, true},  {"a.jpeg", 2, true}, {"a.jpeg", 3, false},     {"a.jpg.bak", 2, false},
        {"b.Bmp", 3, true},  {"c.tga", 4, true},  {"d.PCX", 5, true},       {"notes.txt", 1, false},
        {"README", 0, true}, {"x.tga", 1, true},  {".hidden.pcx", 5, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(matchesPattern(c.name, patternForFilter(c.filter)), c.listed)
            << c.name << " under filter " << c.filter;
    EXPECT_FALSE(matchesPattern("img10.bmp", "img?.bmp"));
    EXPECT_TRUE(patternForFilter(6).isEmpty());
}

TEST(FileListing, AttributeRulesDecideWhatIsListed) {
    QTemporaryDir dir;
    dovi::test::writeFile(dir.filePath("plain.jpg"), "x");
    dovi::test::writeFile(dir.filePath(".dot.jpg"), "x");
    dovi::test::writeFile(dir.filePath("locked.jpg"), "x");
    QFile::setPermissions(dir.filePath("locked.jpg"), QFileDevice::ReadOwner);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.jpg")).constData(), 0644), 0);
    QDir().mkdir(dir.filePath("folder.jpg"));
    const bool root = ::geteuid() == 0; // root may write anything: nothing reads as read-only

    const struct {
        AttributeRules rules;
        QStringList expected;
    } cases[] = {
        {{true, false, true, false}, {"locked.jpg", "plain.jpg"}},
        {{true, true, true, false}, {".dot.jpg", "locked.jpg", "plain.jpg"}},
        {{true, false, true, true}, {"locked.jpg", "pipe.jpg", "plain.jpg"}},
        {{true, false, false, false},
         root ? QStringList{"locked.jpg", "plain.jpg"} : QStringList{"plain.jpg"}},
        {{false, false, true, true}, {"pipe.jpg"}},
    };
    for (const auto& c : cases) {
        QStringList got = listFolder(dir.path(), "*.*", c.rules);
        got.sort();
        QStringList want = c.expected;
        want.sort();
        EXPECT_EQ(got, want) << c.rules.archive << c.rules.hidden << c.rules.readOnly
                             << c.rules.system;
    }
    EXPECT_TRUE(listFolder(dir.filePath("missing"), "*.*", {}).isEmpty());
}

TEST(FileListing, NaturalOrderAndUnencodableNamesSkipped) {
    QTemporaryDir dir;
    for (const char* n : {"img10.jpg", "img2.jpg", "IMG1.jpg", "img1.jpg", "b.jpg", "A.jpg"})
        dovi::test::writeFile(dir.filePath(n), "x");
    // A name that is not valid UTF-8 cannot round-trip through QString.
    const QByteArray bad = QFile::encodeName(dir.path()) + "/bad\xff.jpg";
    const int fd = ::open(bad.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    const QStringList got = listFolder(dir.path(), "*.JPG", {});
    EXPECT_EQ(got,
              QStringList({"A.jpg", "b.jpg", "IMG1.jpg", "img1.jpg", "img2.jpg", "img10.jpg"}));
}
