#pragma once
// D3DX 9 as found at run time: d3dx9_43.dll comes with the DirectX End-User
// Runtime (and with Wine), not with Windows, so the program must start without
// it. The functions the backend calls are looked up by name; where the library
// is missing they stay null and the backend draws with its own stand-in.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

namespace platform::win32 {

struct D3dxLibrary {
    using CreateTextureFromFileExA = HRESULT(WINAPI*)(IDirect3DDevice9*, const char*, UINT, UINT,
                                                      UINT, DWORD, D3DFORMAT, D3DPOOL, DWORD, DWORD,
                                                      D3DCOLOR, D3DXIMAGE_INFO*, PALETTEENTRY*,
                                                      IDirect3DTexture9**);
    using CreateSprite = HRESULT(WINAPI*)(IDirect3DDevice9*, ID3DXSprite**);

    CreateTextureFromFileExA createTextureFromFileExA = nullptr;
    CreateSprite createSprite = nullptr;

    // Every function found: the library is used, else the stand-in is.
    bool available() const {
        return createTextureFromFileExA != nullptr && createSprite != nullptr;
    }
};

// d3dx9_43.dll, loaded on the first call and kept for the life of the process.
const D3dxLibrary& systemD3dx();

// No D3DX at all: the stand-in on Direct3D 9 and the Windows Imaging Component.
const D3dxLibrary& noD3dx();

}  // namespace platform::win32
