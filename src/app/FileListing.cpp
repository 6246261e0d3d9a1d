#include "app/FileListing.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dovi {

const QStringList& filterCaptions() {
    static const QStringList captions = {"All Files (*.*)", "All Images", "JPEG Images",
                                         "BMP Images",      "TGA Images", "PCX Images"};
    return captions;
}

QString patternForFilter(int index) {
    static const QStringList patterns = {
        "*.*", "*.BMP;*.JPG;*.JPEG;*.TGA;*.PCX", "*.JPG;*.JPEG", "*.BMP", "*.TGA", "*.PCX"};
    return index >= 0 && index < patterns.size() ? patterns[index] : QString();
}

namespace {

// Wildcard match without regular expressions: iterative with one backtrack
// point, so no mask can take more than linear-times-star time.
bool wildcardMatch(QStringView name, QStringView mask) {
    qsizetype n = 0, m = 0, starMask = -1, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() &&
            (mask[m] == QLatin1Char('?') || mask[m].toCaseFolded() == name[n].toCaseFolded())) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == QLatin1Char('*')) {
            starMask = m++;
            starName = n;
        } else if (starMask >= 0) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == QLatin1Char('*'))
        ++m;
    return m == mask.size();
}

} // namespace

namespace {

// A pattern split into its masks once, so a listing does not split it again
// for every name.
struct Masks {
    QList<QStringView> masks;
    bool everything = false;

    explicit Masks(const QString& pattern) {
        for (QStringView mask : QStringView(pattern).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            mask = mask.trimmed();
            if (mask == QLatin1String("*.*") || mask == QLatin1String("*"))
                everything = true;
            masks << mask;
        }
    }
    bool match(QStringView name) const {
        if (everything)
            return true;
        for (QStringView mask : masks)
            if (wildcardMatch(name, mask))
                return true;
        return false;
    }
};

} // namespace

bool matchesPattern(const QString& name, const QString& pattern) {
    return Masks(pattern).match(name);
}

AttributeRules AttributeRules::fromSettings(const Settings& s) {
    return {s.includeArchive == 1, s.includeHidden == 1, s.includeReadOnly == 1,
            s.includeSystem == 1};
}

namespace {

// Natural order that does not depend on the locale: runs of digits compare by
// value ("2" < "10"), other runs by case-folded character. The names come in
// folded already (folding once per name, not once per comparison); 0 means
// equal under these rules, and the caller falls back to code-point order.
int naturalCompareFolded(QStringView a, QStringView b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype si = i, sj = j;
            while (si < a.size() && a[si] == QLatin1Char('0'))
                ++si;
            while (sj < b.size() && b[sj] == QLatin1Char('0'))
                ++sj;
            qsizetype ei = si, ej = sj;
            while (ei < a.size() && a[ei].isDigit())
                ++ei;
            while (ej < b.size() && b[ej].isDigit())
                ++ej;
            if (ei - si != ej - sj)
                return ei - si < ej - sj ? -1 : 1;
            for (qsizetype k = 0; k < ei - si; ++k)
                if (a[si + k] != b[sj + k])
                    return a[si + k] < b[sj + k] ? -1 : 1;
            i = ei;
            j = ej;
            continue;
        }
        if (a[i] != b[j])
            return a[i].unicode() < b[j].unicode() ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return 0;
}

} // namespace

void sortNaturally(QStringList& names) {
    struct Keyed {
        QString folded;
        qsizetype index;
    };
    std::vector<Keyed> keys;
    keys.reserve(names.size());
    for (qsizetype i = 0; i < names.size(); ++i) {
        QString folded = names[i];
        for (QChar& c : folded)
            c = c.toCaseFolded();
        keys.push_back({std::move(folded), i});
    }
    std::sort(keys.begin(), keys.end(), [&names](const Keyed& x, const Keyed& y) {
        if (const int c = naturalCompareFolded(x.folded, y.folded))
            return c < 0;
        return names[x.index].compare(names[y.index]) < 0;
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (const Keyed& k : keys)
        sorted << names[k.index];
    names = std::move(sorted);
}

QStringList listFolder(const QString& folder, const QString& pattern, const AttributeRules& rules,
                       int* error) {
    QStringList names;
    const Masks masks(pattern);
    const QByteArray nativeFolder = QFile::encodeName(folder);
    DIR* dir = ::opendir(nativeFolder.constData());
    if (error)
        *error = dir ? 0 : errno;
    if (!dir)
        return names;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const char* raw = entry->d_name;
        if (raw[0] == '.' && (raw[1] == 0 || (raw[1] == '.' && raw[2] == 0)))
            continue;
        // File names are UTF-8 to Qt; bytes that are not could not be
        // opened again by name.
        const QByteArrayView rawView(raw);
        if (!rawView.isValidUtf8())
            continue;
        const QString name = QString::fromUtf8(rawView);
        if (!masks.match(name))
            continue;
        const bool hidden = raw[0] == '.';
        if (hidden && !rules.hidden)
            continue;
        // The file type decides folder, archive (regular file) and system (any
        // other kind); links are judged by what they point at.
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN || type == DT_LNK) {
            struct stat st {};
            if (::fstatat(dirFd, raw, &st, 0) != 0)
                type = DT_UNKNOWN; // a dangling link: listed as a system entry
            else
                type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_FIFO;
        }
        if (type == DT_DIR)
            continue;
        const bool regular = type == DT_REG;
        if (regular && !rules.archive)
            continue;
        if (!regular && !rules.system)
            continue;
        if (!rules.readOnly && ::faccessat(dirFd, raw, W_OK, 0) != 0)
            continue;
        names.append(name);
    }
    ::closedir(dir);
    sortNaturally(names);
    return names;
}

} // namespace dovi
