#include "win32_fixture.h"

namespace win32test {

using namespace platform;

std::vector<Message>& received() {
    static std::vector<Message> messages;
    return messages;
}

std::intptr_t recordingProcedure(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
    received().push_back(Message{window, message, wParam, lParam});
    return current().windowing().defWindowProc(window, message, wParam, lParam);
}

bool wasReceived(std::uint32_t message) {
    for (const Message& m : received()) {
        if (m.message == message) {
            return true;
        }
    }
    return false;
}

void Win32Test::SetUp() {
    received().clear();
    installedBackend = new BackendWithoutDirect3D;
    install(installedBackend);
}

void Win32Test::TearDown() {
    install(nullptr);
    delete installedBackend;
    installedBackend = nullptr;
}

WindowHandle Win32Test::createGameStyleWindow(const char* className) {
    WindowClass windowClass;
    windowClass.style = cs::VREDRAW | cs::HREDRAW | cs::DBLCLKS | cs::OWNDC;
    windowClass.procedure = recordingProcedure;
    windowClass.icon = backend().windowing().applicationIcon();
    windowClass.smallIcon = windowClass.icon;
    windowClass.className = className;
    EXPECT_TRUE(backend().windowing().registerClass(windowClass));
    return backend().windowing().createWindow(className, "Win32 backend test",
                                              ws::POPUP | ws::CLIPSIBLINGS | ws::CLIPCHILDREN,
                                              cw::USEDEFAULT, 0, 320, 240);
}

void Win32Test::pump() {
    Message message;
    while (backend().system().peekMessage(message)) {
        backend().system().dispatchMessage(message);
    }
}

}  // namespace win32test
