#include "conduit2/IdentityReaders.h"

#include "conduit2/DeviceIoControl.h"
#include "conduit2/GuidText.h"
#include "conduit2/OsErrors.h"
#include "conduit2/UsbDescriptors.h"
#include "conduit2/UsbDriver.h"

#include <array>

namespace Conduit2 {
namespace {

constexpr std::uint8_t DeviceDescriptorType = 1;
constexpr std::uint8_t StringDescriptorType = 3;
constexpr std::size_t StringBufferSize = 258;
constexpr std::size_t HidStringBufferSize = 1024;

// The value of the four hexadecimal characters after a five-character
// field such as "#vid_", or 0 when the field is missing or too close to the
// end. Digits above '9' count as lower-case letters; a zero ends the number.
std::uint16_t pathField(std::u16string_view path, std::u16string_view field)
{
    const auto at = path.find(field);
    if (at == std::u16string_view::npos || at + 8 >= path.size()) {
        return 0;
    }
    int value = 0;
    for (std::size_t i = at + 5; i <= at + 8; ++i) {
        const char16_t c = path[i];
        if (c == 0) {
            break;
        }
        value = value * 16 + (c > u'9' ? c - u'a' + 10 : c - u'0');
    }
    return static_cast<std::uint16_t>(value);
}

bool readHidString(DriverHandle& handle, std::uint32_t code, std::string& text)
{
    std::array<std::uint8_t, HidStringBufferSize> buffer{};
    if (issueDriverRequest(handle, code, {}, buffer, nullptr) != OsError::Success) {
        text.clear();
        return false;
    }
    std::u16string units;
    for (std::size_t i = 0; i + 1 < buffer.size(); i += 2) {
        const auto unit = static_cast<char16_t>(buffer[i] | buffer[i + 1] << 8);
        if (unit == 0) {
            break;
        }
        units.push_back(unit);
    }
    text = utf16ToUtf8(units);
    return true;
}

template <typename Reader>
bool withOpenPath(std::u16string_view path, Reader reader)
{
    std::unique_ptr<DriverHandle> handle;
    if (UsbDriver::instance().open(path, handle) != OsError::Success) {
        return false;
    }
    return reader(handle.get());
}

} // namespace

bool resolveInterfaceGuid(const USBDeviceFilter& filter, Basalt::Guid& guid)
{
    const std::string_view text = filter.interfaceGuid;
    const std::pair<const char*, const Basalt::Guid*> magic[] = {
        {UsbGuidMagic, &UsbDeviceInterfaceGuid}, {HidGuidMagic, &HidInterfaceGuid},
        {VxDfuGuidMagic, &VxDfuInterfaceGuid},   {VxIapGuidMagic, &VxIapInterfaceGuid},
        {VxBdGuidMagic, &VxBdInterfaceGuid},
    };
    for (const auto& [word, value] : magic) {
        if (text == word) {
            guid = *value;
            return true;
        }
    }
    const auto parsed = parseGuid(std::u16string(text.begin(), text.end()));
    if (parsed) {
        guid = *parsed;
    }
    return parsed.has_value();
}

bool readIdentity(std::u16string_view path, const USBDeviceFilter& filter, USBDeviceInfo& info, bool withStrings)
{
    switch (filter.kind) {
    case GenericUSB:
        if (withOpenPath(path, [&](DriverHandle* h) { return readDeviceDescriptor(h, info, withStrings); })) {
            return true;
        }
        parseDevicePath(path, info);
        return !withStrings;
    case AudioDriver:
    case VendorDriver:
        return withOpenPath(path, [&](DriverHandle* h) { return readDeviceDescriptor(h, info, withStrings); });
    case HID:
        return withOpenPath(path, [&](DriverHandle* h) { return readHidIdentity(h, info, withStrings); });
    default:
        return false;
    }
}

bool parseDevicePath(std::u16string_view path, USBDeviceInfo& info)
{
    info.vendorId = pathField(path, u"#vid_");
    info.productId = pathField(path, u"&pid_");
    info.bcdDevice = pathField(path, u"&rev_");
    return true;
}

bool readDeviceDescriptor(DriverHandle* handle, USBDeviceInfo& info, bool withStrings)
{
    if (!handle) {
        return false;
    }
    const auto request = buildDescriptorRequest(DeviceDescriptorType, 0, 0);
    std::array<std::uint8_t, 18> descriptor{};
    std::uint32_t received = 0;
    if (issueDriverRequest(*handle, DriverRequest::Descriptor, request, descriptor, &received) != OsError::Success
        || received < descriptor.size()) {
        return false;
    }
    info.vendorId = readLe16(&descriptor[8]);
    info.productId = readLe16(&descriptor[10]);
    info.bcdDevice = readLe16(&descriptor[12]);
    if (withStrings) {
        const std::pair<std::uint8_t, std::string*> strings[] = {
            {descriptor[15], &info.product}, {descriptor[14], &info.manufacturer}, {descriptor[16], &info.serialNumber}};
        for (const auto& [index, text] : strings) {
            if (index == 0 || !readStringDescriptor(handle, index, *text)) {
                text->clear();
            }
        }
    }
    return true;
}

bool readStringDescriptor(DriverHandle* handle, std::uint8_t index, std::string& text)
{
    text.clear();
    if (!handle) {
        return false;
    }
    const auto request = buildDescriptorRequest(StringDescriptorType, index, 0);
    std::array<std::uint8_t, StringBufferSize> buffer{};
    std::uint32_t received = 0;
    if (issueDriverRequest(*handle, DriverRequest::Descriptor, request, buffer, &received) != OsError::Success
        || received < 4) {
        return false;
    }
    text = decodeStringDescriptor(buffer);
    return true;
}

bool readHidIdentity(DriverHandle* handle, USBDeviceInfo& info, bool withStrings)
{
    if (!handle) {
        return false;
    }
    std::array<std::uint8_t, 12> attributes{};
    std::uint32_t received = 0;
    if (issueDriverRequest(*handle, DriverRequest::HidAttributes, {}, attributes, &received) != OsError::Success
        || received < 10) {
        return false;
    }
    info.vendorId = readLe16(&attributes[4]);
    info.productId = readLe16(&attributes[6]);
    info.bcdDevice = readLe16(&attributes[8]);
    if (withStrings) {
        readHidString(*handle, DriverRequest::HidManufacturerString, info.manufacturer);
        readHidString(*handle, DriverRequest::HidProductString, info.product);
        readHidString(*handle, DriverRequest::HidSerialNumberString, info.serialNumber);
    }
    return true;
}

} // namespace Conduit2
