#include "app/IniStore.h"
#include "app/SettingsTable.h"
#include "app/Workspace.h"

#include "TestSupport.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace dovi;

namespace {

struct SettingsFixture : ::testing::Test {
    QTemporaryDir dir;
    QString iniPath() const { return dir.filePath("config/Dovi/Dovi.ini"); }
    SettingsEnvironment env() const { return {1280, 800, dir.filePath("home")}; }
    void SetUp() override { QDir().mkpath(dir.filePath("home")); }
};

} // namespace

TEST_F(SettingsFixture, EmptyStoreGivesTheDefaultsAndSavingWritesAllKeysInTheirSections) {
    IniStore store(iniPath());
    Settings s;
    loadAllSettings(s, store, env());
    EXPECT_EQ(
        QList({s.historyLimit, s.filterIndex, s.processWidth, s.processHeight, s.altSaveFolderOn,
               s.jpegLuminance, s.slideInterval, s.slideManual, s.previewLimitKb}),
        QList({500, 1, 1280, 800, 0, 1, 5, 1, 0}));
    // The alternate folder "" does not exist, so it falls back too.
    EXPECT_EQ(QStringList({s.startupFolder, s.lastDestFolder, s.altSaveFolderPath}),
              QStringList(3, env().fallbackFolder));

    saveAllSettings(s, store);
    IniStore reread(iniPath());
    const struct {
        const char* section;
        const char* key;
        QString value;
    } expected[] = {
        {"System", "history", "500"},
        {"File System", "incH", "0"},
        {"Slideshow", "interval", "5"},
        {"Batch", "yres", "800"},
        {"Batch", "altfldpath", env().fallbackFolder},
    };
    for (const auto& e : expected)
        EXPECT_EQ(reread.value(e.section, e.key, "<missing>"), e.value) << e.key;
    int keys = 0;
    for (const QString& key : settingsSaveOrder())
        for (const char* section : {"System", "File System", "Batch", "Slideshow"})
            keys += reread.contains(section, key);
    EXPECT_EQ(keys, 29);
}

TEST_F(SettingsFixture, UnreadableOrOutOfRangeNumbersFallBackToTheDefault) {
    const struct {
        const char* section;
        const char* key;
        const char* stored;
        int expected;
    } cases[] = {
        {"System", "history", "lots", 500},      {"System", "history", "40000", 500},
        {"System", "history", "-32768", -32768}, {"System", "history", " 12 ", 12},
        {"File System", "incH", "2", 0},         {"System", "limit", "100000", 100000},
        {"System", "limit", "3000000000", 0},    {"Batch", "xres", "1e3", 1280},
    };
    for (const auto& c : cases) {
        IniStore store(iniPath());
        store.setValue(c.section, c.key, c.stored);
        Settings s;
        loadSetting(s, store, c.key, env());
        // Read the value back through a save, so every field is checked the same way.
        IniStore out(dir.filePath("out.ini"));
        saveSetting(s, out, c.key);
        EXPECT_EQ(out.value(c.section, c.key, "?"), QString::number(c.expected))
            << c.key << " stored as '" << c.stored << "'";
    }
}

TEST_F(SettingsFixture, MissingFoldersFallBackAndSwitchTheAlternateFolderOff) {
    IniStore store(iniPath());
    const QString existing = dir.filePath("photos");
    QDir().mkpath(existing);
    store.setValue("File System", "startup", dir.filePath("gone"));
    store.setValue("File System", "lastdest", existing);
    store.setValue("Batch", "altfld", "1");
    store.setValue("Batch", "altfldpath", dir.filePath("gone-too"));
    Settings s;
    loadAllSettings(s, store, env());
    EXPECT_EQ(QStringList({s.startupFolder, s.lastDestFolder, s.altSaveFolderPath}),
              QStringList({env().fallbackFolder, existing, env().fallbackFolder}));
    EXPECT_EQ(s.altSaveFolderOn, 0);

    store.setValue("Batch", "altfldpath", existing);
    loadAllSettings(s, store, env());
    EXPECT_EQ(std::pair(s.altSaveFolderOn, s.altSaveFolderPath), std::pair(1, existing));
}

TEST_F(SettingsFixture, StoreKeepsUnknownEntriesAndOddValuesAcrossAWrite) {
    test::writeFile(dir.filePath("x.ini"), "[Other]\nkeep=me\n[System]\nhistory=20\n");
    IniStore store(dir.filePath("x.ini"));
    const QStringList values = {"/tmp/a\\b\nc",  " /tmp/lead", "/tmp/trail ",
                                "  \t both \t ", "a = b",      "\\ "};
    for (int i = 0; i < values.size(); ++i)
        store.setValue("File System", QString("v%1").arg(i), values[i]);
    ASSERT_TRUE(store.flush());
    IniStore reread(dir.filePath("x.ini"));
    EXPECT_EQ(reread.value("Other", "keep", "?"), "me");
    EXPECT_EQ(reread.value("System", "history", "?"), "20");
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(reread.value("File System", QString("v%1").arg(i), "?"), values[i])
            << "kept exactly as written: " << values[i].toStdString();
}

TEST_F(SettingsFixture, AFailedWriteIsToldOnceUntilWritingWorksAgain) {
    const QString blocked = dir.filePath("blocked");
    test::writeFile(blocked, "a file where the store's folder should be");
    IniStore store(blocked + "/Dovi.ini");
    Workspace ws(dir.path(), store, {1024, 768, dir.path()});
    QSignalSpy failed(&ws, &Workspace::settingsWriteFailed);
    ws.saveSettings();
    ws.saveSetting("filter");
    ws.saveSettings();
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.first().first().toString(), blocked + "/Dovi.ini");
}

TEST(ProcessingSizeText, StarMarksAnyExtraCondition) {
    Settings s;
    std::tie(s.processWidth, s.processHeight) = std::pair(1024, 768);
    EXPECT_EQ(processingSizeText(s), "1024 x 768");
    for (int Settings::*flag :
         {&Settings::altSaveFolderOn, &Settings::altSaveFormatOn, &Settings::resampleUpDown}) {
        Settings t = s;
        t.*flag = 1;
        EXPECT_EQ(processingSizeText(t), "1024 x 768*");
    }
}
