#include "runner/command_line.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "log/log.h"
#include "platform/platform.h"
#include "runner/game_config.h"
#include "runner/reporting_platform.h"
#include "runner/runner.h"

namespace fs = std::filesystem;

namespace runner {

namespace {

constexpr char USAGE[] =
    "usage: tessak-run <game folder>\n"
    "       tessak-run --help | --version\n"
    "\n"
    "Runs a game written in Lua: the folder holds main.lua, whose function\n"
    "start(id) is started as the thread of object 1, and optionally conf.lua\n"
    "(title, width, height, fullscreen, identity). Scripts draw, read keys and\n"
    "the mouse, save, load and quit through the functions listed in\n"
    "docs/scripting.md. When a .lua file of the folder changes, the game reloads\n"
    "its scripts and goes on with its state kept.\n";

// The first of the runner's own files that exists: beside the program (a
// build tree, the Windows zip) or in the installed share folder.
std::string ownFile(const std::string& programFolder, const std::string& name) {
    const fs::path program(programFolder);
    for (const fs::path& candidate :
         {program / "resources" / name, program / ".." / "share" / "tessak-run" / name}) {
        std::error_code error;
        if (fs::is_regular_file(candidate, error)) {
            return fs::absolute(candidate, error).lexically_normal().string();
        }
    }
    return {};
}

// Runs the game; its fatal error reported on the error stream and the log
// with the traceback that the box showed.
int runGame(Runner::Setup setup) {
    platform::Platform& backend = platform::current();
    ReportingPlatform reporting(backend, Runner::currentTraceback);
    platform::install(&reporting);
    int status = 1;
    try {
        Runner runner(std::move(setup));
        status = runner.run();
    } catch (const Log::Fatal&) {
        const std::string shown = reporting.lastError();
        std::cerr << "tessak-run: " << (shown.empty() ? "fatal error" : shown) << std::endl;
        if (!reporting.lastAddendum().empty()) {
            Log::info(pageText(reporting.lastAddendum()));
        }
    } catch (const std::exception& failure) {
        std::cerr << "tessak-run: " << failure.what() << std::endl;
    }
    // The window and the device stay to the end of the process, as the game's
    // do: the entry point keeps its backend installed until then, for the
    // window's last messages.
    platform::install(&backend);
    return status;
}

}  // namespace

int runCommandLine(int argc, char** argv, const std::string& programFolder) {
    if (argc == 2 && std::string(argv[1]) == "--help") {
        std::cout << USAGE;
        return 0;
    }
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::cout << "tessak-run " << TESSAK_VERSION << std::endl;
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-') {
        std::cerr << USAGE;
        return 2;
    }
    std::error_code error;
    const fs::path folder = fs::absolute(argv[1], error).lexically_normal();
    if (!fs::is_regular_file(folder / "main.lua", error)) {
        std::cerr << "tessak-run: " << argv[1]
                  << " holds no main.lua: a game folder has main.lua (with a function "
                     "start(id)) and, if wanted, conf.lua.\n";
        return 1;
    }
    Runner::Setup setup;
    setup.gameFolder = folder.string();
    setup.fontFile = ownFile(programFolder, "font.png");
    setup.iconFile = ownFile(programFolder, "icon.ico");
    if (setup.fontFile.empty()) {
        std::cerr << "tessak-run: resources/font.png is missing beside the program\n";
        return 1;
    }
    std::string problem;
    if (fs::exists(folder / "conf.lua", error) &&
        !readGameConfig((folder / "conf.lua").string(), setup.config, problem)) {
        std::cerr << "tessak-run: " << problem << '\n';
        return 1;
    }
    // Scripts name their files relative to the game folder.
    fs::current_path(folder, error);
    if (error) {
        std::cerr << "tessak-run: cannot enter " << folder.string() << ": " << error.message()
                  << '\n';
        return 1;
    }
    return runGame(std::move(setup));
}

}  // namespace runner
