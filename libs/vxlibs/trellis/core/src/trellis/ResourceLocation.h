#pragma once

#include <filesystem>

namespace Trellis {

// Where named resources are read from: the program's own resources, or the
// files of a "skin" folder (pictures/, stylesheets/, fonts/ beneath it).
struct ResourceLocation {
    enum eMode { Undecided = 0, Program = 1, Folder = 2 };

    eMode mode = Undecided;
    std::filesystem::path base;  // the skin folder, in folder mode
};

// The places searched for a "skin" folder, in order.
struct SkinSearchPlaces {
    std::filesystem::path programDirectory;
    std::filesystem::path workingDirectory;

    // The directory of the running program file and the current directory.
    static SkinSearchPlaces ofThisProcess();
};

// Without the skin-folder switch, the program's resources; otherwise the
// first "skin" folder found in the search places, else the program's resources.
ResourceLocation decideResourceLocation(bool useSkinFolder, const SkinSearchPlaces& places);

} // namespace Trellis
