// Core: making, finding and deleting objects. `objects` keeps creation order;
// `objectIndex` finds an identifier's first object in that order without
// walking the list.
#include <cstdint>

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
    objects.push_back(object);
    indexObject(std::prev(objects.end()));
    checkBookkeeping();
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
    checkBookkeeping();
    return true;
}

void Core::setFirstHolder(IdEntry& entry, ObjectList::iterator position) {
    (*entry.first)->indexedFirst = false;
    entry.first = position;
    (*position)->indexedFirst = true;
}

void Core::indexObject(ObjectList::iterator position) {
    lastFound = nullptr;
    const std::int32_t id = (*position)->id;
    const auto [entry, inserted] = objectIndex.try_emplace(id, IdEntry{position, 1});
    if (inserted) {
        (*position)->indexedFirst = true;
        return;
    }
    ++entry->second.count;
    // Only a changed identifier can meet an earlier holder out of list order
    // (appended objects are last); find the first holder again.
    for (auto it = objects.begin(); it != objects.end(); ++it) {
        if ((*it)->id == id) {
            setFirstHolder(entry->second, it);
            return;
        }
    }
}

void Core::unindexObject(ObjectList::iterator position) {
    lastFound = nullptr;
    (*position)->indexedFirst = false;
    const std::int32_t id = (*position)->id;
    const auto entry = objectIndex.find(id);
    if (entry == objectIndex.end()) {
        return;
    }
    if (--entry->second.count == 0) {
        objectIndex.erase(entry);
        return;
    }
    if (entry->second.first != position) {
        return;
    }
    for (auto it = std::next(position); it != objects.end(); ++it) {
        if ((*it)->id == id) {
            setFirstHolder(entry->second, it);
            return;
        }
    }
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

Core::ObjectList::iterator Core::positionOf(const Object* object) {
    const auto entry = objectIndex.find(object->id);
    if (entry != objectIndex.end() && *entry->second.first == object) {
        return entry->second.first;
    }
    for (auto it = objects.begin(); it != objects.end(); ++it) {
        if (*it == object) {
            return it;
        }
    }
    return objects.end();
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
    checkBookkeeping();
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
    checkBookkeeping();
}
