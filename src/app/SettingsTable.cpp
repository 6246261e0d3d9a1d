#include "app/SettingsTable.h"

#include "platform/FileAttributes.h"

#include <limits>
#include <variant>

namespace dovi {
namespace {

enum class Kind { Int16, CheckBox, Int32, Folder };

// Where a key's value lives, and its fixed default (screen-sized and folder
// defaults come from the environment).
// previewLimitKb is 32-bit like every int here; the row's kind decides the range.
using Field = std::variant<int Settings::*, QString Settings::*>;

struct Row {
    const char* section;
    const char* key;
    Kind kind;
    Field field;
    int defaultNumber;
};

const Row kRows[] = {
    {"System", "history", Kind::Int16, &Settings::historyLimit, 500},
    {"File System", "filter", Kind::Int16, &Settings::filterIndex, 1},
    {"File System", "startup", Kind::Folder, &Settings::startupFolder, 0},
    {"File System", "lastdest", Kind::Folder, &Settings::lastDestFolder, 0},
    {"File System", "incA", Kind::CheckBox, &Settings::includeArchive, 1},
    {"File System", "incH", Kind::CheckBox, &Settings::includeHidden, 0},
    {"File System", "incR", Kind::CheckBox, &Settings::includeReadOnly, 1},
    {"File System", "incS", Kind::CheckBox, &Settings::includeSystem, 0},
    {"File System", "recycle", Kind::CheckBox, &Settings::recycleDeleted, 1},
    {"File System", "confirm", Kind::CheckBox, &Settings::confirmActions, 1},
    {"Batch", "xres", Kind::Int16, &Settings::processWidth, 0},
    {"Batch", "yres", Kind::Int16, &Settings::processHeight, 0},
    {"Batch", "altsave", Kind::CheckBox, &Settings::altSaveFormatOn, 0},
    {"Batch", "altsavefmt", Kind::Int16, &Settings::altSaveFormat, 0},
    {"Batch", "convonly", Kind::CheckBox, &Settings::convertOnly, 0},
    {"Batch", "delorig", Kind::CheckBox, &Settings::deleteOriginal, 0},
    {"Batch", "altfld", Kind::CheckBox, &Settings::altSaveFolderOn, 0},
    {"Batch", "altfldpath", Kind::Folder, &Settings::altSaveFolderPath, 0},
    {"Batch", "updown", Kind::CheckBox, &Settings::resampleUpDown, 0},
    {"System", "lum", Kind::Int16, &Settings::jpegLuminance, 1},
    {"System", "chrom", Kind::Int16, &Settings::jpegChrominance, 1},
    {"System", "preview", Kind::CheckBox, &Settings::showPreviewInfo, 1},
    {"System", "previewlimit", Kind::CheckBox, &Settings::previewLimitOn, 0},
    {"System", "limit", Kind::Int32, &Settings::previewLimitKb, 0},
    {"Slideshow", "manual", Kind::CheckBox, &Settings::slideManual, 1},
    {"Slideshow", "interval", Kind::Int16, &Settings::slideInterval, 5},
    {"Slideshow", "random", Kind::CheckBox, &Settings::slideRandom, 0},
    {"Slideshow", "loop", Kind::CheckBox, &Settings::slideLoop, 0},
    {"Slideshow", "filename", Kind::CheckBox, &Settings::slideShowFileName, 1},
};

const Row* findRow(const QString& key) {
    for (const Row& row : kRows)
        if (key == QLatin1String(row.key))
            return &row;
    return nullptr;
}

QString defaultText(const Row& row, const SettingsEnvironment& env) {
    const QString key = QLatin1String(row.key);
    if (key == QLatin1String("xres"))
        return QString::number(env.screenWidth);
    if (key == QLatin1String("yres"))
        return QString::number(env.screenHeight);
    if (key == QLatin1String("altfldpath"))
        return QString();
    if (row.kind == Kind::Folder)
        return env.fallbackFolder;
    return QString::number(row.defaultNumber);
}

// Text to number in the key's range; anything else gives the default.
qint64 toNumber(const Row& row, const QString& text, const QString& fallback) {
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    qint64 lo = std::numeric_limits<qint16>::min(), hi = std::numeric_limits<qint16>::max();
    if (row.kind == Kind::Int32) {
        lo = std::numeric_limits<qint32>::min();
        hi = std::numeric_limits<qint32>::max();
    } else if (row.kind == Kind::CheckBox) {
        lo = 0;
        hi = 1;
    }
    if (ok && v >= lo && v <= hi)
        return v;
    return fallback.toLongLong();
}

} // namespace

void loadSetting(Settings& settings, const IniStore& store, const QString& key,
                 const SettingsEnvironment& env) {
    const Row* row = findRow(key);
    if (!row)
        return;
    const QString fallback = defaultText(*row, env);
    const QString text = store.value(QLatin1String(row->section), key, fallback);
    if (auto* f = std::get_if<QString Settings::*>(&row->field)) {
        settings.*(*f) = text;
    } else if (auto* i = std::get_if<int Settings::*>(&row->field)) {
        settings.*(*i) = static_cast<int>(toNumber(*row, text, fallback));
    }
}

namespace {
void writeRow(const Settings& settings, IniStore& store, const Row& row) {
    QString text;
    if (auto* f = std::get_if<QString Settings::*>(&row.field))
        text = settings.*(*f);
    else if (auto* i = std::get_if<int Settings::*>(&row.field))
        text = QString::number(settings.*(*i));
    store.setValue(QLatin1String(row.section), QLatin1String(row.key), text);
}
} // namespace

bool saveSetting(const Settings& settings, IniStore& store, const QString& key) {
    const Row* row = findRow(key);
    if (!row)
        return true;
    writeRow(settings, store, *row);
    return store.flush();
}

bool saveAllSettings(const Settings& settings, IniStore& store) {
    for (const QString& key : settingsSaveOrder())
        writeRow(settings, store, *findRow(key));
    return store.flush();
}

void loadAllSettings(Settings& settings, const IniStore& store, const SettingsEnvironment& env) {
    for (const QString& key : settingsLoadOrder())
        loadSetting(settings, store, key, env);
    applyFolderChecks(settings, env);
}

void applyFolderChecks(Settings& settings, const SettingsEnvironment& env) {
    if (!platform::pathExists(settings.startupFolder))
        settings.startupFolder = env.fallbackFolder;
    if (!platform::pathExists(settings.altSaveFolderPath)) {
        settings.altSaveFolderOn = 0;
        settings.altSaveFolderPath = env.fallbackFolder;
    }
    if (!platform::pathExists(settings.lastDestFolder))
        settings.lastDestFolder = env.fallbackFolder;
}

const QStringList& settingsLoadOrder() {
    static const QStringList order = {
        "history", "filter",     "startup",  "lastdest", "incA",         "incH",
        "incR",    "incS",       "recycle",  "confirm",  "xres",         "yres",
        "altsave", "altsavefmt", "convonly", "delorig",  "altfld",       "altfldpath",
        "updown",  "lum",        "chrom",    "preview",  "previewlimit", "limit",
        "manual",  "interval",   "random",   "loop",     "filename"};
    return order;
}

const QStringList& settingsSaveOrder() {
    static const QStringList order = {
        "filter",     "startup",  "lastdest", "incA",         "incH",       "incR",
        "incS",       "recycle",  "confirm",  "xres",         "yres",       "altsave",
        "altsavefmt", "convonly", "delorig",  "altfld",       "altfldpath", "updown",
        "lum",        "chrom",    "preview",  "previewlimit", "limit",      "manual",
        "interval",   "random",   "loop",     "filename",     "history"};
    return order;
}

QString processingSizeText(const Settings& s) {
    QString text =
        QString::number(s.processWidth) + QStringLiteral(" x ") + QString::number(s.processHeight);
    if (s.altSaveFolderOn == 1 || s.altSaveFormatOn == 1 || s.resampleUpDown == 1)
        text += QLatin1Char('*');
    return text;
}

} // namespace dovi
