#include <conduit2/DriverHandle.h>
#include <conduit2/DriverRecords.h>
#include <conduit2/OsErrors.h>
#include <sim/SimulatedPort.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <thread>

namespace {

using namespace Conduit2;
using namespace std::chrono_literals;

// Answers every request a moment later, so on the process clock's timer
// thread, with wLength copies of wValue's low byte: an answer tells which
// request it belongs to.
class EchoDevice final : public Sim::UsbDeviceModel {
public:
    void attach(Sim::DevicePort*) override {}
    void busReset() override {}
    Sim::ControlReply control(const Sim::SetupPacket& setup, std::span<const std::uint8_t>) override
    {
        auto reply = Sim::ControlReply::ack(std::vector(setup.wLength, static_cast<std::uint8_t>(setup.wValue)));
        reply.delay = 1us;
        return reply;
    }
};

// Waits a little longer on each pass, up to about the time the timer thread
// takes to answer, so that cancels land before, during and after completions.
// Yields meanwhile, so that the timer thread runs even on a busy machine.
void waitBeforeCancel(int pass)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(pass % 40);
    while (std::chrono::steady_clock::now() < until) {
        std::this_thread::yield();
    }
}

// The requesting thread cancels each request while the device answers on the
// timer thread. Once cancel() has returned, the request record and the answer
// buffer belong to the next request: the cancelled one must not write them
// (ThreadSanitizer sees the plain writes), and its answer must never be taken
// for the next request's.
TEST(TransferCancelRace, CancelledRequestNeitherWritesTheRecordNorAnswersTheNext)
{
    DriverHandle handle({}, std::make_unique<Sim::SimulatedPort>(std::make_shared<EchoDevice>(), UsbBusDevice{},
                                                                 [] { return true; }));
    DriverIoRecord record;
    std::array<std::uint8_t, 2> answer{};
    for (int pass = 0; pass < 3000; ++pass) {
        const auto tag = static_cast<std::uint8_t>(1 + pass % 200);
        const auto length = static_cast<std::uint16_t>(1 + pass % 2);
        answer.fill(0);
        const auto request = buildControlRecord({0xC0, 1, tag, 0, length});
        const std::uint32_t started = handle.ioControl(DriverRequest::ControlTransfer, request, answer, record);
        ASSERT_TRUE(started == OsError::Success || started == OsError::IoPending) << started;
        waitBeforeCancel(pass);
        ASSERT_TRUE(handle.cancel(record));
        // Read before the event: seeing it set would order these reads after
        // the completion's writes, and hide a completion that ran unordered.
        const std::uint8_t answered = answer[0];
        const std::size_t bytes = record.bytes;
        if (record.event.isSet()) {
            ASSERT_EQ(record.status, OsError::Success) << "pass " << pass;
            ASSERT_EQ(bytes, length) << "pass " << pass;
            ASSERT_EQ(answered, tag) << "pass " << pass;
        } else {
            ASSERT_EQ(answered, 0) << "pass " << pass;
        }
    }
}

} // namespace
