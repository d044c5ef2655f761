#pragma once
// The readable key names that game scripts use ("left", "space", "a", "f1",
// "escape", "mouseleft", ...) and the virtual-key codes the platform layer speaks.
#include <string>
#include <vector>

namespace runner {

// The virtual-key code of a name (lower case, as listed in docs/scripting.md);
// 0 for a name that names no key.
int virtualKeyOfName(const std::string& name);

// Every virtual-key code that some name gives, each once: the keys that the
// runner watches every frame.
const std::vector<int>& namedVirtualKeys();

}  // namespace runner
