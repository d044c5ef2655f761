#pragma once
// In-memory platform for tests: a scripted message queue and clock, recorded
// sleeps and message boxes with queued answers, scripted keys and mouse.
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <deque>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace fakes {

struct MessageBoxCall {
    std::string text;
    std::string caption;
    std::uint32_t style;
};

class FakeSystem : public platform::System {
public:
    // Messages waiting in the queue, taken one per peekMessage.
    std::deque<platform::Message> queue;
    // Every message handed to dispatchMessage, in order.
    std::vector<platform::Message> dispatched;
    // Called for each dispatched message (stands in for the window procedure).
    std::function<void(const platform::Message&)> onDispatch;
    // The clock: milliseconds() returns `clock`, then adds `clockStep` to it; when
    // `clockScript` is not empty its front value is taken instead.
    std::uint32_t clock = 0;
    std::uint32_t clockStep = 0;
    std::deque<std::uint32_t> clockScript;
    std::vector<std::uint32_t> sleeps;
    std::function<void(std::uint32_t)> onSleep;
    std::vector<MessageBoxCall> boxes;
    // Answers given to message boxes, front first; id::OK when empty.
    std::deque<int> answers;
    std::string dataFolderPath;  // returned by dataFolder() with the sub-folder appended
    std::string lastSubFolder;
    // syncFile answers false while this is set (a disk that refuses to sync).
    bool syncFails = false;
    int syncs = 0;

    bool peekMessage(platform::Message& out) override;
    void dispatchMessage(const platform::Message& message) override;
    void postQuitMessage(int exitCode) override;
    void sleep(std::uint32_t milliseconds) override;
    std::uint32_t milliseconds() override;
    int messageBox(const std::string& text, const std::string& caption,
                   std::uint32_t style) override;
    std::string dataFolder(const std::string& subFolder) override;
    // This system's own separator, as its real backend gives ('\\' on Windows).
    char pathSeparator() const override {
        return static_cast<char>(std::filesystem::path::preferred_separator);
    }
    bool syncFile(std::FILE* file) override;
    // The C library's local time: what std::mktime takes apart.
    std::tm localTime(std::time_t seconds) override;
};

class FakeInput : public platform::Input {
public:
    // Keys down now.
    std::set<int> down;
    // Keys pressed and released since their last query (reported once).
    std::set<int> tapped;
    platform::Point cursor;
    std::vector<int> queries;

    bool keyPressed(int virtualKey) override;
    bool keyDown(int virtualKey) override;
    platform::Point cursorPosition(platform::WindowHandle window) override;
};

class FakePlatform : public platform::Platform {
public:
    FakeSystem fakeSystem;
    FakeInput fakeInput;
    // Set by tests that need windows or Direct3D.
    platform::Windowing* fakeWindowing = nullptr;
    platform::Direct3D* fakeDirect3D = nullptr;

    FakePlatform() { platform::install(this); }
    ~FakePlatform() override { platform::install(nullptr); }

    platform::System& system() override { return fakeSystem; }
    platform::Input& input() override { return fakeInput; }
    platform::Windowing& windowing() override;
    platform::Direct3D* createDirect3D() override { return fakeDirect3D; }
};

}  // namespace fakes
