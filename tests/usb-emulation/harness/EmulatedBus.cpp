#include "EmulatedBus.h"

#include <fmt/format.h>

#include <cstdio>
#include <filesystem>
#include <sys/stat.h>

namespace UsbEmulation {

namespace {

// A full-speed root hub with its single configuration.
const std::vector<std::uint8_t> RootHubDescriptors = {
    0x12, 0x01, 0x00, 0x02, 0x09, 0x00, 0x01, 0x40, 0x6b, 0x1d, 0x01, 0x00, 0x06, 0x06, 0x03, 0x02, 0x01, 0x01,
    0x09, 0x02, 0x19, 0x00, 0x01, 0x01, 0x00, 0xe0, 0x00,
    0x09, 0x04, 0x00, 0x00, 0x01, 0x09, 0x00, 0x00, 0x00,
    0x07, 0x05, 0x81, 0x03, 0x02, 0x00, 0xff,
};

std::string nodePath(int number)
{
    return fmt::format("/dev/bus/usb/001/{:03}", number);
}

} // namespace

EmulatedBus::EmulatedBus(std::shared_ptr<Conduit2::Sim::UsbDeviceModel> model, bool unopenable)
    : model_(std::move(model)), unopenable_(unopenable), testbed_(umockdev_testbed_new())
{
    shareWithEveryUser();
    makeNodeFile(nodePath(1));
    rootHub_ = addDevice("usb1", "", 1, {RootHubDescriptors, 1});
}

EmulatedBus::~EmulatedBus()
{
    g_object_unref(testbed_);
    for (const Node& node : nodes_) {
        g_object_unref(node.handler);
    }
}

// The handler is attached, and the descriptors and the node written, before
// the device is added: adding it announces it, and a client may open it at once.
void EmulatedBus::plug()
{
    const auto device = enumerateModel(*model_);
    if (!device) {
        std::fprintf(stderr, "usb-emulation: the device does not answer its descriptors\n");
        return;
    }
    std::lock_guard guard(lock_);
    if (!device_.empty()) {
        return;
    }
    const int number = nextNumber_++;
    const std::string node = nodePath(number);
    UMockdevIoctlBase* handler = umockdev_ioctl_base_new();
    GError* error = nullptr;
    if (!umockdev_testbed_attach_ioctl(testbed_, node.c_str(), handler, &error)) {
        std::fprintf(stderr, "usb-emulation: cannot serve %s: %s\n", node.c_str(), error->message);
        g_error_free(error);
        g_object_unref(handler);
        return;
    }
    shareWithEveryUser();
    makeNodeFile(node);
    // The node keeps the FIFO it opened here, whatever its permissions become.
    nodes_.push_back({handler, std::make_shared<UsbfsNode>(model_, rootDir() + node)});
    nodes_.back().node->serve(handler);
    if (unopenable_) {
        ::chmod((rootDir() + node).c_str(), 0);
    }
    device_ = addDevice("1-1", rootHub_, number, *device);
}

// The testbed does not announce a removal by itself.
void EmulatedBus::unplug()
{
    std::lock_guard guard(lock_);
    if (device_.empty()) {
        return;
    }
    nodes_.back().node->disconnect();
    umockdev_testbed_uevent(testbed_, device_.c_str(), "remove");
    umockdev_testbed_remove_device(testbed_, device_.c_str());
    device_.clear();
}

bool EmulatedBus::plugged() const
{
    std::lock_guard guard(lock_);
    return !device_.empty();
}

std::size_t EmulatedBus::controlTransfers() const
{
    std::lock_guard guard(lock_);
    std::size_t total = 0;
    for (const Node& node : nodes_) {
        total += node.node->controlTransfers();
    }
    return total;
}

// The descriptors go in before the device is added, which announces it.
std::string EmulatedBus::addDevice(const std::string& name, const std::string& parent, int number,
                                   const EnumeratedDevice& device)
{
    const std::string path = (parent.empty() ? std::string("/sys/devices") : parent) + "/" + name;
    std::filesystem::create_directories(rootDir() + path);
    std::vector<std::uint8_t> descriptors = device.descriptors;
    umockdev_testbed_set_attribute_binary(testbed_, path.c_str(), "descriptors", descriptors.data(),
                                          static_cast<gint>(descriptors.size()));
    const std::string numberText = fmt::format("{}\n", number);
    const std::string configuration = fmt::format("{}\n", device.configurationValue);
    const std::string devName = nodePath(number);
    const std::string devNum = fmt::format("{:03}", number);
    // The identity as the kernel shows it, which udev rules match.
    const auto word = [&descriptors](std::size_t at) {
        return fmt::format("{:04x}\n", descriptors[at] | descriptors[at + 1] << 8);
    };
    const std::string vendor = word(8), product = word(10), release = word(12);
    const gchar* attributes[] = {"busnum", "1\n", "devnum", numberText.c_str(), "speed", "12\n",
                                 "bConfigurationValue", configuration.c_str(), "idVendor", vendor.c_str(),
                                 "idProduct", product.c_str(), "bcdDevice", release.c_str(), nullptr};
    const gchar* properties[] = {"DEVTYPE", "usb_device", "DEVNAME", devName.c_str(), "BUSNUM", "001",
                                 "DEVNUM", devNum.c_str(), nullptr};
    gchar* added = umockdev_testbed_add_devicev(testbed_, "usb", name.c_str(), parent.empty() ? nullptr : parent.c_str(),
                                                const_cast<gchar**>(attributes), const_cast<gchar**>(properties));
    std::string result = added ? added : "";
    g_free(added);
    return result;
}

std::string EmulatedBus::rootDir() const
{
    gchar* root = umockdev_testbed_get_root_dir(testbed_);
    std::string path = root;
    g_free(root);
    return path;
}

// A command run as another user must meet only the device nodes' own
// permissions: the testbed lets it make the sockets of its udev monitors
// there (sticky, as /tmp), and the sockets that carry the nodes' requests
// let it connect. /sys and /dev stay readable by all, as they are.
void EmulatedBus::shareWithEveryUser() const
{
    const std::string root = rootDir();
    ::chmod(root.c_str(), 01777);
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root + "/ioctl", error)) {
        if (entry.is_socket(error)) {
            ::chmod(entry.path().c_str(), 0777);
        }
    }
}

// A FIFO, so that the clients' poll() can block (see UsbfsNode).
void EmulatedBus::makeNodeFile(const std::string& node) const
{
    const std::filesystem::path file = rootDir() + node;
    std::filesystem::create_directories(file.parent_path());
    std::filesystem::remove(file);
    ::mkfifo(file.c_str(), 0666);
}

} // namespace UsbEmulation
