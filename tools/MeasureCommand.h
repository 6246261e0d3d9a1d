#pragma once
#include <QStringList>

// `dovi-batch measure`: the detailed list's lines for the given files.
int runMeasureCommand(const QStringList& args);
