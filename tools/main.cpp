#include "CommandLine.h"
#include "ConvertCommand.h"
#include "MeasureCommand.h"

#include <QCoreApplication>

// dovi-batch: Dovi's batch work from a terminal or a script, with the same
// engine and the same decisions as the windows.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
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
