#pragma once
#include "app/IniStore.h"
#include "app/Ui.h"
#include "platform/DisplayFacts.h"
#include "platform/InstanceLock.h"

#include <QString>
#include <functional>

namespace dovi {

inline const QString kAlreadyRunningMessage = QStringLiteral("Dovi is already running!");
inline const QString kLargeFontsMessage = QStringLiteral(
    "For best results, Orvane recommends you set 'Large Fonts' in your display settings");
inline const QString kResolutionMessage =
    QStringLiteral("For best results, Orvane recommends 800 x 600 or greater resolution");

enum class StartOutcome { Run, AlreadyRunning, HandedOver };

// The start of the program, before any window: refuses a second copy (nothing
// is created or saved then), runs the display checks on this user's first
// start and records that start, creates "Temp", makes "series.dat" writable
// and puts the logo in place. The caller then shows the splash window.
// handOver, when given, passes the path this start was asked to open to the
// copy already running; once it took it, this copy ends without a message.
StartOutcome startProgram(Ui& ui, IniStore& store, platform::InstanceLock& lock,
                          const QString& programFolder, const platform::DisplayFacts& display,
                          const std::function<bool()>& handOver = {});

// Where the first start is recorded in the store.
inline const QString kStartedSection = QStringLiteral("System");
inline const QString kStartedKey = QStringLiteral("started");

} // namespace dovi
