#pragma once
#include <QString>

namespace dovi::batch {

struct ProcessOptions;

// The most memory preparing one file may hold at once: the file itself, the
// decoded picture (a JPEG decoded straight at a reduced size where the box
// allows) and the output picture with its encoded file. Judged from the
// file's header without decoding; a file whose header tells no size counts
// its length only. Used to keep a run's work in flight within its budget.
qint64 preparationFootprint(const QString& path, const ProcessOptions& options);

// The bytes of work a run may hold in flight when no budget is set: a quarter
// of the physical memory, at least 256 MiB and at most 4 GiB.
qint64 defaultMemoryBudget();

} // namespace dovi::batch
