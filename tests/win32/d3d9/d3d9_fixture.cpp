#include "d3d9_fixture.h"

#include <cstdlib>
#include <cstring>
#include <ostream>

#include "platform/win32/d3d9/direct3d9.h"
#include "platform/win32/d3d9/raw_access.h"

namespace win32_d3d9_test {
namespace {

const char* const windowClass = "D3D9TestWindow";

void registerWindowClass() {
    static bool registered = false;
    if (registered) {
        return;
    }
    WNDCLASSEXA windowClassInfo{};
    windowClassInfo.cbSize = sizeof(windowClassInfo);
    windowClassInfo.style = CS_OWNDC;
    windowClassInfo.lpfnWndProc = DefWindowProcA;
    windowClassInfo.hInstance = GetModuleHandleA(nullptr);
    windowClassInfo.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClassInfo.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClassInfo.lpszClassName = windowClass;
    registered = RegisterClassExA(&windowClassInfo) != 0;
}

// One Direct3D object for the whole program: making one takes Wine most of a
// second (it probes the OpenGL driver), and the tests are about what it makes.
class SharedDirect3D : public ::testing::Environment {
public:
    void SetUp() override { direct3D.reset(platform::win32::createDirect3D()); }
    void TearDown() override { direct3D.reset(); }

    static std::unique_ptr<platform::Direct3D> direct3D;
};

std::unique_ptr<platform::Direct3D> SharedDirect3D::direct3D;
::testing::Environment* const sharedDirect3D =
    ::testing::AddGlobalTestEnvironment(new SharedDirect3D);

}  // namespace

Pixel FrameCopy::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) {
        ADD_FAILURE() << "no pixel at " << x << ", " << y;
        return Pixel{-1, -1, -1};
    }
    const std::uint32_t value = pixels[static_cast<std::size_t>(y) * width + x];
    return Pixel{static_cast<int>((value >> 16) & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                 static_cast<int>(value & 0xFF)};
}

bool closeTo(const Pixel& actual, const Pixel& expected, int tolerance) {
    return std::abs(actual.red - expected.red) <= tolerance &&
           std::abs(actual.green - expected.green) <= tolerance &&
           std::abs(actual.blue - expected.blue) <= tolerance;
}

std::ostream& operator<<(std::ostream& out, const Pixel& pixel) {
    return out << "(" << pixel.red << ", " << pixel.green << ", " << pixel.blue << ")";
}

void D3D9Fixture::SetUp() {
    registerWindowClass();
    window = CreateWindowExA(0, windowClass, "Direct3D 9 test", WS_POPUP | WS_VISIBLE, 0, 0,
                             SCREEN_WIDTH, SCREEN_HEIGHT, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr) << "CreateWindowExA failed: " << GetLastError();
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetFocus(window);
    pumpMessages();
    direct3D = SharedDirect3D::direct3D.get();
    ASSERT_NE(direct3D, nullptr) << "Direct3DCreate9 failed";
}

void D3D9Fixture::TearDown() {
    if (window != nullptr) {
        DestroyWindow(window);
        pumpMessages();
    }
}

void WindowedDeviceFixture::SetUp() {
    D3D9Fixture::SetUp();
    if (HasFatalFailure()) {
        return;
    }
    platform::PresentParameters presentParameters = parameters(true);
    device = createDevice(presentParameters);
    ASSERT_NE(device, nullptr);
}

void WindowedDeviceFixture::TearDown() {
    device.reset();
    D3D9Fixture::TearDown();
}

platform::PresentParameters D3D9Fixture::parameters(bool windowed,
                                                    std::uint32_t refreshRate) const {
    platform::PresentParameters presentParameters;
    presentParameters.BackBufferWidth = SCREEN_WIDTH;
    presentParameters.BackBufferHeight = SCREEN_HEIGHT;
    presentParameters.BackBufferFormat = platform::d3dfmt::X8R8G8B8;
    presentParameters.BackBufferCount = 1;
    presentParameters.MultiSampleType = platform::d3dmultisample::NONE;
    presentParameters.SwapEffect = platform::d3dswapeffect::DISCARD;
    presentParameters.hDeviceWindow = window;
    presentParameters.Windowed = windowed;
    presentParameters.EnableAutoDepthStencil = true;
    presentParameters.AutoDepthStencilFormat = platform::d3dfmt::D16;
    presentParameters.FullScreen_RefreshRateInHz = windowed ? 0 : refreshRate;
    presentParameters.PresentationInterval = platform::d3dpresent::INTERVAL_DEFAULT;
    return presentParameters;
}

std::unique_ptr<platform::Device> D3D9Fixture::createDevice(
    platform::PresentParameters& presentParameters) {
    const std::uint32_t behaviour = platform::d3dcreate::DISABLE_DRIVER_MANAGEMENT |
                                    platform::d3dcreate::FPU_PRESERVE |
                                    platform::d3dcreate::SOFTWARE_VERTEXPROCESSING;
    platform::Device* device = nullptr;
    const platform::HResult result =
        direct3D->createDevice(window, behaviour, presentParameters, &device);
    EXPECT_EQ(result, platform::d3d::OK);
    EXPECT_NE(device, nullptr);
    return std::unique_ptr<platform::Device>(device);
}

void D3D9Fixture::pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool D3D9Fixture::waitFor(const std::function<bool()>& condition, DWORD limitMilliseconds) {
    const ULONGLONG deadline = GetTickCount64() + limitMilliseconds;
    for (;;) {
        pumpMessages();
        if (condition()) {
            return true;
        }
        if (GetTickCount64() > deadline) {
            return false;
        }
        Sleep(10);
    }
}

FrameCopy D3D9Fixture::readBack(platform::Device& device) {
    FrameCopy frame;
    IDirect3DDevice9* raw = platform::win32::rawDevice(device);
    if (raw == nullptr) {
        ADD_FAILURE() << "not a Direct3D 9 device";
        return frame;
    }
    IDirect3DSurface9* target = nullptr;
    IDirect3DSurface9* copy = nullptr;
    D3DSURFACE_DESC description{};
    D3DLOCKED_RECT locked{};
    if (FAILED(raw->GetRenderTarget(0, &target)) || FAILED(target->GetDesc(&description)) ||
        description.Format != D3DFMT_X8R8G8B8 ||
        FAILED(raw->CreateOffscreenPlainSurface(description.Width, description.Height,
                                                description.Format, D3DPOOL_SYSTEMMEM, &copy,
                                                nullptr)) ||
        FAILED(raw->GetRenderTargetData(target, copy)) ||
        FAILED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
        ADD_FAILURE() << "the render target cannot be read back";
    } else {
        frame.width = static_cast<int>(description.Width);
        frame.height = static_cast<int>(description.Height);
        frame.pixels.resize(static_cast<std::size_t>(frame.width) * frame.height);
        for (int y = 0; y < frame.height; ++y) {
            std::memcpy(&frame.pixels[static_cast<std::size_t>(y) * frame.width],
                        static_cast<const unsigned char*>(locked.pBits) + y * locked.Pitch,
                        static_cast<std::size_t>(frame.width) * sizeof(std::uint32_t));
        }
        copy->UnlockRect();
    }
    if (copy != nullptr) {
        copy->Release();
    }
    if (target != nullptr) {
        target->Release();
    }
    return frame;
}

std::unique_ptr<platform::TextureResource> D3D9Fixture::quadrantTexture(platform::Device& device) {
    platform::ImageInfo info;
    platform::TextureResource* loaded = nullptr;
    EXPECT_EQ(device.createTextureFromFile(resourcePath("peice1.png"), info, &loaded),
              platform::d3d::OK);
    std::unique_ptr<platform::TextureResource> texture(loaded);
    if (texture == nullptr) {
        return texture;
    }
    IDirect3DTexture9* raw = platform::win32::rawTexture(*texture);
    D3DSURFACE_DESC description{};
    D3DLOCKED_RECT locked{};
    if (raw == nullptr || FAILED(raw->GetLevelDesc(0, &description)) || description.Width != 32 ||
        description.Height != 32 ||
        (description.Format != D3DFMT_A8R8G8B8 && description.Format != D3DFMT_X8R8G8B8) ||
        FAILED(raw->LockRect(0, &locked, nullptr, 0))) {
        ADD_FAILURE() << "the 32 x 32 picture cannot be painted";
        return nullptr;
    }
    for (int y = 0; y < 32; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<unsigned char*>(locked.pBits) +
                                                     y * locked.Pitch);
        for (int x = 0; x < 32; ++x) {
            const bool right = x >= 16;
            const bool bottom = y >= 16;
            row[x] =
                !bottom ? (right ? 0xFF00FF00u : 0xFFFF0000u) : (right ? 0xFFFFFFFFu : 0xFF0000FFu);
        }
    }
    raw->UnlockRect(0);
    return texture;
}

std::string D3D9Fixture::resourcePath(const std::string& name) {
    const char* source = std::getenv("TESSAK_SOURCE_DIR");
    return std::string(source != nullptr ? source : ".") + "/resources/" + name;
}

}  // namespace win32_d3d9_test
