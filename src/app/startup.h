#pragma once
// The program's start-up, in its fixed order, and its main loop: seed, Core,
// window and Direct3D, display mode, the game's pictures, the first preview,
// the script state, then frames until the window system asks the program to quit.
// Runs over whatever platform backend is installed.

#include <string>

class Core;

namespace App {

constexpr char WINDOW_CLASS[] = "MainGameClass";
constexpr char WINDOW_TITLE[] = "Tessak";
constexpr char ICON_PATH[] = "resources/icon.ico";
// The log's sub-folder of the common data folder: <data folder>/Tessak/Log.html.
constexpr char LOG_FOLDER[] = "Tessak";

// The one Core of the process, made by `run` and never destroyed.
extern Core* core;

// Opens the log (a log that cannot be written is left off: the game plays on),
// then start-up and the main loop; `seed` seeds the runtime random generator (the
// program passes the calendar time). Returns 0 once the loop has ended. A fatal
// error during start-up or play leaves through `Log::error`'s exception.
int run(unsigned seed);

// The whole program, for a backend's entry point once it has installed the
// backend: `run` seeded with the calendar time. Returns its status, or 1 when it
// ends by an error: a fatal one has already been shown and logged; any other is
// handed to `reportFailure` as "Tessak: <what>", to show where the player sees it.
int runProgram(void (*reportFailure)(const std::string& text));

}  // namespace App
