// Runs inside the harness (default scenario) and talks usbfs to the emulated
// device node directly, the way libusb does, to pin down what the emulation
// answers where libusb's own behaviour depends on it. The tests share one
// device; the last one sends it away into DFU mode.

#include <gtest/gtest.h>

#include <linux/usbdevice_fs.h>

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr const char* NodePath = "/dev/bus/usb/001/002";

struct ControlUrb {
    std::array<std::uint8_t, 8 + 64> buffer{};
    std::unique_ptr<usbdevfs_urb> urb = std::make_unique<usbdevfs_urb>();

    ControlUrb(std::uint8_t requestType, std::uint8_t request, std::uint16_t value, std::uint16_t index,
               std::uint16_t length)
    {
        buffer = {requestType, request, static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                  static_cast<std::uint8_t>(index), static_cast<std::uint8_t>(index >> 8),
                  static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8)};
        urb->type = USBDEVFS_URB_TYPE_CONTROL;
        urb->buffer = buffer.data();
        urb->buffer_length = 8 + length;
    }
};

class UsbfsClient : public testing::Test {
protected:
    void SetUp() override { ASSERT_GE(fd_, 0) << "run this under usb-emulation-harness"; }
    void TearDown() override { ::close(fd_); }

    bool reapable(int timeoutMs) const
    {
        pollfd watch{fd_, POLLOUT, 0};
        return ::poll(&watch, 1, timeoutMs) == 1 && (watch.revents & POLLOUT);
    }
    usbdevfs_urb* reap() const
    {
        void* urb = nullptr;
        return ::ioctl(fd_, USBDEVFS_REAPURBNDELAY, &urb) == 0 ? static_cast<usbdevfs_urb*>(urb) : nullptr;
    }

    int fd_ = ::open(NodePath, O_RDWR | O_CLOEXEC);
};

TEST_F(UsbfsClient, CompletesAControlUrbForReapingAndSignalsItOnlyThen)
{
    ControlUrb get(0x80, 6, 0x0100, 0, 18);
    EXPECT_FALSE(reapable(0)) << "nothing submitted, so poll() must block";
    ASSERT_EQ(::ioctl(fd_, USBDEVFS_SUBMITURB, get.urb.get()), 0);
    ASSERT_TRUE(reapable(5000));
    ASSERT_EQ(reap(), get.urb.get());
    EXPECT_EQ(get.urb->status, 0);
    EXPECT_EQ(get.urb->actual_length, 18);
    EXPECT_EQ(get.buffer[8], 18);
    EXPECT_EQ(get.buffer[8 + 1], 1);
    EXPECT_FALSE(reap());
    EXPECT_EQ(errno, EAGAIN);
    EXPECT_FALSE(reapable(0));
}

TEST_F(UsbfsClient, ReportsAStallAndRefusesToDiscardACompletedUrb)
{
    ControlUrb unknown(0xC0, 0x7E, 0, 0, 4);
    ASSERT_EQ(::ioctl(fd_, USBDEVFS_SUBMITURB, unknown.urb.get()), 0);
    ASSERT_TRUE(reapable(5000));
    EXPECT_EQ(::ioctl(fd_, USBDEVFS_DISCARDURB, unknown.urb.get()), -1);
    EXPECT_EQ(errno, EINVAL);
    ASSERT_EQ(reap(), unknown.urb.get());
    EXPECT_EQ(unknown.urb->status, -EPIPE);
    EXPECT_EQ(unknown.urb->actual_length, 0);
}

// DFU_DETACH to the run-time DFU interface: the device leaves the bus.
TEST_F(UsbfsClient, AnswersEnodevOnceTheDeviceHasLeft)
{
    ControlUrb detach(0x21, 0, 1000, 1, 0);
    ASSERT_EQ(::ioctl(fd_, USBDEVFS_SUBMITURB, detach.urb.get()), 0);
    ASSERT_TRUE(reapable(5000));
    ASSERT_EQ(reap(), detach.urb.get());
    ASSERT_EQ(detach.urb->status, 0);
    ControlUrb get(0x80, 6, 0x0100, 0, 18);
    for (int attempt = 0; attempt < 500 && ::ioctl(fd_, USBDEVFS_SUBMITURB, get.urb.get()) == 0; ++attempt) {
        ASSERT_TRUE(reapable(5000));
        ASSERT_EQ(reap(), get.urb.get());
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(errno, ENODEV);
    EXPECT_FALSE(reap());
    EXPECT_EQ(errno, ENODEV);
}

} // namespace
