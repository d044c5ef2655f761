// The message box answerer (see box_answerer.h):
//   sdl_box_answerer <caption> <key> <limit in milliseconds>
#include <dirent.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "box_answerer.h"
#include "x_driver.h"

namespace {

using namespace std::chrono_literals;
using sdltest::waitFor;

// Kills the processes the test started other than this one: the forked child
// that shows the box, when it is stuck and nothing else reaches it.
void killBoxChildren(pid_t test) {
    DIR* processes = opendir("/proc");
    if (processes == nullptr) {
        return;
    }
    while (dirent* entry = readdir(processes)) {
        const pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
        if (pid <= 0 || pid == getpid()) {
            continue;
        }
        std::ifstream stat("/proc/" + std::string(entry->d_name) + "/stat");
        std::string line;
        std::getline(stat, line);
        // pid (name) state parent ...: the name may hold spaces, so read after ')'.
        const std::size_t close = line.rfind(')');
        if (close == std::string::npos) {
            continue;
        }
        char state = 0;
        int parent = 0;
        if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &parent) == 2 &&
            parent == test) {
            kill(pid, SIGKILL);
        }
    }
    closedir(processes);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        return 2;
    }
    const pid_t test = getppid();
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != test) {
        return 2;
    }
    const std::string caption = argv[1];
    const std::string key = argv[2];
    const auto limit = std::chrono::milliseconds(std::atol(argv[3]));

    sdltest::XDriver x;
    if (!x.connected()) {
        return sdltest::BOX_NO_DISPLAY;
    }
    Window box = None;
    bool keySent = false;
    const bool closed = waitFor(
        [&] {
            if (box == None) {
                box = x.findTitled(caption);
            }
            if (box == None) {
                return false;
            }
            if (!keySent && x.viewable(box) && x.focused(box)) {
                x.tap(key);
                keySent = true;
            }
            return keySent && !x.viewable(box);
        },
        limit);
    if (closed) {
        return sdltest::BOX_ANSWERED;
    }

    // Nobody answered in time: close the box so the call returns and the test fails.
    box = x.findTitled(caption);
    if (box != None) {
        x.askToClose(box);
        if (waitFor([&] { return !x.viewable(box); }, 3s)) {
            return sdltest::BOX_FORCED_CLOSED;
        }
        x.disconnectOwner(box);
        if (waitFor([&] { return !x.viewable(box); }, 3s)) {
            return sdltest::BOX_FORCED_CLOSED;
        }
    }
    killBoxChildren(test);
    return sdltest::BOX_FORCED_CLOSED;
}
