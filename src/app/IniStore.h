#pragma once
#include <QMap>
#include <QString>
#include <QStringList>

namespace dovi {

// The per-user settings store: application, section and key address a text
// value. One INI file per user holds it, with section and key names written as
// they are ("[File System]", not an escaped form), so the file reads and edits
// by hand. Sections and keys that Dovi does not know are kept as found.
class IniStore {
public:
    explicit IniStore(QString filePath);

    // ~/.config/Dovi/Dovi.ini, following XDG_CONFIG_HOME.
    static QString defaultPath();

    const QString& filePath() const { return path_; }
    bool contains(const QString& section, const QString& key) const;
    QString value(const QString& section, const QString& key, const QString& fallback) const;
    void setValue(const QString& section, const QString& key, const QString& value);

    // Writes the file when anything changed: through a temporary file and a
    // rename, so a crash or a full disk never leaves a half-written store.
    bool flush();

private:
    void read();

    QString path_;
    QStringList sectionOrder_;
    QMap<QString, QList<QPair<QString, QString>>> sections_;
    bool dirty_ = false;
};

} // namespace dovi
