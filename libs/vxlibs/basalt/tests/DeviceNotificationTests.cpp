#include "basalt/DeviceNotifications.h"
#include "basalt/init_basalt.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Basalt::DeviceBroadcast;

// Records every call as text in a shared journal, and runs an optional hook
// from inside onDeviceChange.
class Recorder final : public Basalt::DeviceNotificationListener {
public:
    Recorder(std::string name, std::vector<std::string>& journal) : name_(std::move(name)), journal_(journal) {}

    void onDeviceChange(bool removed) override
    {
        journal_.push_back(name_ + (removed ? ".device-" : ".device+"));
        if (hook) {
            auto run = std::move(hook);
            run();
        }
    }
    void onInterfaceChange(bool removed, const DeviceBroadcast& broadcast) override
    {
        journal_.push_back(name_ + (removed ? ".interface-" : ".interface+")
                           + std::string(broadcast.deviceName.begin(), broadcast.deviceName.end()));
    }
    void onVolumeChange(bool removed, char letter) override
    {
        journal_.push_back(name_ + (removed ? ".volume-" : ".volume+") + letter);
    }

    std::function<void()> hook;

private:
    std::string name_;
    std::vector<std::string>& journal_;
};

DeviceBroadcast interfaceBroadcast(std::u16string path)
{
    DeviceBroadcast broadcast;
    broadcast.type = DeviceBroadcast::DeviceInterface;
    broadcast.deviceName = std::move(path);
    return broadcast;
}

class DeviceNotifications : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Basalt::initDeviceNotifications()); }
    void TearDown() override
    {
        Basalt::setDeviceChangeWakeHandler(nullptr);
        Basalt::shutdownDeviceNotifications();
    }

    void add(Recorder& r) { Basalt::addDeviceNotificationListener(&r); }

    std::vector<std::string> journal;
    Recorder a{"a", journal};
    Recorder b{"b", journal};
    Recorder c{"c", journal};
};

using Journal = std::vector<std::string>;

TEST_F(DeviceNotifications, InterfaceEventsCallBothOperationsOnEachListenerInOrder)
{
    add(a);
    add(b);
    add(a);
    Basalt::dispatchDeviceChange(Basalt::DeviceRemoveComplete, interfaceBroadcast(u"usb#1"));
    EXPECT_EQ(journal, (Journal{"a.device-", "a.interface-usb#1", "b.device-", "b.interface-usb#1",
                                "a.device-", "a.interface-usb#1"}));
}

TEST_F(DeviceNotifications, ListenerRemovingItselfIsNotCalledAgainAndItsSuccessorIsServedNext)
{
    add(a);
    add(b);
    add(c);
    b.hook = [this] { Basalt::removeDeviceNotificationListener(&b); };
    Basalt::dispatchDeviceChange(Basalt::DeviceArrival, interfaceBroadcast(u"p"));
    EXPECT_EQ(journal, (Journal{"a.device+", "a.interface+p", "b.device+", "c.device+", "c.interface+p"}));
}

TEST_F(DeviceNotifications, LastListenerRemovingItselfEndsTheDispatch)
{
    add(a);
    add(b);
    b.hook = [this] { Basalt::removeDeviceNotificationListener(&b); };
    Basalt::dispatchDeviceChange(Basalt::DeviceArrival, interfaceBroadcast(u"p"));
    EXPECT_EQ(journal, (Journal{"a.device+", "a.interface+p", "b.device+"}));
}

TEST_F(DeviceNotifications, ListenerAddedDuringDispatchIsCalledForTheSameEvent)
{
    add(a);
    a.hook = [this] { add(c); };
    Basalt::dispatchDeviceChange(Basalt::DeviceArrival, interfaceBroadcast(u"p"));
    EXPECT_EQ(journal, (Journal{"a.device+", "a.interface+p", "c.device+", "c.interface+p"}));
}

TEST_F(DeviceNotifications, ListenerRemovingAnEarlierOneDoesNotSkipItsSuccessor)
{
    add(a);
    add(b);
    add(c);
    b.hook = [this] { Basalt::removeDeviceNotificationListener(&a); };
    Basalt::dispatchDeviceChange(Basalt::DeviceArrival, interfaceBroadcast(u"p"));
    // b moved to index 0, so it is not called again there; c is served next.
    EXPECT_EQ(journal, (Journal{"a.device+", "a.interface+p", "b.device+", "c.device+", "c.interface+p"}));
}

TEST_F(DeviceNotifications, VolumeEventsGoLetterByLetterToEveryListener)
{
    add(a);
    add(b);
    DeviceBroadcast volume;
    volume.type = DeviceBroadcast::Volume;
    volume.unitMask = 5;
    Basalt::dispatchDeviceChange(Basalt::DeviceArrival, volume);
    EXPECT_EQ(journal, (Journal{"a.volume+A", "b.volume+A", "a.volume+C", "b.volume+C"}));
}

TEST_F(DeviceNotifications, HighestVolumeBitIsServed)
{
    add(a);
    DeviceBroadcast volume;
    volume.type = DeviceBroadcast::Volume;
    volume.unitMask = 0x80000000u;
    Basalt::dispatchDeviceChange(Basalt::DeviceRemoveComplete, volume);
    EXPECT_EQ(journal, (Journal{std::string("a.volume-") + static_cast<char>('A' + 31)}));
}

TEST_F(DeviceNotifications, OtherRecordTypesOnlyReportADeviceChange)
{
    add(a);
    add(b);
    DeviceBroadcast other;
    other.type = 7;
    Basalt::dispatchDeviceChange(Basalt::DeviceArrival, other);
    EXPECT_EQ(journal, (Journal{"a.device+", "b.device+"}));
}

TEST_F(DeviceNotifications, OtherEventsReachNoListener)
{
    add(a);
    Basalt::dispatchDeviceChange(0x0018, interfaceBroadcast(u"p"));  // a configuration change
    Basalt::dispatchDeviceChange(0x8001, interfaceBroadcast(u"p"));  // a query to remove
    EXPECT_TRUE(journal.empty());
}

TEST_F(DeviceNotifications, ListenersAreIgnoredWhileNotRunning)
{
    Basalt::shutdownDeviceNotifications();
    add(a);
    ASSERT_TRUE(Basalt::initDeviceNotifications());
    Basalt::dispatchDeviceChange(Basalt::DeviceArrival, interfaceBroadcast(u"p"));
    EXPECT_TRUE(journal.empty());
}

TEST_F(DeviceNotifications, PostedEventsAreDeliveredOnTheServingThreadOnly)
{
    add(a);
    int wakes = 0;
    Basalt::setDeviceChangeWakeHandler([&] { ++wakes; });
    std::thread source([] {
        Basalt::postDeviceChange(Basalt::DeviceArrival, interfaceBroadcast(u"one"));
        Basalt::postDeviceChange(Basalt::DeviceRemoveComplete, interfaceBroadcast(u"two"));
        EXPECT_EQ(Basalt::deliverDeviceChanges(), 0u);
    });
    source.join();
    EXPECT_EQ(wakes, 2);
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(Basalt::deliverDeviceChanges(), 2u);
    EXPECT_EQ(journal, (Journal{"a.device+", "a.interface+one", "a.device-", "a.interface-two"}));
}

TEST(DeviceNotificationWindowName, CarriesTheApplicationCode)
{
    EXPECT_EQ(Basalt::deviceNotificationWindowName(Basalt::fourCharCode("VTVS")),
              "VX-VTVS-DeviceNotificationWindow");
    EXPECT_EQ(Basalt::deviceNotificationWindowName(0x00545653), "VX-?TVS-DeviceNotificationWindow");
    EXPECT_EQ(Basalt::deviceNotificationWindowName(0x561F2056), "VX-V? V-DeviceNotificationWindow");
    EXPECT_EQ(Basalt::deviceNotificationWindowName(Basalt::fourCharCode("????")),
              "VX-" "????" "-DeviceNotificationWindow");
}

} // namespace
