#pragma once

#include <string_view>

namespace sessiya {

// What the story asks of the window it plays in.
class StoryHost {
 public:
  // Read the picture file named by `reference` anew and show it in Picture1.
  virtual void loadPicture(std::string_view reference) = 0;
  // Show the answer confirmation dialog without waiting for it.
  virtual void showDialog() = 0;

 protected:
  ~StoryHost() = default;
};

}  // namespace sessiya
