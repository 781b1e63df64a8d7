#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace sessiya {

inline constexpr int kOptionCount = 4;
inline constexpr int kDefaultPictureHeight = 3735;  // twips
inline constexpr int kTallPictureHeight = 5235;     // twips
inline constexpr std::string_view kDefaultPicture = "\\br_196.jpg";

// Everything the story reads and writes in the main window.
struct ScreenState {
  std::array<std::string, 6> captions;                  // Label1 … Label6
  std::array<bool, kOptionCount> option_label_visible;  // Label3 … Label6
  std::array<bool, kOptionCount> button_visible;        // Command1 … Command4
  std::string picture;  // picture reference; empty while the start picture shows
  int picture_height = kDefaultPictureHeight;

  const std::string& key() const { return captions[0]; }
  const std::string& narrative() const { return captions[1]; }
  // Text beside Command n (1 … 4): Label3 … Label6.
  const std::string& optionText(int option) const { return captions[option + 1]; }

  bool operator==(const ScreenState&) const = default;
};

}  // namespace sessiya
