// Objects: identifiers, lookup, deletion with open locks, the pause countdown,
// derived types, and keys.
#include "core/key_type.h"
#include "core/lock.h"
#include "script_fixture.h"

namespace {

std::vector<std::string> updates;

class Tagged : public Object {
public:
    // Records its identifier and runs no countdown of its own.
    void update(float) override { updates.push_back("tagged " + std::to_string(getId())); }
};

Object* makeTagged(std::int32_t type) { return type == 9 ? new Tagged() : nullptr; }

using Objects = ScriptTest;

TEST_F(Objects, IdentifiersStartAtOneAndAreNeverReused) {
    Object* first = core.createObject(0, "a.lua");
    EXPECT_EQ(first->getId(), 1);
    EXPECT_EQ(first->getType(), 0);
    EXPECT_EQ(first->getScript(), "a.lua");
    EXPECT_EQ(first->getCore(), &core);
    EXPECT_EQ(first->getWaitTime(), 0.0f);
    EXPECT_TRUE(first->getKeys().empty());
    EXPECT_TRUE(core.deleteObject(1));
    EXPECT_FALSE(core.deleteObject(1));
    EXPECT_EQ(core.findObject(1), nullptr);
    EXPECT_EQ(core.createObject(0, "")->getId(), 2);
    EXPECT_EQ(core.createObject(3, ""), nullptr);  // no factory: nothing made
    EXPECT_EQ(core.getNextObjectId(), 3);
}

TEST_F(Objects, IdentifiersRunOutInsteadOfOverflowing) {
    // A loaded file can bring any next identifier; the largest is the last one.
    core.setNextObjectId(2147483646);
    EXPECT_EQ(core.createObject(0, "")->getId(), 2147483646);
    EXPECT_EQ(core.createObject(0, "")->getId(), 2147483647);
    EXPECT_EQ(core.createObject(0, ""), nullptr);
    runMain("made = newObject(0, '')");
    EXPECT_EQ(mainNumber("made"), 0);
    EXPECT_EQ(core.getObjects().size(), 2u);
    EXPECT_EQ(core.findObject(-2147483647 - 1), nullptr);
    // Zero and below name no object, so they are never handed out either.
    for (const std::int32_t next : {0, -5}) {
        core.reset();
        core.setNextObjectId(next);
        EXPECT_EQ(core.createObject(0, ""), nullptr) << next;
        EXPECT_TRUE(core.getObjects().empty());
    }
    core.reset();
    EXPECT_EQ(core.createObject(0, "")->getId(), 1);
}

TEST_F(Objects, FactoryMakesTheOtherTypesAndUpdatesKeepCreationOrder) {
    updates.clear();
    Core typed(makeTagged, nullptr);
    typed.reset();
    Object* plain = typed.createObject(0, "");
    Object* tagged = typed.createObject(9, "t.lua");
    EXPECT_EQ(typed.createObject(4, ""), nullptr);
    ASSERT_NE(tagged, nullptr);
    EXPECT_EQ(tagged->getType(), 9);
    EXPECT_EQ(tagged->getId(), 2);
    typed.createObject(9, "");
    tagged->setId(7);
    plain->pause(0.5f);
    tagged->pause(0.5f);  // its own update runs no countdown
    typed.updateObjects(0.1f);
    EXPECT_EQ(updates, (std::vector<std::string>{"tagged 7", "tagged 3"}));
    EXPECT_FLOAT_EQ(plain->getWaitTime(), 0.4f);
    EXPECT_FLOAT_EQ(tagged->getWaitTime(), 0.5f);
}

TEST_F(Objects, CountdownReachingExactlyZeroReleases) {
    Object* object = core.createObject(0, "");
    object->pause(0.5f);
    core.updateObjects(0.25f);
    EXPECT_EQ(core.getLocks().size(), 1u);
    core.updateObjects(0.25f);
    EXPECT_EQ(object->getWaitTime(), 0.0f);
    EXPECT_TRUE(core.getLocks().empty());
}

TEST_F(Objects, AddAndRemoveLocksByEvent) {
    Object* a = core.createObject(0, "");
    Object* b = core.createObject(0, "");
    EXPECT_TRUE(a->addLock(3));
    EXPECT_FALSE(a->addLock(3));
    EXPECT_TRUE(a->addLock(4));
    EXPECT_TRUE(b->addLock(3));
    ASSERT_EQ(core.getLocks().size(), 3u);
    EXPECT_TRUE(core.findLock(b, 3)->matches(b, 3));
    EXPECT_FALSE(core.findLock(b, 3)->matches(a, 3));
    a->removeLock(3);
    a->removeLock(3);
    EXPECT_EQ(core.findLock(a, 3), nullptr);
    EXPECT_NE(core.findLock(a, 4), nullptr);
    // The list keeps the order in which locks were added.
    std::vector<std::int32_t> order;
    for (const Lock* lock : core.getLocks()) {
        order.push_back(lock->eventId * 10 + lock->object->getId());
    }
    EXPECT_EQ(order, (std::vector<std::int32_t>{41, 32}));
}

TEST_F(Objects, DeletingAnObjectDropsItsLocksAndWaitingThreads) {
    Object* doomed = scripted("function start(id) wait(pause(id, 0.05)); resumed = true end");
    Object* other =
        scripted("function start(id) wait({oid = 1, eid = 7}); otherResumed = true end");
    ASSERT_TRUE(doomed->startThread("start"));
    doomed->addLock(7);
    Object* keeper = core.createObject(0, "");
    keeper->pause(1.0f);
    ASSERT_TRUE(other->startThread("start"));  // waits on the doomed object's event 7
    lua_State* L = core.getLuaState();
    lua_gc(L, LUA_GCCOLLECT, 0);
    const int before = lua_gc(L, LUA_GCCOUNT, 0);
    EXPECT_EQ(core.getThreads().size(), 2u);
    EXPECT_NE(core.findLock(doomed, 7)->thread, nullptr);
    EXPECT_TRUE(core.deleteObject(1));
    EXPECT_TRUE(core.getThreads().empty());
    ASSERT_EQ(core.getLocks().size(), 1u);
    EXPECT_EQ(core.getLocks().front()->object, keeper);
    // Registry references released: the dropped thread can be collected.
    lua_gc(L, LUA_GCCOLLECT, 0);
    EXPECT_LT(lua_gc(L, LUA_GCCOUNT, 0), before);
    // A new object may reuse the memory; nothing of the old locks reaches it.
    Object* fresh = core.createObject(0, "");
    EXPECT_EQ(core.findLock(fresh, 0), nullptr);
    frames(5, 0.02f);
    runMain("flags = (resumed and 1 or 0) + (otherResumed and 2 or 0)");
    EXPECT_EQ(mainNumber("flags"), 0);
}

TEST_F(Objects, ChangedIdentifiersAreFoundByTheFirstObjectInListOrder) {
    Object* a = core.createObject(0, "");
    Object* b = core.createObject(0, "");
    Object* c = core.createObject(0, "");
    c->setId(1);
    EXPECT_EQ(core.findObject(1), a);
    EXPECT_EQ(core.findObject(3), nullptr);
    a->setId(5);
    EXPECT_EQ(core.findObject(1), c);
    b->setId(5);
    EXPECT_EQ(core.findObject(5), a);
    EXPECT_TRUE(core.deleteObject(5));
    EXPECT_EQ(core.findObject(5), b);
    EXPECT_TRUE(core.deleteObject(5));
    EXPECT_EQ(core.findObject(5), nullptr);
    EXPECT_EQ(core.getObjects().size(), 1u);
}

TEST_F(Objects, KeysReplaceByNameAndOrderByteWise) {
    Object* object = core.createObject(0, "");
    object->setNumber("k", 1.5);
    object->setString("k", "text");
    object->setBool("k", 1);
    ASSERT_EQ(object->getKeys().size(), 1u);
    EXPECT_TRUE(object->getBool("k"));
    EXPECT_EQ(object->getNumber("k"), 0.0);  // another kind: no value, no failure
    EXPECT_EQ(object->getString("k"), "");
    EXPECT_EQ(object->getNumber("absent"), 0.0);
    EXPECT_FALSE(object->getBool("absent"));
    EXPECT_EQ(object->getKeys().size(), 1u);
    object->setString("apple", "x");
    object->setNumber("Banana", 2);
    std::vector<std::string> names;
    for (const auto& entry : object->getKeys()) {
        names.push_back(entry.first);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Banana", "apple", "k"}));
    object->setKeyValue("k", nullptr);
    EXPECT_EQ(object->getKeyValue("k"), nullptr);
    EXPECT_EQ(object->getKeys().size(), 2u);
}

TEST_F(Objects, BooleanBytesAreKeptAsStored) {
    Object* object = core.createObject(0, "");
    object->setBool("b", 2);
    const KeyType* value = object->getKeyValue("b");
    ASSERT_EQ(value->tag, KeyType::BOOL);
    EXPECT_EQ(static_cast<const KeyTypeBool*>(value)->value, 2);
    EXPECT_TRUE(object->getBool("b"));
    object->setBool("b", 0);
    EXPECT_FALSE(object->getBool("b"));
}

TEST_F(Objects, ObjectReferencesFollowTheIdentifier) {
    Object* holder = core.createObject(0, "");
    Object* target = core.createObject(0, "");
    holder->setObject("friend", target);
    EXPECT_EQ(holder->getNumber("friend"), target->getId());
    EXPECT_EQ(holder->getObject("friend"), target);
    EXPECT_TRUE(core.deleteObject(target->getId()));
    EXPECT_EQ(holder->getObject("friend"), nullptr);
    holder->setNumber("huge", 1e300);
    EXPECT_EQ(holder->getObject("huge"), nullptr);
}

}  // namespace
