#pragma once

#include "basalt/MemoryStorage.h"
#include "basalt/ResourceModule.h"

namespace Basalt {

// A read-only storage over a resource of a program's resource table.
class ResourceStorage final : public IStorage {
public:
    // Opens the resource; on a miss writes "cannot resolve resource: <name>"
    // (for a numeric id "<type> <id>") and a line end to standard error and
    // returns false.
    bool openResource(const ResourceModule& module, const ResourceName& name,
                      std::string_view type);
    void close() { memory_.close(); }

    bool isOpen() const override { return memory_.isOpen(); }
    std::size_t read(void* buffer, std::size_t count) override { return memory_.read(buffer, count); }
    std::size_t write(const void* buffer, std::size_t count) override { return memory_.write(buffer, count); }
    std::int64_t tell() const override { return memory_.tell(); }
    std::int64_t size() const override { return memory_.size(); }
    bool seek64(std::int64_t offset, eOrigin origin) override { return memory_.seek64(offset, origin); }

private:
    MemoryStorage memory_;
};

} // namespace Basalt
