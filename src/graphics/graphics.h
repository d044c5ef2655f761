#pragma once
// The display singleton: the game window, the Direct3D object and device, the
// screen formats the hardware accepts, the frame bracket with device recovery,
// textures and sprite drawing. Its state exists once per process; every
// operation is static. The Direct3D object, the device and the sprite batcher
// are kept until the process ends and are never released.
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/screen_format.h"
#include "graphics/texture.h"
#include "platform/platform.h"

class Graphics {
public:
    Graphics() = delete;

    // Creates the window and Direct3D, reads the caps, logs the adapter and
    // enumerates the screen formats. Errors it cannot survive end the program.
    static bool initialize(const std::string& className, const std::string& windowTitle,
                           const std::string& iconPath);
    // Registers the window class and creates the (still hidden) window.
    static bool createWindow(const std::string& className, const std::string& windowTitle,
                             const std::string& iconPath);

    static platform::WindowHandle getWindow();
    static ScreenFormat getCurrentScreenFormat();
    static ScreenFormat getDesktopScreenFormat();

    // Rebuilds the list of formats the hardware accepts and the desktop format.
    static void enumerateScreenFormats();
    // Every entry whose fields equal the query's wherever the query's are not 0.
    static std::vector<ScreenFormat> findScreenFormats(const ScreenFormat& query);

    // Chooses the entry nearest to the request (with a warning when it differs),
    // styles and places the window, then creates the device and sprite batcher
    // on the first call and resets the device on every later one.
    static void setScreenFormat(const ScreenFormat& requested);
    // The highest-scoring entry, the earliest on ties; false when there is none.
    // `out` may be `requested` itself.
    static bool findNearestScreenFormat(const ScreenFormat& requested, ScreenFormat& out);

    // True when the caller may draw this frame (and must then call endFrame);
    // false while the device is lost or was just reset.
    static bool beginFrame();
    static void endFrame();
    static void clear(std::uint32_t colour);

    // Never null: a file that cannot be loaded ends the program.
    static Texture* loadTexture(const std::string& path);
    // One picture: the source rectangle scaled by width/imageWidth and
    // height/imageHeight, turned `angle` whole degrees clockwise about
    // (centreX, centreY) and moved to (x, y).
    static platform::HResult drawSprite(Texture* texture, std::int32_t x, std::int32_t y,
                                        std::int32_t width, std::int32_t height, std::int32_t srcX,
                                        std::int32_t srcY, std::int32_t srcWidth,
                                        std::int32_t srcHeight, std::uint32_t colour,
                                        std::int32_t centreX, std::int32_t centreY,
                                        std::int32_t angle);
    // The same picture placed between pixels: the source rectangle scaled by
    // scaleX and scaleY, turned `angleDegrees` clockwise about (centreX, centreY),
    // in scaled pixels from its top-left corner, and moved to (x, y). For hosts
    // that move pictures smoothly; drawSprite keeps the whole-pixel rules.
    static platform::HResult drawSpriteAt(Texture* texture, const platform::Rect& source, float x,
                                          float y, float scaleX, float scaleY, std::uint32_t colour,
                                          float centreX, float centreY, float angleDegrees);

    // The procedure of the game window's class.
    static std::intptr_t windowProcedure(platform::WindowHandle window, std::uint32_t message,
                                         std::uintptr_t wParam, std::intptr_t lParam);

    // Puts every member back to its start-of-process value without releasing
    // anything, so that each test starts from a fresh singleton.
    static void resetForTests();

private:
    static platform::Caps caps;
    static platform::SpriteBatch* sprite;
    static platform::PresentParameters presentParameters;
    static platform::WindowHandle window;
    static platform::Direct3D* direct3d;
    static platform::Device* device;
    static ScreenFormat currentFormat;
    static ScreenFormat desktopFormat;
    static std::vector<ScreenFormat> screenFormats;

    static void placeWindow();
    static void createDevice();
};
