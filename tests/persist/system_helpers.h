#pragma once
// Operating-system pieces that the save-target tests need and the standard
// library lacks: processes that have ended or still run, and named pipes.
#include <filesystem>

namespace persist_test {

// The identifier of a process that has ended and that the system has let go
// of, so that no process has it.
unsigned long exitedProcessId();

// The identifier of a process that runs for the whole test.
unsigned long runningProcessId();

// Makes a named pipe at the path; false where the file system has none.
bool makeNamedPipe(const std::filesystem::path& path);

// Whether a symbolic link can be made here: MinGW's create_symlink is not
// implemented, and Wine's CreateSymbolicLink reports success without making a link.
// Tries at the path and removes what it made.
bool canMakeSymbolicLinks(const std::filesystem::path& probe);

// Opens the pipe for writing and closes it at once, so that a reader waiting
// in its open goes on and finds the pipe empty.
void releaseWaitingReader(const std::filesystem::path& pipe);

}  // namespace persist_test
