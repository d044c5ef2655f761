#include "core/object.h"

#include "core/core.h"
#include "core/key_type.h"

Object::~Object() {
    for (auto& entry : keys) {
        delete entry.second;
    }
}

void Object::update(float dt) {
    if (!(waitTime > 0.0f)) {
        return;
    }
    waitTime -= dt;
    if (waitTime <= 0.0f) {
        waitTime = 0.0f;
        // The waiting thread runs inside this call; it may even delete this
        // object, so nothing of it is touched afterwards.
        core->removeLock(this, 0);
    }
}

void Object::setId(std::int32_t newId) {
    if (core != nullptr) {
        core->changeObjectId(this, newId);
    } else {
        id = newId;
    }
}

void Object::pause(float seconds) {
    waitTime = seconds;
    core->addLock(this, 0);
}

bool Object::addLock(std::int32_t eventId) { return core->addLock(this, eventId); }

void Object::removeLock(std::int32_t eventId) { core->removeLock(this, eventId); }

bool Object::startThread(const std::string& functionName) {
    return core->startThread(this, functionName);
}

lua_State* Object::createThread(const std::string& functionName) {
    return core->createThread(this, functionName);
}

void Object::resumeThread(lua_State* thread, int argumentCount) {
    core->resumeThread(this, thread, argumentCount);
}
