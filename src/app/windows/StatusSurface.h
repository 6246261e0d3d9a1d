#pragma once
#include <QString>

namespace dovi {

// The parts of the main window that long operations drive: its idle light,
// progress bar and caption. The main window implements it; before it exists
// nothing does, and those calls are dropped.
class StatusSurface {
public:
    virtual ~StatusSurface() = default;
    virtual void showIdleLight(bool busy) = 0;
    virtual void showProgressMode(int mode) = 0;
    virtual void showProgressCaption(const QString& caption) = 0;
    virtual void showProgressRange(int minimum, int maximum) = 0;
    virtual void showProgressValue(int value) = 0;
    virtual void showCaption(const QString& caption) = 0;
};

} // namespace dovi
