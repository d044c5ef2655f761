// Object: named typed keys. Entries in `keys` are never null: a read of a
// missing name stores nothing.
#include "core/core.h"
#include "core/key_type.h"
#include "core/object.h"
#include "core/script_number.h"

KeyType* Object::getKeyValue(const std::string& name) const {
    const auto entry = keys.find(name);
    return entry == keys.end() ? nullptr : entry->second;
}

void Object::setKeyValue(const std::string& name, KeyType* value) {
    const auto entry = keys.find(name);
    if (entry != keys.end()) {
        delete entry->second;
        if (value == nullptr) {
            keys.erase(entry);
        } else {
            entry->second = value;
        }
    } else if (value != nullptr) {
        keys.emplace(name, value);
    }
}

void Object::setNumber(const std::string& name, double value) {
    setKeyValue(name, new KeyTypeNumber(value));
}

void Object::setString(const std::string& name, const std::string& value) {
    setKeyValue(name, new KeyTypeString(value));
}

void Object::setBool(const std::string& name, std::uint8_t value) {
    setKeyValue(name, new KeyTypeBool(value));
}

double Object::getNumber(const std::string& name) const {
    const KeyType* value = getKeyValue(name);
    return value != nullptr && value->tag == KeyType::NUMBER
               ? static_cast<const KeyTypeNumber*>(value)->value
               : 0.0;
}

std::string Object::getString(const std::string& name) const {
    const KeyType* value = getKeyValue(name);
    return value != nullptr && value->tag == KeyType::STRING
               ? static_cast<const KeyTypeString*>(value)->value
               : std::string();
}

bool Object::getBool(const std::string& name) const {
    const KeyType* value = getKeyValue(name);
    return value != nullptr && value->tag == KeyType::BOOL &&
           static_cast<const KeyTypeBool*>(value)->value != 0;
}

void Object::setObject(const std::string& name, const Object* other) {
    // A reference is the other object's identifier; none is 0, which names no object.
    setNumber(name, other != nullptr ? other->id : 0);
}

Object* Object::getObject(const std::string& name) const {
    return core->findObject(toInt32(getNumber(name)));
}
