#pragma once

#include <filesystem>
#include <string_view>

namespace sessiya {

// The file a picture reference such as "\br_196.jpg" names: the name after the
// leading backslash, in the program's directory.
std::filesystem::path picturePath(const std::filesystem::path& program_dir,
                                  std::string_view reference);

}  // namespace sessiya
