// Core: making, finding and deleting objects. `objects` keeps creation order;
// `objectIndex` finds an identifier's first object in that order without
// walking the list.
#include <cstdint>
#include <utility>

#include "core/busy_scope.h"
#include "core/core.h"
#include "core/lock.h"
#include "core/object.h"

Object* Core::createObject(std::int32_t type, const std::string& script) {
    // Identifiers are handed out from 1 up to the largest one; after that (or
    // from a loaded next identifier of 0 or below, none of which names an
    // object) no identifier is left, and so no object is made.
    if (nextObjectId <= 0) {
        return nullptr;
    }
    Object* object = nullptr;
    if (type == 0) {
        object = new Object();
    } else if (objectFactory != nullptr) {
        object = objectFactory(type);
    }
    if (object == nullptr) {
        return nullptr;
    }
    object->type = type;
    object->id = nextObjectId;
    nextObjectId = nextObjectId == INT32_MAX ? 0 : nextObjectId + 1;
    object->script = script;
    object->core = this;
    // Room for the pause lock's place beside the object, made while the object
    // itself is new.
    object->lockPlaces.reserve(1);
    object->listOrder = nextListOrder++;
    objects.push_back(object);
    indexObject(std::prev(objects.end()));
    checkObjectBookkeeping(object);
    return object;
}

Object* Core::findObject(std::int32_t id) const {
    if (lastFound != nullptr && lastFoundId == id) {
        return lastFound;
    }
    const auto entry = objectIndex.find(id);
    if (entry == objectIndex.end()) {
        return nullptr;
    }
    lastFoundId = id;
    lastFound = *entry->second.first;
    return lastFound;
}

bool Core::deleteObject(std::int32_t id) {
    const auto entry = objectIndex.find(id);
    if (entry == objectIndex.end()) {
        return false;
    }
    const ObjectList::iterator position = entry->second.first;
    Object* object = *position;
    unlinkObject(position);
    // Its locks go with it: nothing may resume a thread on behalf of, or
    // compare with, an object that no longer exists.
    dropLocksOf(object);
    destroyLater(object);
    checkObjectBookkeeping(nullptr);
    return true;
}

void Core::indexObject(ObjectList::iterator position) {
    lastFound = nullptr;
    Object* object = *position;
    const auto [entry, inserted] = objectIndex.try_emplace(object->id, IdEntry{position, {}});
    if (inserted) {
        object->indexedFirst = true;
        return;
    }
    // The identifier is held already (a load restored it twice, or before
    // the object that holds it now got its own): the earlier in list order
    // stays first.
    IdEntry& holders = entry->second;
    Object* first = *holders.first;
    if (first->listOrder < object->listOrder) {
        holders.later.emplace(object->listOrder, position);
        return;
    }
    first->indexedFirst = false;
    holders.later.emplace(first->listOrder, holders.first);
    holders.first = position;
    object->indexedFirst = true;
}

void Core::unindexObject(ObjectList::iterator position) {
    lastFound = nullptr;
    Object* object = *position;
    object->indexedFirst = false;
    const auto entry = objectIndex.find(object->id);
    if (entry == objectIndex.end()) {
        return;
    }
    IdEntry& holders = entry->second;
    if (holders.first != position) {
        holders.later.erase(object->listOrder);
        return;
    }
    if (holders.later.empty()) {
        objectIndex.erase(entry);
        return;
    }
    holders.first = holders.later.begin()->second;
    holders.later.erase(holders.later.begin());
    (*holders.first)->indexedFirst = true;
}

void Core::unlinkObject(ObjectList::iterator position) {
    if (passRunning && !passFinished) {
        if (position == passCursor) {
            if (position == passLast) {
                passFinished = true;
            } else {
                ++passCursor;
            }
        } else if (position == passLast) {
            // The cursor lies before the end mark, so the one before it is
            // still to be updated.
            --passLast;
        }
    }
    unindexObject(position);
    objects.erase(position);
}

Core::ObjectList::const_iterator Core::positionOf(const Object* object) const {
    const auto entry = objectIndex.find(object->id);
    if (entry == objectIndex.end()) {
        return objects.end();
    }
    const IdEntry& holders = entry->second;
    if (*holders.first == object) {
        return holders.first;
    }
    const auto later = holders.later.find(object->listOrder);
    if (later != holders.later.end() && *later->second == object) {
        return later->second;
    }
    return objects.end();
}

Core::ObjectList::iterator Core::positionOf(const Object* object) {
    // The list's own erase turns a const position into a mutable one.
    return objects.erase(std::as_const(*this).positionOf(object),
                         std::as_const(*this).positionOf(object));
}

void Core::changeObjectId(Object* object, std::int32_t newId) {
    const ObjectList::iterator position = positionOf(object);
    if (position == objects.end()) {
        object->id = newId;
        return;
    }
    unindexObject(position);
    object->id = newId;
    indexObject(position);
    checkObjectBookkeeping(object);
}

void Core::destroyLater(Object* object) {
    if (busyDepth > 0) {
        buried.push_back(object);
    } else {
        delete object;
    }
}

void Core::destroyBuried() {
    std::vector<Object*> dead;
    dead.swap(buried);
    for (Object* object : dead) {
        // Host code that still held it may have paused it after the delete.
        dropLocksOf(object);
        delete object;
    }
    checkObjectBookkeeping(nullptr);
}
