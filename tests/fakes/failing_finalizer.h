#pragma once
// Script text that makes a `__gc` finalizer fail inside the host's own calls
// into the script state rather than inside a script.
#include <string>

namespace fakes {

// Makes the collector finish a whole cycle at every allocation and leaves a
// finalizer that puts a new one in its place each time it runs, and runs the
// statements `failure` on its second run. The first run comes as the chunk
// returns, the second at the next allocation, which is the host's.
inline std::string failingFinalizer(const std::string& failure) {
    return "collectgarbage('setpause', 0)\n"
           "collectgarbage('setstepmul', 1e8)\n"
           "collectgarbage()\n"
           "local runs = 0\n"
           "local function arm()\n"
           "  local proxy = newproxy(true)\n"
           "  getmetatable(proxy).__gc = function()\n"
           "    runs = runs + 1\n"
           "    if runs == 2 then " +
           failure +
           " end\n"
           "    arm()\n"
           "  end\n"
           "end\n"
           "arm()\n";
}

}  // namespace fakes
