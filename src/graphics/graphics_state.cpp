#include "graphics/graphics.h"

platform::Caps Graphics::caps;
platform::SpriteBatch* Graphics::sprite = nullptr;
platform::PresentParameters Graphics::presentParameters;
platform::WindowHandle Graphics::window = nullptr;
platform::Direct3D* Graphics::direct3d = nullptr;
platform::Device* Graphics::device = nullptr;
ScreenFormat Graphics::currentFormat;
ScreenFormat Graphics::desktopFormat;
std::vector<ScreenFormat> Graphics::screenFormats;

platform::WindowHandle Graphics::getWindow() { return window; }

ScreenFormat Graphics::getCurrentScreenFormat() { return currentFormat; }

ScreenFormat Graphics::getDesktopScreenFormat() { return desktopFormat; }

void Graphics::resetForTests() {
    caps = platform::Caps();
    sprite = nullptr;
    presentParameters = platform::PresentParameters();
    window = nullptr;
    direct3d = nullptr;
    device = nullptr;
    currentFormat = ScreenFormat();
    desktopFormat = ScreenFormat();
    screenFormats.clear();
}
