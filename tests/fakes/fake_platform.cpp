#include "fakes/fake_platform.h"

#include <filesystem>
#include <stdexcept>

namespace fakes {

bool FakeSystem::syncFile(std::FILE*) {
    ++syncs;
    return !syncFails;
}

std::tm FakeSystem::localTime(std::time_t seconds) {
    const std::tm* local = std::localtime(&seconds);
    return local != nullptr ? *local : std::tm{};
}

bool FakeSystem::peekMessage(platform::Message& out) {
    if (queue.empty()) {
        return false;
    }
    out = queue.front();
    queue.pop_front();
    return true;
}

void FakeSystem::dispatchMessage(const platform::Message& message) {
    dispatched.push_back(message);
    if (onDispatch) {
        onDispatch(message);
    }
}

void FakeSystem::postQuitMessage(int exitCode) {
    platform::Message quit;
    quit.message = platform::wm::QUIT;
    quit.wParam = static_cast<std::uintptr_t>(exitCode);
    queue.push_back(quit);
}

void FakeSystem::sleep(std::uint32_t milliseconds) {
    sleeps.push_back(milliseconds);
    if (onSleep) {
        onSleep(milliseconds);
    }
}

std::uint32_t FakeSystem::milliseconds() {
    if (!clockScript.empty()) {
        clock = clockScript.front();
        clockScript.pop_front();
        return clock;
    }
    const std::uint32_t now = clock;
    clock += clockStep;
    return now;
}

int FakeSystem::messageBox(const std::string& text, const std::string& caption,
                           std::uint32_t style) {
    boxes.push_back({text, caption, style});
    if (answers.empty()) {
        return platform::id::OK;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

std::string FakeSystem::dataFolder(const std::string& subFolder) {
    lastSubFolder = subFolder;
    if (dataFolderPath.empty()) {
        return {};
    }
    const std::string folder = dataFolderPath + pathSeparator() + subFolder;
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

bool FakeInput::keyPressed(int virtualKey) {
    queries.push_back(virtualKey);
    const bool wasTapped = tapped.erase(virtualKey) > 0;
    return wasTapped || down.count(virtualKey) > 0;
}

bool FakeInput::keyDown(int virtualKey) { return down.count(virtualKey) > 0; }

platform::Point FakeInput::cursorPosition(platform::WindowHandle) { return cursor; }

platform::Windowing& FakePlatform::windowing() {
    if (fakeWindowing == nullptr) {
        throw std::logic_error("this test installed no fake windows");
    }
    return *fakeWindowing;
}

}  // namespace fakes
