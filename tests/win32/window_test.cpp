// Window classes, windows and the message queue on the Win32 backend: what the
// engine asks for is what Win32 reports back, and Win32's messages reach the
// engine's procedure through the class's thunk.
#include <cstdlib>
#include <string>

#include "win32_fixture.h"

namespace {

using namespace platform;
using win32test::received;
using win32test::wasReceived;
using win32test::Win32Test;

constexpr std::uint32_t POPUP_STYLE = ws::POPUP | ws::CLIPSIBLINGS | ws::CLIPCHILDREN;
constexpr std::uint32_t CAPTIONED_STYLE =
    ws::CAPTION | ws::SYSMENU | ws::MINIMIZEBOX | ws::CLIPSIBLINGS | ws::CLIPCHILDREN;

std::string sourceFile(const std::string& relative) {
    const char* root = std::getenv("TESSAK_SOURCE_DIR");
    return std::string(root != nullptr ? root : ".") + "/" + relative;
}

using WindowTest = Win32Test;

TEST_F(WindowTest, ClassIsRegisteredWithTheEngineStyleCursorBrushAndInstance) {
    HWND window = static_cast<HWND>(createGameStyleWindow("Win32ClassTest"));
    ASSERT_NE(window, nullptr);

    WNDCLASSEXA registered{};
    registered.cbSize = sizeof registered;
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "Win32ClassTest", &registered));
    EXPECT_EQ(registered.style, 0x2Bu);
    EXPECT_EQ(registered.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(registered.hbrBackground, GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(registered.hIcon, LoadIconA(nullptr, IDI_APPLICATION));
    EXPECT_EQ(GetClassLongPtrA(window, GCLP_HMODULE),
              reinterpret_cast<ULONG_PTR>(GetModuleHandleA(nullptr)));
    // A second registration of the name fails, as RegisterClassExA does.
    WindowClass again;
    again.procedure = win32test::recordingProcedure;
    again.className = "win32classtest";
    EXPECT_FALSE(backend().windowing().registerClass(again));
    backend().windowing().destroyWindow(window);
}

TEST_F(WindowTest, WindowIsCreatedHiddenWithThePopupStyleAndNoExtendedStyle) {
    WindowHandle window = createGameStyleWindow("Win32PopupTest");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(static_cast<std::uint32_t>(GetWindowLongA(static_cast<HWND>(window), GWL_STYLE)),
              0x86000000u);
    EXPECT_EQ(backend().windowing().style(window), POPUP_STYLE);
    EXPECT_EQ(backend().windowing().extendedStyle(window), 0u);
    EXPECT_FALSE(IsWindowVisible(static_cast<HWND>(window)));
    // CreateWindowExA's own messages reached the engine procedure before it returned.
    EXPECT_TRUE(wasReceived(WM_NCCREATE));
    EXPECT_TRUE(wasReceived(WM_CREATE));
    backend().windowing().destroyWindow(window);
}

TEST_F(WindowTest, WindowedPlacementGivesTheCaptionedStyleAndTheClientSizeAsked) {
    WindowHandle window = createGameStyleWindow("Win32WindowedTest");
    ASSERT_NE(window, nullptr);
    Windowing& windows = backend().windowing();

    windows.setStyle(window, CAPTIONED_STYLE);
    EXPECT_EQ(static_cast<std::uint32_t>(GetWindowLongA(static_cast<HWND>(window), GWL_STYLE)),
              0x06CA0000u);

    const Rect client{112, 84, 112 + 800, 84 + 600};
    const Rect outer =
        windows.adjustWindowRect(client, windows.style(window), windows.extendedStyle(window));
    // A caption and a border grow the rectangle on every side, the caption most.
    EXPECT_LT(outer.left, client.left);
    EXPECT_LT(outer.top, client.top - 10);
    EXPECT_GT(outer.right, client.right);
    EXPECT_GT(outer.bottom, client.bottom);

    windows.setWindowPos(window, hwnd::NOTOPMOST, outer.left, outer.top, outer.right - outer.left,
                         outer.bottom - outer.top, 0);
    // Measured before the window is shown: once it is mapped, the X window
    // manager frames it with its own decorations (and fits it to the screen of
    // the moment), which Wine then reports as the window's rectangle.
    RECT placed{};
    GetWindowRect(static_cast<HWND>(window), &placed);
    EXPECT_EQ(placed.right - placed.left, outer.right - outer.left);
    EXPECT_EQ(placed.bottom - placed.top, outer.bottom - outer.top);
    RECT clientArea{};
    GetClientRect(static_cast<HWND>(window), &clientArea);
    EXPECT_EQ(clientArea.right - clientArea.left, 800);
    EXPECT_EQ(clientArea.bottom - clientArea.top, 600);

    windows.showWindow(window, sw::SHOW);
    windows.updateWindow(window);
    windows.setFocus(window);
    pump();
    EXPECT_TRUE(IsWindowVisible(static_cast<HWND>(window)));
    EXPECT_EQ(windows.extendedStyle(window) & WS_EX_TOPMOST, 0u);
    windows.destroyWindow(window);
}

TEST_F(WindowTest, FullScreenPlacementMakesThePopupTopmostAndKeepsItsSize) {
    WindowHandle window = createGameStyleWindow("Win32FullScreenTest");
    ASSERT_NE(window, nullptr);
    Windowing& windows = backend().windowing();
    RECT before{};
    GetWindowRect(static_cast<HWND>(window), &before);

    windows.setStyle(window, POPUP_STYLE);
    windows.setWindowPos(window, hwnd::TOPMOST, 0, 0, 0, 0, swp::NOSIZE | swp::NOMOVE);

    EXPECT_NE(windows.extendedStyle(window) & WS_EX_TOPMOST, 0u);
    RECT after{};
    GetWindowRect(static_cast<HWND>(window), &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    EXPECT_EQ(after.left, before.left);
    windows.destroyWindow(window);
}

TEST_F(WindowTest, DestroyingSendsDestroyToTheProcedureBeforeReturning) {
    WindowHandle window = createGameStyleWindow("Win32DestroyTest");
    ASSERT_NE(window, nullptr);
    received().clear();
    backend().windowing().destroyWindow(window);
    EXPECT_TRUE(wasReceived(wm::DESTROY));
    EXPECT_FALSE(IsWindow(static_cast<HWND>(window)));
}

TEST_F(WindowTest, IconsLoadFromAFileOrGiveNull) {
    Windowing& windows = backend().windowing();
    EXPECT_NE(windows.applicationIcon(), nullptr);
    IconHandle icon = windows.loadIconFile(sourceFile("resources/icon.ico"));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    EXPECT_TRUE(GetIconInfo(static_cast<HICON>(icon), &info));
    if (info.hbmColor != nullptr) {
        DeleteObject(info.hbmColor);
    }
    if (info.hbmMask != nullptr) {
        DeleteObject(info.hbmMask);
    }
    EXPECT_EQ(windows.loadIconFile(sourceFile("resources/no-such-icon.ico")), nullptr);
}

// The thunk passes the four values through and returns the procedure's result.
std::intptr_t answeringProcedure(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
    if (message == WM_USER + 7) {
        return static_cast<std::intptr_t>(wParam * 1000) + lParam;
    }
    return current().windowing().defWindowProc(window, message, wParam, lParam);
}

TEST_F(WindowTest, ThunkHandsTheFourValuesToTheEngineProcedureAndReturnsItsResult) {
    WindowClass windowClass;
    windowClass.procedure = answeringProcedure;
    windowClass.className = "Win32ThunkTest";
    ASSERT_TRUE(backend().windowing().registerClass(windowClass));
    WindowHandle window =
        backend().windowing().createWindow("Win32ThunkTest", "thunk", POPUP_STYLE, 0, 0, 50, 50);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SendMessageA(static_cast<HWND>(window), WM_USER + 7, 42, -5), 41995);
    backend().windowing().destroyWindow(window);
}

TEST_F(WindowTest, PeekedMessagesAreDispatchedWholeAndKeysAreTranslated) {
    WindowHandle window = createGameStyleWindow("Win32QueueTest");
    ASSERT_NE(window, nullptr);
    System& system = backend().system();
    pump();
    received().clear();

    ASSERT_TRUE(PostMessageA(static_cast<HWND>(window), WM_USER + 1, 3, 4));
    Message message;
    ASSERT_TRUE(system.peekMessage(message));
    EXPECT_EQ(message.window, window);
    EXPECT_EQ(message.message, WM_USER + 1);
    EXPECT_EQ(message.wParam, 3u);
    EXPECT_EQ(message.lParam, 4);
    // Nothing reaches the procedure until the message is dispatched.
    EXPECT_TRUE(received().empty());
    system.dispatchMessage(message);
    ASSERT_EQ(received().size(), 1u);
    EXPECT_EQ(received()[0].message, WM_USER + 1u);

    // TranslateMessage turns a key-down of 'A' into a character message.
    received().clear();
    ASSERT_TRUE(PostMessageA(static_cast<HWND>(window), WM_KEYDOWN, 'A', 0x001E0001));
    pump();
    EXPECT_TRUE(wasReceived(WM_KEYDOWN));
    EXPECT_TRUE(wasReceived(WM_CHAR));
    backend().windowing().destroyWindow(window);
}

TEST_F(WindowTest, QuitMessageCarriesTheExitCode) {
    System& system = backend().system();
    system.postQuitMessage(3);
    Message message;
    bool quit = false;
    while (system.peekMessage(message)) {
        if (message.message == wm::QUIT) {
            quit = true;
            EXPECT_EQ(message.wParam, 3u);
            EXPECT_EQ(message.window, nullptr);
            break;
        }
        system.dispatchMessage(message);
    }
    EXPECT_TRUE(quit);
}

TEST_F(WindowTest, ClockAdvancesInMillisecondsAcrossASleep) {
    System& system = backend().system();
    const std::uint32_t before = system.milliseconds();
    system.sleep(50);
    const std::uint32_t elapsed = system.milliseconds() - before;
    EXPECT_GE(elapsed, 45u);
}

}  // namespace
