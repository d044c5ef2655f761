#pragma once
// The functions that tessak-run adds to the script library (see
// docs/scripting.md, "Games with tessak-run").
class Core;

namespace runner {

// Registers them with the core; they take effect at its next reset.
void registerScriptFunctions(Core& core);

}  // namespace runner
