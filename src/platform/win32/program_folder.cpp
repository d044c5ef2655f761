#include "platform/win32/program_folder.h"

#include <windows.h>

#include <string>

namespace platform::win32 {

bool enterProgramFolder() {
    // Wide characters: the folder's name may not fit the ANSI code page.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0) {
            return false;
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);  // cut short: try again with more room
    }
    const std::wstring::size_type separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos) {
        return false;
    }
    path.resize(separator == 2 && path[1] == L':' ? separator + 1 : separator);  // "C:\" stays
    return SetCurrentDirectoryW(path.c_str()) != FALSE;
}

}  // namespace platform::win32
