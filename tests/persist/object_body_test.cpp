#include <gtest/gtest.h>

#include <cmath>

#include "core/key_type.h"
#include "log/log.h"
#include "state_fixture.h"

namespace {

using persist_test::ByteBuilder;
using persist_test::Bytes;
using persist_test::COUNTER_TYPE;
using persist_test::CounterObject;
using persist_test::readFile;
using persist_test::StateTest;

const std::string DAMAGED_PREFIX = "State file '";

// A file with no variables and one plain object with the given body bytes.
Bytes oneObjectFile(const Bytes& body, std::int32_t id = 1) {
    return ByteBuilder()
        .byte(0)
        .int32(1)
        .int32(0)
        .string("one.lua")
        .int32(static_cast<std::uint32_t>(id))
        .raw(body)
        .int32(static_cast<std::uint32_t>(id + 1))
        .bytes();
}

TEST_F(StateTest, ObjectsWithKeysOfEveryKindRoundTrip) {
    Object* first = core.createObject(0, "scripts/first.lua");
    Object* second = core.createObject(COUNTER_TYPE, "");
    ASSERT_NE(second, nullptr);
    first->setId(5);
    second->setId(9);
    core.setNextObjectId(10);
    first->setWaitTime(1.5f);
    first->setNumber("speed", -2.75);
    first->setString("name", std::string("ze\0ro", 5));
    first->setString("empty", "");
    first->setBool("on", 1);
    first->setBool("off", 0);
    first->setObject("peer", second);
    static_cast<CounterObject*>(second)->counter = 77;
    second->setString("label", "second");
    run("round = 3");
    const std::string path = folder.file("objects.bin").string();
    ASSERT_TRUE(core.saveState(path));

    ASSERT_TRUE(core.loadState(path));
    ASSERT_EQ(core.getObjects().size(), 2u);
    Object* a = core.getObjects().front();
    Object* b = core.getObjects().back();
    EXPECT_EQ(a->getId(), 5);
    EXPECT_EQ(a->getType(), 0);
    EXPECT_EQ(a->getScript(), "scripts/first.lua");
    EXPECT_EQ(a->getWaitTime(), 1.5f);
    EXPECT_EQ(a->getKeys().size(), 6u);
    EXPECT_EQ(a->getNumber("speed"), -2.75);
    EXPECT_EQ(a->getString("name"), "ze");
    EXPECT_EQ(a->getString("empty"), "");
    EXPECT_EQ(a->getKeyValue("empty")->tag, KeyType::STRING);
    EXPECT_TRUE(a->getBool("on"));
    EXPECT_EQ(a->getKeyValue("off")->tag, KeyType::BOOL);
    EXPECT_FALSE(a->getBool("off"));
    EXPECT_EQ(a->getObject("peer"), b);
    EXPECT_EQ(b->getId(), 9);
    EXPECT_EQ(b->getType(), COUNTER_TYPE);
    ASSERT_NE(dynamic_cast<CounterObject*>(b), nullptr);
    EXPECT_EQ(static_cast<CounterObject*>(b)->counter, 77);
    EXPECT_EQ(b->getString("label"), "second");
    EXPECT_EQ(core.findObject(5), a);
    EXPECT_EQ(core.findObject(9), b);
    EXPECT_EQ(core.findObject(1), nullptr);
    EXPECT_EQ(variable("round"), "number 3");
    EXPECT_EQ(core.getNextObjectId(), 10);
    EXPECT_EQ(core.createObject(0, "")->getId(), 10);
}

TEST_F(StateTest, ObjectHeadersAndBodyLayout) {
    Object* object = core.createObject(0, "o.lua");
    object->setWaitTime(0.5f);
    // Set out of order: the body lists them byte-wise, capitals first,
    // a name before the longer names that begin with it.
    object->setNumber("b", 1.0);
    object->setBool("ab", 2);
    object->setString("a", "x");
    object->setBool("B", 1);
    object->setNumber("\xC3\xA9", 2.0);  // bytes above 0x7F sort last
    const Bytes expected = ByteBuilder()
                               .byte(0)
                               .int32(1)
                               .int32(0)
                               .string("o.lua")
                               .int32(1)
                               .real32(0.5f)
                               .int32(5)
                               .string("B")
                               .int32(3)
                               .byte(1)
                               .string("a")
                               .int32(2)
                               .string("x")
                               .string("ab")
                               .int32(3)
                               .byte(2)
                               .string("b")
                               .int32(1)
                               .real64(1.0)
                               .string("\xC3\xA9")
                               .int32(1)
                               .real64(2.0)
                               .int32(2)
                               .bytes();
    EXPECT_EQ(saved(), expected);
}

TEST_F(StateTest, BooleanByteIsKeptAsStored) {
    const Bytes file = oneObjectFile(ByteBuilder()
                                         .real32(0)
                                         .int32(2)
                                         .string("flag")
                                         .int32(3)
                                         .byte(2)
                                         .string("zero")
                                         .int32(3)
                                         .byte(0)
                                         .bytes());
    ASSERT_TRUE(loadBytes(file));
    Object* object = core.findObject(1);
    ASSERT_NE(object, nullptr);
    const KeyType* flag = object->getKeyValue("flag");
    ASSERT_NE(flag, nullptr);
    ASSERT_EQ(flag->tag, KeyType::BOOL);
    EXPECT_EQ(static_cast<const KeyTypeBool*>(flag)->value, 2);
    EXPECT_TRUE(object->getBool("flag"));
    EXPECT_FALSE(object->getBool("zero"));
    EXPECT_EQ(saved(), file);
}

TEST_F(StateTest, KeysOfUnknownKindAreSkippedWithoutValue) {
    const Bytes file = oneObjectFile(ByteBuilder()
                                         .real32(0)
                                         .int32(3)
                                         .string("bare")
                                         .int32(0)
                                         .string("odd")
                                         .int32(300)
                                         .string("kept")
                                         .int32(1)
                                         .real64(4)
                                         .bytes());
    ASSERT_TRUE(loadBytes(file));
    Object* object = core.findObject(1);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->getKeys().size(), 1u);
    EXPECT_EQ(object->getNumber("kept"), 4.0);
    EXPECT_EQ(object->getKeyValue("odd"), nullptr);
}

TEST_F(StateTest, KeyValueWithoutKnownKindIsListedWithoutValue) {
    Object* object = core.createObject(0, "one.lua");
    object->setKeyValue("raw", new KeyType);
    EXPECT_EQ(saved(),
              oneObjectFile(ByteBuilder().real32(0).int32(1).string("raw").int32(0).bytes()));
}

TEST_F(StateTest, DuplicateKeyInFileKeepsTheLastValue) {
    const Bytes file = oneObjectFile(ByteBuilder()
                                         .real32(0)
                                         .int32(2)
                                         .string("k")
                                         .int32(1)
                                         .real64(4)
                                         .string("k")
                                         .int32(2)
                                         .string("later")
                                         .bytes());
    ASSERT_TRUE(loadBytes(file));
    EXPECT_EQ(core.findObject(1)->getString("k"), "later");
    EXPECT_EQ(core.findObject(1)->getKeys().size(), 1u);
}

TEST_F(StateTest, RestoredPauseCountsDownWithoutALock) {
    ASSERT_TRUE(loadBytes(oneObjectFile(ByteBuilder().real32(0.25f).int32(0).bytes())));
    Object* object = core.findObject(1);
    EXPECT_EQ(object->getWaitTime(), 0.25f);
    EXPECT_TRUE(core.getLocks().empty());
    object->update(0.5f);
    EXPECT_EQ(object->getWaitTime(), 0.0f);
}

class DamagedFileTest : public StateTest {
protected:
    // Loads the bytes and checks that the load was refused as a damaged file.
    void expectDamaged(const Bytes& bytes) {
        const std::size_t boxes = platform.fakeSystem.boxes.size();
        EXPECT_FALSE(loadBytes(bytes));
        ASSERT_EQ(platform.fakeSystem.boxes.size(), boxes + 1);
        const auto& box = platform.fakeSystem.boxes.back();
        EXPECT_EQ(box.text.compare(0, DAMAGED_PREFIX.size(), DAMAGED_PREFIX), 0) << box.text;
        EXPECT_EQ(box.style, 0x1030u);  // the warning box
        expectFresh();
    }
};

TEST_F(DamagedFileTest, EveryTruncationOfARealFileIsRefused) {
    run("x = 2; s = 'text'; b = true");
    Object* object = core.createObject(COUNTER_TYPE, "c.lua");
    object->setNumber("n", 1);
    object->setString("s", "abc");
    object->setBool("b", 1);
    core.createObject(0, "p.lua")->setWaitTime(2);
    const Bytes whole = saved();
    for (std::size_t size = 0; size < whole.size(); ++size) {
        SCOPED_TRACE(size);
        expectDamaged(Bytes(whole.begin(), whole.begin() + static_cast<long>(size)));
    }
    EXPECT_TRUE(loadBytes(whole));
}

TEST_F(DamagedFileTest, CraftedLengthsAndCountsAreRefused) {
    // A name longer than the file.
    expectDamaged(ByteBuilder().byte(1).int32(0x7FFFFFFF).raw({'a', 0}).bytes());
    // Zero and negative string lengths.
    expectDamaged(ByteBuilder()
                      .byte(1)
                      .int32(0)
                      .int32(3)
                      .real64(1)
                      .byte(0)
                      .raw({0, 0, 0, 0, 1, 0, 0, 0})
                      .bytes());
    expectDamaged(ByteBuilder().byte(1).int32(0xFFFFFFF0u).int32(3).real64(1).byte(0).bytes());
    // An object count far beyond what the file holds.
    expectDamaged(ByteBuilder().byte(0).int32(0x7FFFFFFF).int32(0).string("").int32(1).bytes());
    // A key count far beyond the body's keys.
    expectDamaged(oneObjectFile(
        ByteBuilder().real32(0).int32(0x40000000).string("k").int32(1).real64(1).bytes()));
    // A key text longer than the file.
    expectDamaged(
        oneObjectFile(ByteBuilder().real32(0).int32(1).string("k").int32(2).int32(1000).bytes()));
}

TEST_F(DamagedFileTest, TypeCodeThatMakesNoObjectIsRefused) {
    expectDamaged(ByteBuilder()
                      .byte(0)
                      .int32(2)
                      .int32(0)
                      .string("")
                      .int32(1)
                      .int32(3)
                      .string("")
                      .int32(2)  // the factory knows no type 3
                      .real32(0)
                      .int32(0)
                      .real32(0)
                      .int32(0)
                      .int32(3)
                      .bytes());
}

TEST_F(DamagedFileTest, NegativeObjectCountMeansNoObjects) {
    ASSERT_TRUE(loadBytes(ByteBuilder().byte(0).int32(0xFFFFFFFFu).int32(7).bytes()));
    EXPECT_TRUE(core.getObjects().empty());
    EXPECT_EQ(core.getNextObjectId(), 7);
}

}  // namespace
