#include "system_helpers.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace persist_test {

bool canMakeSymbolicLinks(const std::filesystem::path& probe) {
    std::error_code error;
    std::filesystem::create_symlink("target", probe, error);
    const bool made = !error && std::filesystem::is_symlink(probe, error);
    std::filesystem::remove(probe, error);
    return made;
}

#ifdef _WIN32

unsigned long exitedProcessId() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    char command[] = "cmd.exe /c exit 0";
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process)) {
        ADD_FAILURE() << "no child process";
        return 0;
    }
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0)
        << "the child process did not end within a minute";
    // Once the last handle is closed, the system lets go of the process.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return process.dwProcessId;
}

// Nothing keeps a Windows parent running: this process is the one sure to run.
unsigned long runningProcessId() { return GetCurrentProcessId(); }

bool makeNamedPipe(const std::filesystem::path&) { return false; }

void releaseWaitingReader(const std::filesystem::path&) {}

#else

unsigned long exitedProcessId() {
    const pid_t child = fork();
    if (child == 0) {
        _exit(0);
    }
    EXPECT_GT(child, 0) << "no child process";
    // Reaped, so that not even a zombie keeps the identifier.
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    return static_cast<unsigned long>(child);
}

// The parent, rather than this process: a save must not count only on its own
// process being alive. A parent that ends hands its children on to a process
// that keeps running.
unsigned long runningProcessId() { return static_cast<unsigned long>(getppid()); }

bool makeNamedPipe(const std::filesystem::path& path) { return mkfifo(path.c_str(), 0600) == 0; }

void releaseWaitingReader(const std::filesystem::path& pipe) {
    const int end = open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
    if (end >= 0) {
        close(end);
    }
}

#endif

}  // namespace persist_test
