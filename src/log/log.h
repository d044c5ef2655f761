#pragma once
// The engine's single reporting channel: information, warnings, fatal errors and
// questions. Warnings, errors and questions show a system-modal message box
// captioned "Engine"; once `Log::open` has run, every report is also appended as a
// coloured, time-stamped line of an HTML page, Log.html.
#include <ctime>
#include <string>

namespace Log {

// What `Log::error` throws once its box is closed and its entry written. Nothing
// in the engine catches it: it travels to the entry point, which ends the program.
// A type of its own, so that no other thrown value is taken for it.
struct Fatal {};

// Points the log at <data folder>/<subFolder>/Log.html and starts a fresh page.
// False when no folder can be had or the page cannot be written.
bool open(const std::string& subFolder);

void info(const std::string& message);
void warning(const std::string& message);
[[noreturn]] void error(const std::string& message);
// id::YES (6) or id::NO (7); the entry records the answer.
int askYesNo(const std::string& message);
// id::CANCEL (2), id::TRYAGAIN (10) or id::CONTINUE (11); the entry records the answer.
int askCancelTryContinue(const std::string& message);

// Composes one entry; the only place where entry markup is made.
void writeEntry(const std::string& message, const std::string& colour, const std::string& glyph);
// Appends text to the page, if the log has been opened.
void append(const std::string& text);

// The full path of Log.html, empty until `open`.
const std::string& path();

// The clock behind the entries' time stamps (the calendar time by default);
// tests fix it. Passing null restores the default.
void setClock(std::time_t (*clock)());
// Forgets the log path, so that entries are dropped again (for tests).
void close();

}  // namespace Log
