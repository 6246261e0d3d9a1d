#include "extras/Preferences.h"

#include "app/CommandContext.h"
#include "app/FolderState.h"
#include "app/Settings.h"
#include "app/Workspace.h"

#include <limits>

namespace dovi::extras {

namespace {

constexpr int kMaxHistoryLimit = 30000;
constexpr int kDefaultHistoryLimit = 5000;
constexpr int kMaxPreviewLimitKb = 256000;
constexpr int kMaxDimension = 32767;

// The text as a non-negative number when it is one: digits only, spaces
// around them aside. Its length (after the spaces) comes with it.
std::optional<qint64> digitsValue(const QString& text, qsizetype* length) {
    const QString t = text.trimmed();
    *length = t.size();
    if (t.isEmpty())
        return std::nullopt;
    for (QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    // Past 18 digits the value only needs to be "too large".
    return t.size() > 18 ? std::numeric_limits<qint64>::max() : t.toLongLong();
}

} // namespace

QString presetCaption(const ProcessPreset& preset) {
    return QStringLiteral("%1 x %2").arg(preset.width).arg(preset.height);
}

ProcessSizeView processSizeView(int width, int height) {
    for (int i = 0; i < int(kProcessPresets.size()); ++i)
        if (kProcessPresets[i].width == width && kProcessPresets[i].height == height)
            return {i, {}, {}};
    return {-1, QString::number(width), QString::number(height)};
}

std::optional<int> customDimension(const QString& text) {
    qsizetype length = 0;
    const std::optional<qint64> value = digitsValue(text, &length);
    if (!value || *value < 1 || *value > kMaxDimension)
        return std::nullopt;
    return int(*value);
}

int historyLimitFromText(const QString& text) {
    qsizetype length = 0;
    const std::optional<qint64> value = digitsValue(text, &length);
    if (!value)
        return kDefaultHistoryLimit;
    if (length > 5 || *value > kMaxHistoryLimit)
        return kMaxHistoryLimit;
    return int(*value);
}

int previewLimitFromText(const QString& text) {
    qsizetype length = 0;
    const std::optional<qint64> value = digitsValue(text, &length);
    if (!value)
        return 0;
    if (length > 6)
        return kMaxPreviewLimitKb;
    return int(*value);
}

bool setConversionBox(Settings& s, ConversionBox box, bool ticked) {
    switch (box) {
    case ConversionBox::AltSaveFormat:
        s.altSaveFormatOn = ticked ? 1 : 0;
        if (!ticked)
            s.convertOnly = s.deleteOriginal = 0;
        return ticked;
    case ConversionBox::ConvertOnly:
    case ConversionBox::DeleteOriginal: {
        const int value = (ticked && s.altSaveFormatOn == 1) ? 1 : 0;
        (box == ConversionBox::ConvertOnly ? s.convertOnly : s.deleteOriginal) = value;
        return value == 1;
    }
    }
    return false;
}

QString browsedFolderText(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

void closePreferences(Workspace& ws, ShellServices& shell, const PreferencesClose& state) {
    Settings& s = ws.settings;
    applyAttributeRules(ws);

    if (state.customSize) {
        // A box holding anything but a valid number leaves the size it had.
        if (const auto width = customDimension(state.width))
            s.processWidth = *width;
        if (const auto height = customDimension(state.height))
            s.processHeight = *height;
    }

    shell.showSlideshowOptions();

    s.historyLimit = historyLimitFromText(state.historyLimit);
    s.previewLimitKb = previewLimitFromText(state.previewLimit);
    if (s.altSaveFolderOn == 1 && s.altSaveFolderPath.isEmpty())
        s.altSaveFolderOn = 0;

    // The panel shows the size and, when any of the three options is on, "*";
    // written once the options are final.
    shell.showProcessingSize();
    resetPreview(ws);
}

} // namespace dovi::extras
