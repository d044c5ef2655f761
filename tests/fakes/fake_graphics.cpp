#include "fakes/fake_graphics.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "graphics/graphics.h"
#include "graphics/transform2d.h"

namespace fakes {

namespace {

std::string hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

std::uint32_t nextPowerOfTwo(std::uint32_t value) {
    std::uint32_t power = 1;
    while (power < value) {
        power <<= 1;
    }
    return power;
}

void copyText(char* target, std::size_t size, const std::string& text) {
    std::memset(target, 0, size);
    std::memcpy(target, text.data(), std::min(size - 1, text.size()));
}

}  // namespace

platform::DisplayMode displayMode(std::uint32_t width, std::uint32_t height,
                                  std::uint32_t refreshRate, std::int32_t format) {
    platform::DisplayMode mode;
    mode.Width = width;
    mode.Height = height;
    mode.RefreshRate = refreshRate;
    mode.Format = format;
    return mode;
}

// ---- windows ----

void FakeWindowing::record(const std::string& call) {
    calls.push_back(call);
    if (journal != nullptr) {
        journal->push_back("window." + call);
    }
}

FakeWindow* FakeWindowing::find(platform::WindowHandle window) const {
    for (const auto& candidate : windows) {
        if (candidate.get() == window) {
            return candidate.get();
        }
    }
    return nullptr;
}

platform::WindowProc FakeWindowing::procedureOf(platform::WindowHandle window) const {
    const FakeWindow* found = find(window);
    if (found == nullptr) {
        return nullptr;
    }
    for (auto it = classes.rbegin(); it != classes.rend(); ++it) {
        if (it->className == found->className) {
            return it->procedure;
        }
    }
    return nullptr;
}

std::intptr_t FakeWindowing::send(platform::WindowHandle window, std::uint32_t message,
                                  std::uintptr_t wParam, std::intptr_t lParam) {
    const platform::WindowProc procedure = procedureOf(window);
    if (procedure == nullptr) {
        throw std::logic_error("message sent to a window without a class procedure");
    }
    return procedure(window, message, wParam, lParam);
}

platform::IconHandle FakeWindowing::applicationIcon() {
    record("applicationIcon");
    return &applicationIconObject;
}

platform::IconHandle FakeWindowing::loadIconFile(const std::string& path) {
    record("loadIconFile " + path);
    iconLoads.push_back(path);
    return iconFiles.count(path) > 0 ? &fileIconObject : nullptr;
}

bool FakeWindowing::registerClass(const platform::WindowClass& windowClass) {
    record("registerClass " + windowClass.className);
    classes.push_back(windowClass);
    return true;
}

platform::WindowHandle FakeWindowing::createWindow(const std::string& className,
                                                   const std::string& title, std::uint32_t style,
                                                   int x, int y, int width, int height) {
    record("createWindow " + className + " " + title + " " + hex(style));
    auto window = std::make_unique<FakeWindow>();
    window->className = className;
    window->title = title;
    window->style = style;
    window->placement = {x, y, x + width, y + height};
    windows.push_back(std::move(window));
    return windows.back().get();
}

void FakeWindowing::updateWindow(platform::WindowHandle) { record("updateWindow"); }

void FakeWindowing::showWindow(platform::WindowHandle window, int command) {
    record("showWindow " + std::to_string(command));
    if (FakeWindow* found = find(window)) {
        found->visible = command != platform::sw::HIDE;
    }
}

void FakeWindowing::setFocus(platform::WindowHandle window) {
    record("setFocus");
    for (const auto& each : windows) {
        each->focused = each.get() == window;
    }
}

void FakeWindowing::setStyle(platform::WindowHandle window, std::uint32_t style) {
    record("setStyle " + hex(style));
    if (FakeWindow* found = find(window)) {
        found->style = style;
    }
}

std::uint32_t FakeWindowing::style(platform::WindowHandle window) {
    const FakeWindow* found = find(window);
    return found != nullptr ? found->style : 0;
}

std::uint32_t FakeWindowing::extendedStyle(platform::WindowHandle window) {
    const FakeWindow* found = find(window);
    return found != nullptr ? found->extendedStyle : 0;
}

platform::Rect FakeWindowing::adjustWindowRect(const platform::Rect& client, std::uint32_t style,
                                               std::uint32_t) {
    platform::Rect outer = client;
    if ((style & platform::ws::CAPTION) == platform::ws::CAPTION) {
        outer.left -= borderWidth;
        outer.right += borderWidth;
        outer.top -= captionHeight + borderWidth;
        outer.bottom += borderWidth;
    }
    return outer;
}

void FakeWindowing::setWindowPos(platform::WindowHandle window, std::intptr_t insertAfter, int x,
                                 int y, int width, int height, std::uint32_t flags) {
    record("setWindowPos " + std::to_string(insertAfter) + " " + std::to_string(x) + " " +
           std::to_string(y) + " " + std::to_string(width) + " " + std::to_string(height) + " " +
           hex(flags));
    placements.push_back({window, insertAfter, x, y, width, height, flags});
    if (FakeWindow* found = find(window)) {
        found->zOrder = insertAfter;
        if ((flags & platform::swp::NOMOVE) == 0) {
            const int oldWidth = found->placement.right - found->placement.left;
            const int oldHeight = found->placement.bottom - found->placement.top;
            found->placement = {x, y, x + oldWidth, y + oldHeight};
        }
        if ((flags & platform::swp::NOSIZE) == 0) {
            found->placement.right = found->placement.left + width;
            found->placement.bottom = found->placement.top + height;
        }
    }
}

void FakeWindowing::destroyWindow(platform::WindowHandle window) {
    record("destroyWindow");
    FakeWindow* found = find(window);
    if (found == nullptr || found->destroyed) {
        return;
    }
    if (const platform::WindowProc procedure = procedureOf(window)) {
        procedure(window, platform::wm::DESTROY, 0, 0);
    }
    found->destroyed = true;
    found->visible = false;
}

std::intptr_t FakeWindowing::defWindowProc(platform::WindowHandle window, std::uint32_t message,
                                           std::uintptr_t wParam, std::intptr_t lParam) {
    record("defWindowProc " + hex(message) + " " + hex(static_cast<std::uint32_t>(wParam)));
    defaultHandled.push_back({window, message, wParam, lParam});
    return defaultResult;
}

// ---- textures and sprite batch ----

platform::Vector2 SpriteDraw::screenPoint(float x, float y) const {
    platform::Vector2 point;
    point.x = x;
    point.y = y;
    return graphics::transformPoint(transform, point);
}

ScreenBox SpriteDraw::bounds() const {
    const auto width = static_cast<float>(source.right - source.left);
    const auto height = static_cast<float>(source.bottom - source.top);
    const platform::Vector2 corners[] = {screenPoint(0, 0), screenPoint(width, 0),
                                         screenPoint(width, height), screenPoint(0, height)};
    ScreenBox box{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
    for (const platform::Vector2& corner : corners) {
        box.left = std::min(box.left, corner.x);
        box.top = std::min(box.top, corner.y);
        box.right = std::max(box.right, corner.x);
        box.bottom = std::max(box.bottom, corner.y);
    }
    return box;
}

std::string SpriteDraw::path() const {
    const auto* fake = dynamic_cast<const FakeTexture*>(texture);
    return fake != nullptr ? fake->path : std::string();
}

platform::HResult FakeTexture::getLevelDesc(std::uint32_t level, platform::SurfaceDesc& out) {
    if (level != 0 || platform::failed(levelDescResult)) {
        return platform::failed(levelDescResult) ? levelDescResult : platform::d3derr::INVALIDCALL;
    }
    out = level0;
    return platform::d3d::OK;
}

void FakeSpriteBatch::record(const std::string& call) {
    calls.push_back(call);
    if (journal != nullptr) {
        journal->push_back("sprite." + call);
    }
}

platform::HResult FakeSpriteBatch::begin(std::uint32_t flags) {
    record("begin " + hex(flags));
    beginFlags.push_back(flags);
    open = true;
    return platform::d3d::OK;
}

platform::HResult FakeSpriteBatch::setTransform(const platform::Matrix& matrix) {
    record("setTransform");
    transform = matrix;
    return platform::d3d::OK;
}

platform::HResult FakeSpriteBatch::draw(platform::TextureResource* texture,
                                        const platform::Rect* source, std::uint32_t colour) {
    record("draw");
    SpriteDraw drawn;
    drawn.transform = transform;
    drawn.hasSource = source != nullptr;
    if (source != nullptr) {
        drawn.source = *source;
    }
    drawn.colour = colour;
    drawn.texture = texture;
    draws.push_back(drawn);
    return open ? platform::d3d::OK : platform::d3derr::INVALIDCALL;
}

platform::HResult FakeSpriteBatch::end() {
    record("end");
    const bool wasOpen = open;
    open = false;
    return wasOpen ? platform::d3d::OK : platform::d3derr::INVALIDCALL;
}

platform::HResult FakeSpriteBatch::onLostDevice() {
    record("onLostDevice");
    return platform::d3d::OK;
}

platform::HResult FakeSpriteBatch::onResetDevice() {
    record("onResetDevice");
    return platform::d3d::OK;
}

// ---- device ----

void FakeDevice::record(const std::string& call) {
    calls.push_back(call);
    if (journal != nullptr) {
        journal->push_back("device." + call);
    }
}

platform::HResult FakeDevice::testCooperativeLevel() {
    record("testCooperativeLevel");
    if (onTestCooperativeLevel) {
        onTestCooperativeLevel();
    }
    if (cooperativeResults.empty()) {
        return cooperativeDefault;
    }
    const platform::HResult result = cooperativeResults.front();
    cooperativeResults.pop_front();
    return result;
}

platform::HResult FakeDevice::reset(platform::PresentParameters& parameters) {
    record("reset");
    resets.push_back(parameters);
    return resetResult;
}

platform::HResult FakeDevice::clear(std::uint32_t flags, std::uint32_t colour, float z,
                                    std::uint32_t stencil) {
    record("clear " + hex(flags) + " " + hex(colour));
    clears.push_back({flags, colour, z, stencil});
    return platform::d3d::OK;
}

platform::HResult FakeDevice::beginScene() {
    record("beginScene");
    const bool nested = inScene;
    inScene = true;
    ++scenesBegun;
    return nested ? platform::d3derr::INVALIDCALL : platform::d3d::OK;
}

platform::HResult FakeDevice::endScene() {
    record("endScene");
    const bool wasIn = inScene;
    inScene = false;
    ++scenesEnded;
    return wasIn ? platform::d3d::OK : platform::d3derr::INVALIDCALL;
}

platform::HResult FakeDevice::present() {
    record("present");
    ++presents;
    return platform::d3d::OK;
}

platform::HResult FakeDevice::setRenderState(std::uint32_t state, std::uint32_t value) {
    record("setRenderState " + std::to_string(state) + " " + std::to_string(value));
    renderStates.emplace_back(state, value);
    return platform::d3d::OK;
}

platform::HResult FakeDevice::createTextureFromFile(const std::string& path,
                                                    platform::ImageInfo& info,
                                                    platform::TextureResource** out) {
    record("createTextureFromFile " + path);
    const auto image = images.find(path);
    if (image == images.end()) {
        *out = nullptr;
        return missingFileResult;
    }
    auto texture = std::make_unique<FakeTexture>();
    texture->path = path;
    texture->level0.Width = nextPowerOfTwo(image->second.first);
    texture->level0.Height = nextPowerOfTwo(image->second.second);
    if (levelDescFailures.count(path) > 0) {
        texture->levelDescResult = platform::d3derr::INVALIDCALL;
    }
    info.Width = image->second.first;
    info.Height = image->second.second;
    *out = texture.get();
    textures.push_back(std::move(texture));
    return platform::d3d::OK;
}

platform::HResult FakeDevice::createSprite(platform::SpriteBatch** out) {
    record("createSprite");
    ++spritesCreated;
    *out = &sprite;
    return platform::d3d::OK;
}

// ---- Direct3D ----

void FakeDirect3D::record(const std::string& call) {
    calls.push_back(call);
    if (journal != nullptr) {
        journal->push_back("d3d." + call);
    }
}

void FakeDirect3D::setIdentifier(const std::string& deviceName, const std::string& description,
                                 const std::string& driver, std::int64_t driverVersion) {
    copyText(identifier.DeviceName, sizeof identifier.DeviceName, deviceName);
    copyText(identifier.Description, sizeof identifier.Description, description);
    copyText(identifier.Driver, sizeof identifier.Driver, driver);
    identifier.DriverVersion = driverVersion;
}

platform::HResult FakeDirect3D::getAdapterDisplayMode(platform::DisplayMode& out) {
    record("getAdapterDisplayMode");
    out = desktop;
    return platform::d3d::OK;
}

std::uint32_t FakeDirect3D::getAdapterModeCount(std::int32_t format) {
    record("getAdapterModeCount " + std::to_string(format));
    const auto found = modes.find(format);
    return found == modes.end() ? 0 : static_cast<std::uint32_t>(found->second.size());
}

platform::HResult FakeDirect3D::enumAdapterModes(std::int32_t format, std::uint32_t index,
                                                 platform::DisplayMode& out) {
    const auto found = modes.find(format);
    if (found == modes.end() || index >= found->second.size()) {
        return platform::d3derr::INVALIDCALL;
    }
    out = found->second[index];
    return platform::d3d::OK;
}

platform::HResult FakeDirect3D::checkDeviceType(std::int32_t adapterFormat,
                                                std::int32_t backBufferFormat, bool windowed) {
    checks.push_back({adapterFormat, backBufferFormat, windowed});
    return refused.count({adapterFormat, backBufferFormat, windowed}) > 0 ? refusedResult
                                                                          : platform::d3d::OK;
}

platform::HResult FakeDirect3D::getDeviceCaps(platform::Caps& out) {
    record("getDeviceCaps");
    if (platform::failed(capsResult)) {
        return capsResult;
    }
    out = caps;
    return platform::d3d::OK;
}

platform::HResult FakeDirect3D::getAdapterIdentifier(std::uint32_t flags,
                                                     platform::AdapterIdentifier& out) {
    record("getAdapterIdentifier " + std::to_string(flags));
    if (platform::failed(identifierResult)) {
        return identifierResult;
    }
    out = identifier;
    return platform::d3d::OK;
}

platform::HResult FakeDirect3D::createDevice(platform::WindowHandle focusWindow,
                                             std::uint32_t behaviourFlags,
                                             platform::PresentParameters& parameters,
                                             platform::Device** out) {
    record("createDevice " + hex(behaviourFlags));
    creations.push_back({focusWindow, behaviourFlags, parameters});
    if (createDeviceResult != platform::d3d::OK) {
        *out = nullptr;
        return createDeviceResult;
    }
    *out = &device;
    return platform::d3d::OK;
}

// ---- all together ----

FakeGraphics::FakeGraphics(FakePlatform& platform) : platform(platform) {
    Graphics::resetForTests();
    windows.journal = &journal;
    direct3d.journal = &journal;
    direct3d.device.journal = &journal;
    direct3d.device.sprite.journal = &journal;

    direct3d.desktop = displayMode(1024, 768, 60, platform::d3dfmt::X8R8G8B8);
    for (const std::int32_t format : {platform::d3dfmt::R5G6B5, platform::d3dfmt::X8R8G8B8}) {
        direct3d.modes[format] = {
            displayMode(640, 480, 60, format), displayMode(800, 600, 60, format),
            displayMode(800, 600, 100, format), displayMode(1024, 768, 60, format)};
    }
    direct3d.caps.DevCaps = platform::d3ddevcaps::HWTRANSFORMANDLIGHT;
    // Driver version 6.14.10.6764.
    direct3d.setIdentifier(
        "\\\\.\\DISPLAY1", "Fake Graphics Adapter", "fakedisplay.dll",
        (std::int64_t{6} << 48) | (std::int64_t{14} << 32) | (std::int64_t{10} << 16) | 6764);

    platform.fakeWindowing = &windows;
    platform.fakeDirect3D = &direct3d;
}

FakeGraphics::~FakeGraphics() {
    Graphics::resetForTests();
    if (routing) {
        platform.fakeSystem.onDispatch = nullptr;
    }
    if (platform.fakeWindowing == &windows) {
        platform.fakeWindowing = nullptr;
    }
    if (platform.fakeDirect3D == &direct3d) {
        platform.fakeDirect3D = nullptr;
    }
}

void FakeGraphics::routeMessagesToWindows() {
    routing = true;
    platform.fakeSystem.onDispatch = [this](const platform::Message& message) {
        if (windows.procedureOf(message.window) != nullptr) {
            windows.send(message.window, message.message, message.wParam, message.lParam);
        }
    };
}

void FakeGraphics::addImage(const std::string& path, std::uint32_t width, std::uint32_t height) {
    direct3d.device.images[path] = {width, height};
}

void FakeGraphics::start() {
    Graphics::initialize("MainGameClass", "Tessak", "");
    Graphics::setScreenFormat(
        ScreenFormat(800, 600, platform::d3dfmt::X8R8G8B8, 100, ScreenFormat::FULLSCREEN));
    journal.clear();
}

}  // namespace fakes
