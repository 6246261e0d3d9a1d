#include "about/AboutFacts.h"

#include "app/Version.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QSysInfo>

namespace dovi::about {

QString aboutCaption() {
    return applicationTitle();
}

QString colourClass(int bitsPerPixel) {
    switch (bitsPerPixel) {
    case 4:
        return QStringLiteral("(16 Color)");
    case 8:
        return QStringLiteral("(256 Color)");
    case 16:
        return QStringLiteral("(High Color)");
    case 24:
    case 32:
        return QStringLiteral("(True Color)");
    default:
        return {};
    }
}

QString xResText(const DisplayMode& mode) {
    return QStringLiteral("Current xRes: %1 pixels").arg(mode.width);
}

QString yResText(const DisplayMode& mode) {
    return QStringLiteral("Current yRes: %1 pixels").arg(mode.height);
}

QString depthText(const DisplayMode& mode) {
    return QStringLiteral("Current Depth: %1 bits per pixel  ").arg(mode.depth) +
           colourClass(mode.depth);
}

namespace {

// A shell-style value: quotes removed and backslash escapes undone.
QString osReleaseValue(QString value) {
    value = value.trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size())
            ++i;
        out += value[i];
    }
    return out;
}

} // namespace

QString prettyNameFromOsRelease(const QString& text) {
    QString pretty, name, version;
    for (const QString& line : text.split(QRegularExpression(QStringLiteral("\r?\n")))) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0 || line.startsWith(u'#'))
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = osReleaseValue(line.mid(eq + 1));
        if (key == u"PRETTY_NAME")
            pretty = value;
        else if (key == u"NAME")
            name = value;
        else if (key == u"VERSION")
            version = value;
    }
    if (!pretty.isEmpty())
        return pretty;
    return (name + QLatin1Char(' ') + version).trimmed();
}

QString osVersionText(const QString& prettyName) {
    return QStringLiteral("OS Version: ") + prettyName;
}

QString systemPrettyName() {
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        QFile file(QString::fromLatin1(path));
        if (file.open(QIODevice::ReadOnly)) {
            const QString name = prettyNameFromOsRelease(QString::fromUtf8(file.read(64 * 1024)));
            if (!name.isEmpty())
                return name;
        }
    }
    return QSysInfo::prettyProductName();
}

MemoryFacts parseMeminfo(const QString& text) {
    MemoryFacts facts;
    qint64 free = -1;
    static const QRegularExpression line(QStringLiteral("^(\\w+):\\s*(\\d+)\\s*kB\\s*$"),
                                         QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        bool ok = false;
        const qint64 value = m.captured(2).toLongLong(&ok);
        if (!ok)
            continue;
        if (m.captured(1) == u"MemTotal")
            facts.totalKb = value;
        else if (m.captured(1) == u"MemAvailable")
            facts.availableKb = value;
        else if (m.captured(1) == u"MemFree")
            free = value;
    }
    if (facts.availableKb < 0)
        facts.availableKb = free;
    return facts;
}

MemoryFacts readMemory() {
    QFile file(QStringLiteral("/proc/meminfo"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parseMeminfo(QString::fromLatin1(file.readAll()));
}

QString thousands(qint64 value) {
    QLocale locale;
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
    return locale.toString(value);
}

QString totalMemoryText(const MemoryFacts& memory) {
    return QStringLiteral("Total Physical Memory: ") +
           thousands(std::max<qint64>(0, memory.totalKb)) + QStringLiteral(" Kbyte");
}

QString freeMemoryText(const MemoryFacts& memory) {
    if (memory.availableKb <= 0)
        return QStringLiteral("Free Physical Memory: ") + kNoFreeMemory;
    return QStringLiteral("Free Physical Memory: ") + thousands(memory.availableKb) +
           QStringLiteral(" Kbyte");
}

} // namespace dovi::about
