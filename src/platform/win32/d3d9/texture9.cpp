#include "platform/win32/d3d9/texture9.h"

namespace platform::win32 {

HResult Texture9::getLevelDesc(std::uint32_t level, SurfaceDesc& out) {
    D3DSURFACE_DESC description{};
    const HRESULT result = texture->GetLevelDesc(level, &description);
    if (SUCCEEDED(result)) {
        out.Width = description.Width;
        out.Height = description.Height;
    }
    return result;
}

}  // namespace platform::win32
