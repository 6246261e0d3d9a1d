#include "extras/Preferences.h"

#include "RecordingShell.h"
#include "WorkspaceFixture.h"

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
        {"000012", 30000, 12},      // six characters: history 30000, preview kept
        {"1234567", 30000, 256000}, // seven characters
        {" 42 ", 42, 42},
        {"", 5000, 0},
        {"-5", 5000, 0},
        {"١٢", 5000, 0}, // digits of another script are not decimal text here
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(std::pair(historyLimitFromText(text), previewLimitFromText(text)),
                  std::pair(c.history, c.preview))
            << c.text;
    }
}

TEST(Preferences, TheFirstMatchingPresetIsShownElseCustomWithTheNumbers) {
    const auto view = [](int w, int h) {
        const ProcessSizeView v = processSizeView(w, h);
        return std::tuple(v.preset, v.width, v.height);
    };
    EXPECT_EQ(view(1600, 1200), std::tuple(5, QString(), QString()));
    EXPECT_EQ(view(1200, 1024), std::tuple(4, QString(), QString()));
    EXPECT_EQ(view(1024, 1200), std::tuple(-1, QString("1024"), QString("1200")));
    EXPECT_EQ(presetCaption(kProcessPresets[4]), "1200 x 1024");
}

TEST(Preferences, CustomDimensionsAreWholeNumbersInTheKeysRange) {
    const struct {
        const char* text;
        std::optional<int> value;
    } cases[] = {{"1", 1},      {" 800 ", 800}, {"32767", 32767},
                 {"32768", {}}, {"0", {}},      {"12px", {}}};
    for (const auto& c : cases)
        EXPECT_EQ(customDimension(c.text), c.value) << c.text;
}

using PreferencesClose_ = test::WorkspaceFixture;

TEST_F(PreferencesClose_, StepsRunInOrderAndApplyTheDialogsTexts) {
    test::RecordingShell shell;
    const QString pics = folder("pics");
    makeFiles(pics, {"a.jpg", ".hidden.jpg"});
    show(pics);
    ASSERT_EQ(ws->files.names(), QStringList{"a.jpg"});

    ws->previewValid = true;
    Settings& s = ws->settings;
    std::tie(s.includeHidden, s.processWidth, s.processHeight, s.altSaveFolderOn,
             s.resampleUpDown) = std::tuple(1, 800, 600, 1, 1);
    s.altSaveFolderPath.clear();

    closePreferences(*ws, shell, {true, "1000", "abc", "123456", "1234567"});
    EXPECT_EQ(ws->files.names(), QStringList({".hidden.jpg", "a.jpg"}));
    // Letters keep the last valid height; no path switches the other folder off.
    EXPECT_EQ(QList({s.processWidth, s.processHeight, s.historyLimit, s.previewLimitKb,
                     s.altSaveFolderOn}),
              QList({1000, 600, 30000, 256000, 0}));
    EXPECT_FALSE(ws->previewValid);
    EXPECT_EQ(shell.calls, QStringList({"showSlideshowOptions", "showProcessingSize"}));
    EXPECT_EQ(processingSizeText(s), "1000 x 600*");
    EXPECT_EQ(storedValue("Batch", "altfld"), "<none>")
        << "the store is written when the main window is active again";
}
