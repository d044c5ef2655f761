#include "log/log.h"

#include <cstdio>

#include "platform/platform.h"

namespace Log {

namespace {

std::string logPath;
std::time_t (*clockSource)() = nullptr;

constexpr char PAGE_HEADER[] =
    "<head><title>Engine Log</title></head><body bgcolor=#000000 text=#FFFFFF>"
    "<font size=2 face=Verdana><div align=center><br>";
constexpr char PAGE_RULE[] = "<hr noshade></p></div>";
constexpr char CAPTION[] = "Engine";

struct Level {
    const char* colour;
    const char* glyph;
};
constexpr Level INFO_LEVEL{"FFFFFF", ")"};
constexpr Level WARNING_LEVEL{"FFFF00", "<blink>~</blink>"};
constexpr Level ERROR_LEVEL{"FF0000", "<blink>!</blink>"};
constexpr Level QUESTION_LEVEL{"CCCCFF", "2"};

std::time_t now() { return clockSource != nullptr ? clockSource() : std::time(nullptr); }

// The fixed 24-character asctime form plus its line feed, always in English.
std::string timeStamp() {
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t seconds = now();
    const std::tm local = platform::current().system().localTime(seconds);
    char text[64];
    std::snprintf(text, sizeof text, "%.3s %.3s %02d %02d:%02d:%02d %04d\n",
                  days[local.tm_wday % 7], months[local.tm_mon % 12], local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec, local.tm_year + 1900);
    return text;
}

int showBox(const std::string& message, std::uint32_t style) {
    return platform::current().system().messageBox(message, CAPTION, style);
}

void report(const std::string& message, const Level& level) {
    writeEntry(message, level.colour, level.glyph);
}

}  // namespace

bool open(const std::string& subFolder) {
    platform::System& system = platform::current().system();
    const std::string folder = system.dataFolder(subFolder);
    if (folder.empty()) {
        logPath.clear();
        return false;
    }
    logPath = folder + system.pathSeparator() + "Log.html";
    std::FILE* file = std::fopen(logPath.c_str(), "w");
    if (file == nullptr) {
        return false;
    }
    std::fputs(PAGE_HEADER, file);
    std::fputs(PAGE_RULE, file);
    std::fclose(file);
    return true;
}

void info(const std::string& message) { report(message, INFO_LEVEL); }

void warning(const std::string& message) {
    showBox(message, platform::mb::SYSTEMMODAL | platform::mb::ICONWARNING | platform::mb::OK);
    report(message, WARNING_LEVEL);
}

void error(const std::string& message) {
    showBox(message, platform::mb::SYSTEMMODAL | platform::mb::ICONERROR | platform::mb::OK);
    report(message, ERROR_LEVEL);
    throw Fatal{};
}

int askYesNo(const std::string& message) {
    const int answer = showBox(
        message, platform::mb::SYSTEMMODAL | platform::mb::ICONQUESTION | platform::mb::YESNO);
    if (answer == platform::id::YES) {
        report(message + " [Yes]", QUESTION_LEVEL);
    } else if (answer == platform::id::NO) {
        report(message + " [No]", QUESTION_LEVEL);
    }
    return answer;
}

int askCancelTryContinue(const std::string& message) {
    const int answer = showBox(message, platform::mb::SYSTEMMODAL | platform::mb::ICONQUESTION |
                                            platform::mb::CANCELTRYCONTINUE);
    if (answer == platform::id::CANCEL) {
        report(message + " [Cancel]", QUESTION_LEVEL);
    } else if (answer == platform::id::TRYAGAIN) {
        report(message + " [Try Again]", QUESTION_LEVEL);
    } else if (answer == platform::id::CONTINUE) {
        report(message + " [Continue]", QUESTION_LEVEL);
    }
    return answer;
}

void writeEntry(const std::string& message, const std::string& colour, const std::string& glyph) {
    std::string entry;
    entry.reserve(message.size() + 160);
    entry += "<font face='webdings' size='6' color=#";
    entry += colour;
    entry += "> ";
    entry += glyph;
    entry += "</font>";
    entry += "[<strong><font color=#";
    entry += colour;
    entry += ">";
    entry += timeStamp();
    entry += "</font></strong>]: ";
    entry += message;
    entry += "<br>";
    append(entry);
}

void append(const std::string& text) {
    if (logPath.empty()) {
        return;
    }
    std::FILE* file = std::fopen(logPath.c_str(), "a");
    if (file == nullptr) {
        return;
    }
    std::clearerr(file);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

const std::string& path() { return logPath; }

void setClock(std::time_t (*clock)()) { clockSource = clock; }

void close() { logPath.clear(); }

}  // namespace Log
