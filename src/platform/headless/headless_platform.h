#pragma once
// The null backend: no window, no display, no Direct3D. The clock is the
// machine's steady clock, a message box is answered at once with its default
// button (and its text written to stderr), and the only message is the quit
// message. For programs that run the engine without a screen: the example host,
// the fuzzer, benchmarks.
#include <chrono>
#include <cstdint>
#include <iostream>
#include <string>

#include "platform/platform.h"

namespace platform::headless {

class HeadlessSystem : public System {
public:
    // An empty root gives no data folder; boxes are written to `boxLog` unless null.
    HeadlessSystem(std::string dataRoot, std::ostream* boxLog)
        : dataRoot(std::move(dataRoot)), boxLog(boxLog) {}

    bool peekMessage(Message& out) override;
    void dispatchMessage(const Message&) override {}
    void postQuitMessage(int exitCode) override;
    void sleep(std::uint32_t milliseconds) override;
    std::uint32_t milliseconds() override;
    // The button Enter would press: OK, Yes, or Cancel of the three-button box.
    int messageBox(const std::string& text, const std::string& caption,
                   std::uint32_t style) override;
    std::string dataFolder(const std::string& subFolder) override;
    char pathSeparator() const override { return '/'; }
    bool syncFile(std::FILE* file) override;
    std::tm localTime(std::time_t seconds) override;

private:
    const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    std::string dataRoot;
    std::ostream* boxLog;
    bool quitPosted = false;
    int postedExitCode = 0;
};

// No key is ever down; the cursor stays at the origin.
class HeadlessInput : public Input {
public:
    bool keyPressed(int) override { return false; }
    bool keyDown(int) override { return false; }
    Point cursorPosition(WindowHandle) override { return {}; }
};

// Classes register, but no window can be created.
class HeadlessWindowing : public Windowing {
public:
    IconHandle applicationIcon() override { return nullptr; }
    IconHandle loadIconFile(const std::string&) override { return nullptr; }
    bool registerClass(const WindowClass&) override { return true; }
    WindowHandle createWindow(const std::string&, const std::string&, std::uint32_t, int, int, int,
                              int) override {
        return nullptr;
    }
    void updateWindow(WindowHandle) override {}
    void showWindow(WindowHandle, int) override {}
    void setFocus(WindowHandle) override {}
    void setStyle(WindowHandle, std::uint32_t) override {}
    std::uint32_t style(WindowHandle) override { return 0; }
    std::uint32_t extendedStyle(WindowHandle) override { return 0; }
    Rect adjustWindowRect(const Rect& client, std::uint32_t, std::uint32_t) override {
        return client;
    }
    void setWindowPos(WindowHandle, std::intptr_t, int, int, int, int, std::uint32_t) override {}
    void destroyWindow(WindowHandle) override {}
    std::intptr_t defWindowProc(WindowHandle, std::uint32_t, std::uintptr_t,
                                std::intptr_t) override {
        return 0;
    }
};

class HeadlessPlatform : public Platform {
public:
    explicit HeadlessPlatform(std::string dataRoot = {}, std::ostream* boxLog = &std::cerr)
        : headlessSystem(std::move(dataRoot), boxLog) {}

    System& system() override { return headlessSystem; }
    Input& input() override { return headlessInput; }
    Windowing& windowing() override { return headlessWindowing; }
    // Direct3D cannot be had.
    Direct3D* createDirect3D() override { return nullptr; }

private:
    HeadlessSystem headlessSystem;
    HeadlessInput headlessInput;
    HeadlessWindowing headlessWindowing;
};

}  // namespace platform::headless
