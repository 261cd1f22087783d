#include <conduit2/DeviceCatalogue.h>

#include <gtest/gtest.h>

namespace {

using namespace Conduit2;

TEST(DeviceCatalogue, ClassRowsComeFirstAndAreNeverFoundByALookup)
{
    const auto rows = deviceCatalogue();
    ASSERT_GE(rows.size(), 5u);
    EXPECT_EQ(rows[0].names.front(), "USB Devices");
    EXPECT_EQ(rows[3].names.front(), "VX HID Devices");
    EXPECT_EQ(rows[2].interfaces.front()->vendorId, 0x17CC);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(rows[i].productId, 0);
        EXPECT_EQ(rows[i].traitsD.byte1, 255);
    }
    EXPECT_EQ(findInterface(0x17CC, 0, 0), nullptr);
    EXPECT_EQ(findInterface(0, 0x1300, 0), nullptr);
    EXPECT_EQ(findInterfaceByProduct(0, 0), nullptr);
    EXPECT_EQ(findInterfaceByProduct(0, GenericUSB), nullptr);
}

TEST(DeviceCatalogue, TargetLookupsByKind)
{
    EXPECT_EQ(findInterface(0x17CC, 0x1300, 0), &targetUsbFilter);
    EXPECT_EQ(findInterface(0x17CC, 0x1300, VendorDriver), &targetUsbFilter);
    EXPECT_EQ(findInterface(0x17CC, 0x1300, HID), &targetHidFilter);
    EXPECT_EQ(findInterface(0x17CC, 0x1300, AudioDriver), nullptr);
    EXPECT_EQ(findInterface(0x17CD, 0x1300, 0), nullptr);
    EXPECT_EQ(findInterfaceByProduct(0x1302 & 0xFFF0, VendorDriver), &targetUsbFilter);
    EXPECT_EQ(findInterfaceByProduct(0x1302, VendorDriver), nullptr);
}

TEST(DeviceCatalogue, TargetRowKeepsItsData)
{
    const ProductEntry* target = nullptr;
    for (const ProductEntry& row : deviceCatalogue()) {
        if (row.productId == 0x1300) {
            target = &row;
        }
    }
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->names, (std::vector<std::string_view>{"Trovix Studio", "tvs", "Studio"}));
    EXPECT_EQ(target->traitA, 127);
    EXPECT_EQ(target->traitB, 22);
    EXPECT_EQ(target->traitsD.word1, 0x0202);
    EXPECT_EQ(target->traitsD.word3, 272);
    ASSERT_TRUE(target->hidLayout);
    EXPECT_TRUE(target->hidLayout->starts_with("I-1 b60 n4 W9"));
    EXPECT_TRUE(target->hidLayout->ends_with("F-DA W10 F-DB W10"));
    EXPECT_EQ(targetUsbFilter.interfaceGuid, "{369B4BDE-0BBC-415c-858B-EED47C55057F}");
    EXPECT_EQ(targetHidFilter.interfaceGuid, "hid-guid-magic");
}

} // namespace
