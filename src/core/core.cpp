#include "core/core.h"

#include "core/busy_scope.h"
#include "core/fatal_stop.h"
#include "core/frame_time.h"
#include "core/lock.h"
#include "core/object.h"
#include "core/script_heap.h"
#include "core/script_scope.h"
#include "log/log.h"
#include "platform/platform.h"

Core::Core(ObjectFactory objectFactory, FrameCallback frameCallback)
    : objectFactory(objectFactory), frameCallback(frameCallback) {}

Core::~Core() {
    // Host code that held objects is gone with the core.
    busyDepth = 0;
    clearAll();
}

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
    checkBookkeeping();
    while (!passFinished) {
        Object* object = *passCursor;
        if (passCursor == passLast) {
            passFinished = true;
        } else {
            ++passCursor;
            // Objects and list nodes lie wherever they were made: fetch the next
            // object (its countdown, and where its pause lock is, which may lie
            // on another cache line) and the node after it while this one updates.
            const Object* next = *passCursor;
            __builtin_prefetch(next);
            __builtin_prefetch(&next->lockPlaces);
            if (passCursor != passLast) {
                __builtin_prefetch(&*std::next(passCursor));
            }
        }
        object->update(dt);
    }
}

bool Core::clearAll() {
    bool fatalWhileClosing = false;
    if (luaState != nullptr) {
        // Finalizers run while the state closes: they find no state to start
        // threads in, and cannot reset it again.
        lua_State* closing = luaState;
        luaState = nullptr;
        ScriptScope closingScripts(*this);
        ScriptHeap::closeState(closing);
        fatalWhileClosing = fatalRaised;
    }
    // The update pass ends here: what it would visit next is gone.
    passFinished = true;
    for (Object* object : objects) {
        // Its lock places name locks that are deleted below; an object that
        // outlives this (held by host code) must find none.
        object->lockPlaces.clear();
        object->indexedFirst = false;
        // Host code (an object's update, say) may still hold it.
        destroyLater(object);
    }
    objects.clear();
    for (Object* object : buried) {
        // Deleted earlier, and perhaps paused since by host code that held it.
        object->lockPlaces.clear();
    }
    objectIndex.clear();
    lastFound = nullptr;
    threads.clear();
    for (Lock* lock : locks) {
        delete lock;
    }
    locks.clear();
    for (Lock* lock : spareLocks) {
        delete lock;
    }
    spareLocks.clear();
    if (busyDepth == 0) {
        std::vector<Object*> dead;
        dead.swap(buried);
        for (Object* object : dead) {
            delete object;
        }
    }
    runningThread = nullptr;
    runningReference = LUA_NOREF;
    checkBookkeeping();
    return fatalWhileClosing;
}

void Core::noteFatalError(lua_State* calling) {
    fatalRaised = true;
    fatal_stop::stopScripts(*this, calling);
}

void Core::clearFatalError() {
    if (!fatalRaised) {
        return;
    }
    fatalRaised = false;
    // The stop halted the collector; threads still hooked free themselves.
    if (luaState != nullptr) {
        lua_gc(luaState, LUA_GCRESTART, 0);
    }
}

void Core::throwIfFatal() const {
    if (fatalRaised) {
        throw Log::Fatal{};
    }
}

bool Core::isScriptRunning() const {
    lua_Debug frame;
    return scriptDepth > 0 || runningThread != nullptr ||
           (luaState != nullptr && lua_getstack(luaState, 0, &frame) != 0);
}
