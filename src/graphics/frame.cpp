#include "graphics/graphics.h"
#include "log/log.h"

bool Graphics::beginFrame() {
    const platform::HResult level = device->testCooperativeLevel();
    if (level == platform::d3d::OK) {
        device->clear(platform::d3dclear::TARGET | platform::d3dclear::ZBUFFER, 0x00000000u, 1.0f,
                      0);
        device->beginScene();
        if (sprite != nullptr) {
            sprite->begin(platform::d3dxsprite::ALPHABLEND);
        }
        return true;
    }
    if (level == platform::d3derr::DEVICELOST) {
        return false;  // asked again next frame
    }
    if (level == platform::d3derr::DEVICENOTRESET) {
        // The frame of the reset is skipped even when the reset works; a failed
        // reset shows up again in the next frame's test and is retried there.
        setScreenFormat(currentFormat);
        return false;
    }
    if (level == platform::d3derr::DRIVERINTERNALERROR) {
        Log::error("Video driver internal error, unable to restore device.");
    }
    Log::error("Unexpected return code from TestCooperativeLevel, unable to restore device.");
}

void Graphics::endFrame() {
    if (sprite != nullptr) {
        sprite->end();
    }
    device->endScene();
    device->present();
}

void Graphics::clear(std::uint32_t colour) {
    device->clear(platform::d3dclear::TARGET, colour, 0.0f, 0);
}
