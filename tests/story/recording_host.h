#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "scene_catalogue.h"
#include "story.h"
#include "story_walk.h"

namespace sessiya::testing {

// Stands in for the window: remembers every picture load and dialog request.
class RecordingHost : public StoryHost {
 public:
  void loadPicture(std::string_view reference) override { pictures.emplace_back(reference); }
  void showDialog() override { ++dialogs_shown; }

  std::vector<std::string> pictures;
  int dialogs_shown = 0;
};

inline void pressAll(Story& story, std::initializer_list<int> options) {
  for (int option : options) story.press(option);
}

inline bool allOptionsHidden(const ScreenState& screen) {
  for (int i = 0; i < kOptionCount; ++i) {
    if (screen.option_label_visible[i] || screen.button_visible[i]) return false;
  }
  return true;
}

inline bool allOptionsVisible(const ScreenState& screen) {
  for (int i = 0; i < kOptionCount; ++i) {
    if (!screen.option_label_visible[i] || !screen.button_visible[i]) return false;
  }
  return true;
}

}  // namespace sessiya::testing
