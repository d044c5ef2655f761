#include "state_bench_data.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "core/object.h"

namespace state_bench {

StateData makeData() {
    static const char* const keyNames[KEYS_PER_OBJECT] = {"alive", "colour", "health",  "label",
                                                          "name",  "speed",  "visible", "x"};
    static const std::uint8_t keyTags[KEYS_PER_OBJECT] = {3, 2, 1, 2, 2, 1, 3, 1};
    StateData data;
    for (int i = 0; i < VARIABLE_COUNT; ++i) {
        Variable variable{"variable" + std::to_string(i), 0, 0.0, ""};
        switch (i % 3) {
            case 0:
                variable.kind = LUA_TNUMBER;
                variable.number = i * 0.5;
                break;
            case 1:
                variable.kind = LUA_TSTRING;
                variable.text = "value of variable " + std::to_string(i);
                break;
            default:
                variable.kind = LUA_TBOOLEAN;
                variable.number = i % 2;
        }
        data.variables.push_back(variable);
    }
    for (int i = 0; i < OBJECT_COUNT; ++i) {
        ObjectData object{i + 1,
                          "scripts/object" + std::to_string(i % 10) + ".lua",
                          static_cast<float>(i % 4) * 0.25f,
                          {}};
        for (int k = 0; k < KEYS_PER_OBJECT; ++k) {
            Key key{keyNames[k], keyTags[k], 0.0, ""};
            if (key.tag == 1) {
                key.number = i * 1.25 + k;
            } else if (key.tag == 2) {
                key.text = std::string(keyNames[k]) + " " + std::to_string(i);
            } else {
                key.number = (i + k) % 2;
            }
            object.keys.push_back(key);
        }
        data.objects.push_back(std::move(object));
    }
    data.nextObjectId = OBJECT_COUNT + 1;
    return data;
}

StateData withScatteredIds(StateData data) {
    std::vector<std::int32_t> ids;
    for (std::int32_t id = 2; id <= 2 * OBJECT_COUNT; id += 2) {
        ids.push_back(id);
    }
    std::shuffle(ids.begin(), ids.end(), std::mt19937(2024));
    for (std::size_t i = 0; i < data.objects.size(); ++i) {
        data.objects[i].id = ids[i];
    }
    data.nextObjectId = 2 * OBJECT_COUNT + 1;
    return data;
}

void build(Core& core, const StateData& data) {
    core.reset();
    lua_State* state = core.getLuaState();
    for (const Variable& variable : data.variables) {
        if (variable.kind == LUA_TNUMBER) {
            lua_pushnumber(state, variable.number);
        } else if (variable.kind == LUA_TSTRING) {
            lua_pushstring(state, variable.text.c_str());
        } else {
            lua_pushboolean(state, variable.number != 0);
        }
        lua_setfield(state, LUA_GLOBALSINDEX, variable.name.c_str());
    }
    for (const ObjectData& objectData : data.objects) {
        Object* object = core.createObject(0, objectData.script);
        object->setId(objectData.id);
        object->setWaitTime(objectData.waitTime);
        for (const Key& key : objectData.keys) {
            if (key.tag == 1) {
                object->setNumber(key.name, key.number);
            } else if (key.tag == 2) {
                object->setString(key.name, key.text);
            } else {
                object->setBool(key.name, static_cast<std::uint8_t>(key.number));
            }
        }
    }
    core.setNextObjectId(data.nextObjectId);
}

std::vector<char> readWhole(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        std::perror(path.c_str());
        std::exit(1);
    }
    std::fseek(file, 0, SEEK_END);
    std::vector<char> bytes(static_cast<std::size_t>(std::ftell(file)));
    std::fseek(file, 0, SEEK_SET);
    if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        std::perror(path.c_str());
        std::exit(1);
    }
    std::fclose(file);
    return bytes;
}

void writeWhole(const std::string& path, const std::vector<char>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        std::perror(path.c_str());
        std::exit(1);
    }
    std::fclose(file);
}

std::string scratchFile(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("tessak-bench-" + name)).string();
}

}  // namespace state_bench
