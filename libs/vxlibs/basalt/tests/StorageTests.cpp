#include "basalt/FileStorage.h"
#include "basalt/FileStream.h"
#include "basalt/MemoryStorage.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using Basalt::IStorage;

constexpr std::string_view Content = "0123456789";

// The seek and read rules are the same for every storage; each test runs on a
// memory storage and on a file storage holding "0123456789".
class SeekAndRead : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        if (GetParam()) {
            path_ = std::filesystem::path(::testing::TempDir()) / ("storage-" + std::to_string(::getpid()));
            std::ofstream(path_) << Content;
            auto file = std::make_unique<Basalt::FileStorage>();
            ASSERT_TRUE(file->open(path_, IStorage::Read));
            storage_ = std::move(file);
        } else {
            auto memory = std::make_unique<Basalt::MemoryStorage>();
            ASSERT_TRUE(memory->open(Content.data(), Content.size()));
            storage_ = std::move(memory);
        }
    }
    void TearDown() override
    {
        storage_.reset();
        if (!path_.empty()) {
            std::filesystem::remove(path_);
        }
    }

    std::string readAt(std::int64_t position, std::size_t count)
    {
        EXPECT_TRUE(storage_->seek64(position, IStorage::FromStart));
        std::string text(count, '\0');
        text.resize(storage_->read(text.data(), count));
        return text;
    }

    std::filesystem::path path_;
    std::unique_ptr<IStorage> storage_;
};

TEST_P(SeekAndRead, SeeksFromEachOrigin)
{
    EXPECT_EQ(storage_->size(), 10);
    EXPECT_TRUE(storage_->seek(4, IStorage::FromStart));
    EXPECT_TRUE(storage_->seek(-1, IStorage::FromCurrent));
    EXPECT_EQ(storage_->tell(), 3);
    EXPECT_TRUE(storage_->seek(-2, IStorage::FromEnd));
    EXPECT_EQ(storage_->tell(), 8);
    char c = 0;
    EXPECT_EQ(storage_->read(&c, 1), 1u);
    EXPECT_EQ(c, '8');
}

TEST_P(SeekAndRead, SeekOutsideTheStorageFailsAndKeepsThePosition)
{
    ASSERT_TRUE(storage_->seek(5, IStorage::FromStart));
    EXPECT_FALSE(storage_->seek(-1, IStorage::FromStart));
    EXPECT_FALSE(storage_->seek(-6, IStorage::FromCurrent));
    EXPECT_FALSE(storage_->seek(1, IStorage::FromEnd));
    EXPECT_FALSE(storage_->seek64(std::int64_t{1} << 40, IStorage::FromStart));
    EXPECT_FALSE(storage_->seek64(std::numeric_limits<std::int64_t>::max(), IStorage::FromCurrent));
    EXPECT_FALSE(storage_->seek64(std::numeric_limits<std::int64_t>::min(), IStorage::FromEnd));
    EXPECT_FALSE(storage_->seek(0, static_cast<IStorage::eOrigin>(3)));
    EXPECT_EQ(storage_->tell(), 5);
}

TEST_P(SeekAndRead, ReadsStopAtTheEnd)
{
    EXPECT_EQ(readAt(7, 100), "789");
    EXPECT_EQ(storage_->tell(), 10);
    EXPECT_EQ(readAt(10, 4), "");
    EXPECT_EQ(readAt(0, 0), "");
}

TEST_P(SeekAndRead, ReadOnlyStorageRefusesWrites)
{
    EXPECT_EQ(storage_->write("xy", 2), 0u);
    EXPECT_EQ(readAt(0, 2), "01");
}

INSTANTIATE_TEST_SUITE_P(Storages, SeekAndRead, ::testing::Values(false, true),
                         [](const auto& p) { return p.param ? "File" : "Memory"; });

TEST(ClosedStorage, ReadsNothingAndReportsMinusOne)
{
    Basalt::MemoryStorage memory;
    Basalt::FileStorage file;
    for (IStorage* storage : {static_cast<IStorage*>(&memory), static_cast<IStorage*>(&file)}) {
        char buffer[4];
        EXPECT_FALSE(storage->isOpen());
        EXPECT_EQ(storage->read(buffer, sizeof buffer), 0u);
        EXPECT_EQ(storage->write(buffer, sizeof buffer), 0u);
        EXPECT_EQ(storage->size(), -1);
        EXPECT_EQ(storage->tell(), -1);
        EXPECT_FALSE(storage->seek(0, IStorage::FromStart));
    }
}

TEST(MemoryStorage, WritesInPlaceAndNeverGrowsTheBlock)
{
    std::array<char, 4> block{'a', 'b', 'c', 'd'};
    Basalt::MemoryStorage storage;
    ASSERT_TRUE(storage.open(block.data(), block.size(), IStorage::ReadWrite));
    ASSERT_TRUE(storage.seek(2, IStorage::FromStart));
    EXPECT_EQ(storage.write("XYZ", 3), 2u);
    EXPECT_EQ(std::string(block.data(), block.size()), "abXY");
    EXPECT_EQ(storage.size(), 4);
    EXPECT_FALSE(storage.open(nullptr, 3));
    EXPECT_TRUE(storage.open(nullptr, 0));
    EXPECT_EQ(storage.size(), 0);
}

class TemporaryFile : public ::testing::Test {
protected:
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_ = std::filesystem::path(::testing::TempDir())
                               / ("basalt-" + std::to_string(::getpid()));
};

TEST_F(TemporaryFile, ReadWriteCreatesAndGrowsTheFile)
{
    std::filesystem::create_directories(dir_);
    Basalt::FileStorage file;
    ASSERT_TRUE(file.open(dir_ / "new.bin", IStorage::ReadWrite));
    EXPECT_EQ(file.write("hello", 5), 5u);
    ASSERT_TRUE(file.seek(-2, IStorage::FromEnd));
    EXPECT_EQ(file.write("LOW", 3), 3u);
    EXPECT_EQ(file.size(), 6);
    file.close();

    Basalt::FileStream stream;
    ASSERT_TRUE(stream.open(dir_ / "new.bin"));
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(stream.readAll(bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "helLOW");
}

TEST_F(TemporaryFile, MissingFilesDirectoriesAndFifosDoNotOpen)
{
    std::filesystem::create_directories(dir_);
    ASSERT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0600), 0);
    Basalt::FileStorage file;
    EXPECT_FALSE(file.open(dir_ / "fifo", IStorage::Read)) << "and does not wait for a writer";
    EXPECT_FALSE(file.open(dir_ / "fifo", IStorage::ReadWrite));
    EXPECT_FALSE(file.open(dir_ / "missing", IStorage::Read));
    EXPECT_FALSE(file.open(dir_, IStorage::Read));
    EXPECT_FALSE(file.open(dir_, IStorage::ReadWrite));
    EXPECT_FALSE(file.open(dir_ / "no-such-dir" / "f", IStorage::ReadWrite));
    EXPECT_FALSE(file.isOpen());

    Basalt::FileStream stream;
    std::vector<unsigned char> bytes{1, 2, 3};
    EXPECT_FALSE(stream.open(dir_));
    EXPECT_FALSE(stream.readAll(bytes));
    EXPECT_EQ(bytes.size(), 3u);
}

TEST_F(TemporaryFile, OffsetsBeyondFourGigabytes)
{
    std::filesystem::create_directories(dir_);
    const auto path = dir_ / "sparse";
    std::ofstream(path).put('A');
    const std::int64_t size = (std::int64_t{5} << 30) + 3;
    std::filesystem::resize_file(path, static_cast<std::uintmax_t>(size));

    Basalt::FileStorage file;
    ASSERT_TRUE(file.open(path, IStorage::ReadWrite));
    EXPECT_EQ(file.size(), size);
    ASSERT_TRUE(file.seek64(size - 2, IStorage::FromStart));
    EXPECT_EQ(file.write("Z", 1), 1u);
    EXPECT_EQ(file.tell(), size - 1);
    ASSERT_TRUE(file.seek64(-(size - 1), IStorage::FromCurrent));
    char bytes[2] = {};
    EXPECT_EQ(file.read(bytes, 1), 1u);
    EXPECT_EQ(bytes[0], 'A');
    ASSERT_TRUE(file.seek(-2, IStorage::FromEnd));
    EXPECT_EQ(file.read(bytes, 2), 2u);
    EXPECT_EQ(bytes[0], 'Z');
    EXPECT_EQ(bytes[1], '\0');
}

} // namespace
