#pragma once
#include "app/Ui.h"

#include <QString>

// Small services nearly every window calls.
namespace dovi {

inline const QString kMessageTitle = QStringLiteral("Orvane");
inline const QString kIdleCaption = QStringLiteral("Dovi - Idle");

// Busy: wait pointer, red light "Busy", progress bar in busy mode at 0.
// Idle: normal pointer, green light "Idle", fixed caption "Dovi - Idle" at 0.
// It does not nest: one idle call ends every earlier busy call.
void setStatus(Ui& ui, bool busy);

// The program's warning box: warning icon, one OK button, title "Orvane".
void showMessage(Ui& ui, const QString& text);

// True when a directory search finds path: files, folders, or (with wildcards
// in the name) any match. "" is false.
bool fileExists(const QString& path);

// Makes an existing file writable by its owner before it is overwritten,
// renamed or deleted; reports nothing.
void clearAttributes(const QString& path);

} // namespace dovi
