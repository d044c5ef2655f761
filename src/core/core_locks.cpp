// Core: locks and the threads waiting on them. `locks` keeps the order in which
// locks were added; `lockIndex` finds an object's locks without walking it.
#include <memory>

#include "core/core.h"
#include "core/lock.h"
#include "core/object.h"

Lock* Core::findLock(const Object* object, std::int32_t eventId) const {
    const auto entry = lockIndex.find(object);
    if (entry == lockIndex.end()) {
        return nullptr;
    }
    for (const auto& [id, position] : entry->second) {
        if (id == eventId) {
            return *position;
        }
    }
    return nullptr;
}

bool Core::addLock(Object* object, std::int32_t eventId) {
    LockKeyList& keys = lockIndex[object];
    for (const auto& key : keys) {
        if (key.first == eventId) {
            return false;
        }
    }
    locks.push_back(new Lock(object, eventId));
    keys.emplace_back(eventId, std::prev(locks.end()));
    checkBookkeeping();
    return true;
}

void Core::removeLock(Object* object, std::int32_t eventId) {
    const auto entry = lockIndex.find(object);
    if (entry == lockIndex.end()) {
        return;
    }
    LockKeyList& keys = entry->second;
    for (auto key = keys.begin(); key != keys.end(); ++key) {
        if (key->first != eventId) {
            continue;
        }
        // Owned here while its thread runs, which may end in a fatal error.
        const std::unique_ptr<Lock> lock(*key->second);
        locks.erase(key->second);
        // Swap-remove: an object holds few locks and their order here is not used.
        *key = keys.back();
        keys.pop_back();
        checkBookkeeping();
        // The lock has left the list before its thread runs, so the script can
        // at once pause the same object again and wait on a new lock.
        lock->release();
        return;
    }
}

void Core::dropLocksOf(Object* object) {
    const auto entry = lockIndex.find(object);
    if (entry == lockIndex.end()) {
        return;
    }
    LockKeyList keys;
    keys.swap(entry->second);
    lockIndex.erase(entry);
    for (const auto& key : keys) {
        Lock* lock = *key.second;
        locks.erase(key.second);
        if (lock->thread != nullptr) {
            dropThread(lock->thread);
        }
        delete lock;
    }
    checkBookkeeping();
}

int Lock::suspend(lua_State* waiting) {
    // lua_yield raises instead of returning when the thread cannot yield here
    // (inside pcall, a metamethod or an iterator); record the thread only once
    // the yield is certain.
    const int result = lua_yield(waiting, 0);
    thread = waiting;
    return result;
}

void Lock::release() {
    if (thread == nullptr) {
        return;
    }
    Core* core = object->getCore();
    // A thread that the core no longer holds may have been collected: nothing
    // of it is touched.
    if (!core->holdsThread(thread)) {
        return;
    }
    if (lua_status(thread) == LUA_YIELD) {
        core->runThread(thread, 0);
    } else {
        // Another script resumed it with coroutine.resume and it has ended (or
        // is running): lua_resume must not restart it; the host forgets it.
        core->finishResume(thread, 0);
    }
}
