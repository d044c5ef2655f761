#include "platform/headless/headless_platform.h"

#include <filesystem>
#include <system_error>
#include <thread>

#include "platform/posix/posix_calls.h"

namespace platform::headless {

bool HeadlessSystem::peekMessage(Message& out) {
    if (!quitPosted) {
        return false;
    }
    quitPosted = false;
    out = Message{};
    out.message = wm::QUIT;
    out.wParam = static_cast<std::uintptr_t>(postedExitCode);
    return true;
}

void HeadlessSystem::postQuitMessage(int exitCode) {
    quitPosted = true;
    postedExitCode = exitCode;
}

void HeadlessSystem::sleep(std::uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::uint32_t HeadlessSystem::milliseconds() {
    const auto elapsed = std::chrono::steady_clock::now() - start;
    // Wraps at 2^32 as timeGetTime does.
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

int HeadlessSystem::messageBox(const std::string& text, const std::string& caption,
                               std::uint32_t style) {
    int answer = id::OK;
    switch (style & mb::TYPEMASK) {
        case mb::YESNO:
            answer = id::YES;
            break;
        case mb::CANCELTRYCONTINUE:
            answer = id::CANCEL;
            break;
        default:
            break;
    }
    if (boxLog != nullptr) {
        *boxLog << "[" << caption << "] " << text << " -> answered " << answer << '\n';
    }
    return answer;
}

std::string HeadlessSystem::dataFolder(const std::string& subFolder) {
    if (dataRoot.empty()) {
        return {};
    }
    const std::filesystem::path folder = std::filesystem::path(dataRoot) / subFolder;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error) ? folder.string() : std::string();
}

bool HeadlessSystem::syncFile(std::FILE* file) { return posix::syncFile(file); }

std::tm HeadlessSystem::localTime(std::time_t seconds) { return posix::localTime(seconds); }

}  // namespace platform::headless
