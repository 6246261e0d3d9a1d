#pragma once
#include "app/Ui.h"

#include <QString>

// Small services nearly every window calls.
namespace dovi {

inline const QString kMessageTitle = QStringLiteral("Orvane");
inline const QString kIdleCaption = QStringLiteral("Dovi - Idle");

// Busy: wait pointer, red light "Busy", progress bar in busy mode at 0.
// Idle: normal pointer, green light "Idle", fixed caption "Dovi - Idle" at 0.
// While busy the bar carries the running command's caption, never the idle
// one. Busy takes the state over from whoever held it; idle ends it, except
// inside a running command, whose busy state lasts until it ends.
void setStatus(Ui& ui, bool busy);

// Busy for work that is not a command (the preview reading a file): shows
// busy and returns the claim, or 0 without showing anything while a command
// runs. releaseBusy goes idle only while that claim still holds the state, so
// a late answer never ends a busy state someone else has taken since.
CommandGate::Claim claimBusy(Ui& ui);
void releaseBusy(Ui& ui, CommandGate::Claim claim);

// The program's warning box: warning icon, one OK button, title "Orvane".
void showMessage(Ui& ui, const QString& text);

// True when a file, folder or link of exactly this name exists ("*", "?" and
// "[" are ordinary characters in Linux names). "" is false.
bool fileExists(const QString& path);

// Makes an existing file writable by its owner before it is overwritten,
// renamed or deleted; reports nothing.
void clearAttributes(const QString& path);

} // namespace dovi
