#include <conduit2/GuidText.h>
#include <conduit2/UsbDescriptors.h>

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using namespace Conduit2;
using Bytes = std::vector<std::uint8_t>;

// A zeroed 258-byte buffer that received `bytes`, as the string reader has it.
std::string decode(const Bytes& bytes)
{
    std::array<std::uint8_t, 258> buffer{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), buffer.size()), buffer.begin());
    return decodeStringDescriptor(buffer);
}

TEST(StringDescriptor, EndsAtBLengthOrAtAZeroUnit)
{
    EXPECT_EQ(decode({8, 3, 'T', 0, 'V', 0, 'S', 0}), "TVS");
    EXPECT_EQ(decode({6, 3, 'T', 0, 'V', 0, 'S', 0}), "TV");
    EXPECT_EQ(decode({2, 3, 'T', 0}), "");
    EXPECT_EQ(decode({0, 3, 'T', 0}), "");
    // Declared longer than what arrived: the zeroed rest of the buffer ends it.
    EXPECT_EQ(decode({255, 3, 'A', 0, 'B', 0}), "AB");
    // An odd length ends before the half unit.
    EXPECT_EQ(decode({7, 3, 'T', 0, 'V', 0, 'S', 0}), "TV");
    // A length past the buffer's end is held to the buffer.
    Bytes full(258, 'x');
    full[0] = 0xFF;
    full[1] = 3;
    EXPECT_EQ(decode(full).size(), 126u * 3);  // U+7878 takes three bytes in UTF-8
}

TEST(StringDescriptor, InvalidUtf16IsSkipped)
{
    // A surrogate pair, then lone surrogates, between valid characters.
    EXPECT_EQ(decode({10, 3, 'A', 0, 0x00, 0xD8, 0x00, 0xDC, 'B', 0}), "A\xF0\x90\x80\x80" "B");
    EXPECT_EQ(decode({8, 3, 'A', 0, 0x00, 0xD8, 'B', 0}), "AB");
    EXPECT_EQ(decode({8, 3, 'A', 0, 0x00, 0xDC, 'B', 0}), "AB");
    EXPECT_EQ(decode({6, 3, 0xE9, 0x00, 0xAC, 0x20}), "\xC3\xA9\xE2\x82\xAC");
}

TEST(DeviceDescriptor, NeedsEighteenBytesOfTheRightType)
{
    Bytes device{18, 1, 0, 2, 0, 0, 0, 64, 0xCC, 0x17, 0x00, 0x13, 0x20, 0x00, 1, 2, 3, 1};
    const auto parsed = parseDeviceDescriptor(device);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->vendorId, 0x17CC);
    EXPECT_EQ(parsed->productId, 0x1300);
    EXPECT_EQ(parsed->bcdDevice, 0x0020);
    EXPECT_EQ(parsed->iSerialNumber, 3);
    EXPECT_FALSE(parseDeviceDescriptor(std::span(device).first(17)));
    device[1] = 2;
    EXPECT_FALSE(parseDeviceDescriptor(device));
    device[1] = 1;
    device[0] = 12;
    EXPECT_FALSE(parseDeviceDescriptor(device));
}

Bytes configuration(std::initializer_list<Bytes> descriptors)
{
    Bytes bytes{9, 2, 0, 0, 1, 1, 0, 0x80, 50};
    for (const Bytes& d : descriptors) {
        bytes.insert(bytes.end(), d.begin(), d.end());
    }
    bytes[2] = static_cast<std::uint8_t>(bytes.size());
    return bytes;
}

const Bytes vendorInterface{9, 4, 0, 0, 0, 0xFF, 0, 0, 0};
const Bytes dfuInterface{9, 4, 1, 0, 0, 0xFE, 1, 1, 0};
const Bytes dfuFunctional{9, 0x21, 0x0D, 0xE8, 0x03, 0x00, 0x10, 0x10, 0x01};

TEST(Configuration, FindsInterfacesAndTheDfuFunctionalDescriptor)
{
    const Bytes alternate{9, 4, 1, 1, 0, 0xFE, 1, 2, 0};
    const auto interfaces = parseConfiguration(configuration({vendorInterface, dfuInterface, dfuFunctional, alternate}));
    ASSERT_TRUE(interfaces);
    ASSERT_EQ(interfaces->size(), 2u);
    EXPECT_EQ((*interfaces)[1].protocol, 1);
    const UsbBusDevice device{"sim-1", 0x17CC, 0x1300, 0x20, *interfaces};
    const UsbInterfaceInfo* dfu = findDfuInterface(device);
    ASSERT_NE(dfu, nullptr);
    const auto functional = findDfuFunctional(dfu->extra);
    ASSERT_TRUE(functional);
    EXPECT_EQ(functional->bmAttributes, 0x0D);
    EXPECT_EQ(functional->wDetachTimeOut, 1000);
    EXPECT_EQ(functional->wTransferSize, 4096);
}

TEST(Configuration, LengthsThatOverrunEndTheWalkSafely)
{
    Bytes overrun = configuration({vendorInterface, dfuInterface, dfuFunctional});
    overrun[overrun.size() - 9] = 40;  // the functional descriptor claims 40 bytes
    auto interfaces = parseConfiguration(overrun);
    ASSERT_TRUE(interfaces);
    ASSERT_EQ(interfaces->size(), 2u);
    EXPECT_FALSE(findDfuFunctional((*interfaces)[1].extra));

    Bytes zeroLength = configuration({vendorInterface, {0, 4}, dfuInterface});
    interfaces = parseConfiguration(zeroLength);
    ASSERT_TRUE(interfaces);
    EXPECT_EQ(interfaces->size(), 1u);

    // wTotalLength beyond what arrived is held to what arrived.
    Bytes claimsMore = configuration({vendorInterface});
    claimsMore[2] = 0xFF;
    claimsMore[3] = 0xFF;
    ASSERT_TRUE(parseConfiguration(claimsMore));

    EXPECT_FALSE(parseConfiguration(Bytes{9, 2, 9}));
    EXPECT_FALSE(parseConfiguration(Bytes{9, 4, 18, 0, 1, 1, 0, 0x80, 50}));
    EXPECT_FALSE(findDfuFunctional(Bytes{6, 0x21, 1, 2, 3, 4}));
}

TEST(GuidText, ParsesTheRegistryFormAndFormatsItInLowerCase)
{
    const auto guid = parseGuid(u"{369B4BDE-0BBC-415c-858B-EED47C55057F}");
    ASSERT_TRUE(guid);
    EXPECT_EQ(guid->bytes[0], 0xDE);  // the first group is little-endian in memory
    EXPECT_EQ(guid->bytes[4], 0xBC);
    EXPECT_EQ(guid->bytes[8], 0x85);
    EXPECT_EQ(formatGuid(*guid), "{369b4bde-0bbc-415c-858b-eed47c55057f}");
    EXPECT_EQ(parseGuid(u"{369b4bde-0bbc-415C-858b-eed47c55057f}"), guid);
    for (const char16_t* bad : {u"369B4BDE-0BBC-415c-858B-EED47C55057F", u"{369B4BDE-0BBC-415c-858B-EED47C55057}",
                                u"{369B4BDE+0BBC-415c-858B-EED47C55057F}", u"{369B4BDE-0BBC-415c-858B-EED47C55057G}",
                                u"usb-guid-magic", u""}) {
        EXPECT_FALSE(parseGuid(bad));
    }
}

} // namespace
