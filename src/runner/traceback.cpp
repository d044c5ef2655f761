#include "runner/traceback.h"

namespace runner {

std::string tracebackOf(lua_State* thread) {
    std::string text;
    lua_Debug frame;
    for (int level = 0; lua_getstack(thread, level, &frame) != 0; ++level) {
        if (lua_getinfo(thread, "Sln", &frame) == 0) {
            break;
        }
        text += "\n  ";
        text += frame.short_src;
        if (frame.currentline > 0) {
            text += ":" + std::to_string(frame.currentline);
        }
        text += ": ";
        if (frame.namewhat != nullptr && *frame.namewhat != '\0') {
            text += std::string("in function '") + frame.name + "'";
        } else if (*frame.what == 'm') {
            text += "in main chunk";
        } else if (*frame.what == 'C') {
            text += "in engine function";
        } else {
            text += std::string("in function <") + frame.short_src + ":" +
                    std::to_string(frame.linedefined) + ">";
        }
    }
    return text.empty() ? text : "stack traceback:" + text;
}

}  // namespace runner
