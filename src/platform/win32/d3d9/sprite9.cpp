#include "platform/win32/d3d9/sprite9.h"

#include "platform/win32/d3d9/d3d_records.h"
#include "platform/win32/d3d9/texture9.h"

namespace platform::win32 {

HResult Sprite9::begin(std::uint32_t flags) { return sprite->Begin(flags); }

HResult Sprite9::setTransform(const Matrix& transform) {
    const D3DXMATRIX matrix = toD3D(transform);
    return sprite->SetTransform(&matrix);
}

HResult Sprite9::draw(TextureResource* texture, const Rect* source, std::uint32_t colour) {
    // Only this backend's textures reach a Direct3D 9 sprite; anything else (or
    // null) goes through as no texture, which D3DX refuses with its own code.
    auto* ours = dynamic_cast<Texture9*>(texture);
    IDirect3DTexture9* raw = ours != nullptr ? ours->raw() : nullptr;
    if (source == nullptr) {
        return sprite->Draw(raw, nullptr, nullptr, nullptr, colour);
    }
    const RECT rect = toD3D(*source);
    return sprite->Draw(raw, &rect, nullptr, nullptr, colour);
}

HResult Sprite9::end() { return sprite->End(); }

HResult Sprite9::onLostDevice() { return sprite->OnLostDevice(); }

HResult Sprite9::onResetDevice() { return sprite->OnResetDevice(); }

}  // namespace platform::win32
