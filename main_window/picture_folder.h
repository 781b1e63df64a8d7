#pragma once

#include <filesystem>

namespace sessiya {

// Where the scene pictures lie: beside the program, as in the build tree, or else in the
// data folder an installation puts them in (`data_folder`, relative to the program).
std::filesystem::path pictureFolder(const std::filesystem::path& program_dir,
                                    const std::filesystem::path& data_folder);

}  // namespace sessiya
