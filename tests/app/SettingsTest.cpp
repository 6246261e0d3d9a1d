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
    EXPECT_EQ(s.historyLimit, 500);
    EXPECT_EQ(s.filterIndex, 1);
    EXPECT_EQ(s.startupFolder, env().fallbackFolder);
    EXPECT_EQ(s.lastDestFolder, env().fallbackFolder);
    EXPECT_EQ(s.processWidth, 1280);
    EXPECT_EQ(s.processHeight, 800);
    EXPECT_EQ(s.altSaveFolderPath, env().fallbackFolder); // "" does not exist, so it falls back
    EXPECT_EQ(s.altSaveFolderOn, 0);
    EXPECT_EQ(s.jpegLuminance, 1);
    EXPECT_EQ(s.slideInterval, 5);
    EXPECT_EQ(s.slideManual, 1);
    EXPECT_EQ(s.previewLimitKb, 0);

    saveAllSettings(s, store);
    const QString text = QString::fromUtf8(test::readFile(iniPath()));
    for (const char* section : {"[System]", "[File System]", "[Batch]", "[Slideshow]"})
        EXPECT_TRUE(text.contains(QLatin1String(section))) << section;
    IniStore reread(iniPath());
    const struct {
        const char* section;
        const char* key;
        QString value;
    } expected[] = {
        {"System", "history", "500"},    {"File System", "filter", "1"},
        {"File System", "incA", "1"},    {"File System", "incH", "0"},
        {"File System", "recycle", "1"}, {"Batch", "xres", "1280"},
        {"Batch", "yres", "800"},        {"Batch", "altfldpath", env().fallbackFolder},
        {"System", "limit", "0"},        {"Slideshow", "interval", "5"},
        {"Slideshow", "filename", "1"},  {"File System", "startup", env().fallbackFolder},
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
        {"File System", "incH", "2", 0},         {"File System", "incH", "1", 1},
        {"System", "limit", "100000", 100000},   {"System", "limit", "3000000000", 0},
        {"Slideshow", "interval", "", 5},        {"Batch", "xres", "1e3", 1280},
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
    EXPECT_EQ(s.startupFolder, env().fallbackFolder);
    EXPECT_EQ(s.lastDestFolder, existing);
    EXPECT_EQ(s.altSaveFolderOn, 0);
    EXPECT_EQ(s.altSaveFolderPath, env().fallbackFolder);

    store.setValue("Batch", "altfldpath", existing);
    loadAllSettings(s, store, env());
    EXPECT_EQ(s.altSaveFolderOn, 1);
    EXPECT_EQ(s.altSaveFolderPath, existing);
}

TEST_F(SettingsFixture, SavingOneKeyWritesOnlyThatKeyAtOnce) {
    IniStore store(iniPath());
    Settings s;
    s.slideInterval = 12;
    s.slideManual = 0;
    s.filterIndex = 4;
    saveSetting(s, store, "manual");
    saveSetting(s, store, "interval");
    saveSetting(s, store, "no-such-key");
    IniStore reread(iniPath());
    EXPECT_EQ(reread.value("Slideshow", "interval", "?"), "12");
    EXPECT_EQ(reread.value("Slideshow", "manual", "?"), "0");
    EXPECT_FALSE(reread.contains("File System", "filter"));
    EXPECT_FALSE(reread.contains("System", "no-such-key"));
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
    s.processWidth = 1024;
    s.processHeight = 768;
    EXPECT_EQ(processingSizeText(s), "1024 x 768");
    for (int Settings::*flag :
         {&Settings::altSaveFolderOn, &Settings::altSaveFormatOn, &Settings::resampleUpDown}) {
        Settings t = s;
        t.*flag = 1;
        EXPECT_EQ(processingSizeText(t), "1024 x 768*");
    }
}
