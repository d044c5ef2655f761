#pragma once
// tessak-run's command line: `tessak-run <game folder>`, `--help`, `--version`.
// The backend's entry point installs its platform and hands over here.
#include <string>

namespace runner {

// Runs the program; returns its exit status (0, 1 after a script error or a
// game that cannot start, 2 for a wrong command line). `programFolder` is the
// folder of the executable, where the runner's own pictures are looked for.
int runCommandLine(int argc, char** argv, const std::string& programFolder);

}  // namespace runner
