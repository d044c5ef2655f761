#pragma once
// Marks a stretch in which host code may still hold pointers to objects (the
// update pass, a running script). Objects deleted meanwhile are destroyed when
// the outermost stretch ends.
#include "core/core.h"

class BusyScope {
public:
    explicit BusyScope(Core& core) : core(core) { ++core.busyDepth; }
    ~BusyScope() {
        if (--core.busyDepth == 0 && !core.buried.empty()) {
            core.destroyBuried();
        }
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    Core& core;
};
