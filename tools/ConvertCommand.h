#pragma once
#include <QStringList>

// `dovi-batch convert`: the processing run of the Process window, from the
// command line. Returns the exit status.
int runConvertCommand(const QStringList& args);
