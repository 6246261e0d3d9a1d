#include "app/IniStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace dovi {
namespace {

// Values are one line each; the few characters that would break a line are escaped.
// Spaces and tabs at either end are escaped too: the reader trims the line,
// and a folder named " old" must come back as it was written.
QString escapeValue(const QString& v) {
    QString out;
    out.reserve(v.size());
    for (qsizetype i = 0; i < v.size(); ++i) {
        const QChar c = v[i];
        if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else if (c == QLatin1Char(' ') && (i == 0 || i == v.size() - 1))
            out += QStringLiteral("\\s");
        else if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else
            out += c;
    }
    return out;
}

QString unescapeValue(const QString& v) {
    QString out;
    out.reserve(v.size());
    for (int i = 0; i < v.size(); ++i) {
        if (v[i] == QLatin1Char('\\') && i + 1 < v.size()) {
            const QChar n = v[++i];
            out += n == QLatin1Char('n')   ? QChar('\n')
                   : n == QLatin1Char('r') ? QChar('\r')
                   : n == QLatin1Char('t') ? QChar('\t')
                   : n == QLatin1Char('s') ? QChar(' ')
                                           : n;
        } else {
            out += v[i];
        }
    }
    return out;
}

} // namespace

IniStore::IniStore(QString filePath) : path_(std::move(filePath)) {
    read();
}

QString IniStore::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Dovi/Dovi.ini");
}

void IniStore::read() {
    QFile f(path_);
    if (!f.open(QIODevice::ReadOnly))
        return;
    QString section;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) ||
            line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2);
            if (!sectionOrder_.contains(section))
                sectionOrder_ << section;
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = unescapeValue(line.mid(eq + 1).trimmed());
        if (!sectionOrder_.contains(section))
            sectionOrder_ << section;
        auto& entries = sections_[section];
        auto it = std::find_if(entries.begin(), entries.end(),
                               [&](const auto& e) { return e.first == key; });
        if (it != entries.end())
            it->second = value;
        else
            entries.append({key, value});
    }
}

bool IniStore::contains(const QString& section, const QString& key) const {
    const auto it = sections_.constFind(section);
    if (it == sections_.constEnd())
        return false;
    return std::any_of(it->begin(), it->end(), [&](const auto& e) { return e.first == key; });
}

QString IniStore::value(const QString& section, const QString& key, const QString& fallback) const {
    const auto it = sections_.constFind(section);
    if (it == sections_.constEnd())
        return fallback;
    for (const auto& e : *it)
        if (e.first == key)
            return e.second;
    return fallback;
}

void IniStore::setValue(const QString& section, const QString& key, const QString& value) {
    if (!sectionOrder_.contains(section))
        sectionOrder_ << section;
    auto& entries = sections_[section];
    for (auto& e : entries) {
        if (e.first == key) {
            if (e.second != value) {
                e.second = value;
                dirty_ = true;
            }
            return;
        }
    }
    entries.append({key, value});
    dirty_ = true;
}

bool IniStore::flush() {
    if (!dirty_ && QFileInfo::exists(path_))
        return true;
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QSaveFile out(path_);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QString text;
    for (const QString& section : sectionOrder_) {
        text += QLatin1Char('[') + section + QStringLiteral("]\n");
        for (const auto& e : sections_.value(section))
            text += e.first + QLatin1Char('=') + escapeValue(e.second) + QLatin1Char('\n');
        text += QLatin1Char('\n');
    }
    out.write(text.toUtf8());
    if (!out.commit())
        return false;
    dirty_ = false;
    return true;
}

} // namespace dovi
