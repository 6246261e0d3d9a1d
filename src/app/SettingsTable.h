#pragma once
#include "app/IniStore.h"
#include "app/Settings.h"

#include <QString>
#include <QStringList>

namespace dovi {

// What the defaults depend on outside the store: the screen (batch size) and
// the fallback folder that stands where a missing folder was.
struct SettingsEnvironment {
    int screenWidth = 1024;
    int screenHeight = 768;
    QString fallbackFolder; // the user's home folder
};

// Reads one key from the store into its field; a missing key gives the key's
// default, and so does a number that can't be read or is outside its type's
// range. A key name Dovi does not know does nothing.
void loadSetting(Settings& settings, const IniStore& store, const QString& key,
                 const SettingsEnvironment& env);

// Writes one key's field to the store as decimal text (folders as they are)
// and flushes the store. A key name Dovi does not know writes nothing.
// False when the store could not be written.
bool saveSetting(const Settings& settings, IniStore& store, const QString& key);

// Writes every key, in the fixed saving order, and flushes once.
bool saveAllSettings(const Settings& settings, IniStore& store);

// Loads every key in the loading order, then applies the folder checks.
void loadAllSettings(Settings& settings, const IniStore& store, const SettingsEnvironment& env);

// A startup, alternate save or last destination folder that no longer exists
// falls back to env.fallbackFolder; a missing alternate save folder also
// switches "Alternate Save Folder When Processing" off.
void applyFolderChecks(Settings& settings, const SettingsEnvironment& env);

const QStringList& settingsLoadOrder();
const QStringList& settingsSaveOrder();

} // namespace dovi
