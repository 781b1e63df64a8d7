#include "picture_folder.h"

#include "picture_path.h"
#include "screen_state.h"

namespace sessiya {

std::filesystem::path pictureFolder(const std::filesystem::path& program_dir,
                                    const std::filesystem::path& data_folder) {
  std::error_code no_throw;
  if (std::filesystem::exists(picturePath(program_dir, kDefaultPicture), no_throw)) {
    return program_dir;
  }
  const std::filesystem::path installed = (program_dir / data_folder).lexically_normal();
  if (std::filesystem::exists(picturePath(installed, kDefaultPicture), no_throw)) {
    return installed;
  }
  return program_dir;  // neither: every picture is reported missing where it is looked for
}

}  // namespace sessiya
