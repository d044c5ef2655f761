#pragma once
// A scripted object: identifier, type code, script path, pause countdown and
// named typed keys. The core owns every object; derived types may replace
// update, write and read.
#include <cstdint>
#include <list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <lua.hpp>

class Core;
class KeyType;
class Lock;
class OutputArchive;
class InputArchive;

class Object {
public:
    using KeyMap = std::map<std::string, KeyType*>;

    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    // Runs the pause countdown; when it runs out the pause lock is removed and
    // the thread waiting on it continues inside this call.
    virtual void update(float dt);
    // The object's body in a state file: waitTime, then the keys. Defined in
    // persist/object_body.cpp, beside the rest of the file's layout.
    virtual void write(OutputArchive& archive);
    virtual void read(InputArchive& archive);
    virtual ~Object();

    std::int32_t getId() const { return id; }
    std::int32_t getType() const { return type; }
    Core* getCore() const { return core; }
    const std::string& getScript() const { return script; }
    float getWaitTime() const { return waitTime; }
    void setWaitTime(float seconds) { waitTime = seconds; }
    const KeyMap& getKeys() const { return keys; }

    // Gives the object another identifier (a loaded state restores the saved
    // ones); the core's lookup follows.
    void setId(std::int32_t newId);

    void pause(float seconds);
    bool addLock(std::int32_t eventId);
    void removeLock(std::int32_t eventId);

    bool startThread(const std::string& functionName);
    lua_State* createThread(const std::string& functionName);
    void resumeThread(lua_State* thread, int argumentCount);

    // Keys. A name with no value reads as 0, "" or false; nothing is stored by a read.
    KeyType* getKeyValue(const std::string& name) const;
    void setKeyValue(const std::string& name, KeyType* value);
    void setNumber(const std::string& name, double value);
    void setString(const std::string& name, const std::string& value);
    void setBool(const std::string& name, std::uint8_t value);
    double getNumber(const std::string& name) const;
    std::string getString(const std::string& name) const;
    bool getBool(const std::string& name) const;
    void setObject(const std::string& name, const Object* other);
    Object* getObject(const std::string& name) const;

protected:
    // What the update pass and the lock bookkeeping touch for every object lies
    // together at the front, so that a frame fetches few cache lines per object.
    std::int32_t id = 0;
    std::int32_t type = 0;
    float waitTime = 0.0f;

private:
    // True while the core's lookup names this object for its identifier (it is
    // the first in list order to hold it), so that the core can remember it as
    // found without looking it up. Kept in the room beside waitTime, so that
    // objects grow no larger.
    bool indexedFirst = false;

protected:
    Core* core = nullptr;

private:
    // The core's lookup of this object's open locks (event identifier, place in
    // the core's list), kept with the object so that finding, adding and
    // removing a lock neither walks the list nor searches a table.
    std::vector<std::pair<std::int32_t, std::list<Lock*>::iterator>> lockPlaces;
    // The object's rank in the core's list: it grows along the list (objects
    // are only ever appended), so that the core can order objects that share
    // an identifier without walking the list.
    std::uint64_t listOrder = 0;

protected:
    std::string script;
    KeyMap keys;

private:
    friend class Core;
};
