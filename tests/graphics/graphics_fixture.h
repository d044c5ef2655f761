#pragma once
// A fresh Graphics singleton over the graphics fakes, with the log written to a
// temporary data folder and read back entry by entry.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/fake_graphics.h"
#include "graphics/graphics.h"
#include "log/log.h"

namespace graphics_tests {

struct LogEntry {
    std::string colour;  // FFFFFF information, FFFF00 warning, FF0000 error
    std::string message;
    bool operator==(const LogEntry& other) const {
        return colour == other.colour && message == other.message;
    }
};

inline std::ostream& operator<<(std::ostream& out, const LogEntry& entry) {
    return out << "#" << entry.colour << " \"" << entry.message << "\"";
}

inline LogEntry info(const std::string& message) { return {"FFFFFF", message}; }
inline LogEntry warning(const std::string& message) { return {"FFFF00", message}; }
inline LogEntry error(const std::string& message) { return {"FF0000", message}; }

class GraphicsTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::temp_directory_path() /
                 (std::string("graphics_test_") + test->test_suite_name() + "_" + test->name() +
                  "_" + std::to_string(std::random_device{}()));
        std::filesystem::remove_all(folder);
        platformFake.fakeSystem.dataFolderPath = folder.string();
        ASSERT_TRUE(Log::open("Tessak"));
    }

    void TearDown() override {
        Log::close();
        std::filesystem::remove_all(folder);
    }

    // The log's entries, in order, with their level colour and message.
    std::vector<LogEntry> entries() const {
        // Text mode, as the log writes it: Windows ends its lines with "\r\n".
        std::ifstream in(Log::path());
        std::stringstream buffer;
        buffer << in.rdbuf();
        const std::string page = buffer.str();
        const std::string start = "<font face='webdings' size='6' color=#";
        const std::string messageStart = "</font></strong>]: ";
        std::vector<LogEntry> result;
        std::size_t at = page.find(start);
        while (at != std::string::npos) {
            const std::size_t next = page.find(start, at + start.size());
            const std::string entry =
                page.substr(at, next == std::string::npos ? std::string::npos : next - at);
            LogEntry parsed;
            parsed.colour = entry.substr(start.size(), 6);
            const std::size_t text = entry.find(messageStart);
            if (text != std::string::npos && entry.size() >= 4 &&
                entry.compare(entry.size() - 4, 4, "<br>") == 0) {
                parsed.message = entry.substr(text + messageStart.size(),
                                              entry.size() - 4 - text - messageStart.size());
            } else {
                parsed.message = "<malformed entry: " + entry + ">";
            }
            result.push_back(parsed);
            at = next;
        }
        return result;
    }

    // Only the messages, in order.
    std::vector<std::string> messages() const {
        std::vector<std::string> result;
        for (const LogEntry& entry : entries()) {
            result.push_back(entry.message);
        }
        return result;
    }

    // Restarts the log so that a test sees only what follows.
    void forgetLog() { ASSERT_TRUE(Log::open("Tessak")); }

    fakes::FakePlatform platformFake;
    fakes::FakeGraphics fake{platformFake};
    std::filesystem::path folder;
};

}  // namespace graphics_tests
