#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/core.h"
#include "core/object.h"
#include "fakes/fake_platform.h"
#include "log/log.h"

namespace {

// What the loop did, in order: "msg <code>", "update <dt>", "frame <dt>".
std::vector<std::string> events;
std::vector<float> frameTimes;

void recordFrame(float dt) {
    events.push_back("frame");
    frameTimes.push_back(dt);
}

class RecordingObject : public Object {
public:
    void update(float dt) override {
        events.push_back("update");
        Object::update(dt);
    }
};

Object* makeRecording(std::int32_t) { return new RecordingObject(); }

platform::Message message(std::uint32_t code) {
    platform::Message m;
    m.message = code;
    return m;
}

class MainLoop : public ::testing::Test {
protected:
    void SetUp() override {
        events.clear();
        frameTimes.clear();
        system.onDispatch = [](const platform::Message& m) {
            events.push_back("msg " + std::to_string(m.message));
        };
        core.reset();
    }
    // Queues wm::QUIT once `count` frames have run (the loop sleeps 1 ms after each).
    void quitAfterFrames(int count) {
        system.onSleep = [this, count](std::uint32_t ms) {
            if (ms == 1 && static_cast<int>(frameTimes.size()) == count) {
                system.queue.push_back(message(platform::wm::QUIT));
            }
        };
    }

    fakes::FakePlatform platformFake;
    fakes::FakeSystem& system = platformFake.fakeSystem;
    Core core{makeRecording, recordFrame};
};

TEST_F(MainLoop, MessagesWinOverFramesAndQuitEndsTheLoop) {
    core.createObject(7, "");
    system.queue.push_back(message(platform::wm::KEYDOWN));
    system.queue.push_back(message(platform::wm::MOUSEMOVE));
    quitAfterFrames(2);
    core.run();
    const std::vector<std::string> expected = {"msg " + std::to_string(platform::wm::KEYDOWN),
                                               "msg " + std::to_string(platform::wm::MOUSEMOVE),
                                               "update",
                                               "frame",
                                               "update",
                                               "frame",
                                               "msg " + std::to_string(platform::wm::QUIT)};
    EXPECT_EQ(events, expected);
    // The quit message is dispatched like any other, and no frame follows it.
    ASSERT_FALSE(system.dispatched.empty());
    EXPECT_EQ(system.dispatched.back().message, platform::wm::QUIT);
    EXPECT_EQ(system.sleeps, (std::vector<std::uint32_t>{1, 1}));
}

TEST_F(MainLoop, OneMessagePerPassBetweenFrames) {
    // A message posted during a frame is handled before the next frame; two
    // posted together are both handled before it.
    int frame = 0;
    system.onSleep = [&](std::uint32_t) {
        ++frame;
        if (frame == 1) {
            system.queue.push_back(message(platform::wm::MOUSEMOVE));
            system.queue.push_back(message(platform::wm::MOUSEMOVE));
        } else if (frame == 2) {
            system.queue.push_back(message(platform::wm::QUIT));
        }
    };
    core.run();
    const std::string move = "msg " + std::to_string(platform::wm::MOUSEMOVE);
    const std::vector<std::string> expected = {"frame", move, move, "frame",
                                               "msg " + std::to_string(platform::wm::QUIT)};
    EXPECT_EQ(events, expected);
}

TEST_F(MainLoop, FrameTimesAreSmoothedAndCapped) {
    // Start reading, then one reading per frame: 13 ms, 50 ms, 1 ms, 0 ms.
    system.clockScript = {1000, 1013, 1063, 1064, 1064};
    quitAfterFrames(4);
    core.run();
    ASSERT_EQ(frameTimes.size(), 4u);
    EXPECT_FLOAT_EQ(frameTimes[0], 0.013f);
    EXPECT_FLOAT_EQ(frameTimes[1], 1.2f * 0.013f);
    EXPECT_FLOAT_EQ(frameTimes[2], 0.8f * frameTimes[1]);
    EXPECT_FLOAT_EQ(frameTimes[3], 0.8f * frameTimes[2]);
}

TEST_F(MainLoop, LongStallIsCappedOnTheFirstFrame) {
    system.clockScript = {0, 5000};
    quitAfterFrames(1);
    core.run();
    ASSERT_EQ(frameTimes.size(), 1u);
    EXPECT_EQ(frameTimes[0], 0.022222223f);
}

TEST_F(MainLoop, ClockWrapGivesASmallPositiveFrameTime) {
    system.clockScript = {0xFFFFFFF6u, 0x00000006u};
    quitAfterFrames(1);
    core.run();
    ASSERT_EQ(frameTimes.size(), 1u);
    EXPECT_FLOAT_EQ(frameTimes[0], 0.016f);
}

TEST_F(MainLoop, InactiveCoreHandlesMessagesButRunsNoFrames) {
    core.createObject(7, "");
    core.setActive(false);
    EXPECT_FALSE(core.isActive());
    system.queue.push_back(message(platform::wm::KEYDOWN));
    system.onSleep = [&](std::uint32_t ms) {
        if (ms == 1000 && system.sleeps.size() == 2) {
            system.queue.push_back(message(platform::wm::QUIT));
        }
    };
    core.run();
    EXPECT_EQ(system.sleeps, (std::vector<std::uint32_t>{1000, 1000}));
    const std::vector<std::string> expected = {"msg " + std::to_string(platform::wm::KEYDOWN),
                                               "msg " + std::to_string(platform::wm::QUIT)};
    EXPECT_EQ(events, expected);
}

TEST_F(MainLoop, ShutdownIsLogged) {
    const auto folder = std::filesystem::temp_directory_path() / "core_main_loop_log";
    std::filesystem::remove_all(folder);
    system.dataFolderPath = folder.string();
    ASSERT_TRUE(Log::open("Engine"));
    system.queue.push_back(message(platform::wm::QUIT));
    core.run();
    std::stringstream page;
    {
        std::ifstream in(Log::path());
        page << in.rdbuf();
    }  // Windows deletes no folder with a file open in it.
    Log::close();
    std::filesystem::remove_all(folder);
    EXPECT_NE(page.str().find("Graceful shutdown detected."), std::string::npos);
    EXPECT_TRUE(frameTimes.empty());
}

}  // namespace
