#include "platform/posix/posix_calls.h"

#include <unistd.h>

namespace platform::posix {

bool syncFile(std::FILE* file) { return fsync(fileno(file)) == 0; }

std::tm localTime(std::time_t seconds) {
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) {
        return std::tm{};
    }
    return local;
}

}  // namespace platform::posix
