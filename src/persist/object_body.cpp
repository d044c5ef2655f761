// The body of an object in a state file: its pause countdown, then its keys in
// ascending name order, each as name, tag and value.
#include "core/key_type.h"
#include "core/object.h"
#include "persist/input_archive.h"
#include "persist/output_archive.h"

void Object::write(OutputArchive& archive) {
    archive.write(waitTime);
    archive.write(static_cast<std::uint32_t>(keys.size()));
    // std::string orders its characters as unsigned bytes, so the map's order is
    // the byte-wise order of the names.
    for (const auto& [name, value] : keys) {
        archive.write(name);
        const std::uint8_t tag = value != nullptr ? value->tag : KeyType::NONE;
        archive.write(static_cast<std::uint32_t>(tag));
        switch (tag) {
            case KeyType::NUMBER:
                archive.write(static_cast<const KeyTypeNumber*>(value)->value);
                break;
            case KeyType::STRING:
                archive.write(static_cast<const KeyTypeString*>(value)->value);
                break;
            case KeyType::BOOL:
                archive.write(static_cast<const KeyTypeBool*>(value)->value);
                break;
            default:
                break;  // a value of no known kind is listed without one
        }
    }
}

void Object::read(InputArchive& archive) {
    waitTime = archive.readFloat();
    const std::int32_t count = archive.readInt();
    // Stop at the first failed read: nothing read after it is real.
    for (std::int32_t i = 0; i < count && !archive.failed(); ++i) {
        const std::string name = archive.readString();
        const std::int32_t code = archive.readInt();
        if (archive.failed()) {
            return;
        }
        switch (code) {
            case KeyType::NUMBER: {
                const double number = archive.readDouble();
                if (!archive.failed()) {
                    setNumber(name, number);
                }
                break;
            }
            case KeyType::STRING: {
                const std::string text = archive.readString();
                if (!archive.failed()) {
                    setString(name, text);
                }
                break;
            }
            case KeyType::BOOL: {
                // The byte is kept as read, so a 2 is saved again as 2.
                const std::uint8_t byte = archive.readByte();
                if (!archive.failed()) {
                    setBool(name, byte);
                }
                break;
            }
            default:
                break;  // no value follows a key of an unknown kind
        }
    }
}
