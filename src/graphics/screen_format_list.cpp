#include <limits>

#include "graphics/graphics.h"
#include "log/log.h"

void Graphics::enumerateScreenFormats() {
    Log::info("Enumerating potential screen formats...");
    screenFormats.clear();

    platform::DisplayMode displayMode;
    direct3d->getAdapterDisplayMode(displayMode);
    desktopFormat = ScreenFormat(displayMode, ScreenFormat::FULLSCREEN);

    // 16-bit before 32-bit and full screen before windowed: this order settles
    // ties in the nearest-format search.
    for (const std::int32_t adapterFormat :
         {platform::d3dfmt::R5G6B5, platform::d3dfmt::X8R8G8B8}) {
        const std::uint32_t count = direct3d->getAdapterModeCount(adapterFormat);
        for (const bool windowed : {false, true}) {
            for (std::uint32_t index = 0; index < count; ++index) {
                platform::DisplayMode mode;
                direct3d->enumAdapterModes(adapterFormat, index, mode);
                if (mode.Width < 640 || mode.Height < 480) {
                    continue;
                }
                if (!windowed) {
                    if (direct3d->checkDeviceType(mode.Format, mode.Format, false) ==
                        platform::d3d::OK) {
                        screenFormats.emplace_back(mode, ScreenFormat::FULLSCREEN);
                    }
                    continue;
                }
                if (direct3d->checkDeviceType(displayMode.Format, mode.Format, true) ==
                    platform::d3d::OK) {
                    // A window must fit on the desktop with room for its frame.
                    if (mode.Width < displayMode.Width && mode.Height < displayMode.Height) {
                        screenFormats.emplace_back(mode, ScreenFormat::WINDOWED);
                    }
                }
            }
        }
    }
    Log::info("Success!");
}

std::vector<ScreenFormat> Graphics::findScreenFormats(const ScreenFormat& query) {
    const auto matches = [](std::int32_t wanted, std::int32_t value) {
        return wanted == 0 || wanted == value;
    };
    std::vector<ScreenFormat> found;
    for (const ScreenFormat& entry : screenFormats) {
        if (matches(query.width, entry.width) && matches(query.height, entry.height) &&
            matches(query.format, entry.format) && matches(query.refreshRate, entry.refreshRate) &&
            matches(query.mode, entry.mode)) {
            found.push_back(entry);
        }
    }
    return found;
}

bool Graphics::findNearestScreenFormat(const ScreenFormat& requested, ScreenFormat& out) {
    const ScreenFormat request = requested;  // `out` may be the request itself
    int best = std::numeric_limits<int>::min();
    bool found = false;
    for (const ScreenFormat& entry : screenFormats) {
        const int score = entry.compare(request);
        if (score > best) {
            best = score;
            out = entry;
            found = true;
        }
    }
    return found;
}
