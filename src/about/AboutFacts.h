#pragma once
#include <QString>
#include <QtGlobal>

// What the about window says about the display, the system and the memory,
// from facts handed in, so each text can be checked without a screen.
namespace dovi::about {

inline const QString kNoFreeMemory = QStringLiteral("None (Virtual)");

// "Dovi v1.2.3" from the one version constant.
QString aboutCaption();

struct DisplayMode {
    int width = 0;
    int height = 0;
    int depth = 0; // bits per pixel
};

// "(16 Color)", "(256 Color)", "(High Color)", "(True Color)", or "".
QString colourClass(int bitsPerPixel);
QString xResText(const DisplayMode& mode);
QString yResText(const DisplayMode& mode);
QString depthText(const DisplayMode& mode);

// The system's name from an os-release file: PRETTY_NAME, else NAME and
// VERSION; "" when it says neither.
QString prettyNameFromOsRelease(const QString& text);
// "OS Version: " + name.
QString osVersionText(const QString& prettyName);
// /etc/os-release (or /usr/lib/os-release), else what Qt knows.
QString systemPrettyName();

// Physical memory in kilobytes: total and available; -1 when not reported.
struct MemoryFacts {
    qint64 totalKb = -1;
    qint64 availableKb = -1;
};
// MemTotal and MemAvailable (MemFree on kernels without it) of /proc/meminfo.
MemoryFacts parseMeminfo(const QString& text);
MemoryFacts readMemory();

// A count with thousands separators of the locale and no decimals.
QString thousands(qint64 value);
QString totalMemoryText(const MemoryFacts& memory);
// "None (Virtual)" when nothing (or nothing known) is available.
QString freeMemoryText(const MemoryFacts& memory);

} // namespace dovi::about
