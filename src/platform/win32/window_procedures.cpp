// The thunk between Win32's WNDPROC and the engine's WindowProc, and the table of
// engine procedures by class name that it reads.
#include "platform/win32/window_procedures.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>

namespace platform::win32 {
namespace {

std::string classKey(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name;
}

// Messages reach the thunk on the thread that owns the window, while classes may
// be registered from another; the lock is never held while a procedure runs,
// because a procedure may create or destroy windows and re-enter the thunk.
std::mutex tableLock;
std::map<std::string, WindowProc>& table() {
    static std::map<std::string, WindowProc> procedures;
    return procedures;
}

WindowProc procedureOf(HWND window) {
    char name[256] = {};
    if (GetClassNameA(window, name, sizeof name) == 0) {
        return nullptr;
    }
    std::lock_guard<std::mutex> hold(tableLock);
    auto found = table().find(classKey(name));
    return found == table().end() ? nullptr : found->second;
}

}  // namespace

void rememberProcedure(const std::string& className, WindowProc procedure) {
    std::lock_guard<std::mutex> hold(tableLock);
    table()[classKey(className)] = procedure;
}

void forgetProcedure(const std::string& className) {
    std::lock_guard<std::mutex> hold(tableLock);
    table().erase(classKey(className));
}

LRESULT CALLBACK windowProcedureThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WindowProc procedure = procedureOf(window);
    if (procedure == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return procedure(window, message, wParam, lParam);
}

}  // namespace platform::win32
