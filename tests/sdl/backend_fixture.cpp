#include "backend_fixture.h"

#include <SDL_syswm.h>

#include <cstring>

namespace sdltest {

using namespace platform;

std::vector<Message>& received() {
    static std::vector<Message> messages;
    return messages;
}

std::intptr_t recordingProcedure(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
    received().push_back(Message{window, message, wParam, lParam});
    return 0;
}

void BackendTest::SetUp() {
    ASSERT_TRUE(x.connected()) << "no X server with the XTEST extension";
    received().clear();
    backend = std::make_unique<sdl::SdlPlatform>();
    platform::install(backend.get());
    WindowClass windowClass;
    windowClass.procedure = &recordingProcedure;
    windowClass.icon = backend->windowing().applicationIcon();
    windowClass.className = "BackendTestClass";
    ASSERT_TRUE(backend->windowing().registerClass(windowClass));
    window = backend->windowing().createWindow("BackendTestClass", "Backend test",
                                               ws::POPUP | ws::CLIPSIBLINGS | ws::CLIPCHILDREN,
                                               cw::USEDEFAULT, 0, 320, 240);
    ASSERT_NE(window, nullptr);
    // The tests' X server, not an invisible stand-in.
    ASSERT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
    direct3d = backend->createDirect3D();
    ASSERT_NE(direct3d, nullptr);
}

void BackendTest::TearDown() {
    // A key left down would keep a window manager's shortcut grab on the keyboard
    // and starve every later test of its input.
    x.releaseAll();
    EXPECT_EQ(x.keysHeldDown(), std::vector<std::string>{});
    delete device;
    delete direct3d;
    platform::install(nullptr);
    backend.reset();
}

PresentParameters BackendTest::parameters(bool windowed) const {
    PresentParameters p;
    DisplayMode desktop;
    direct3d->getAdapterDisplayMode(desktop);
    p.BackBufferWidth = windowed ? 800 : desktop.Width;
    p.BackBufferHeight = windowed ? 600 : desktop.Height;
    p.BackBufferFormat = d3dfmt::X8R8G8B8;
    p.BackBufferCount = 1;
    p.SwapEffect = d3dswapeffect::DISCARD;
    p.hDeviceWindow = window;
    p.Windowed = windowed;
    p.EnableAutoDepthStencil = true;
    p.AutoDepthStencilFormat = d3dfmt::D16;
    p.FullScreen_RefreshRateInHz = windowed ? 0 : desktop.RefreshRate;
    return p;
}

void BackendTest::createDevice(bool windowed) {
    Windowing& windows = backend->windowing();
    if (windowed) {
        windows.setStyle(window, 0x06CA0000);
        const Rect client{100, 80, 900, 680};
        const Rect outer =
            windows.adjustWindowRect(client, windows.style(window), windows.extendedStyle(window));
        windows.setWindowPos(window, hwnd::NOTOPMOST, outer.left, outer.top,
                             outer.right - outer.left, outer.bottom - outer.top, 0);
    } else {
        windows.setStyle(window, ws::POPUP | ws::CLIPSIBLINGS | ws::CLIPCHILDREN);
        windows.setWindowPos(window, hwnd::TOPMOST, 0, 0, 0, 0, swp::NOSIZE | swp::NOMOVE);
    }
    PresentParameters p = parameters(windowed);
    ASSERT_EQ(direct3d->createDevice(window, 0x142, p, &device), d3d::OK);
    windows.updateWindow(window);
    windows.showWindow(window, sw::SHOW);
    windows.setFocus(window);
    pumpFor(200);
}

Window BackendTest::xWindow() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (sdlWindow() == nullptr || !SDL_GetWindowWMInfo(sdlWindow(), &info) ||
        info.subsystem != SDL_SYSWM_X11) {
        return None;
    }
    return info.info.x11.window;
}

bool BackendTest::readyForInput() {
    const Window target = xWindow();
    if (target == None) {
        return false;
    }
    if (!pumpUntil([&] { return x.viewable(target); })) {
        return false;
    }
    x.activate(target);
    if (!pumpUntil([&] { return x.focused(target); })) {
        return false;
    }
    int width = 0, height = 0;
    SDL_GetWindowSize(sdlWindow(), &width, &height);
    x.movePointer(target, width / 2, height / 2);
    if (!pumpUntil([&] { return x.pointerOver(target); })) {
        return false;
    }
    // SDL has seen the focus arrive, so its key state starts from here.
    return pumpUntil(
        [&] { return (SDL_GetWindowFlags(sdlWindow()) & SDL_WINDOW_INPUT_FOCUS) != 0; });
}

bool BackendTest::pumpUntil(const std::function<bool()>& done, std::uint32_t milliseconds) {
    System& system = backend->system();
    const std::uint32_t start = SDL_GetTicks();
    while (!done()) {
        if (SDL_GetTicks() - start > milliseconds) {
            return false;
        }
        Message message;
        if (system.peekMessage(message)) {
            system.dispatchMessage(message);
        } else {
            SDL_Delay(5);
        }
    }
    return true;
}

}  // namespace sdltest
