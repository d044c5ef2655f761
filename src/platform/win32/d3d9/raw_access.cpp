#include "platform/win32/d3d9/raw_access.h"

#include "platform/win32/d3d9/device9.h"
#include "platform/win32/d3d9/texture9.h"

namespace platform::win32 {

IDirect3DDevice9* rawDevice(Device& device) {
    auto* ours = dynamic_cast<Device9*>(&device);
    return ours != nullptr ? ours->raw() : nullptr;
}

IDirect3DTexture9* rawTexture(TextureResource& texture) {
    auto* ours = dynamic_cast<Texture9*>(&texture);
    return ours != nullptr ? ours->raw() : nullptr;
}

}  // namespace platform::win32
