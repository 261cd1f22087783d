#include "basalt/Assertion.h"
#include "basalt/DeviceNotifications.h"
#include "basalt/ThreadStorage.h"
#include "basalt/init_basalt.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

constexpr std::uint32_t Product = Basalt::fourCharCode("VTVS");

TEST(InterfaceVersion, AcceptsOnlyTheWordsTheLibraryWasBuiltFor)
{
    using Basalt::interfaceVersionMatches;
    EXPECT_TRUE(interfaceVersionMatches(0x02030000, 0x02030000, 0x000F0001));
    EXPECT_TRUE(interfaceVersionMatches(0x04010000, 0x04010000, 0x000F0001));
    EXPECT_FALSE(interfaceVersionMatches(0x02030000, 0x04010000, 0x000F0001));
    EXPECT_FALSE(interfaceVersionMatches(0x02030000, 0x02030001, 0x000F0001));
    // The second word needs 1 in its low half and 0x000F in its high half.
    EXPECT_FALSE(interfaceVersionMatches(0x02030000, 0x02030000, 0x000F0000));
    EXPECT_FALSE(interfaceVersionMatches(0x02030000, 0x02030000, 0x000F0002));
    EXPECT_FALSE(interfaceVersionMatches(0x02030000, 0x02030000, 0x000F0101));
    EXPECT_FALSE(interfaceVersionMatches(0x02030000, 0x02030000, 0x000E0001));
    EXPECT_FALSE(interfaceVersionMatches(0x02030000, 0x02030000, 0x00100001));
    EXPECT_FALSE(interfaceVersionMatches(0x02030000, 0x02030000, 0x010F0001));
}

class BasaltLifecycle : public ::testing::Test {
protected:
    void TearDown() override
    {
        Basalt::shutdownBasalt();
        Basalt::Assertion::setThrowing(false);
    }
};

TEST_F(BasaltLifecycle, InitRecordsTheApplicationAndStartsTheLibrary)
{
    ASSERT_TRUE(Basalt::initBasalt(Product, "TROVIX STUDIO UPDATER", 0x02030000, 0x000F0001));
    EXPECT_TRUE(Basalt::isBasaltInitialized());
    EXPECT_EQ(Basalt::applicationName(), "TROVIX STUDIO UPDATER");
    EXPECT_EQ(Basalt::applicationCode(), Product);
    EXPECT_TRUE(Basalt::ThreadStorage::isAllocated());
    EXPECT_EQ(Basalt::deviceNotificationSourceName(), "VX-VTVS-DeviceNotificationWindow");

    Basalt::shutdownBasalt();
    EXPECT_FALSE(Basalt::isBasaltInitialized());
    EXPECT_FALSE(Basalt::ThreadStorage::isAllocated());
    EXPECT_FALSE(Basalt::areDeviceNotificationsRunning());
    EXPECT_EQ(Basalt::applicationCode(), Basalt::fourCharCode("????"));
    EXPECT_EQ(Basalt::applicationName(), "");
}

TEST_F(BasaltLifecycle, WrongVersionWordsInThrowingModeUndoEverythingAndFail)
{
    Basalt::Assertion::setThrowing(true);
    EXPECT_FALSE(Basalt::initBasalt(Product, "TROVIX STUDIO UPDATER", 0x02040000, 0x000F0001));
    EXPECT_FALSE(Basalt::isBasaltInitialized());
    EXPECT_FALSE(Basalt::areDeviceNotificationsRunning());
    EXPECT_EQ(Basalt::applicationName(), "");
}

TEST(BasaltLifecycleDeathTest, WrongVersionWordsAreAnAssertionFailure)
{
    EXPECT_EXIT(Basalt::initBasalt(Product, "TROVIX STUDIO UPDATER", 0x02030000, 0x000F0002),
                ::testing::ExitedWithCode(1), "Error .*init_basalt.cpp:[0-9]+\n\n");
}

TEST_F(BasaltLifecycle, ThreadStorageHoldsOneValuePerThread)
{
    ASSERT_TRUE(Basalt::initBasalt(Product, "APP", 0x02030000, 0x000F0001));
    int mine = 1;
    int theirs = 2;
    ASSERT_TRUE(Basalt::ThreadStorage::set(&mine));
    std::thread other([&] {
        EXPECT_EQ(Basalt::ThreadStorage::get(), nullptr);
        Basalt::ThreadStorage::set(&theirs);
        EXPECT_EQ(Basalt::ThreadStorage::get(), &theirs);
    });
    other.join();
    EXPECT_EQ(Basalt::ThreadStorage::get(), &mine);

    Basalt::shutdownBasalt();
    EXPECT_EQ(Basalt::ThreadStorage::get(), nullptr);
    EXPECT_FALSE(Basalt::ThreadStorage::set(&mine));
}

} // namespace
