// Debug and sanitizer builds check the core's lists against their indexes after
// every change: a derived object type that renames itself behind the core's
// back is caught at the next operation instead of misleading later lookups.
#include <gtest/gtest.h>

#include "core/core.h"
#include "core/object.h"

namespace {

class SelfRenaming : public Object {
public:
    void renameBehindTheCore(std::int32_t newId) { id = newId; }
};

Object* makeSelfRenaming(std::int32_t type) { return type == 5 ? new SelfRenaming() : nullptr; }

TEST(BookkeepingChecks, CatchAnIdentifierChangedBehindTheIndex) {
#ifndef TESSAK_CORE_CHECKS
    GTEST_SKIP() << "the bookkeeping checks are built only into debug and sanitizer builds";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            Core core(makeSelfRenaming, nullptr);
            core.reset();
            auto* object = static_cast<SelfRenaming*>(core.createObject(5, ""));
            object->renameBehindTheCore(40);
            core.createObject(0, "");
        },
        "bookkeeping");
}

}  // namespace
