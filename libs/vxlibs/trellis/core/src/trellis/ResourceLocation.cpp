#include "trellis/ResourceLocation.h"

#include <system_error>

namespace Trellis {

SkinSearchPlaces SkinSearchPlaces::ofThisProcess()
{
    std::error_code error;
    SkinSearchPlaces places;
    places.programDirectory = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    places.workingDirectory = std::filesystem::current_path(error);
    return places;
}

ResourceLocation decideResourceLocation(bool useSkinFolder, const SkinSearchPlaces& places)
{
    if (useSkinFolder) {
        for (const auto& directory : {places.programDirectory, places.workingDirectory}) {
            std::error_code error;
            const auto skin = directory / "skin";
            if (!directory.empty() && std::filesystem::is_directory(skin, error)) {
                return {ResourceLocation::Folder, skin};
            }
        }
    }
    return {ResourceLocation::Program, {}};
}

} // namespace Trellis
