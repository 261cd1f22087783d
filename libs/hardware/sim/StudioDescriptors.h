#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Conduit2::Sim {

constexpr std::uint16_t TrovixVendorId = 0x17CC;
constexpr std::uint16_t StudioRunTimeProductId = 0x1300;
constexpr std::uint16_t StudioDfuProductId = 0x1302;

constexpr std::uint16_t LanguageEnglishUs = 0x0409;

// What the descriptors of one enumeration announce.
struct StudioIdentity {
    bool dfuMode = false;
    std::uint16_t bcdDevice = 0;
    std::uint8_t dfuAttributes = 0;
    std::uint16_t detachTimeOutMs = 0;
    std::uint16_t transferSize = 0;
    std::string serialNumber;
};

struct DescriptorSet {
    std::vector<std::uint8_t> device;
    // The configuration descriptor followed by its interface and functional descriptors.
    std::vector<std::uint8_t> configuration;
    // By string index; index 0 lists the supported languages.
    std::vector<std::vector<std::uint8_t>> strings;
    std::uint8_t interfaceCount = 0;
    // The interface that takes the DFU class requests.
    std::uint8_t dfuInterface = 0;
};

DescriptorSet studioDescriptors(const StudioIdentity& identity);

} // namespace Conduit2::Sim
