#include "platform/process.h"

#include <windows.h>

namespace platform {

bool processRunning(std::uint64_t id) {
    if (id == 0 || id > MAXDWORD) {
        return false;
    }
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
    if (process == nullptr) {
        // A process that this one may not look at still exists.
        return GetLastError() == ERROR_ACCESS_DENIED;
    }
    // A process that has ended keeps its handle while others hold one; its exit
    // code tells whether it still runs.
    DWORD exitCode = 0;
    const bool running = GetExitCodeProcess(process, &exitCode) != 0 && exitCode == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}

std::uint64_t currentProcessId() { return GetCurrentProcessId(); }

}  // namespace platform
