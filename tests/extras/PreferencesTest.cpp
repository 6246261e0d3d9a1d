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
        {"123456", 30000, 123456}, // six characters: history 30000, preview kept
        {"000012", 30000, 12},
        {"1234567", 30000, 256000}, // seven characters
        {" 42 ", 42, 42},
        {"", 5000, 0},
        {"12a", 5000, 0},
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
    const QSize presets[] = {{640, 480},  {800, 600},   {1024, 768},
                             {1152, 864}, {1200, 1024}, {1600, 1200}};
    for (int i = 0; i < 6; ++i) {
        const ProcessSizeView view = processSizeView(presets[i].width(), presets[i].height());
        EXPECT_EQ(std::tuple(view.preset, view.width, view.height),
                  std::tuple(i, QString(), QString()))
            << i;
    }
    for (const auto& [w, h] : {std::pair{1280, 1024}, {1000, 700}, {600, 800}, {0, 0}}) {
        const ProcessSizeView view = processSizeView(w, h);
        EXPECT_EQ(std::tuple(view.preset, view.width, view.height),
                  std::tuple(-1, QString::number(w), QString::number(h)));
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

using PreferencesClose_ = test::WorkspaceFixture;

TEST_F(PreferencesClose_, StepsRunInOrderAndApplyTheDialogsTexts) {
    test::RecordingShell shell;
    const QString pics = folder("pics");
    makeFiles(pics, {"a.jpg", ".hidden.jpg"});
    show(pics);
    ASSERT_EQ(ws->files.names(), QStringList{"a.jpg"});

    QStringList events;
    QObject::connect(ws.get(), &Workspace::filesChanged, [&] { events << "files"; });
    QObject::connect(ws.get(), &Workspace::countersChanged, [&] { events << "counters"; });
    QObject::connect(ws.get(), &Workspace::previewReset, [&] { events << "preview"; });
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
    EXPECT_EQ(QStringList({events.first(), events.last()}), QStringList({"files", "preview"}));
    EXPECT_EQ(processingSizeText(s), "1000 x 600*");
    EXPECT_EQ(storedValue("Batch", "altfld"), "<none>")
        << "the store is written when the main window is active again";
}
