#include "box_answerer.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

extern char** environ;

namespace sdltest {

BoxAnswerer::BoxAnswerer(const std::string& caption, const std::string& key,
                         std::chrono::milliseconds limit) {
    const std::string milliseconds = std::to_string(limit.count());
    const char* arguments[] = {BOX_ANSWERER_PATH, caption.c_str(), key.c_str(),
                               milliseconds.c_str(), nullptr};
    if (posix_spawn(&helper, BOX_ANSWERER_PATH, nullptr, nullptr,
                    const_cast<char* const*>(arguments), environ) != 0) {
        helper = -1;
    }
}

bool BoxAnswerer::forcedClosed() {
    if (helper > 0 && helperExit < 0) {
        // The box has gone; the helper sees that within moments.
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        int status = 0;
        while (waitpid(helper, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > end) {
                kill(helper, SIGKILL);
                waitpid(helper, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        helperExit = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        helper = -1;
    }
    return helperExit != BOX_ANSWERED;
}

BoxAnswerer::~BoxAnswerer() {
    if (helper <= 0) {
        return;
    }
    kill(helper, SIGKILL);
    int status = 0;
    waitpid(helper, &status, 0);
}

}  // namespace sdltest
