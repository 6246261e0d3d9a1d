#include "extras/Preferences.h"

#include "RecordingShell.h"
#include "WorkspaceFixture.h"

#include <QSignalSpy>

using namespace dovi;
using namespace dovi::extras;

TEST(Preferences, LimitsAtCloseClampLongTextsAndReplaceNonNumbers) {
    const struct {
        const char* text;
        int history;
        int preview;
    } cases[] = {
        {"0", 0, 0},
        {"30001", 30000, 30001},
        {"123456", 30000, 123456}, // six characters: history 30000, preview kept
        {"000012", 30000, 12},
        {"999999", 30000, 999999},
        {"1234567", 30000, 256000}, // seven characters
        {" 42 ", 42, 42},
        {"", 5000, 0},
        {"abc", 5000, 0},
        {"12a", 5000, 0},
        {"-5", 5000, 0},
        {"١٢", 5000, 0}, // digits of another script are not decimal text here
    };
    for (const auto& c : cases) {
        EXPECT_EQ(historyLimitFromText(QString::fromUtf8(c.text)), c.history) << c.text;
        EXPECT_EQ(previewLimitFromText(QString::fromUtf8(c.text)), c.preview) << c.text;
    }
}

TEST(Preferences, TheFirstMatchingPresetIsShownElseCustomWithTheNumbers) {
    const struct {
        int w, h;
        int preset;
        const char* width;
        const char* height;
    } cases[] = {
        {640, 480, 0, "", ""},
        {800, 600, 1, "", ""},
        {1024, 768, 2, "", ""},
        {1152, 864, 3, "", ""},
        {1200, 1024, 4, "", ""},
        {1600, 1200, 5, "", ""},
        {1280, 1024, -1, "1280", "1024"},
        {1000, 700, -1, "1000", "700"},
        {600, 800, -1, "600", "800"},
        {0, 0, -1, "0", "0"},
    };
    for (const auto& c : cases) {
        const ProcessSizeView view = processSizeView(c.w, c.h);
        EXPECT_EQ(view.preset, c.preset) << c.w << "x" << c.h;
        EXPECT_EQ(view.width, c.width);
        EXPECT_EQ(view.height, c.height);
    }
    EXPECT_EQ(presetCaption(kProcessPresets[4]), "1200 x 1024");
}

TEST(Preferences, CustomDimensionsAreWholeNumbersInTheKeysRange) {
    const struct {
        const char* text;
        std::optional<int> value;
    } cases[] = {{"1", 1},      {"1920", 1920}, {" 800 ", 800}, {"32767", 32767},
                 {"32768", {}}, {"0", {}},      {"", {}},       {"abc", {}},
                 {"12px", {}},  {"-640", {}},   {"1e3", {}}};
    for (const auto& c : cases)
        EXPECT_EQ(customDimension(c.text), c.value) << c.text;
}

namespace {

struct PreferencesClose_ : test::WorkspaceFixture {
    test::RecordingShell shell;
};

} // namespace

TEST_F(PreferencesClose_, StepsRunInOrderAndApplyTheDialogsTexts) {
    const QString pics = folder("pics");
    makeFiles(pics, {"a.jpg", ".hidden.jpg"});
    show(pics);
    ASSERT_EQ(ws->files.names(), QStringList{"a.jpg"});

    QStringList events;
    QObject::connect(ws.get(), &Workspace::filesChanged, [&] { events << "files"; });
    QObject::connect(ws.get(), &Workspace::countersChanged, [&] { events << "counters"; });
    QObject::connect(ws.get(), &Workspace::previewReset, [&] { events << "preview"; });
    ws->previewValid = true;
    ws->settings.includeHidden = 1;
    ws->settings.processWidth = 800;
    ws->settings.processHeight = 600;
    ws->settings.altSaveFolderOn = 1;
    ws->settings.altSaveFolderPath.clear();
    ws->settings.resampleUpDown = 1;

    closePreferences(*ws, shell, {true, "1000", "abc", "123456", "1234567"});
    EXPECT_EQ(ws->files.names(), QStringList({".hidden.jpg", "a.jpg"}));
    EXPECT_EQ(ws->settings.processWidth, 1000);
    EXPECT_EQ(ws->settings.processHeight, 600) << "letters keep the last valid height";
    EXPECT_EQ(ws->settings.historyLimit, 30000);
    EXPECT_EQ(ws->settings.previewLimitKb, 256000);
    EXPECT_EQ(ws->settings.altSaveFolderOn, 0) << "no path: switched off";
    EXPECT_FALSE(ws->previewValid);
    EXPECT_EQ(shell.calls, QStringList({"showSlideshowOptions", "showProcessingSize"}));
    EXPECT_EQ(events.first(), "files");
    EXPECT_EQ(events.last(), "preview");
    EXPECT_EQ(processingSizeText(ws->settings), "1000 x 600*");
    EXPECT_EQ(storedValue("Batch", "altfld"), "<none>")
        << "the store is written when the main window is active again";
}
