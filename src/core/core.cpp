#include "core/core.h"

#include "core/busy_scope.h"
#include "core/frame_time.h"
#include "core/lock.h"
#include "core/object.h"
#include "log/log.h"
#include "platform/platform.h"

Core::Core(ObjectFactory objectFactory, FrameCallback frameCallback)
    : objectFactory(objectFactory), frameCallback(frameCallback) {}

Core::~Core() { clearAll(); }

void Core::run() {
    platform::System& system = platform::current().system();
    float previousFrameTime = 0.0f;
    std::uint32_t previousReading = system.milliseconds();
    for (;;) {
        platform::Message message;
        if (system.peekMessage(message)) {
            system.dispatchMessage(message);
            if (message.message == platform::wm::QUIT) {
                Log::info("Graceful shutdown detected.");
                return;
            }
            continue;
        }
        if (!active) {
            system.sleep(1000);
            continue;
        }
        const std::uint32_t now = system.milliseconds();
        float t = frame_time::elapsedSeconds(now, previousReading);
        previousReading = now;
        t = frame_time::smooth(t, previousFrameTime);
        previousFrameTime = t;
        updateObjects(t);
        if (frameCallback != nullptr) {
            frameCallback(t);
        }
        system.sleep(1);
    }
}

namespace {
struct PassFlag {
    bool& flag;
    explicit PassFlag(bool& f) : flag(f) { flag = true; }
    ~PassFlag() { flag = false; }
};
}  // namespace

void Core::updateObjects(float dt) {
    if (objects.empty() || passRunning) {
        return;
    }
    BusyScope busy(*this);
    PassFlag running(passRunning);
    // Scripts resumed by an update may make or delete objects; unlinkObject
    // moves the cursor and the end mark past deleted ones, and objects made
    // during the pass lie beyond the end mark, so they wait for the next frame
    // (a script making and pausing objects cannot keep one frame going).
    passFinished = false;
    passCursor = objects.begin();
    passLast = std::prev(objects.end());
    while (!passFinished) {
        Object* object = *passCursor;
        if (passCursor == passLast) {
            passFinished = true;
        } else {
            ++passCursor;
        }
        object->update(dt);
    }
}

void Core::clearAll() {
    if (luaState != nullptr) {
        lua_close(luaState);
        luaState = nullptr;
    }
    for (Object* object : objects) {
        delete object;
    }
    objects.clear();
    objectIndex.clear();
    threads.clear();
    for (Lock* lock : locks) {
        delete lock;
    }
    locks.clear();
    lockIndex.clear();
    std::vector<Object*> dead;
    dead.swap(buried);
    for (Object* object : dead) {
        delete object;
    }
    runningThread = nullptr;
    pendingFatal = false;
}
