#pragma once
// The thin platform layer: one operation is one platform call (Win32, Direct3D 9,
// D3DX 9) or a few lines of emulation on another backend. The engine's logic talks
// only to these interfaces; a backend installs its implementation at start-up.
//
// Ownership: every object handed out through a `**out` argument (createDevice,
// createTextureFromFile, createSprite) and by createDirect3D belongs to the
// caller. Releasing one is `delete` (or a std::unique_ptr), never before the
// objects made from it: textures and sprites before their device, the device
// before the Direct3D object; one kept until the process ends is never released.
// On Windows these objects wrap COM interfaces and the wrapper's destructor calls
// Release, so no caller sees a reference count.
// A failed call leaves `*out` as it was. Icons and windows belong to the backend
// (windows until destroyWindow, icons until the backend is destroyed).
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>

#include "platform/d3d_types.h"
#include "platform/win32_values.h"

namespace platform {

// The engine's own window procedure type. It is not a WNDPROC (no calling
// convention, no Win32 types): the Win32 backend registers a thunk of its own as
// the class's procedure, and the thunk calls this with the same four values and
// returns its result.
using WindowProc = std::intptr_t (*)(WindowHandle window, std::uint32_t message,
                                     std::uintptr_t wParam, std::intptr_t lParam);

struct Message {
    WindowHandle window = nullptr;
    std::uint32_t message = wm::NULL_MESSAGE;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// Message queue, clock, sleep, message boxes, data folder.
class System {
public:
    virtual ~System() = default;
    // PeekMessage with PM_REMOVE: takes one message if one is waiting.
    virtual bool peekMessage(Message& out) = 0;
    // TranslateMessage then DispatchMessage: hands the message to its window's procedure.
    virtual void dispatchMessage(const Message& message) = 0;
    virtual void postQuitMessage(int exitCode) = 0;
    virtual void sleep(std::uint32_t milliseconds) = 0;
    // timeGetTime: milliseconds since an arbitrary start, wrapping at 2^32.
    virtual std::uint32_t milliseconds() = 0;
    // MessageBox without owner: blocks until answered, returns id::OK, id::YES, ...
    virtual int messageBox(const std::string& text, const std::string& caption,
                           std::uint32_t style) = 0;
    // The common data folder with subFolder appended, created when missing;
    // empty when no such folder can be had.
    virtual std::string dataFolder(const std::string& subFolder) = 0;
    // Separator between a folder and a file name on this platform.
    virtual char pathSeparator() const = 0;
    // FlushFileBuffers of the stream's file (fsync elsewhere): what the stream has
    // already handed to the system reaches the disk; false when the system refuses.
    virtual bool syncFile(std::FILE* file) = 0;
    // localtime_s: the calendar time in the local time zone.
    virtual std::tm localTime(std::time_t seconds) = 0;
};

// Keyboard and mouse.
class Input {
public:
    virtual ~Input() = default;
    // GetAsyncKeyState(key) != 0: down now, or pressed since the previous query of that key.
    virtual bool keyPressed(int virtualKey) = 0;
    // The high bit of GetKeyState(key): the key or button is down now.
    virtual bool keyDown(int virtualKey) = 0;
    // GetCursorPos + ScreenToClient: the cursor in client pixels of the window.
    virtual Point cursorPosition(WindowHandle window) = 0;
};

using IconHandle = void*;

struct WindowClass {
    std::uint32_t style = 0;
    WindowProc procedure = nullptr;
    IconHandle icon = nullptr;
    IconHandle smallIcon = nullptr;
    std::string className;
};

// Windowing: window classes, creation, style, placement, visibility, destruction.
class Windowing {
public:
    virtual ~Windowing() = default;
    // LoadIcon(NULL, IDI_APPLICATION).
    virtual IconHandle applicationIcon() = 0;
    // LoadImage(NULL, path, IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE): null on failure.
    virtual IconHandle loadIconFile(const std::string& path) = 0;
    virtual bool registerClass(const WindowClass& windowClass) = 0;
    virtual WindowHandle createWindow(const std::string& className, const std::string& title,
                                      std::uint32_t style, int x, int y, int width, int height) = 0;
    virtual void updateWindow(WindowHandle window) = 0;
    virtual void showWindow(WindowHandle window, int command) = 0;
    virtual void setFocus(WindowHandle window) = 0;
    virtual void setStyle(WindowHandle window, std::uint32_t style) = 0;  // SetWindowLong GWL_STYLE
    virtual std::uint32_t style(WindowHandle window) = 0;                 // GetWindowLong GWL_STYLE
    virtual std::uint32_t extendedStyle(WindowHandle window) = 0;  // GetWindowLong GWL_EXSTYLE
    // AdjustWindowRectEx without a menu: client rectangle to window rectangle.
    virtual Rect adjustWindowRect(const Rect& client, std::uint32_t style,
                                  std::uint32_t extendedStyle) = 0;
    virtual void setWindowPos(WindowHandle window, std::intptr_t insertAfter, int x, int y,
                              int width, int height, std::uint32_t flags) = 0;
    // DestroyWindow: the window procedure receives wm::DESTROY before this returns.
    virtual void destroyWindow(WindowHandle window) = 0;
    virtual std::intptr_t defWindowProc(WindowHandle window, std::uint32_t message,
                                        std::uintptr_t wParam, std::intptr_t lParam) = 0;
};

// A texture made by the device (IDirect3DTexture9 in the managed pool).
class TextureResource {
public:
    virtual ~TextureResource() = default;
    virtual HResult getLevelDesc(std::uint32_t level, SurfaceDesc& out) = 0;
};

// The sprite batcher (ID3DXSprite).
class SpriteBatch {
public:
    virtual ~SpriteBatch() = default;
    virtual HResult begin(std::uint32_t flags) = 0;
    virtual HResult setTransform(const Matrix& transform) = 0;
    // Draw with no centre and no position: the transform alone places the picture.
    virtual HResult draw(TextureResource* texture, const Rect* source, std::uint32_t colour) = 0;
    virtual HResult end() = 0;
    virtual HResult onLostDevice() = 0;
    virtual HResult onResetDevice() = 0;
};

// The rendering device (IDirect3DDevice9 plus the D3DX calls made on it).
class Device {
public:
    virtual ~Device() = default;
    virtual HResult testCooperativeLevel() = 0;
    virtual HResult reset(PresentParameters& parameters) = 0;
    virtual HResult clear(std::uint32_t flags, std::uint32_t colour, float z,
                          std::uint32_t stencil) = 0;
    virtual HResult beginScene() = 0;
    virtual HResult endScene() = 0;
    // Present(NULL, NULL, NULL, NULL).
    virtual HResult present() = 0;
    virtual HResult setRenderState(std::uint32_t state, std::uint32_t value) = 0;
    // D3DXCreateTextureFromFileEx with default sizes (rounded up to powers of two),
    // one level, the file's format, the managed pool, no filtering, no colour key.
    virtual HResult createTextureFromFile(const std::string& path, ImageInfo& info,
                                          TextureResource** out) = 0;
    // D3DXCreateSprite.
    virtual HResult createSprite(SpriteBatch** out) = 0;
};

// The Direct3D object (IDirect3D9), adapter 0 and the hardware device type throughout.
class Direct3D {
public:
    virtual ~Direct3D() = default;
    virtual HResult getAdapterDisplayMode(DisplayMode& out) = 0;
    virtual std::uint32_t getAdapterModeCount(std::int32_t format) = 0;
    virtual HResult enumAdapterModes(std::int32_t format, std::uint32_t index,
                                     DisplayMode& out) = 0;
    virtual HResult checkDeviceType(std::int32_t adapterFormat, std::int32_t backBufferFormat,
                                    bool windowed) = 0;
    virtual HResult getDeviceCaps(Caps& out) = 0;
    virtual HResult getAdapterIdentifier(std::uint32_t flags, AdapterIdentifier& out) = 0;
    virtual HResult createDevice(WindowHandle focusWindow, std::uint32_t behaviourFlags,
                                 PresentParameters& parameters, Device** out) = 0;
};

// Everything a backend offers. One is installed per process (or per test).
class Platform {
public:
    virtual ~Platform() = default;
    virtual System& system() = 0;
    virtual Input& input() = 0;
    virtual Windowing& windowing() = 0;
    // Direct3DCreate9(D3D_SDK_VERSION): null when Direct3D cannot be had.
    virtual Direct3D* createDirect3D() = 0;
};

// The installed backend. Installing null uninstalls it.
void install(Platform* platform);
Platform& current();
bool installed();

}  // namespace platform
