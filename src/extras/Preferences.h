#pragma once
#include <QString>
#include <array>
#include <optional>

namespace dovi {
class ShellServices;
class Workspace;
struct Settings;
} // namespace dovi

// The rules of the preferences dialog: how it fills its controls from the
// settings, what each edit stores at once, and what its closing applies.
namespace dovi::extras {

inline const QString kPreferencesCaption = QStringLiteral("Dovi Preferences");

struct ProcessPreset {
    int width;
    int height;
};
// "640 x 480" ... "1600 x 1200", in the dialog's order.
inline constexpr std::array<ProcessPreset, 6> kProcessPresets{
    {{640, 480}, {800, 600}, {1024, 768}, {1152, 864}, {1200, 1024}, {1600, 1200}}};
QString presetCaption(const ProcessPreset& preset);

// What the "Process at" group shows for a size: the first preset with exactly
// that pair, else "Custom Size" (preset -1) with the two numbers in the boxes.
struct ProcessSizeView {
    int preset = -1;
    QString width;
    QString height;
};
ProcessSizeView processSizeView(int width, int height);

// A width or height typed in the custom boxes: a whole number from 1 to 32767
// (the stored key's range), nothing otherwise.
std::optional<int> customDimension(const QString& text);

// The history limit and the preview limit as the dialog's close reads them:
// a text longer than 5 characters, or a value over 30000, is 30000, and no
// number is 5000; a preview limit longer than 6 characters is 256000 and no
// number is 0. A number is a run of decimal digits, spaces around it aside.
int historyLimitFromText(const QString& text);
int previewLimitFromText(const QString& text);

// The three conversion boxes. Clearing "Alternate Save Format" clears the
// other two; either of those can be ticked only with it. Returns whether the
// box ends up ticked (the dialog shows that).
enum class ConversionBox { AltSaveFormat, ConvertOnly, DeleteOriginal };
bool setConversionBox(Settings& s, ConversionBox box, bool ticked);

// A folder from the browse buttons as the text box gets it: its own letter
// case, ending in "/" (the root already does).
QString browsedFolderText(const QString& folder);

// What the dialog holds at close besides the settings it stored as it went.
struct PreferencesClose {
    bool customSize = false;
    QString width;
    QString height;
    QString historyLimit;
    QString previewLimit;
};

// The closing steps, in order: the file list under the attribute rules, the
// custom size, the main window's slideshow controls, the history and preview
// limits, an alternate folder without a path switched off, the processing
// size panel (with its "*"), and the preview back to the logo. The store is
// written later, when the main window is active again.
void closePreferences(Workspace& ws, ShellServices& shell, const PreferencesClose& state);

} // namespace dovi::extras
