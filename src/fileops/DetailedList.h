#pragma once
#include <QString>
#include <functional>

namespace dovi {
class Workspace;
class Ui;
} // namespace dovi

namespace dovi::imaging {
class ImagingEngine;
}

namespace dovi::fileops {

inline const QString kDetailedListHeading =
    QStringLiteral("Filename,File Size,Format,X,Y,Colours,BPP");

// What measuring one file told.
struct MeasuredFile {
    int fileType = 0; // the engine's format code; 0 when nothing was loaded
    qint64 fileSize = 0;
    int width = 0;
    int height = 0;
    qint64 uniqueColours = 0;
    int bitsPerPixel = 0;
};

// A format code the list gives facts for: non-zero, below 21, and none of
// 6, 7, 10 and 12.
bool isMeasured(int fileType);

// "TGA", "PCX", "BMP", "JPG" for codes 1, 2, 5, 8; empty for any other.
QString formatName(int fileType);

// One line of the detailed list, fields joined by "," without quoting:
// path,size,format,width,height,colours,depth; for a file not measured
// path,size,N/A.
QString detailedListLine(const QString& path, const MeasuredFile& facts);

// The line of the file at path, measured with engine (the size of a file not
// measured is its length on disk). The engine is left holding the file.
QString detailedListLine(const QString& path, imaging::ImagingEngine& engine);

// The detailed list's windows: the running history, and the "Stop It!" window
// whose Cancel sets ws.abortRequested.
class DetailedListWindows {
public:
    virtual ~DetailedListWindows() = default;
    virtual void showRunningHistory() = 0;
    virtual void showCancelWindow() = 0;
    virtual void closeCancelWindow() = 0;
};

// The line of one file (loading and measuring it).
using DetailedLineMaker = std::function<QString(const QString& path)>;

// "Generate Detailed List": one line per file of the action list into the
// running history, after the questions "Clear history list before
// beginning?" and "Include field headings?". Stops between files when the
// cancel window's button was pressed.
void generateDetailedList(Workspace& ws, Ui& ui, DetailedListWindows& windows,
                          const DetailedLineMaker& lineFor);

} // namespace dovi::fileops
