#pragma once
#include "app/Settings.h"

#include <QSize>
#include <QString>

namespace dovi::batch {

// The decisions of a processing run, taken from the "Batch" settings (or from
// the command line).
struct ProcessOptions {
    QSize box{1024, 768};         // processWidth x processHeight
    bool convertOnly = false;     // never resample, only re-save
    bool resampleUpDown = false;  // also enlarge images smaller than the box
    bool altSaveFormatOn = false; // save under altSaveFormat
    int altSaveFormat = 0;        // 0 JPEG, 1 BMP, 2 TGA, 3 PCX
    bool altSaveFolderOn = false; // write outputs into altSaveFolderPath
    QString altSaveFolderPath;
    bool deleteOriginal = false; // delete the source once a different output is safe
    int jpegLuminance = 1;
    int jpegChrominance = 1;
    bool historyOn = true; // historyLimit != 0
    // Bytes of pictures a parallel run may hold in flight (at least one file
    // always goes); 0 for defaultMemoryBudget().
    qint64 memoryBudget = 0;

    static ProcessOptions fromSettings(const Settings& s);
};

} // namespace dovi::batch
