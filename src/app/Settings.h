#pragma once
#include <QString>

namespace dovi {

// Every user preference, one field per key of the settings store. Check-box
// values are 0 or 1; numbers keep the width of their key (16-bit signed, and
// 32-bit for previewLimitKb).
struct Settings {
    int historyLimit = 500;
    int filterIndex = 1;
    QString startupFolder;
    QString lastDestFolder;
    int includeArchive = 1;
    int includeHidden = 0;
    int includeReadOnly = 1;
    int includeSystem = 0;
    int recycleDeleted = 1;
    int confirmActions = 1;
    int processWidth = 0;
    int processHeight = 0;
    int altSaveFormatOn = 0;
    int altSaveFormat = 0;
    int convertOnly = 0;
    int deleteOriginal = 0;
    int altSaveFolderOn = 0;
    QString altSaveFolderPath;
    int resampleUpDown = 0;
    int jpegLuminance = 1;
    int jpegChrominance = 1;
    int showPreviewInfo = 1;
    int previewLimitOn = 0;
    int previewLimitKb = 0; // 32-bit: the one number above 32767
    int slideManual = 1;
    int slideInterval = 5;
    int slideRandom = 0;
    int slideLoop = 0;
    int slideShowFileName = 1;
};

// "1024 x 768", with "*" when an alternate folder, an alternate format or
// up-and-down resampling is in force: the status bar's processing panel.
QString processingSizeText(const Settings& s);

} // namespace dovi
