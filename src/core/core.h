#pragma once
// The engine's centre: owns the Lua state, the objects, the script threads and
// the locks they wait on, and runs the main loop.
#include <cstdint>
#include <list>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include <lua.hpp>

class Object;
class Lock;

class Core {
public:
    using ObjectFactory = Object* (*)(std::int32_t type);
    using FrameCallback = void (*)(float dt);
    using ObjectList = std::list<Object*>;
    using LockList = std::list<Lock*>;

    Core(ObjectFactory objectFactory, FrameCallback frameCallback);
    // The program keeps its core to the end; hosts and tests that drop one get
    // everything it owns released.
    ~Core();
    Core(const Core&) = delete;
    Core& operator=(const Core&) = delete;

    // The main loop; returns when the quit message arrives.
    void run();
    // One frame's update pass: Object::update(dt) of every object, in list order.
    void updateObjects(float dt);
    void setActive(bool flag) { active = flag; }
    bool isActive() const { return active; }

    // Builds a fresh script state; discards objects, threads and locks. Refused
    // with a warning while a script of the current state runs: the state cannot
    // be closed under it. During the update pass the pass ends; the objects are
    // destroyed once the pass has returned.
    void reset();
    // Takes effect at the next reset.
    void registerFunction(const std::string& name, lua_CFunction function);

    lua_State* createThread(Object* object, const std::string& functionName);
    void resumeThread(Object* object, lua_State* thread, int argumentCount);
    bool startThread(Object* object, const std::string& functionName);

    bool addLock(Object* object, std::int32_t eventId);
    void removeLock(Object* object, std::int32_t eventId);
    Lock* findLock(const Object* object, std::int32_t eventId) const;

    Object* createObject(std::int32_t type, const std::string& script);
    // Prepares the lookup for this many objects in all (a load knows how many
    // it makes), so that it is not rebuilt as it grows.
    void reserveObjects(std::size_t count) { objectIndex.reserve(count); }
    Object* findObject(std::int32_t id) const;
    bool deleteObject(std::int32_t id);

    // The state file (objects, keys, shared script variables, next identifier).
    // Defined in persist/state_file.cpp, which owns the file's layout.
    bool saveState(const std::string& path);
    bool loadState(const std::string& path);

    const ObjectList& getObjects() const { return objects; }
    const LockList& getLocks() const { return locks; }
    const std::unordered_map<lua_State*, int>& getThreads() const { return threads; }
    std::int32_t getNextObjectId() const { return nextObjectId; }
    void setNextObjectId(std::int32_t id) { nextObjectId = id; }
    lua_State* getLuaState() const { return luaState; }

    // Handles the result of lua_resume on one of the core's threads: an ended
    // or failed thread leaves `threads`; a failure is reported as fatal.
    void finishResume(lua_State* thread, int result);
    // Runs one of the core's threads (first run or after a wait) and handles
    // the result as finishResume does.
    void runThread(lua_State* thread, int argumentCount);
    // True when the thread was made by createThread and has not ended.
    bool ownsThread(lua_State* thread) const { return threads.count(thread) != 0; }
    // Runs a thread that waited on a lock and has been released, as runThread
    // does, when it is still suspended; one that has ended meanwhile is forgotten.
    // `reference` is the registry reference the lock recorded with the thread
    // (see Lock::threadReference); it is checked before it is used.
    void resumeWaitingThread(lua_State* thread, int reference = LUA_NOREF);
    // The registry reference of the thread that the host is running, when that
    // is `thread`; LUA_NOREF otherwise.
    int runningReferenceOf(lua_State* thread) const {
        return thread == runningThread ? runningReference : LUA_NOREF;
    }
    // True while script code of the current state runs (a thread, a main chunk,
    // a finalizer, a chunk that the host runs on the main state).
    bool isScriptRunning() const;
    // The thread that the host is running right now (null when none): the only
    // one that `wait` may suspend, since the host resumes only what it ran.
    lua_State* getRunningThread() const { return runningThread; }
    // Set when a fatal error was reported while scripts ran (an engine or
    // host function met it, or raises it on): stops every running script (see
    // fatal_stop.h). Until the host has received it, no script code runs and
    // every engine and host function refuses; the next host call into the
    // script state starts afresh.
    void noteFatalError(lua_State* calling);
    bool isFatalErrorRaised() const { return fatalRaised; }
    // Throws Log::Fatal when a fatal error was reported while the host's call
    // into the script state ran: what the host does after a call that may have
    // run script code (finalizers included).
    void throwIfFatal() const;

    // Checks every record that the core keeps twice (the lists against their
    // indexes, the update pass's cursor) and aborts on the first mismatch: a
    // walk of everything, made at frame boundaries and after whole operations
    // (a reset, a load, a save). checkObjectBookkeeping checks, in constant
    // time, what one change touched: an object, its neighbours in the list and
    // its locks (null: the records that name no object). Built into debug and
    // sanitizer builds; elsewhere they do nothing.
#ifdef TESSAK_CORE_CHECKS
    void checkBookkeeping() const;
    void checkObjectBookkeeping(const Object* object) const;
#else
    void checkBookkeeping() const {}
    void checkObjectBookkeeping(const Object*) const {}
#endif

private:
    friend class Object;

    // The objects that hold one identifier: more than one only after a load
    // (or a host's setId) gave an identifier twice. Objects are ordered by
    // their listOrder, which grows along the list.
    struct IdEntry {
        ObjectList::iterator first;  // the first object in list order with this id
        std::map<std::uint64_t, ObjectList::iterator> later;  // the others, by listOrder
    };

    void changeObjectId(Object* object, std::int32_t newId);
    void indexObject(ObjectList::iterator position);
    void unindexObject(ObjectList::iterator position);
    void dropLocksOf(Object* object);
    // A thread is run only when it is one of the core's and its registry
    // reference still holds it, so that it is alive. A script can drop that
    // reference (through the debug library); the core then forgets the thread.
    // anchorThread checks the reference and, when it holds, leaves the thread
    // on the main state's stack until unanchorThread. `reference` may name
    // the thread's reference already (checked first); it is set to the one
    // that holds.
    bool anchorThread(lua_State* thread, int& reference);
    void unanchorThread(lua_State* thread, int anchor);
    void runAnchoredThread(lua_State* thread, int argumentCount, int reference);
    void dropThread(lua_State* thread);
    void forgetThread(lua_State* thread);
    void destroyLater(Object* object);
    void destroyBuried();
    bool clearAll();
    void unlinkObject(ObjectList::iterator position);
    ObjectList::iterator positionOf(const Object* object);
    ObjectList::const_iterator positionOf(const Object* object) const;

    ObjectFactory objectFactory;
    FrameCallback frameCallback;
    ObjectList objects;
    std::unordered_map<lua_State*, int> threads;
    std::map<std::string, lua_CFunction> functions;
    LockList locks;
    lua_State* luaState = nullptr;
    bool active = true;
    std::int32_t nextObjectId = 0;

    // Lookup beside the list, so that finding never walks it. An object's
    // locks are found through the object itself.
    std::unordered_map<std::int32_t, IdEntry> objectIndex;
    // The listOrder of the next object appended to `objects`.
    std::uint64_t nextListOrder = 0;
    // The last identifier found and its object (null when none is held): a
    // script's `wait` looks up the object that its `pause` has just found, and
    // a thread released by its object's pause lock mostly pauses that object
    // again, so removeLock remembers the lock's object before the release.
    // Forgotten whenever objectIndex changes.
    mutable std::int32_t lastFoundId = 0;
    mutable Object* lastFound = nullptr;
    // Removed locks with their list nodes, reused by addLock so that a pause
    // makes no allocation; at most MAX_SPARE_LOCKS are kept.
    LockList spareLocks;
    static constexpr std::size_t MAX_SPARE_LOCKS = 1024;
    void retireLock(LockList& from, LockList::iterator position);

    // The update pass in progress: the next object to update and the last one
    // that existed when the pass began (objects made during it wait for the next frame).
    bool passRunning = false;
    bool passFinished = false;
    ObjectList::iterator passCursor;
    ObjectList::iterator passLast;

    lua_State* runningThread = nullptr;
    int runningReference = LUA_NOREF;
    bool fatalRaised = false;
    void clearFatalError();
    // Host calls into the script state in progress (threads run, chunks run,
    // the state closed); see ScriptScope.
    int scriptDepth = 0;
    friend class ScriptScope;

    // Objects deleted while host code may still hold them (during the update
    // pass or while a script runs) are destroyed once that code has returned.
    int busyDepth = 0;
    std::vector<Object*> buried;
    friend class BusyScope;
};
