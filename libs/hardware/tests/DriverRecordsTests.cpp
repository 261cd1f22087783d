#include <conduit2/DriverRecords.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace Conduit2;

std::vector<int> firstNine(const UsbSetup& setup)
{
    const auto record = buildControlRecord(setup);
    return {record.begin(), record.begin() + 9};
}

TEST(ControlRecord, SplitsTheRequestTypeIntoDirectionTypeAndRecipient)
{
    EXPECT_EQ(firstNine({0xC0, 0xB3, 0, 0x1D, 2}), (std::vector<int>{1, 2, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(firstNine({0x41, 0x1D, 0, 0, 256}), (std::vector<int>{0, 2, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(firstNine({0x21, 0x01, 0, 0, 0}), (std::vector<int>{0, 1, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(firstNine({0xA3, 0, 0, 0, 0}), (std::vector<int>{1, 1, 0, 0, 0, 3, 0, 0, 0}));
}

TEST(ControlRecord, CarriesTheSetupFieldsLittleEndianAndParsesBack)
{
    const UsbSetup setup{0xC1, 0x42, 0x1234, 0xABCD, 0x0102};
    const auto record = buildControlRecord(setup);
    EXPECT_EQ(record[9], 0x42);
    EXPECT_EQ(record[10], 0x34);
    EXPECT_EQ(record[11], 0x12);
    EXPECT_EQ(record[12], 0xCD);
    EXPECT_EQ(record[13], 0xAB);
    EXPECT_EQ(record[14], 0x02);
    EXPECT_EQ(record[15], 0x01);
    EXPECT_EQ(parseControlRecord(record), setup);
}

TEST(ControlRecord, MalformedRecordsAreRejected)
{
    auto record = buildControlRecord({0x80, 6, 0x0100, 0, 18});
    EXPECT_FALSE(parseControlRecord(std::span(record).first(15)));
    auto bad = record;
    bad[0] = 2;
    EXPECT_FALSE(parseControlRecord(bad));
    bad = record;
    bad[1] = 4;
    EXPECT_FALSE(parseControlRecord(bad));
    bad = record;
    bad[8] = 1;  // recipient beyond 3
    EXPECT_FALSE(parseControlRecord(bad));
}

TEST(DescriptorRequest, BecomesAGetDescriptorOfTheOutputLength)
{
    const auto record = buildDescriptorRequest(3, 2, 0x0409);
    EXPECT_EQ(std::vector<int>(record.begin(), record.end()), (std::vector<int>{0, 0, 0, 0, 3, 2, 0x09, 0x04}));
    EXPECT_EQ(parseDescriptorRequest(record, 258), (UsbSetup{0x80, 6, 0x0302, 0x0409, 258}));
    auto bad = record;
    bad[1] = 1;
    EXPECT_FALSE(parseDescriptorRequest(bad, 18));
    EXPECT_FALSE(parseDescriptorRequest(std::span(record).first(7), 18));
}

TEST(DfuRecords, InfoAndDownloadBlock)
{
    const auto info = buildDfuInfo({2, 0x0D, 1000, 4096});
    EXPECT_EQ(std::vector<int>(info.begin(), info.end()), (std::vector<int>{2, 0x0D, 0xE8, 0x03, 0x00, 0x10, 0}));
    const DfuInfo parsed = parseDfuInfo(info);
    EXPECT_EQ(parsed.wTransferSize, 4096);
    EXPECT_EQ(parsed.wDetachTimeOut, 1000);

    std::vector<std::uint8_t> block(DownloadBlockSize);
    writeLe16(&block[0], 7);
    writeLe16(&block[2], 8191);
    const auto view = parseDownloadBlock(block);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->wBlockNum, 7);
    EXPECT_EQ(view->data.size(), 8191u);
    writeLe16(&block[2], 8192);
    EXPECT_FALSE(parseDownloadBlock(block));
    block.pop_back();
    EXPECT_FALSE(parseDownloadBlock(block));
}

} // namespace
