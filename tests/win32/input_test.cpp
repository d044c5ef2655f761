// Keys and the mouse on the Win32 backend, driven by SendInput: the asynchronous
// key state's "pressed since the last query", the thread's key state, and the
// cursor in client pixels of the window.
#include <chrono>
#include <cstdlib>
#include <functional>

#include "win32_fixture.h"

namespace {

using namespace platform;
using win32test::Win32Test;

void sendKey(WORD key, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    // The arrows are extended keys: without the flag they would be the keypad's.
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | KEYEVENTF_EXTENDEDKEY;
    ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
}

void sendMouse(DWORD flags, int screenX = 0, int screenY = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        // Absolute positions are in 1/65536 of the primary screen.
        input.mi.dx = (screenX * 65536 + 32768) / GetSystemMetrics(SM_CXSCREEN);
        input.mi.dy = (screenY * 65536 + 32768) / GetSystemMetrics(SM_CYSCREEN);
    }
    ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
}

class InputTest : public Win32Test {
protected:
    void SetUp() override {
        Win32Test::SetUp();
        window = createGameStyleWindow("Win32InputTest");
        ASSERT_NE(window, nullptr);
        Windowing& windows = backend().windowing();
        windows.setWindowPos(window, hwnd::NOTOPMOST, 100, 80, 400, 300, 0);
        windows.showWindow(window, sw::SHOW);
        windows.setFocus(window);
        SetForegroundWindow(static_cast<HWND>(window));
        // Keys go to the thread whose window has the focus; the window manager
        // hands it over in its own time.
        HWND own = static_cast<HWND>(window);
        ASSERT_TRUE(pumpUntil([&] { return GetForegroundWindow() == own && GetFocus() == own; }))
            << "the test window never got the focus";
    }
    void TearDown() override {
        backend().windowing().destroyWindow(window);
        Win32Test::TearDown();
    }

    // Pumps messages until `done` holds, for at most ten seconds.
    bool pumpUntil(const std::function<bool()>& done) {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            if (std::chrono::steady_clock::now() > limit) {
                return false;
            }
            pump();
            Sleep(5);
        }
        return true;
    }

    WindowHandle window = nullptr;
};

TEST_F(InputTest, KeyPressedAndReleasedIsReportedOnceByTheAsynchronousState) {
    Input& input = backend().input();
    input.keyPressed(vk::LEFT);  // forgets any earlier press
    sendKey(VK_LEFT, true);
    sendKey(VK_LEFT, false);
    EXPECT_TRUE(pumpUntil([&] { return input.keyPressed(vk::LEFT); }));
    // Released, and not pressed again since that query.
    EXPECT_FALSE(input.keyPressed(vk::LEFT));
    EXPECT_FALSE(input.keyPressed(vk::RIGHT));
}

// Wine keeps a key sent with SendInput down in the asynchronous state only until
// it next compares that state with the X server's keyboard (where the key is up),
// so only the first query after the press is checked there.
TEST_F(InputTest, HeldKeyIsPressedAndDownInTheThreadStateUntilReleased) {
    Input& input = backend().input();
    sendKey(VK_UP, true);
    EXPECT_TRUE(input.keyPressed(vk::UP));
    EXPECT_TRUE(pumpUntil([&] { return input.keyDown(vk::UP); }));
    EXPECT_FALSE(input.keyDown(vk::DOWN));
    sendKey(VK_UP, false);
    EXPECT_TRUE(pumpUntil([&] { return !input.keyDown(vk::UP); }));
    input.keyPressed(vk::UP);
    EXPECT_FALSE(input.keyPressed(vk::UP));
}

TEST_F(InputTest, CursorIsReportedInClientPixelsAndTheLeftButtonIsSeen) {
    Input& input = backend().input();
    POINT origin{0, 0};
    ClientToScreen(static_cast<HWND>(window), &origin);
    sendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, origin.x + 123, origin.y + 45);
    Point cursor;
    EXPECT_TRUE(pumpUntil([&] {
        cursor = input.cursorPosition(window);
        return std::abs(cursor.x - 123) <= 1 && std::abs(cursor.y - 45) <= 1;
    })) << "cursor at "
        << cursor.x << ", " << cursor.y;
    // Exactly the screen position less the client area's origin.
    POINT screen{};
    GetCursorPos(&screen);
    cursor = input.cursorPosition(window);
    EXPECT_EQ(cursor.x, screen.x - origin.x);
    EXPECT_EQ(cursor.y, screen.y - origin.y);

    input.keyPressed(vk::LBUTTON);
    sendMouse(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(pumpUntil([&] { return input.keyDown(vk::LBUTTON); }));
    EXPECT_TRUE(input.keyPressed(vk::LBUTTON));
    sendMouse(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(pumpUntil([&] { return !input.keyDown(vk::LBUTTON); }));
    // The window saw the press where the cursor was, in client pixels.
    bool sawPress = false;
    for (const Message& m : win32test::received()) {
        if (m.message == wm::LBUTTONDOWN) {
            sawPress = true;
            EXPECT_EQ(static_cast<short>(LOWORD(m.lParam)), cursor.x);
            EXPECT_EQ(static_cast<short>(HIWORD(m.lParam)), cursor.y);
        }
    }
    EXPECT_TRUE(sawPress);
}

}  // namespace
