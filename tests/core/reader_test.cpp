#include <gtest/gtest.h>

#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "core/reader.h"
#include "tests/support/files.h"
#include "tests/support/temp_dir.h"

namespace pw {
namespace {

using test::Bytes;
using test::TempDir;

constexpr ReaderKind kAllKinds[] = {ReaderKind::Buffer, ReaderKind::MemoryMapped, ReaderKind::Disk};

TEST(Readers, SameBytesThroughEveryKindAndNoReadOutsideTheFile) {
    TempDir dir;
    Bytes bytes(5000);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
    test::WriteBytes(dir.File("f"), bytes);
    for (ReaderKind kind : kAllKinds) {
        auto reader = OpenReader(dir.File("f"), kind);
        ASSERT_TRUE(reader);
        SCOPED_TRACE(reader->KindName());
        EXPECT_EQ(reader->Length(), 5000u);
        uint8_t out[8] = {};
        EXPECT_TRUE(reader->ReadAt(4992, out, 8));
        EXPECT_EQ(out[7], bytes[4999]);
        // A range that runs past the end copies what is there and zero-fills the rest.
        std::fill(std::begin(out), std::end(out), 0xAA);
        EXPECT_FALSE(reader->ReadAt(4996, out, 8));
        EXPECT_EQ(out[3], bytes[4999]);
        EXPECT_EQ(out[4], 0);
        EXPECT_FALSE(reader->ReadAt(1u << 30, out, 8));

        // The positional pair: seeking to the length fails, to length - 1 works; a read of
        // the whole length at once is refused on the memory readers.
        EXPECT_TRUE(reader->Seek(4999));
        if (kind != ReaderKind::Disk) {
            EXPECT_FALSE(reader->Seek(5000));
            EXPECT_EQ(reader->GetPosition(), 4999u);
            std::vector<uint8_t> all(5000);
            EXPECT_TRUE(reader->Seek(0));
            EXPECT_FALSE(reader->Read(all.data(), 5000));
        }
    }
}

TEST(Readers, ChoiceOrderEmptyFilesDirectoriesAndLockedFiles) {
    TempDir dir;
    test::WriteBytes(dir.File("small"), Bytes(100, 1));
    EXPECT_STREQ(OpenReader(dir.File("small"))->KindName(), "buffer");

    // Only the disk reader opens an empty file.
    test::WriteBytes(dir.File("empty"), {});
    auto empty = OpenReader(dir.File("empty"));
    ASSERT_TRUE(empty);
    EXPECT_STREQ(empty->KindName(), "disk");
    EXPECT_EQ(empty->Length(), 0u);

    EXPECT_FALSE(OpenReader(dir.path()));
    EXPECT_FALSE(OpenReader(dir.File("missing")));
    EXPECT_FALSE(OpenReader("/dev/null"));

    // A file another process (here: another open file description) holds is refused by
    // every kind, and a reader's own hold keeps others out.
    int fd = ::open(dir.File("small").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    EXPECT_FALSE(OpenReader(dir.File("small")));
    ::close(fd);
    auto holder = OpenReader(dir.File("small"), ReaderKind::MemoryMapped);
    ASSERT_TRUE(holder);
    EXPECT_FALSE(OpenReader(dir.File("small")));
}

TEST(Readers, BufferLimitIsExclusive) {
    TempDir dir;
    for (uint64_t size : {Reader_Buffer::kLimit - 1, Reader_Buffer::kLimit}) {
        std::string path = dir.File("sparse" + std::to_string(size));
        {
            int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0600);
            ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0);
            ::close(fd);
        }
        auto reader = OpenReader(path);
        ASSERT_TRUE(reader);
        EXPECT_STREQ(reader->KindName(), size < Reader_Buffer::kLimit ? "buffer" : "memory map");
    }
}

TEST(Readers, MappedFileThatShrinksReadsAsZerosInsteadOfCrashing) {
    TempDir dir;
    std::string path = dir.File("shrinking");
    test::WriteBytes(path, Bytes(1 << 20, 0x5A));
    auto reader = OpenReader(path, ReaderKind::MemoryMapped);
    ASSERT_TRUE(reader);
    ASSERT_EQ(::truncate(path.c_str(), 4096), 0);
    uint8_t byte = 1;
    reader->ReadAt((1 << 20) - 1, &byte, 1);
    EXPECT_EQ(byte, 0);
    EXPECT_TRUE(reader->DataLost());

    auto disk = OpenReader(dir.File("shrinking"), ReaderKind::Disk);
    ASSERT_FALSE(disk);  // the mapped reader still holds the file
    reader.reset();
    disk = OpenReader(path, ReaderKind::Disk);
    ASSERT_TRUE(disk);
    std::filesystem::remove(path);
    EXPECT_FALSE(disk->ReadAt(0, &byte, 1));
    EXPECT_TRUE(disk->DataLost());
}

}  // namespace
}  // namespace pw
