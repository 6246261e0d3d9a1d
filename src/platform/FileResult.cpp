#include "platform/FileResult.h"

#include <cstring>

namespace dovi::platform {

FileResult FileResult::fromErrno(int error) {
    return failed(QString::fromLocal8Bit(std::strerror(error)), error);
}

} // namespace dovi::platform
