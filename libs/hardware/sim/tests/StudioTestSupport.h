#pragma once

#include <sim/StudioDescriptors.h>
#include <sim/TrovixStudioModel.h>

#include <basalt/VirtualClock.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace Conduit2::Sim::Testing {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Events = std::vector<std::string>;

// Records what the device does on the bus.
class RecordingPort final : public DevicePort {
public:
    void plug() override { events.push_back("plug"); }
    void unplug() override { events.push_back("unplug"); }

    Events events;
};

inline std::uint16_t le16(const Bytes& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes.at(at) | bytes.at(at + 1) << 8);
}

inline Bytes pattern(std::size_t size, std::uint8_t seed)
{
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(seed + i * 7 + i / 251);
    }
    return bytes;
}

// At most `size` bytes of `bytes` from `offset`.
inline Bytes slice(const Bytes& bytes, std::size_t offset, std::size_t size)
{
    const auto begin = bytes.begin() + static_cast<long>(offset);
    return Bytes(begin, begin + static_cast<long>(std::min(size, bytes.size() - offset)));
}

// A device whose boot loader expects two recognisable images.
inline TrovixStudioModel::Config withFirmware(TrovixStudioModel::Config config = {})
{
    config.expectedImageA = pattern(StudioImageARoom, 1);
    config.expectedImageB = pattern(StudioImageBRoom, 2);
    return config;
}

struct DfuStatusAnswer {
    std::uint8_t status = 0xFF;
    std::uint32_t pollTimeoutMs = 0;
    eDfuState state = eDfuState::UploadIdle;
};

// A host talking to one model on a virtual clock.
class StudioTest : public ::testing::Test {
protected:
    void start(TrovixStudioModel::Config config = {})
    {
        model = std::make_unique<TrovixStudioModel>(std::move(config));
        model->attach(&port);
        port.events.clear();
    }

    ControlReply in(std::uint8_t type, std::uint8_t request, std::uint16_t value, std::uint16_t index,
                    std::uint16_t length)
    {
        return model->control({type, request, value, index, length}, {});
    }

    ControlReply::eKind out(std::uint8_t type, std::uint8_t request, std::uint16_t value, std::uint16_t index,
                            const Bytes& data = {})
    {
        return model->control({type, request, value, index, static_cast<std::uint16_t>(data.size())}, data).kind;
    }

    std::uint16_t dfuInterface() const { return model->mode() == eStudioMode::Dfu ? 0 : 1; }

    ControlReply::eKind dfuOut(std::uint8_t request, std::uint16_t value = 0, const Bytes& data = {})
    {
        return out(0x21, request, value, dfuInterface(), data);
    }

    Bytes descriptor(std::uint16_t value, std::uint16_t language = 0, std::uint16_t length = 255)
    {
        return in(0x80, 6, value, language, length).data;
    }

    // A failed request reads as state dfuUPLOAD-IDLE, which the device never enters.
    DfuStatusAnswer getStatus()
    {
        const auto d = in(0xA1, DfuGetStatus, 0, dfuInterface(), 6).data;
        if (d.size() != 6) {
            return {};
        }
        return {d[0], d[1] | d[2] << 8 | static_cast<std::uint32_t>(d[3]) << 16, static_cast<eDfuState>(d[4])};
    }

    eDfuState getState()
    {
        const auto d = in(0xA1, DfuGetState, 0, dfuInterface(), 1).data;
        return d.size() == 1 ? static_cast<eDfuState>(d[0]) : eDfuState::UploadIdle;
    }

    // One DFU block, polled until dfuDNLOAD-IDLE; returns the dfuDNBUSY answers.
    int sendBlock(std::uint16_t block, const Bytes& data)
    {
        EXPECT_EQ(dfuOut(DfuDnload, block, data), ControlReply::Ack) << "block " << block;
        int busy = 0;
        for (auto answer = getStatus(); answer.state != eDfuState::DnloadIdle; answer = getStatus(), ++busy) {
            if (answer.state != eDfuState::DnBusy || busy > 100) {
                ADD_FAILURE() << "block " << block << " ends in state " << int(answer.state);
                break;
            }
        }
        return busy;
    }

    // Sends `image` as the updater does: blocks of `transferSize`, then the
    // zero-length closing block numbered with the count of full blocks.
    int downloadImage(const Bytes& image, std::size_t transferSize = 4096)
    {
        int busy = 0;
        for (std::size_t offset = 0; offset < image.size(); offset += transferSize) {
            busy += sendBlock(static_cast<std::uint16_t>(offset / transferSize), slice(image, offset, transferSize));
        }
        EXPECT_EQ(dfuOut(DfuDnload, static_cast<std::uint16_t>(image.size() / transferSize)), ControlReply::Ack);
        return busy;
    }

    // ImageB in 256-byte chunks, ended by a zero-length transfer.
    bool writeImageB(const Bytes& image)
    {
        std::uint16_t chunk = 0;
        for (std::size_t offset = 0; offset < image.size(); offset += 256, ++chunk) {
            if (out(0x41, 0x1D, chunk, 0, slice(image, offset, 256)) != ControlReply::Ack) {
                return false;
            }
        }
        return out(0x41, 0x1D, chunk, 0) == ControlReply::Ack;
    }

    // Lets a tolerant device finish manifestation and go back to dfuIDLE.
    void manifest()
    {
        EXPECT_EQ(getStatus().state, eDfuState::Manifest);
        clock.advance(1s);
        EXPECT_EQ(getStatus().state, eDfuState::DfuIdle);
    }

    Basalt::VirtualClock clock;
    Basalt::ScopedClock scopedClock{clock};
    RecordingPort port;
    std::unique_ptr<TrovixStudioModel> model;
};

} // namespace Conduit2::Sim::Testing
