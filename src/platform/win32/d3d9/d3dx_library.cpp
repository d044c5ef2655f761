#include "platform/win32/d3d9/d3dx_library.h"

namespace platform::win32 {
namespace {

template <typename Function>
void lookUp(HMODULE library, const char* name, Function& out) {
    // GetProcAddress hands back a generic pointer; the declared type is the DLL's own.
    out = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

D3dxLibrary load() {
    D3dxLibrary found;
    HMODULE library = LoadLibraryA("d3dx9_43.dll");
    if (library == nullptr) {
        return found;
    }
    lookUp(library, "D3DXCreateTextureFromFileExA", found.createTextureFromFileExA);
    lookUp(library, "D3DXCreateSprite", found.createSprite);
    if (!found.available()) {
        // A library of that name without the functions is as good as none.
        FreeLibrary(library);
        return D3dxLibrary{};
    }
    return found;
}

}  // namespace

const D3dxLibrary& systemD3dx() {
    static const D3dxLibrary library = load();
    return library;
}

const D3dxLibrary& noD3dx() {
    static const D3dxLibrary none;
    return none;
}

}  // namespace platform::win32
