#include "batch/ProcessOptions.h"

namespace dovi::batch {

ProcessOptions ProcessOptions::fromSettings(const Settings& s) {
    ProcessOptions o;
    o.box = QSize(s.processWidth, s.processHeight);
    o.convertOnly = s.convertOnly == 1;
    o.resampleUpDown = s.resampleUpDown == 1;
    o.altSaveFormatOn = s.altSaveFormatOn == 1;
    o.altSaveFormat = s.altSaveFormat;
    o.altSaveFolderOn = s.altSaveFolderOn == 1;
    o.altSaveFolderPath = s.altSaveFolderPath;
    o.deleteOriginal = s.deleteOriginal == 1;
    o.jpegLuminance = s.jpegLuminance;
    o.jpegChrominance = s.jpegChrominance;
    o.historyOn = s.historyLimit != 0;
    return o;
}

} // namespace dovi::batch
