// Windows, messages, keys, mouse, message boxes and device loss on the SDL
// backend, driven from outside through the X server under a window manager.
#include <cstdlib>
#include <string>

#include "backend_fixture.h"
#include "box_answerer.h"
#include "graphics/transform2d.h"
#include "platform/sdl/event_translation.h"
#include "platform/sdl/windowing.h"

namespace {

using namespace platform;
using sdltest::BackendTest;
using sdltest::BoxAnswerer;
using sdltest::received;

bool receivedMessage(std::uint32_t message, std::uintptr_t wParam) {
    for (const Message& m : received()) {
        if (m.message == message && m.wParam == wParam) {
            return true;
        }
    }
    return false;
}

const Message* lastMessage(std::uint32_t message) {
    for (auto it = received().rbegin(); it != received().rend(); ++it) {
        if (it->message == message) {
            return &*it;
        }
    }
    return nullptr;
}

// Draws the texture at (10, 10) at scale 1 and reads back its top-left pixel.
std::uint32_t drawAndRead(Device& device, SpriteBatch& sprite, TextureResource* texture,
                          SDL_Renderer* renderer) {
    device.clear(d3dclear::TARGET, 0, 1.0f, 0);
    device.beginScene();
    sprite.begin(d3dxsprite::ALPHABLEND);
    sprite.setTransform(graphics::transformation2D({1, 1}, {0, 0}, 0.0f, {10, 10}));
    const Rect source{0, 0, 16, 16};
    sprite.draw(texture, &source, 0xFFFFFFFF);
    sprite.end();
    sdltest::Pixels pixels(renderer);
    device.endScene();
    device.present();
    return pixels.at(12, 12);
}

TEST_F(BackendTest, WindowsAreCreatedHiddenAndStyledPlacedAndShown) {
    SDL_Window* sdlWindow = this->sdlWindow();
    EXPECT_NE(SDL_GetWindowFlags(sdlWindow) & SDL_WINDOW_HIDDEN, 0u);
    EXPECT_NE(SDL_GetWindowFlags(sdlWindow) & SDL_WINDOW_BORDERLESS, 0u);
    EXPECT_STREQ(SDL_GetWindowTitle(sdlWindow), "Backend test");
    EXPECT_EQ(backend->windowing().createWindow("NoSuchClass", "x", ws::POPUP, 0, 0, 10, 10),
              nullptr);

    createDevice(true);
    EXPECT_EQ(backend->windowing().style(window), 0x06CA0000u);
    EXPECT_EQ(SDL_GetWindowFlags(sdlWindow) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS), 0u);
    EXPECT_EQ(SDL_GetWindowFlags(sdlWindow) & SDL_WINDOW_ALWAYS_ON_TOP, 0u);
    int width = 0, height = 0;
    SDL_GetWindowSize(sdlWindow, &width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    // Where it was put, whatever the window manager's own placement rules.
    int left = 0, top = 0, frameTop = 0, frameLeft = 0;
    SDL_GetWindowPosition(sdlWindow, &left, &top);
    SDL_GetWindowBordersSize(sdlWindow, &frameTop, &frameLeft, nullptr, nullptr);
    EXPECT_EQ(left, 100 + frameLeft);
    EXPECT_EQ(top, 80 + frameTop);

    backend->windowing().setWindowPos(window, hwnd::TOPMOST, 0, 0, 0, 0, swp::NOSIZE | swp::NOMOVE);
    EXPECT_NE(SDL_GetWindowFlags(sdlWindow) & SDL_WINDOW_ALWAYS_ON_TOP, 0u);
    SDL_GetWindowSize(sdlWindow, &width, &height);
    EXPECT_EQ(width, 800);

    backend->windowing().showWindow(window, sw::HIDE);
    EXPECT_NE(SDL_GetWindowFlags(sdlWindow) & SDL_WINDOW_HIDDEN, 0u);
}

TEST_F(BackendTest, IconFilesBecomeWindowIcons) {
    Windowing& windows = backend->windowing();
    EXPECT_EQ(windows.loadIconFile(folder.path() + "/missing.ico"), nullptr);
    IconHandle icon =
        windows.loadIconFile(sdltest::writeIcon(folder.path() + "/test.ico", 16, 0xFF3366CC));
    ASSERT_NE(icon, nullptr);
    const auto* surface = static_cast<SDL_Surface*>(icon);
    EXPECT_EQ(surface->w, 16);
    EXPECT_EQ(surface->h, 16);

    WindowClass withIcon;
    withIcon.procedure = &sdltest::recordingProcedure;
    withIcon.icon = icon;
    withIcon.className = "IconClass";
    ASSERT_TRUE(windows.registerClass(withIcon));
    WindowHandle iconWindow = windows.createWindow("IconClass", "Icon", ws::POPUP, 0, 0, 64, 64);
    ASSERT_NE(iconWindow, nullptr);
    // The window manager now holds the picture as the window's _NET_WM_ICON.
    windows.showWindow(iconWindow, sw::SHOW);
    pumpFor(100);
    const std::string command =
        "xprop -name Icon _NET_WM_ICON 2>/dev/null | grep -q 'Icon (16 x 16)'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    windows.destroyWindow(iconWindow);
}

TEST_F(BackendTest, ClosingTheWindowSendsCloseToItsProcedure) {
    createDevice(true);
    ASSERT_TRUE(readyForInput());
    x.tap("alt+F4");
    ASSERT_TRUE(pumpUntil([] { return receivedMessage(wm::CLOSE, 0); }));
    EXPECT_EQ(lastMessage(wm::CLOSE)->window, window);
    // Closing asks; the window is still there until the program destroys it.
    EXPECT_TRUE(registry()->alive());
}

TEST_F(BackendTest, KeysCountWhenDownOrPressedSinceTheLastQuestion) {
    createDevice(true);
    Input& input = backend->input();
    ASSERT_TRUE(readyForInput());

    // A tap between two questions is reported once.
    x.tap("Left");
    ASSERT_TRUE(pumpUntil([] { return receivedMessage(wm::KEYUP, vk::LEFT); }));
    EXPECT_TRUE(receivedMessage(wm::KEYDOWN, vk::LEFT));
    EXPECT_FALSE(input.keyDown(vk::LEFT));
    EXPECT_TRUE(input.keyPressed(vk::LEFT));
    EXPECT_FALSE(input.keyPressed(vk::LEFT));

    // Seen even when nobody takes the messages off the queue.
    x.tap("Right");
    EXPECT_TRUE(sdltest::waitFor(
        [] {
            SDL_PumpEvents();
            return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYUP, SDL_KEYUP) > 0;
        },
        std::chrono::seconds(15)));
    EXPECT_TRUE(input.keyPressed(vk::RIGHT));
    EXPECT_FALSE(input.keyPressed(vk::UP));

    // A held key counts at every question.
    x.press("Escape");
    ASSERT_TRUE(pumpUntil([] { return receivedMessage(wm::KEYDOWN, vk::ESCAPE); }));
    EXPECT_TRUE(input.keyDown(vk::ESCAPE));
    EXPECT_TRUE(input.keyPressed(vk::ESCAPE));
    EXPECT_TRUE(input.keyPressed(vk::ESCAPE));
    x.release("Escape");
    ASSERT_TRUE(pumpUntil([] { return receivedMessage(wm::KEYUP, vk::ESCAPE); }));
    EXPECT_FALSE(input.keyDown(vk::ESCAPE));
    EXPECT_FALSE(input.keyPressed(vk::ESCAPE));
}

TEST_F(BackendTest, MouseIsReportedInClientPixels) {
    createDevice(true);
    Input& input = backend->input();
    ASSERT_TRUE(readyForInput());
    // Relative to the window as the X server has placed it.
    x.movePointer(xWindow(), 200, 150);
    ASSERT_TRUE(pumpUntil([] {
        const Message* moved = lastMessage(wm::MOUSEMOVE);
        return moved != nullptr && moved->lParam == sdl::packPoint(200, 150);
    }));
    const Point cursor = input.cursorPosition(window);
    EXPECT_EQ(cursor.x, 200);
    EXPECT_EQ(cursor.y, 150);

    x.pressButton(1);
    ASSERT_TRUE(pumpUntil([] { return lastMessage(wm::LBUTTONDOWN) != nullptr; }));
    EXPECT_EQ(lastMessage(wm::LBUTTONDOWN)->lParam, sdl::packPoint(200, 150));
    EXPECT_TRUE(input.keyDown(vk::LBUTTON));
    x.releaseButton(1);
    ASSERT_TRUE(pumpUntil([] { return lastMessage(wm::LBUTTONUP) != nullptr; }));
    EXPECT_FALSE(input.keyDown(vk::LBUTTON));
    EXPECT_TRUE(input.keyPressed(vk::LBUTTON));  // the click, once
    EXPECT_FALSE(input.keyPressed(vk::LBUTTON));
}

TEST_F(BackendTest, CursorIsInBackBufferPixelsOnALargerFullScreen) {
    // An 800 x 600 back buffer on the 1024 x 768 screen is shown scaled by 1.28.
    PresentParameters p = parameters(false);
    p.BackBufferWidth = 800;
    p.BackBufferHeight = 600;
    ASSERT_EQ(direct3d->createDevice(window, 0, p, &device), d3d::OK);
    backend->windowing().showWindow(window, sw::SHOW);
    pumpFor(300);
    int width = 0, height = 0;
    SDL_GetWindowSize(sdlWindow(), &width, &height);
    ASSERT_EQ(width, 1024);
    ASSERT_EQ(height, 768);
    ASSERT_TRUE(readyForInput());
    Input& input = backend->input();
    const auto cursorAt = [&](int cursorX, int cursorY) {
        return pumpUntil([&] {
            const Point cursor = input.cursorPosition(window);
            return cursor.x == cursorX && cursor.y == cursorY;
        });
    };
    x.movePointer(None, 512, 384);
    EXPECT_TRUE(cursorAt(400, 300));
    x.movePointer(None, 128, 64);
    EXPECT_TRUE(cursorAt(100, 50));
}

TEST_F(BackendTest, MinimisingLosesTheDeviceUntilRestoredAndReset) {
    createDevice(true);
    const std::uint32_t colours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
    ImageInfo info;
    TextureResource* texture = nullptr;
    ASSERT_EQ(
        device->createTextureFromFile(
            sdltest::writeQuadrants(folder.path() + "/q.png", 32, 32, colours), info, &texture),
        d3d::OK);
    SpriteBatch* sprite = nullptr;
    ASSERT_EQ(device->createSprite(&sprite), d3d::OK);
    EXPECT_EQ(device->testCooperativeLevel(), d3d::OK);
    pumpFor(100);
    drawAndRead(*device, *sprite, texture, sdlDevice().renderer());  // first frame settles
    EXPECT_EQ(drawAndRead(*device, *sprite, texture, sdlDevice().renderer()), 0xFF0000u);

    backend->windowing().showWindow(window, sw::MINIMIZE);
    ASSERT_TRUE(pumpUntil([&] { return device->testCooperativeLevel() == d3derr::DEVICELOST; }));
    EXPECT_TRUE(receivedMessage(wm::SIZE, sdl::SIZE_MINIMIZED));
    PresentParameters p = parameters(true);
    EXPECT_EQ(device->reset(p), d3derr::DEVICELOST);
    EXPECT_EQ(device->present(), d3derr::DEVICELOST);

    backend->windowing().showWindow(window, sw::RESTORE);
    ASSERT_TRUE(
        pumpUntil([&] { return device->testCooperativeLevel() == d3derr::DEVICENOTRESET; }));
    EXPECT_EQ(device->testCooperativeLevel(), d3derr::DEVICENOTRESET);
    EXPECT_EQ(sprite->onLostDevice(), d3d::OK);
    EXPECT_EQ(device->reset(p), d3d::OK);
    EXPECT_EQ(sprite->onResetDevice(), d3d::OK);
    EXPECT_EQ(device->testCooperativeLevel(), d3d::OK);
    drawAndRead(*device, *sprite, texture, sdlDevice().renderer());
    EXPECT_EQ(drawAndRead(*device, *sprite, texture, sdlDevice().renderer()), 0xFF0000u);
    delete sprite;
    delete texture;
}

TEST_F(BackendTest, LostRenderDeviceIsRemadeWithItsTextures) {
    createDevice(true);
    const std::uint32_t colours[4] = {0xFF00FF00, 0xFF00FF00, 0xFF00FF00, 0xFF00FF00};
    ImageInfo info;
    TextureResource* texture = nullptr;
    ASSERT_EQ(
        device->createTextureFromFile(
            sdltest::writeQuadrants(folder.path() + "/g.png", 16, 16, colours), info, &texture),
        d3d::OK);
    SpriteBatch* sprite = nullptr;
    ASSERT_EQ(device->createSprite(&sprite), d3d::OK);
    drawAndRead(*device, *sprite, texture, sdlDevice().renderer());

    SDL_Event reset{};
    reset.type = SDL_RENDER_DEVICE_RESET;
    SDL_PushEvent(&reset);
    EXPECT_EQ(device->testCooperativeLevel(), d3derr::DEVICENOTRESET);
    EXPECT_EQ(sdlDevice().drawingRenderer(), nullptr);
    PresentParameters p = parameters(true);
    ASSERT_EQ(device->reset(p), d3d::OK);
    EXPECT_EQ(device->testCooperativeLevel(), d3d::OK);
    SDL_Renderer* renderer = sdlDevice().renderer();
    ASSERT_NE(renderer, nullptr);
    EXPECT_EQ(SDL_GetRenderer(sdlWindow()), renderer);
    drawAndRead(*device, *sprite, texture, renderer);
    EXPECT_EQ(drawAndRead(*device, *sprite, texture, renderer), 0x00FF00u);
    delete sprite;
    delete texture;
}

TEST_F(BackendTest, DestroyingTheWindowTellsItsProcedureAndLosesTheDevice) {
    createDevice(true);
    const std::uint32_t id = SDL_GetWindowID(sdlWindow());
    received().clear();
    backend->windowing().destroyWindow(window);
    ASSERT_FALSE(received().empty());
    EXPECT_EQ(received().back().message, wm::DESTROY);
    EXPECT_EQ(received().back().window, window);
    EXPECT_EQ(SDL_GetWindowFromID(id), nullptr);

    EXPECT_EQ(device->testCooperativeLevel(), d3derr::DEVICELOST);
    PresentParameters p = parameters(true);
    EXPECT_EQ(device->reset(p), d3derr::DEVICELOST);
    EXPECT_EQ(device->present(), d3derr::DEVICELOST);
    EXPECT_EQ(device->clear(d3dclear::TARGET, 0, 1.0f, 0), d3d::OK);

    // The handle stays safe to use; nothing reaches the procedure any more.
    received().clear();
    backend->windowing().destroyWindow(window);
    backend->system().dispatchMessage(Message{window, wm::CLOSE, 0, 0});
    EXPECT_TRUE(received().empty());
    EXPECT_EQ(backend->windowing().style(window), 0u);
}

TEST_F(BackendTest, DisplayModesAndAdapterAreReported) {
    DisplayMode desktop;
    ASSERT_EQ(direct3d->getAdapterDisplayMode(desktop), d3d::OK);
    EXPECT_EQ(desktop.Width, 1024u);
    EXPECT_EQ(desktop.Height, 768u);
    EXPECT_EQ(desktop.Format, d3dfmt::X8R8G8B8);
    ASSERT_GE(direct3d->getAdapterModeCount(d3dfmt::X8R8G8B8), 1u);
    EXPECT_EQ(direct3d->getAdapterModeCount(d3dfmt::R5G6B5), 0u);  // a 24-bit screen
    DisplayMode mode;
    ASSERT_EQ(direct3d->enumAdapterModes(d3dfmt::X8R8G8B8, 0, mode), d3d::OK);
    EXPECT_EQ(mode.Width, 1024u);
    EXPECT_EQ(direct3d->enumAdapterModes(d3dfmt::X8R8G8B8, 99, mode), d3derr::INVALIDCALL);

    EXPECT_EQ(direct3d->checkDeviceType(d3dfmt::X8R8G8B8, d3dfmt::X8R8G8B8, false), d3d::OK);
    EXPECT_EQ(direct3d->checkDeviceType(d3dfmt::X8R8G8B8, d3dfmt::X8R8G8B8, true), d3d::OK);
    EXPECT_NE(direct3d->checkDeviceType(d3dfmt::R5G6B5, d3dfmt::R5G6B5, false), d3d::OK);
    EXPECT_NE(direct3d->checkDeviceType(d3dfmt::X8R8G8B8, d3dfmt::A8, true), d3d::OK);

    Caps caps;
    ASSERT_EQ(direct3d->getDeviceCaps(caps), d3d::OK);
    AdapterIdentifier id;
    ASSERT_EQ(direct3d->getAdapterIdentifier(0, id), d3d::OK);
    const std::string driver = id.Driver;
    EXPECT_NE(driver.find(" on x11"), std::string::npos) << driver;
    EXPECT_GT(std::string(id.Description).size(), 0u);
    // The software OpenGL counts as accelerated and reports its version.
    if (driver.rfind("opengl", 0) == 0) {
        EXPECT_EQ(caps.DevCaps & d3ddevcaps::HWTRANSFORMANDLIGHT, d3ddevcaps::HWTRANSFORMANDLIGHT);
        EXPECT_NE(id.DriverVersion, 0);
    }
}

TEST_F(BackendTest, MessageBoxesAnswerWithWin32Codes) {
    System& system = backend->system();
    const auto answer = [&](const char* caption, const char* key, std::uint32_t style) {
        BoxAnswerer answerer(caption, key);
        const int code = system.messageBox("Go on?", caption, style);
        EXPECT_FALSE(answerer.forcedClosed()) << caption << ": nobody answered it";
        return code;
    };
    EXPECT_EQ(answer("Question box", "Return", 0x1024), id::YES);
    EXPECT_EQ(answer("Three buttons", "Escape", 0x1026), id::CANCEL);
    EXPECT_EQ(answer("Closed box", "alt+F4", 0x1024), id::NO);
    EXPECT_EQ(answer("Warning box", "Return", 0x1030), id::OK);
}

TEST_F(BackendTest, ABoxNobodyAnswersIsClosedAndReported) {
    BoxAnswerer answerer("Unanswered box", "Tab", std::chrono::seconds(2));
    // Tab picks no button: the box stays until the answerer gives up and closes it.
    const std::uint32_t start = SDL_GetTicks();
    EXPECT_EQ(backend->system().messageBox("Anyone?", "Unanswered box", 0x1024), id::NO);
    EXPECT_TRUE(answerer.forcedClosed());
    EXPECT_LT(SDL_GetTicks() - start, 15000u);
}

}  // namespace
