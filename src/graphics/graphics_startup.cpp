#include <algorithm>
#include <cstdint>
#include <string>

#include "graphics/graphics.h"
#include "log/log.h"

namespace {

constexpr char DIRECT3D_MISSING[] =
    "Failed to initialize Direct3D.\n\nPossible Solutions:\n"
    "*Install the latest version of DirectX.\n"
    "*Verify that your system has a Direct3D compatible video card or on-board video hardware "
    "and that it is properly installed.\n"
    "*Insure your video drivers are up-to-date.";

// The identifier's texts need not be terminated within their arrays.
template <std::size_t N>
std::string fixedText(const char (&text)[N]) {
    const char* const end = std::find(text, text + N, '\0');
    return std::string(text, end);
}

std::string versionPart(std::int64_t version, int shift) {
    const auto bits = static_cast<std::uint64_t>(version);
    return std::to_string(static_cast<std::uint16_t>(bits >> shift));
}

void logAdapter(platform::Direct3D& direct3d) {
    Log::info("Collecting primary graphics adapter information...");
    platform::AdapterIdentifier identifier;
    if (platform::failed(direct3d.getAdapterIdentifier(0, identifier))) {
        Log::warning("Failed to collect primary graphics adapter information.");
        return;
    }
    Log::info("Device: " + fixedText(identifier.DeviceName));
    Log::info("Description: " + fixedText(identifier.Description));
    Log::info("Driver: " + fixedText(identifier.Driver));
    Log::info("Product: " + versionPart(identifier.DriverVersion, 48));
    Log::info("Version: " + versionPart(identifier.DriverVersion, 32));
    Log::info("SubVersion: " + versionPart(identifier.DriverVersion, 16));
    Log::info("Build: " + versionPart(identifier.DriverVersion, 0));
    Log::info("Success!");
}

}  // namespace

bool Graphics::initialize(const std::string& className, const std::string& windowTitle,
                          const std::string& iconPath) {
    if (!createWindow(className, windowTitle, iconPath)) {
        return false;
    }
    Log::info("Initializing Graphics Sub-System...");

    Log::info("Creating Direct3D 9...");
    direct3d = platform::current().createDirect3D();
    if (direct3d == nullptr) {
        Log::error(DIRECT3D_MISSING);
    }
    Log::info("Success!");

    Log::info("Requesting device capabilities for default graphics adapter...");
    caps = platform::Caps();
    direct3d->getDeviceCaps(caps);
    Log::info("Success!");

    logAdapter(*direct3d);
    enumerateScreenFormats();
    return true;
}

bool Graphics::createWindow(const std::string& className, const std::string& windowTitle,
                            const std::string& iconPath) {
    Log::info("Initializing window...");
    platform::Windowing& windowing = platform::current().windowing();

    platform::WindowClass windowClass;
    windowClass.style =
        platform::cs::VREDRAW | platform::cs::HREDRAW | platform::cs::DBLCLKS | platform::cs::OWNDC;
    windowClass.procedure = &Graphics::windowProcedure;
    windowClass.icon =
        iconPath.empty() ? windowing.applicationIcon() : windowing.loadIconFile(iconPath);
    windowClass.smallIcon = windowClass.icon;
    windowClass.className = className;
    windowing.registerClass(windowClass);

    // A hidden placeholder: the screen format gives it its real style and size.
    window = windowing.createWindow(
        className, windowTitle,
        platform::ws::POPUP | platform::ws::CLIPSIBLINGS | platform::ws::CLIPCHILDREN,
        platform::cw::USEDEFAULT, 0, 320, 240);
    windowing.updateWindow(window);
    Log::info("Success!");
    return true;
}
