#include "CommandLine.h"
#include "ConvertCommand.h"
#include "MeasureCommand.h"

#include "platform/NativePath.h"

#include <QCoreApplication>

// dovi-batch: Dovi's batch work from a terminal or a script, with the same
// engine and the same decisions as the windows.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // The argument bytes as they are: a file name need not be valid UTF-8.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << dovi::platform::pathFromNative(argv[i]);
    if (args.isEmpty())
        return usageError(QStringLiteral("no command given"));
    const QString command = args.takeFirst();
    if (command == QLatin1String("--help") || command == QLatin1String("-h") ||
        command == QLatin1String("help"))
        return printUsage();
    if (command == QLatin1String("convert"))
        return runConvertCommand(args);
    if (command == QLatin1String("measure"))
        return runMeasureCommand(args);
    return usageError(QStringLiteral("unknown command ") + command);
}
