#include "graphics/graphics.h"
#include "log/log.h"

bool Graphics::beginFrame() {
    const platform::HResult level = device->testCooperativeLevel();
    if (level == platform::D3D_OK) {
        device->clear(platform::D3DCLEAR_TARGET | platform::D3DCLEAR_ZBUFFER, 0x00000000u, 1.0f,
                      0);
        device->beginScene();
        if (sprite != nullptr) {
            sprite->begin(platform::D3DXSPRITE_ALPHABLEND);
        }
        return true;
    }
    if (level == platform::D3DERR_DEVICELOST) {
        return false;  // asked again next frame
    }
    if (level == platform::D3DERR_DEVICENOTRESET) {
        // The frame of the reset is skipped even when the reset works; a failed
        // reset shows up again in the next frame's test and is retried there.
        setScreenFormat(currentFormat);
        return false;
    }
    if (level == platform::D3DERR_DRIVERINTERNALERROR) {
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
    device->clear(platform::D3DCLEAR_TARGET, colour, 0.0f, 0);
}
