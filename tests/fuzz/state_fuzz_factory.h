#pragma once
// The object factory of the fuzz target: type code 4 makes a plain object
// through the factory path, every other code makes none.
#include <cstdint>

#include "core/object.h"

namespace fuzz {

inline Object* makeObject(std::int32_t type) { return type == 4 ? new Object : nullptr; }

}  // namespace fuzz
