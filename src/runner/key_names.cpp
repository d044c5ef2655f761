#include "runner/key_names.h"

#include <algorithm>
#include <map>

namespace runner {

namespace {

constexpr int VK_0 = 0x30, VK_A = 0x41, VK_NUMPAD0 = 0x60, VK_F1 = 0x70;

std::map<std::string, int> makeNames() {
    std::map<std::string, int> names = {
        {"mouseleft", 0x01}, {"mouseright", 0x02}, {"mousemiddle", 0x04}, {"backspace", 0x08},
        {"tab", 0x09},       {"return", 0x0D},     {"enter", 0x0D},       {"shift", 0x10},
        {"ctrl", 0x11},      {"alt", 0x12},        {"pause", 0x13},       {"capslock", 0x14},
        {"escape", 0x1B},    {"space", 0x20},      {"pageup", 0x21},      {"pagedown", 0x22},
        {"end", 0x23},       {"home", 0x24},       {"left", 0x25},        {"up", 0x26},
        {"right", 0x27},     {"down", 0x28},       {"insert", 0x2D},      {"delete", 0x2E},
        {"kp*", 0x6A},       {"kp+", 0x6B},        {"kp-", 0x6D},         {"kp.", 0x6E},
        {"kp/", 0x6F},       {"lshift", 0xA0},     {"rshift", 0xA1},      {"lctrl", 0xA2},
        {"rctrl", 0xA3},     {"lalt", 0xA4},       {"ralt", 0xA5},        {";", 0xBA},
        {"=", 0xBB},         {",", 0xBC},          {"-", 0xBD},           {".", 0xBE},
        {"/", 0xBF},         {"`", 0xC0},          {"[", 0xDB},           {"\\", 0xDC},
        {"]", 0xDD},         {"'", 0xDE},
    };
    for (int letter = 0; letter < 26; ++letter) {
        names[std::string(1, static_cast<char>('a' + letter))] = VK_A + letter;
    }
    for (int digit = 0; digit < 10; ++digit) {
        names[std::string(1, static_cast<char>('0' + digit))] = VK_0 + digit;
        names["kp" + std::to_string(digit)] = VK_NUMPAD0 + digit;
    }
    for (int key = 0; key < 12; ++key) {
        names["f" + std::to_string(key + 1)] = VK_F1 + key;
    }
    return names;
}

const std::map<std::string, int>& names() {
    static const std::map<std::string, int> table = makeNames();
    return table;
}

}  // namespace

int virtualKeyOfName(const std::string& name) {
    const auto found = names().find(name);
    return found == names().end() ? 0 : found->second;
}

const std::vector<int>& namedVirtualKeys() {
    static const std::vector<int> keys = [] {
        std::vector<int> codes;
        for (const auto& entry : names()) {
            codes.push_back(entry.second);
        }
        std::sort(codes.begin(), codes.end());
        codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
        return codes;
    }();
    return keys;
}

}  // namespace runner
