#pragma once
// In-memory windows, Direct3D, device, textures and sprite batch for tests:
// scripted (display modes, caps, adapter identifier, cooperative-level results,
// image files) and recording (every call in order, every sprite draw).
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "fakes/fake_platform.h"
#include "platform/platform.h"

namespace fakes {

// One ordered record of calls, shared by all graphics fakes when they are wired
// together, e.g. "sprite.onLostDevice", "device.reset", "window.showWindow 5".
using CallJournal = std::vector<std::string>;

struct FakeWindow {
    std::string className;
    std::string title;
    std::uint32_t style = 0;
    std::uint32_t extendedStyle = 0;
    platform::Rect placement;  // last position and size set
    std::intptr_t zOrder = 0;  // last "insert after" value given
    bool visible = false;
    bool focused = false;
    bool destroyed = false;
};

struct SetWindowPosCall {
    platform::WindowHandle window;
    std::intptr_t insertAfter;
    int x, y, width, height;
    std::uint32_t flags;
};

struct WindowProcCall {
    platform::WindowHandle window;
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

class FakeWindowing : public platform::Windowing {
public:
    // Stand-ins for icon handles.
    int applicationIconObject = 0;
    int fileIconObject = 0;
    // Icon files that exist; loadIconFile gives null for any other path.
    std::set<std::string> iconFiles;
    std::vector<std::string> iconLoads;
    std::vector<platform::WindowClass> classes;
    std::vector<std::unique_ptr<FakeWindow>> windows;
    std::vector<SetWindowPosCall> placements;
    std::vector<WindowProcCall> defaultHandled;
    // What defWindowProc returns.
    std::intptr_t defaultResult = 0;
    // Frame that adjustWindowRect adds around the client area of a captioned window.
    int borderWidth = 3;
    int captionHeight = 22;
    CallJournal calls;
    CallJournal* journal = nullptr;

    FakeWindow* find(platform::WindowHandle window) const;
    // The procedure of the class the window was created with (null if none).
    platform::WindowProc procedureOf(platform::WindowHandle window) const;
    // Sends a message straight to the window's class procedure, as dispatch would.
    std::intptr_t send(platform::WindowHandle window, std::uint32_t message,
                       std::uintptr_t wParam = 0, std::intptr_t lParam = 0);

    platform::IconHandle applicationIcon() override;
    platform::IconHandle loadIconFile(const std::string& path) override;
    bool registerClass(const platform::WindowClass& windowClass) override;
    platform::WindowHandle createWindow(const std::string& className, const std::string& title,
                                        std::uint32_t style, int x, int y, int width,
                                        int height) override;
    void updateWindow(platform::WindowHandle window) override;
    void showWindow(platform::WindowHandle window, int command) override;
    void setFocus(platform::WindowHandle window) override;
    void setStyle(platform::WindowHandle window, std::uint32_t style) override;
    std::uint32_t style(platform::WindowHandle window) override;
    std::uint32_t extendedStyle(platform::WindowHandle window) override;
    platform::Rect adjustWindowRect(const platform::Rect& client, std::uint32_t style,
                                    std::uint32_t extendedStyle) override;
    void setWindowPos(platform::WindowHandle window, std::intptr_t insertAfter, int x, int y,
                      int width, int height, std::uint32_t flags) override;
    void destroyWindow(platform::WindowHandle window) override;
    std::intptr_t defWindowProc(platform::WindowHandle window, std::uint32_t message,
                                std::uintptr_t wParam, std::intptr_t lParam) override;

private:
    void record(const std::string& call);
};

class FakeTexture : public platform::TextureResource {
public:
    std::string path;
    platform::SurfaceDesc level0;
    platform::HResult levelDescResult = platform::d3d::OK;

    platform::HResult getLevelDesc(std::uint32_t level, platform::SurfaceDesc& out) override;
};

// Screen area in back-buffer pixels.
struct ScreenBox {
    float left, top, right, bottom;
};

struct SpriteDraw {
    platform::Matrix transform;
    bool hasSource = false;
    platform::Rect source;
    std::uint32_t colour = 0;
    platform::TextureResource* texture = nullptr;

    // Where a point of the source rectangle, measured from its top-left corner,
    // lands on screen.
    platform::Vector2 screenPoint(float x, float y) const;
    // The smallest upright box holding the drawn source rectangle.
    ScreenBox bounds() const;
    // The file the texture was loaded from (empty for a texture not made by a fake).
    std::string path() const;
};

class FakeSpriteBatch : public platform::SpriteBatch {
public:
    std::vector<SpriteDraw> draws;
    std::vector<std::uint32_t> beginFlags;
    platform::Matrix transform;  // the last one set
    bool open = false;           // between begin and end
    CallJournal calls;
    CallJournal* journal = nullptr;

    platform::HResult begin(std::uint32_t flags) override;
    platform::HResult setTransform(const platform::Matrix& transform) override;
    platform::HResult draw(platform::TextureResource* texture, const platform::Rect* source,
                           std::uint32_t colour) override;
    platform::HResult end() override;
    platform::HResult onLostDevice() override;
    platform::HResult onResetDevice() override;

private:
    void record(const std::string& call);
};

struct ClearCall {
    std::uint32_t flags;
    std::uint32_t colour;
    float z;
    std::uint32_t stencil;
};

class FakeDevice : public platform::Device {
public:
    // Results of testCooperativeLevel, front first; then `cooperativeDefault`.
    std::deque<platform::HResult> cooperativeResults;
    platform::HResult cooperativeDefault = platform::d3d::OK;
    // Optional hook run on each testCooperativeLevel before the result is taken,
    // e.g. to lose the device after a number of frames.
    std::function<void()> onTestCooperativeLevel;
    platform::HResult resetResult = platform::d3d::OK;

    // The image files: path -> width and height. A missing path fails to load.
    std::map<std::string, std::pair<std::uint32_t, std::uint32_t>> images;
    // Paths whose level description is refused.
    std::set<std::string> levelDescFailures;
    platform::HResult missingFileResult = platform::d3derr::NOTAVAILABLE;
    // Every texture made, owned here; the engine keeps raw pointers.
    std::vector<std::unique_ptr<FakeTexture>> textures;

    FakeSpriteBatch sprite;
    int spritesCreated = 0;
    std::vector<platform::PresentParameters> resets;
    std::vector<ClearCall> clears;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> renderStates;
    int scenesBegun = 0;
    int scenesEnded = 0;
    int presents = 0;
    bool inScene = false;
    CallJournal calls;
    CallJournal* journal = nullptr;

    platform::HResult testCooperativeLevel() override;
    platform::HResult reset(platform::PresentParameters& parameters) override;
    platform::HResult clear(std::uint32_t flags, std::uint32_t colour, float z,
                            std::uint32_t stencil) override;
    platform::HResult beginScene() override;
    platform::HResult endScene() override;
    platform::HResult present() override;
    platform::HResult setRenderState(std::uint32_t state, std::uint32_t value) override;
    platform::HResult createTextureFromFile(const std::string& path, platform::ImageInfo& info,
                                            platform::TextureResource** out) override;
    platform::HResult createSprite(platform::SpriteBatch** out) override;

private:
    void record(const std::string& call);
};

struct CheckDeviceTypeCall {
    std::int32_t adapterFormat;
    std::int32_t backBufferFormat;
    bool windowed;
};

struct CreateDeviceCall {
    platform::WindowHandle focusWindow;
    std::uint32_t behaviourFlags;
    platform::PresentParameters parameters;
};

class FakeDirect3D : public platform::Direct3D {
public:
    platform::DisplayMode desktop;
    // Modes per adapter format, in the adapter's order.
    std::map<std::int32_t, std::vector<platform::DisplayMode>> modes;
    // (adapter format, back-buffer format, windowed) combinations that are refused.
    std::set<std::tuple<std::int32_t, std::int32_t, bool>> refused;
    platform::HResult refusedResult = platform::d3derr::NOTAVAILABLE;
    platform::Caps caps;
    platform::HResult capsResult = platform::d3d::OK;
    platform::AdapterIdentifier identifier;
    platform::HResult identifierResult = platform::d3d::OK;
    platform::HResult createDeviceResult = platform::d3d::OK;

    FakeDevice device;  // handed out by createDevice
    std::vector<CheckDeviceTypeCall> checks;
    std::vector<CreateDeviceCall> creations;
    CallJournal calls;
    CallJournal* journal = nullptr;

    // Sets the three texts of the identifier and the version.
    void setIdentifier(const std::string& deviceName, const std::string& description,
                       const std::string& driver, std::int64_t driverVersion);

    platform::HResult getAdapterDisplayMode(platform::DisplayMode& out) override;
    std::uint32_t getAdapterModeCount(std::int32_t format) override;
    platform::HResult enumAdapterModes(std::int32_t format, std::uint32_t index,
                                       platform::DisplayMode& out) override;
    platform::HResult checkDeviceType(std::int32_t adapterFormat, std::int32_t backBufferFormat,
                                      bool windowed) override;
    platform::HResult getDeviceCaps(platform::Caps& out) override;
    platform::HResult getAdapterIdentifier(std::uint32_t flags,
                                           platform::AdapterIdentifier& out) override;
    platform::HResult createDevice(platform::WindowHandle focusWindow, std::uint32_t behaviourFlags,
                                   platform::PresentParameters& parameters,
                                   platform::Device** out) override;

private:
    void record(const std::string& call);
};

platform::DisplayMode displayMode(std::uint32_t width, std::uint32_t height,
                                  std::uint32_t refreshRate, std::int32_t format);

// All graphics fakes wired into a FakePlatform, sharing one call journal, and a
// fresh `Graphics` singleton. The default display: a 1024 x 768 32-bit desktop
// at 60 Hz; 640 x 480, 800 x 600 and 1024 x 768 at 60 Hz and 800 x 600 at 100 Hz
// in both 16 and 32 bits; hardware transform and lighting; an adapter identifier.
// Unplugs itself and resets `Graphics` again on destruction.
struct FakeGraphics {
    FakePlatform& platform;
    FakeWindowing windows;
    FakeDirect3D direct3d;
    CallJournal journal;

    explicit FakeGraphics(FakePlatform& platform);
    ~FakeGraphics();
    FakeGraphics(const FakeGraphics&) = delete;
    FakeGraphics& operator=(const FakeGraphics&) = delete;

    FakeDevice& device() { return direct3d.device; }
    FakeSpriteBatch& sprite() { return direct3d.device.sprite; }
    // Makes FakeSystem::dispatchMessage hand messages for a fake window to that
    // window's class procedure, as DispatchMessage does.
    void routeMessagesToWindows();
    // Adds an image file the device can load.
    void addImage(const std::string& path, std::uint32_t width, std::uint32_t height);

    // Runs the game's start-up of the display: initialize with "MainGameClass",
    // "Tessak" and no icon, then 800 x 600, 32 bits, 100 Hz, full screen. After
    // it `Graphics::beginFrame` answers true. Clears the journal afterwards.
    void start();

private:
    bool routing = false;
};

}  // namespace fakes
