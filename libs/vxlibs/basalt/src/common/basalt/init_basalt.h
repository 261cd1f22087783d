#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Basalt {

// The interface version words this build of Basalt accepts.
constexpr std::uint32_t InterfaceVersion = 0x02030000;

// A four-character code as a 32-bit value, first character most significant.
constexpr std::uint32_t fourCharCode(const char (&code)[5])
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) << 24
         | static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 16
         | static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 8
         | static_cast<std::uint32_t>(static_cast<unsigned char>(code[3]));
}

// Whether a caller built against interface `required` may use a library:
// `first` must equal `required`; `second` must have 1 in its low 16 bits and
// lie in 0x000F0000..0x000FFFFF. Casement and Trellis check their own words
// with the same rule.
bool interfaceVersionMatches(std::uint32_t required, std::uint32_t first, std::uint32_t second);

// Asserts that the caller was built for this Basalt.
void checkInterfaceVersion(std::uint32_t first, std::uint32_t second);

// Initialises the library for an application: checks the version words,
// records the product code and application name, allocates the thread-storage
// slot and starts the device notifications. Returns false, with everything
// undone, when a step fails.
bool initBasalt(std::uint32_t productCode, std::string_view applicationName,
                std::uint32_t first, std::uint32_t second);

// Undoes initBasalt; does nothing when the library is not initialised.
void shutdownBasalt();

bool isBasaltInitialized();

// The application name, caption of the library's message boxes ("" before
// initialisation).
const std::string& applicationName();

// The four-character product code ("????" before initialisation).
std::uint32_t applicationCode();

} // namespace Basalt
