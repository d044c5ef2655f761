#include "platform/win32/d3d9/quad_sprite.h"

#include <d3dx9.h>

#include "platform/win32/d3d9/texture9.h"

namespace platform::win32 {
namespace {

// A corner of the quad: already on screen (x, y in pixels), its colour, its texel.
struct Vertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
    float u, v;
};
constexpr DWORD VERTEX_FORMAT = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

Vertex corner(const Matrix& m, float x, float y, std::uint32_t colour, float u, float v) {
    const float w = x * m.m[0][3] + y * m.m[1][3] + m.m[3][3];
    const float scale = w != 0.0f ? 1.0f / w : 1.0f;
    // ID3DXSprite's projection puts pixel centres half a pixel into the picture,
    // so a 1:1 sprite maps texel to pixel exactly: the same offset here.
    return Vertex{(x * m.m[0][0] + y * m.m[1][0] + m.m[3][0]) * scale - 0.5f,
                  (x * m.m[0][1] + y * m.m[1][1] + m.m[3][1]) * scale - 0.5f,
                  0.0f,
                  1.0f,
                  colour,
                  u,
                  v};
}

}  // namespace

QuadSprite::QuadSprite(IDirect3DDevice9* device) : device(device) {
    device->AddRef();
    device->GetDeviceCaps(&caps);
}

HResult QuadSprite::begin(std::uint32_t flags) {
    if (drawing) {
        return D3DERR_INVALIDCALL;
    }
    beginFlags = flags;
    if ((flags & D3DXSPRITE_DONOTSAVESTATE) == 0) {
        if (savedStates.get() == nullptr) {
            const HRESULT made = device->CreateStateBlock(D3DSBT_ALL, savedStates.put());
            if (FAILED(made)) {
                return made;
            }
        }
        savedStates->Capture();
    }
    if ((flags & D3DXSPRITE_DONOTMODIFY_RENDERSTATE) == 0) {
        setStates();
    }
    drawing = true;
    return D3D_OK;
}

void QuadSprite::setStates() {
    const bool blend = (beginFlags & D3DXSPRITE_ALPHABLEND) != 0;
    device->SetVertexShader(nullptr);
    device->SetPixelShader(nullptr);
    device->SetFVF(VERTEX_FORMAT);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, blend ? TRUE : FALSE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    device->SetRenderState(D3DRS_SEPARATEALPHABLENDENABLE, FALSE);
    // Fully transparent texels write nothing, where the device can test for it.
    const bool alphaTest = blend && (caps.AlphaCmpCaps & D3DPCMPCAPS_GREATER) != 0;
    device->SetRenderState(D3DRS_ALPHATESTENABLE, alphaTest ? TRUE : FALSE);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    device->SetRenderState(D3DRS_ALPHAREF, 0);
    device->SetRenderState(D3DRS_CLIPPING, TRUE);
    device->SetRenderState(D3DRS_CLIPPLANEENABLE, 0);
    device->SetRenderState(D3DRS_COLORWRITEENABLE,
                           D3DCOLORWRITEENABLE_ALPHA | D3DCOLORWRITEENABLE_RED |
                               D3DCOLORWRITEENABLE_GREEN | D3DCOLORWRITEENABLE_BLUE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    device->SetRenderState(D3DRS_FOGENABLE, FALSE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    device->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
    device->SetRenderState(D3DRS_SRGBWRITEENABLE, FALSE);
    device->SetRenderState(D3DRS_STENCILENABLE, FALSE);
    device->SetRenderState(D3DRS_VERTEXBLEND, FALSE);
    device->SetRenderState(D3DRS_WRAP0, 0);

    // Texels times the diffuse colour, alpha likewise; one stage.
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, D3DTSS_TCI_PASSTHRU);
    device->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);

    // A source rectangle past the texture repeats its edge texels.
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    const bool anisotropicMag = (caps.TextureFilterCaps & D3DPTFILTERCAPS_MAGFANISOTROPIC) != 0;
    const bool anisotropicMin = (caps.TextureFilterCaps & D3DPTFILTERCAPS_MINFANISOTROPIC) != 0;
    device->SetSamplerState(0, D3DSAMP_MAGFILTER,
                            anisotropicMag ? D3DTEXF_ANISOTROPIC : D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MINFILTER,
                            anisotropicMin ? D3DTEXF_ANISOTROPIC : D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MAXANISOTROPY, caps.MaxAnisotropy);
    device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MAXMIPLEVEL, 0);
    device->SetSamplerState(0, D3DSAMP_MIPMAPLODBIAS, 0);
    device->SetSamplerState(0, D3DSAMP_SRGBTEXTURE, 0);
}

HResult QuadSprite::setTransform(const Matrix& matrix) {
    transform = matrix;
    return D3D_OK;
}

HResult QuadSprite::draw(TextureResource* texture, const Rect* source, std::uint32_t colour) {
    auto* ours = dynamic_cast<Texture9*>(texture);
    IDirect3DTexture9* raw = ours != nullptr ? ours->raw() : nullptr;
    if (!drawing || raw == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    D3DSURFACE_DESC level{};
    const HRESULT described = raw->GetLevelDesc(0, &level);
    if (FAILED(described)) {
        return described;
    }
    // No rectangle: the whole texture.
    Rect area;
    area.right = static_cast<std::int32_t>(level.Width);
    area.bottom = static_cast<std::int32_t>(level.Height);
    if (source != nullptr) {
        area = *source;
    }
    const auto width = static_cast<float>(area.right - area.left);
    const auto height = static_cast<float>(area.bottom - area.top);
    const float left = static_cast<float>(area.left) / static_cast<float>(level.Width);
    const float top = static_cast<float>(area.top) / static_cast<float>(level.Height);
    const float right = static_cast<float>(area.right) / static_cast<float>(level.Width);
    const float bottom = static_cast<float>(area.bottom) / static_cast<float>(level.Height);
    const Vertex quad[4] = {
        corner(transform, 0.0f, 0.0f, colour, left, top),
        corner(transform, width, 0.0f, colour, right, top),
        corner(transform, 0.0f, height, colour, left, bottom),
        corner(transform, width, height, colour, right, bottom),
    };
    device->SetTexture(0, raw);
    return device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
}

HResult QuadSprite::end() {
    if (!drawing) {
        return D3DERR_INVALIDCALL;
    }
    drawing = false;
    if ((beginFlags & D3DXSPRITE_DONOTSAVESTATE) == 0 && savedStates.get() != nullptr) {
        savedStates->Apply();
    }
    return D3D_OK;
}

HResult QuadSprite::onLostDevice() {
    if (drawing) {
        end();
    }
    // A reset needs every state block let go of beforehand.
    savedStates.put();
    return D3D_OK;
}

HResult QuadSprite::onResetDevice() { return D3D_OK; }

}  // namespace platform::win32
