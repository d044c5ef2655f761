// Core: the consistency checks of debug and sanitizer builds. Every record kept
// twice (objects in their list, in their index and as the last one found;
// locks in their list and in their objects' lock places; the update pass's
// cursor and end mark) is checked against its original: what a change touched
// right after the change, so that a slip shows where it happens and not frames
// later, and everything at each frame and after each whole operation. The
// check of one change takes constant time, so that a load of many objects
// stays fast in these builds.
#ifdef TESSAK_CORE_CHECKS

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <set>
#include <unordered_set>
#include <utility>

#include "core/core.h"
#include "core/lock.h"
#include "core/object.h"

namespace {

[[noreturn]] void bookkeepingFailed(const char* what) {
    std::fprintf(stderr, "Core bookkeeping check failed: %s\n", what);
    std::abort();
}

void require(bool condition, const char* what) {
    if (!condition) {
        bookkeepingFailed(what);
    }
}

}  // namespace

void Core::checkBookkeeping() const {
    // Objects against objectIndex: every listed object is found under its
    // identifier where it lies (first, or among the later holders by its list
    // order), and the index holds as many as the list: one entry each. Made
    // of lookups only, so that the walk after a large load stays linear.
    std::size_t indexedHolders = 0;
    for (const auto& entry : objectIndex) {
        const IdEntry& holders = entry.second;
        indexedHolders += 1 + holders.later.size();
        require(holders.later.empty() || (*holders.first)->listOrder < holders.later.begin()->first,
                "objectIndex points at another than the first holder of an identifier");
    }
    require(indexedHolders == objects.size(), "objectIndex counts an identifier wrongly");
    const std::unordered_set<const Object*> deleted(buried.begin(), buried.end());
    const Object* previous = nullptr;
    for (auto it = objects.begin(); it != objects.end(); ++it) {
        const Object* object = *it;
        require(object != nullptr, "a null object in the list");
        // Strictly growing, so that no object is listed twice either.
        require(previous == nullptr || previous->listOrder < object->listOrder,
                "the objects' list orders do not grow along the list");
        require(object->listOrder < nextListOrder, "an object's list order is not handed out yet");
        require(object->core == this, "an object of another core in the list");
        require(deleted.count(object) == 0, "a deleted object is still in the list");
        const auto indexed = objectIndex.find(object->id);
        require(indexed != objectIndex.end(), "an object's identifier is missing from objectIndex");
        const IdEntry& holders = indexed->second;
        const bool first = ObjectList::const_iterator(holders.first) == it;
        if (!first) {
            const auto later = holders.later.find(object->listOrder);
            require(later != holders.later.end() && ObjectList::const_iterator(later->second) == it,
                    "objectIndex lists an identifier's later holders wrongly");
        }
        require(object->indexedFirst == first,
                "an object's first-holder mark disagrees with objectIndex");
        previous = object;
    }
    for (const Object* object : buried) {
        require(!object->indexedFirst, "a deleted object is marked as indexed");
    }

    // The last object found: none, or the first holder of its identifier.
    if (lastFound != nullptr) {
        const auto indexed = objectIndex.find(lastFoundId);
        require(indexed != objectIndex.end() && *indexed->second.first == lastFound,
                "the last object found is not the indexed holder of its identifier");
    }

    // Locks against the objects' lock places: every listed lock placed once,
    // under its own object and event, no pair twice, and every place pointing
    // at a listed node. Objects deleted while host code held them keep their
    // places until they are destroyed.
    std::unordered_set<const Lock*> listed;
    for (const Lock* lock : locks) {
        require(lock != nullptr, "a null lock in the list");
        require(listed.insert(lock).second, "a lock listed twice");
        if (lock->thread != nullptr) {
            const auto held = threads.find(lock->thread);
            require(held != threads.end(), "a lock waited on by a thread the core does not hold");
            require(lock->threadReference == LUA_NOREF || lock->threadReference == held->second,
                    "a lock records another reference than the core holds its thread under");
        }
    }
    std::size_t placedLocks = 0;
    std::unordered_set<const Lock*> placed;
    std::set<std::pair<const Object*, std::int32_t>> pairs;
    const auto checkPlaces = [&](const Object* object) {
        for (const auto& [eventId, position] : object->lockPlaces) {
            ++placedLocks;
            const Lock* lock = *position;
            require(listed.count(lock) != 0,
                    "an object's lock place names a lock that is not listed");
            require(placed.insert(lock).second, "a lock placed twice");
            require(lock->object == object && lock->eventId == eventId,
                    "a lock placed under another object or event");
            require(pairs.emplace(object, eventId).second, "two locks for one object and event");
        }
    };
    for (const Object* object : objects) {
        checkPlaces(object);
    }
    for (const Object* object : buried) {
        checkPlaces(object);
    }
    require(placedLocks == locks.size(), "a listed lock is missing from its object's lock places");
    for (const Lock* spare : spareLocks) {
        require(spare != nullptr && listed.count(spare) == 0, "a spare lock is also listed");
    }
    require(spareLocks.size() <= MAX_SPARE_LOCKS, "more spare locks kept than allowed");

    // The update pass: while it goes on, the cursor lies at or before the end
    // mark, both in the list.
    if (passRunning && !passFinished) {
        bool cursorSeen = false;
        bool lastSeen = false;
        for (auto it = objects.begin(); it != objects.end(); ++it) {
            if (it == passCursor) {
                cursorSeen = true;
            }
            if (it == passLast) {
                require(cursorSeen, "the update pass's end mark lies before its cursor");
                lastSeen = true;
                break;
            }
        }
        require(lastSeen, "the update pass's end mark is not in the list");
    }

    require(busyDepth >= 0 && scriptDepth >= 0, "a scope count below zero");
}

void Core::checkObjectBookkeeping(const Object* object) const {
    if (lastFound != nullptr) {
        const auto indexed = objectIndex.find(lastFoundId);
        require(indexed != objectIndex.end() && *indexed->second.first == lastFound,
                "the last object found is not the indexed holder of its identifier");
    }
    require(busyDepth >= 0 && scriptDepth >= 0, "a scope count below zero");
    require(spareLocks.size() <= MAX_SPARE_LOCKS, "more spare locks kept than allowed");
    if (object == nullptr) {
        return;
    }
    const auto position = positionOf(object);
    if (position == objects.end()) {
        require(!object->indexedFirst, "an object out of the list is marked as indexed");
    } else {
        require(object->core == this, "an object of another core in the list");
        require(object->indexedFirst == (*objectIndex.at(object->id).first == object),
                "an object's first-holder mark disagrees with objectIndex");
        // Its neighbours: in order, and found where they are under their identifiers.
        if (position != objects.begin()) {
            const auto before = std::prev(position);
            require((*before)->listOrder < object->listOrder,
                    "the objects' list orders do not grow along the list");
            require(positionOf(*before) == before, "an object's neighbour is not in objectIndex");
        }
        const auto after = std::next(position);
        if (after != objects.end()) {
            require(object->listOrder < (*after)->listOrder,
                    "the objects' list orders do not grow along the list");
            require(positionOf(*after) == after, "an object's neighbour is not in objectIndex");
        }
    }
    // Its locks: each placed under its own object and event, no event twice,
    // and every waiting thread held by the core.
    const auto& places = object->lockPlaces;
    for (auto place = places.begin(); place != places.end(); ++place) {
        const Lock* lock = *place->second;
        require(lock != nullptr, "a null lock in the list");
        require(lock->object == object && lock->eventId == place->first,
                "a lock placed under another object or event");
        for (auto other = std::next(place); other != places.end(); ++other) {
            require(other->first != place->first, "two locks for one object and event");
        }
        if (lock->thread != nullptr) {
            require(threads.count(lock->thread) != 0,
                    "a lock waited on by a thread the core does not hold");
        }
    }
}

#endif  // TESSAK_CORE_CHECKS
