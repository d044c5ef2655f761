#include "platform/process.h"

#include <cerrno>
#include <limits>

#include <signal.h>
#include <sys/types.h>
#include <unistd.h>

namespace platform {

bool processRunning(std::uint64_t id) {
    // kill(0, ...) and negative identifiers name process groups, not one process.
    if (id == 0 || id > static_cast<std::uint64_t>(std::numeric_limits<pid_t>::max())) {
        return false;
    }
    // Signal 0 only asks; a process of another user still exists (EPERM).
    return kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
}

std::uint64_t currentProcessId() { return static_cast<std::uint64_t>(getpid()); }

}  // namespace platform
