#include "DocumentationUrl.h"

#include <system_error>

std::string documentationUrl(std::string_view configured, const std::filesystem::path& programDirectory)
{
    if (!configured.empty()) {
        return std::string(configured);
    }
    std::error_code error;
    const auto beside = std::filesystem::weakly_canonical(programDirectory / TVS_README_FROM_PROGRAM, error);
    if (!error && std::filesystem::is_regular_file(beside, error)) {
        return "file://" + beside.string();
    }
    return "file://" TVS_INSTALLED_README;
}
