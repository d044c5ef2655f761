#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <thread>

#ifdef __linux__
#include <sys/stat.h>
#endif

#include "core/core.h"
#include "core/object.h"
#include "fakes/fake_platform.h"
#include "file_bytes.h"
#include "persist/input_archive.h"
#include "persist/output_archive.h"

namespace {

using persist_test::ByteBuilder;
using persist_test::Bytes;
using persist_test::readFile;
using persist_test::ScratchFolder;
using persist_test::writeFile;

class ArchiveTest : public ::testing::Test {
protected:
    // Writes with a fresh archive and returns the file's bytes.
    template <typename Writer>
    Bytes written(Writer writer) {
        {
            OutputArchive archive(nullptr);
            EXPECT_TRUE(archive.open(path.string()));
            writer(archive);
            EXPECT_TRUE(archive.good());
        }
        return readFile(path);
    }

    InputArchive& reading(const Bytes& bytes) {
        writeFile(path, bytes);
        input.reset(new InputArchive(nullptr));
        EXPECT_TRUE(input->open(path.string()));
        return *input;
    }

    fakes::FakePlatform platform;  // the archive forces its file onto the disk through it
    ScratchFolder folder;
    std::filesystem::path path = folder.file("values.bin");
    std::unique_ptr<InputArchive> input;
};

TEST_F(ArchiveTest, ValuesAreWrittenAsTheirLittleEndianBytes) {
    EXPECT_EQ(written([](OutputArchive& a) { a.write(std::string()); }),
              (Bytes{0x01, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(written([](OutputArchive& a) { a.write(std::string("abc")); }),
              (Bytes{0x04, 0x00, 0x00, 0x00, 0x61, 0x62, 0x63, 0x00}));
    EXPECT_EQ(written([](OutputArchive& a) { a.write("abc"); }),
              (Bytes{0x04, 0x00, 0x00, 0x00, 0x61, 0x62, 0x63, 0x00}));
    EXPECT_EQ(written([](OutputArchive& a) { a.write(std::uint32_t{1}); }),
              (Bytes{0x01, 0x00, 0x00, 0x00}));
    EXPECT_EQ(written([](OutputArchive& a) { a.write(std::int32_t{-2}); }),
              (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(written([](OutputArchive& a) { a.write(1.0); }),
              (Bytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F}));
    EXPECT_EQ(written([](OutputArchive& a) { a.write(1.0f); }), (Bytes{0x00, 0x00, 0x80, 0x3F}));
    EXPECT_EQ(written([](OutputArchive& a) {
                  a.write(true);
                  a.write(false);
                  a.write(std::uint8_t{0xAB});
              }),
              (Bytes{0x01, 0x00, 0xAB}));
    const std::uint8_t block[] = {9, 8, 7};
    EXPECT_EQ(written([&](OutputArchive& a) { a.write(block, sizeof block); }), (Bytes{9, 8, 7}));
}

TEST_F(ArchiveTest, StringWithZeroByteIsWrittenWholeAndReadBackCut) {
    const std::string text("ab\0cd", 5);
    const Bytes bytes = written([&](OutputArchive& a) { a.write(text); });
    EXPECT_EQ(bytes, (Bytes{0x06, 0, 0, 0, 'a', 'b', 0, 'c', 'd', 0}));
    InputArchive& in = reading(bytes);
    EXPECT_EQ(in.readString(), "ab");
    EXPECT_FALSE(in.failed());
}

TEST_F(ArchiveTest, ValuesReadBackAsWritten) {
    const Bytes bytes = written([](OutputArchive& a) {
        a.write(std::uint8_t{200});
        a.write(true);
        a.write(std::int32_t{-123456});
        a.write(2.5f);
        a.write(-0.1);
        a.write(std::string("text"));
        a.write(std::numeric_limits<double>::infinity());
    });
    InputArchive& in = reading(bytes);
    EXPECT_EQ(in.readByte(), 200);
    EXPECT_TRUE(in.readBool());
    EXPECT_EQ(in.readInt(), -123456);
    EXPECT_EQ(in.readFloat(), 2.5f);
    EXPECT_EQ(in.readDouble(), -0.1);
    EXPECT_EQ(in.readString(), "text");
    EXPECT_TRUE(std::isinf(in.readDouble()));
    EXPECT_FALSE(in.failed());
}

TEST_F(ArchiveTest, UnsignedCountFromTwoToThe31ReadsBackNegative) {
    const Bytes bytes = written([](OutputArchive& a) {
        a.write(std::uint32_t{2147483648u});
        a.write(std::uint32_t{4294967295u});
    });
    EXPECT_EQ(bytes, (Bytes{0x00, 0x00, 0x00, 0x80, 0xFF, 0xFF, 0xFF, 0xFF}));
    InputArchive& in = reading(bytes);
    EXPECT_EQ(in.readInt(), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(in.readInt(), -1);
}

TEST_F(ArchiveTest, AnyNonzeroByteReadsAsTrue) {
    InputArchive& in = reading(Bytes{0x02, 0x00, 0xFF});
    EXPECT_TRUE(in.readBool());
    EXPECT_FALSE(in.readBool());
    EXPECT_TRUE(in.readBool());
}

TEST_F(ArchiveTest, ReadsPastTheEndYieldZeroAndFailTheArchive) {
    InputArchive& in = reading(Bytes{0x07, 0x01, 0x02});
    EXPECT_EQ(in.readByte(), 7);
    EXPECT_EQ(in.readInt(), 0);  // only two bytes were left
    EXPECT_TRUE(in.failed());
    // Everything after the failure yields nothing, even bytes that are there.
    EXPECT_EQ(in.readByte(), 0);
    EXPECT_FALSE(in.readBool());
    EXPECT_EQ(in.readFloat(), 0.0f);
    EXPECT_EQ(in.readDouble(), 0.0);
    EXPECT_EQ(in.readString(), "");
    std::uint8_t block[3] = {5, 5, 5};
    in.readBytes(block, sizeof block);
    EXPECT_EQ(Bytes(block, block + 3), (Bytes{0, 0, 0}));
}

TEST_F(ArchiveTest, ImpossibleStringLengthsFailWithoutTakingBytes) {
    const Bytes tail = ByteBuilder().string("ok").bytes();
    for (const std::uint32_t length : {0u, 0x80000000u, 0xFFFFFFFFu, 0x7FFFFFFFu, 8u}) {
        SCOPED_TRACE(length);
        InputArchive& in = reading(ByteBuilder().int32(length).raw(tail).bytes());
        EXPECT_EQ(in.readString(), "");
        EXPECT_TRUE(in.failed());
    }
    // A length that reaches exactly to the end is fine.
    InputArchive& exact = reading(ByteBuilder().int32(6).raw({'x', 'y', 0, 'z', 'z', 'z'}).bytes());
    EXPECT_EQ(exact.readString(), "xy");
    EXPECT_FALSE(exact.failed());
}

TEST_F(ArchiveTest, StringWithoutZeroByteKeepsOnlyItsOwnBytes) {
    InputArchive& in = reading(ByteBuilder().int32(3).raw({'a', 'b', 'c'}).int32(42).bytes());
    EXPECT_EQ(in.readString(), "abc");
    EXPECT_EQ(in.readInt(), 42);
    EXPECT_FALSE(in.failed());
}

TEST_F(ArchiveTest, LongValuesCrossTheReadBufferIntact) {
    // Larger than any buffer the archive keeps, and not aligned to one.
    std::string big(300001, 'q');
    for (std::size_t i = 0; i < big.size(); i += 7) {
        big[i] = static_cast<char>('a' + i % 26);
    }
    const Bytes bytes = written([&](OutputArchive& a) {
        for (int i = 0; i < 20000; ++i) {
            a.write(static_cast<std::int32_t>(i));
        }
        a.write(std::uint8_t{1});
        a.write(big);
        a.write(3.25);
    });
    EXPECT_EQ(bytes.size(), 20000u * 4 + 1 + 4 + big.size() + 1 + 8);
    InputArchive& in = reading(bytes);
    for (int i = 0; i < 20000; ++i) {
        ASSERT_EQ(in.readInt(), i);
    }
    EXPECT_EQ(in.readByte(), 1);
    EXPECT_EQ(in.readString(), big);
    EXPECT_EQ(in.readDouble(), 3.25);
    EXPECT_FALSE(in.failed());
    EXPECT_EQ(in.readByte(), 0);
    EXPECT_TRUE(in.failed());
}

TEST_F(ArchiveTest, OpenFailsForMissingFileOrFolder) {
    InputArchive in(nullptr);
    EXPECT_FALSE(in.open(folder.file("missing.bin").string()));
    EXPECT_EQ(in.readInt(), 0);
    EXPECT_TRUE(in.failed());
    std::filesystem::create_directory(folder.file("sub"));
    EXPECT_FALSE(in.open(folder.file("sub").string()));
    OutputArchive out(nullptr);
    EXPECT_FALSE(out.open(folder.file("no-such-folder/x.bin").string()));
}

TEST_F(ArchiveTest, TwoArchivesOnOneFileDoNotLockEachOtherOut) {
    writeFile(path, Bytes{1, 2, 3, 4});
    InputArchive first(nullptr);
    InputArchive second(nullptr);
    ASSERT_TRUE(first.open(path.string()));
    ASSERT_TRUE(second.open(path.string()));
    EXPECT_EQ(first.readInt(), 0x04030201);
    EXPECT_EQ(second.readInt(), 0x04030201);
    OutputArchive writer(nullptr);
    EXPECT_TRUE(writer.open(path.string()));
}

TEST_F(ArchiveTest, CommitReportsSuccessAndClosesTheFile) {
    OutputArchive archive(nullptr);
    ASSERT_TRUE(archive.open(path.string()));
    archive.write(std::int32_t{5});
    EXPECT_TRUE(archive.commit());
    EXPECT_EQ(readFile(path), (Bytes{5, 0, 0, 0}));
    // Writes after the file was closed are lost and reported.
    archive.write(std::int32_t{6});
    EXPECT_FALSE(archive.good());
    EXPECT_FALSE(archive.commit());
}

#ifdef __linux__
TEST_F(ArchiveTest, FullDiskIsReportedByCommit) {
    OutputArchive archive(nullptr);
    ASSERT_TRUE(archive.open("/dev/full"));
    archive.write(std::int32_t{1});
    EXPECT_FALSE(archive.commit());
}
#endif

#ifdef __linux__
// A pipe has no size: reads are checked against what really arrives.
TEST_F(ArchiveTest, PipeWithoutSizeFailsOnShortData) {
    const std::string fifo = folder.file("pipe").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] {
        writeFile(fifo, ByteBuilder().string("ok").int32(1000000).raw({'a', 'b'}).bytes());
    });
    InputArchive in(nullptr);
    ASSERT_TRUE(in.open(fifo));
    EXPECT_EQ(in.readString(), "ok");
    EXPECT_EQ(in.readString(), "");
    EXPECT_TRUE(in.failed());
    writer.join();
}
#endif

class ObjectReferenceTest : public ::testing::Test {
protected:
    fakes::FakePlatform platform;
    Core core{nullptr, nullptr};
    ScratchFolder folder;
    std::string path = folder.file("refs.bin").string();
};

TEST_F(ObjectReferenceTest, ReferenceIsTheIdentifierAndResolvesThroughTheCore) {
    core.reset();
    Object* first = core.createObject(0, "");
    Object* second = core.createObject(0, "");
    {
        OutputArchive archive(&core);
        ASSERT_TRUE(archive.open(path));
        archive.write(second);
        archive.write(first);
        archive.write(static_cast<const Object*>(nullptr));
        archive.write(std::int32_t{99});
    }
    EXPECT_EQ(readFile(path), (Bytes{2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 99, 0, 0, 0}));
    InputArchive archive(&core);
    ASSERT_TRUE(archive.open(path));
    EXPECT_EQ(archive.readObject(), second);
    EXPECT_EQ(archive.readObject(), first);
    EXPECT_EQ(archive.readObject(), nullptr);
    EXPECT_EQ(archive.readObject(), nullptr);  // 99 belongs to no object
    EXPECT_FALSE(archive.failed());
}

}  // namespace
