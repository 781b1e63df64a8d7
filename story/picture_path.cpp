#include "picture_path.h"

namespace sessiya {

std::filesystem::path picturePath(const std::filesystem::path& program_dir,
                                  std::string_view reference) {
  if (reference.starts_with('\\')) reference.remove_prefix(1);
  return program_dir / std::filesystem::path(std::u8string(reference.begin(), reference.end()));
}

}  // namespace sessiya
