#include "CommandLine.h"

#include "platform/NativePath.h"

#include <cstdio>

CommandLine::CommandLine(const QStringList& args, const QStringList& valued,
                         const QStringList& flags) {
    bool optionsEnded = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (optionsEnded || !a.startsWith(QLatin1String("--"))) {
            files_ << a;
        } else if (a == QLatin1String("--")) {
            optionsEnded = true;
        } else if (valued.contains(a)) {
            if (i + 1 >= args.size()) {
                error_ = a + QStringLiteral(" needs a value");
                return;
            }
            values_[a] = args[++i];
        } else if (flags.contains(a)) {
            flags_.insert(a);
        } else {
            error_ = QStringLiteral("unknown option ") + a;
            return;
        }
    }
}

bool CommandLine::has(const char* name) const {
    const QString n = QLatin1String(name);
    return values_.contains(n) || flags_.contains(n);
}

QString CommandLine::value(const char* name) const {
    return values_.value(QLatin1String(name));
}

bool CommandLine::intValue(const char* name, int low, int high, int* out) const {
    if (!has(name))
        return true;
    bool ok = false;
    const int v = value(name).toInt(&ok);
    if (!ok || v < low || v > high)
        return false;
    *out = v;
    return true;
}

namespace {

const char kUsage[] =
    "usage:\n"
    "  dovi-batch measure [--headings] FILE...\n"
    "  dovi-batch convert [--to jpg|bmp|tga|pcx|png] [--fit WxH] [--up] [--out DIR]\n"
    "                     [--delete-original] [--lum N] [--chrom N] [--jobs N] FILE...\n";

} // namespace

int usageError(const QString& message) {
    std::fprintf(stderr, "dovi-batch: %s\n\n%s", dovi::platform::nativePath(message).constData(),
                 kUsage);
    return 2;
}

int printUsage() {
    std::fputs(kUsage, stdout);
    return 0;
}
