// The data folder and the file calls on the Win32 backend: the shell's common
// application-data folder (C:\ProgramData under Wine), made when missing, the
// engine's Log.html written there, FlushFileBuffers and localtime_s; and the
// program's own folder made the working folder.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "log/log.h"
#include <shlobj.h>

#include "platform/win32/program_folder.h"
#include "win32_fixture.h"

namespace {

using namespace platform;
using win32test::Win32Test;

const char SUB_FOLDER[] = "TessakWin32Test";

bool isFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void removeFolder(const std::string& folder) {
    DeleteFileA((folder + "\\Log.html").c_str());
    RemoveDirectoryA(folder.c_str());
}

std::string commonAppData() {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

using DataFolderTest = Win32Test;

TEST_F(DataFolderTest, FolderIsMadeUnderTheCommonApplicationData) {
    const std::string expected = commonAppData() + "\\" + SUB_FOLDER;
    EXPECT_EQ(_stricmp(commonAppData().c_str(), "C:\\ProgramData"), 0) << commonAppData();
    removeFolder(expected);
    ASSERT_FALSE(isFolder(expected));

    const std::string folder = backend().system().dataFolder(SUB_FOLDER);
    EXPECT_EQ(_stricmp(folder.c_str(), expected.c_str()), 0) << folder;
    EXPECT_TRUE(isFolder(folder));
    EXPECT_EQ(backend().system().pathSeparator(), '\\');
    removeFolder(expected);
}

TEST_F(DataFolderTest, LogPageIsWrittenInTheDataFolder) {
    const std::string folder = commonAppData() + "\\" + SUB_FOLDER;
    removeFolder(folder);
    ASSERT_TRUE(Log::open(SUB_FOLDER));
    EXPECT_EQ(_stricmp(Log::path().c_str(), (folder + "\\Log.html").c_str()), 0) << Log::path();
    Log::info("Written under Wine");
    Log::close();

    std::ifstream page(folder + "\\Log.html", std::ios::binary);
    ASSERT_TRUE(page.good());
    std::stringstream text;
    text << page.rdbuf();
    EXPECT_NE(text.str().find("Written under Wine"), std::string::npos);
    page.close();
    removeFolder(folder);
}

TEST_F(DataFolderTest, SyncFlushesAWrittenFile) {
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    const std::string path = std::string(folder) + "tessak-sync-test.bin";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("bytes", file);
    std::fflush(file);
    EXPECT_TRUE(backend().system().syncFile(file));
    std::fclose(file);
    DeleteFileA(path.c_str());
}

TEST_F(DataFolderTest, LocalTimeIsTheCalendarTimeOfTheLocalZone) {
    for (std::time_t seconds : {std::time_t{86400}, std::time_t{1700000000}, std::time(nullptr)}) {
        std::tm local = backend().system().localTime(seconds);
        EXPECT_GE(local.tm_year, 70);
        EXPECT_EQ(std::mktime(&local), seconds);
    }
}

TEST(ProgramFolderTest, TheProgramsFolderBecomesTheWorkingFolderWhereverItStarted) {
    char started[MAX_PATH] = {};
    ASSERT_NE(GetCurrentDirectoryA(MAX_PATH, started), 0u);
    ASSERT_TRUE(SetCurrentDirectoryA(commonAppData().c_str()));
    const bool entered = win32::enterProgramFolder();
    // The program's own file, named relative to the working folder.
    const DWORD found = GetFileAttributesA("win32_data_folder_test.exe");
    SetCurrentDirectoryA(started);
    EXPECT_TRUE(entered);
    EXPECT_NE(found, INVALID_FILE_ATTRIBUTES);
}

}  // namespace
