#pragma once
// What the Win32 backend's tests share: the backend's System, Input and Windows
// installed as the platform (no Direct3D: these tests open no device), and a
// window procedure that records what reaches it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/input.h"
#include "platform/win32/system.h"
#include "platform/win32/windowing.h"

namespace win32test {

class BackendWithoutDirect3D : public platform::Platform {
public:
    platform::System& system() override { return win32System; }
    platform::Input& input() override { return win32Input; }
    platform::Windowing& windowing() override { return win32Windowing; }
    platform::Direct3D* createDirect3D() override { return nullptr; }

private:
    platform::win32::Win32System win32System;
    platform::win32::Win32Input win32Input;
    platform::win32::Win32Windowing win32Windowing;
};

// Everything the recording procedure has been handed, in order.
std::vector<platform::Message>& received();
// Records the message, then answers as DefWindowProcA would (through the seam).
std::intptr_t recordingProcedure(platform::WindowHandle window, std::uint32_t message,
                                 std::uintptr_t wParam, std::intptr_t lParam);
bool wasReceived(std::uint32_t message);

// Installs a fresh backend for each test and uninstalls it afterwards.
class Win32Test : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    platform::Platform& backend() { return *installedBackend; }
    // Registers a class with the game window's class style and the recording
    // procedure, and creates a hidden popup window of it.
    platform::WindowHandle createGameStyleWindow(const char* className);
    // Takes and dispatches every waiting message.
    void pump();

private:
    BackendWithoutDirect3D* installedBackend = nullptr;
};

}  // namespace win32test
