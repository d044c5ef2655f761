// Core: locks and the threads waiting on them. `locks` keeps the order in which
// locks were added; each object keeps where its own locks are in it.
#include "core/core.h"
#include "core/lock.h"
#include "core/object.h"

Lock* Core::findLock(const Object* object, std::int32_t eventId) const {
    for (const auto& [id, position] : object->lockPlaces) {
        if (id == eventId) {
            return *position;
        }
    }
    return nullptr;
}

bool Core::addLock(Object* object, std::int32_t eventId) {
    auto& places = object->lockPlaces;
    for (const auto& place : places) {
        if (place.first == eventId) {
            return false;
        }
    }
    if (spareLocks.empty()) {
        locks.push_back(new Lock(object, eventId));
    } else {
        locks.splice(locks.end(), spareLocks, spareLocks.begin());
        *locks.back() = Lock(object, eventId);
    }
    places.emplace_back(eventId, std::prev(locks.end()));
    checkObjectBookkeeping(object);
    return true;
}

void Core::retireLock(LockList& from, LockList::iterator position) {
    if (spareLocks.size() < MAX_SPARE_LOCKS) {
        spareLocks.splice(spareLocks.begin(), from, position);
    } else {
        delete *position;
        from.erase(position);
    }
}

void Core::removeLock(Object* object, std::int32_t eventId) {
    auto& places = object->lockPlaces;
    for (auto place = places.begin(); place != places.end(); ++place) {
        if (place->first != eventId) {
            continue;
        }
        const LockList::iterator position = place->second;
        // Swap-remove: an object holds few locks and their order here is not used.
        *place = places.back();
        places.pop_back();
        // The lock leaves the list before its thread runs, so the script can at
        // once pause the same object again and wait on a new lock. Where there
        // is room it goes straight among the spares (the thread's values are
        // copied out before it runs, so reusing the lock meanwhile is safe);
        // otherwise it waits aside while the thread runs (which may end in a
        // fatal error) and is retired afterwards.
        struct Aside {
            Core& core;
            LockList held;
            ~Aside() {
                if (!held.empty()) {
                    core.retireLock(held, held.begin());
                }
            }
        } aside{*this, {}};
        Lock* lock = *position;
        if (spareLocks.size() < MAX_SPARE_LOCKS) {
            spareLocks.splice(spareLocks.begin(), locks, position);
        } else {
            aside.held.splice(aside.held.end(), locks, position);
        }
        if (object->indexedFirst) {
            lastFoundId = object->id;
            lastFound = object;
        }
        checkObjectBookkeeping(object);
        lock->release();
        return;
    }
}

void Core::dropLocksOf(Object* object) {
    std::vector<std::pair<std::int32_t, LockList::iterator>> places;
    places.swap(object->lockPlaces);
    for (const auto& place : places) {
        Lock* lock = *place.second;
        if (lock->thread != nullptr) {
            dropThread(lock->thread);
        }
        retireLock(locks, place.second);
    }
    checkObjectBookkeeping(object);
}

int Lock::suspend(lua_State* waiting) {
    // lua_yield raises instead of returning when the thread cannot yield here
    // (inside pcall, a metamethod or an iterator); record the thread only once
    // the yield is certain.
    const int result = lua_yield(waiting, 0);
    thread = waiting;
    threadReference = object->getCore()->runningReferenceOf(waiting);
    return result;
}

void Lock::release() {
    if (thread == nullptr) {
        return;
    }
    // A thread that the core no longer holds may have been collected: the
    // core checks before it touches anything of it.
    object->getCore()->resumeWaitingThread(thread, threadReference);
}
