#include "platform/win32/d3d9/wic_texture.h"

#include <objbase.h>
#include <wincodec.h>

#include <cstring>
#include <vector>

#include "platform/win32/d3d9/com_handle.h"

namespace platform::win32 {
namespace {

// WIC is a COM library: COM must be up on this thread. Done once, kept for the
// life of the process; a thread that already chose its model keeps it.
void startCom() {
    static const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    (void)started;
}

UINT powerOfTwoAtLeast(UINT size) {
    UINT power = 1;
    while (power < size) {
        power <<= 1;
    }
    return power;
}

std::wstring widePath(const std::string& path) {
    // The path is in the ANSI code page, as D3DXCreateTextureFromFileExA takes it.
    const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], length);
    wide.resize(static_cast<std::size_t>(length) - 1);
    return wide;
}

// The picture's first frame as rows of B, G, R, A bytes (A8R8G8B8 in memory).
HRESULT decode(const std::string& path, UINT& width, UINT& height,
               std::vector<unsigned char>& pixels) {
    startCom();
    ComHandle<IWICImagingFactory> factory;
    HRESULT result =
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                         IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put()));
    if (FAILED(result)) {
        return result;
    }
    const std::wstring wide = widePath(path);
    if (wide.empty()) {
        return E_INVALIDARG;
    }
    ComHandle<IWICBitmapDecoder> decoder;
    result = factory->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, decoder.put());
    if (FAILED(result)) {
        return result;
    }
    ComHandle<IWICBitmapFrameDecode> frame;
    result = decoder->GetFrame(0, frame.put());
    if (FAILED(result)) {
        return result;
    }
    ComHandle<IWICFormatConverter> converter;
    result = factory->CreateFormatConverter(converter.put());
    if (FAILED(result)) {
        return result;
    }
    result =
        converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                              nullptr, 0.0, WICBitmapPaletteTypeCustom);
    if (FAILED(result)) {
        return result;
    }
    result = converter->GetSize(&width, &height);
    if (FAILED(result)) {
        return result;
    }
    if (width == 0 || height == 0) {
        return D3DERR_INVALIDCALL;
    }
    const UINT stride = width * 4;
    pixels.resize(static_cast<std::size_t>(stride) * height);
    return converter->CopyPixels(nullptr, stride, static_cast<UINT>(pixels.size()), pixels.data());
}

}  // namespace

HRESULT createTextureWithWic(IDirect3DDevice9* device, const std::string& path, ImageInfo& info,
                             IDirect3DTexture9** out) {
    if (device == nullptr || out == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    UINT width = 0;
    UINT height = 0;
    std::vector<unsigned char> pixels;
    HRESULT result = decode(path, width, height, pixels);
    if (FAILED(result)) {
        return result;
    }
    IDirect3DTexture9* texture = nullptr;
    result = device->CreateTexture(powerOfTwoAtLeast(width), powerOfTwoAtLeast(height), 1, 0,
                                   D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr);
    if (FAILED(result)) {
        return result;
    }
    D3DSURFACE_DESC level{};
    D3DLOCKED_RECT locked{};
    result = texture->GetLevelDesc(0, &level);
    if (SUCCEEDED(result)) {
        result = texture->LockRect(0, &locked, nullptr, 0);
    }
    if (FAILED(result)) {
        texture->Release();
        return result;
    }
    // Unfiltered: the picture lands texel for pixel in the top-left corner; the
    // padding is transparent black.
    auto* rows = static_cast<unsigned char*>(locked.pBits);
    const std::size_t pictureRow = static_cast<std::size_t>(width) * 4;
    for (UINT y = 0; y < level.Height; ++y) {
        unsigned char* row = rows + static_cast<std::size_t>(y) * locked.Pitch;
        std::memset(row, 0, static_cast<std::size_t>(level.Width) * 4);
        if (y < height) {
            std::memcpy(row, &pixels[y * pictureRow], pictureRow);
        }
    }
    texture->UnlockRect(0);
    info.Width = width;
    info.Height = height;
    *out = texture;
    return D3D_OK;
}

}  // namespace platform::win32
