#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sessiya {

enum class SceneId : std::uint8_t {
  S01 = 1,
  S02,
  S03,
  S04,
  S05,
  S06,
  S07,
  S08,
  S09,
  S10,
  S11,
  S12,
  S13,
  S14,
  S15,
  S16,
  S17,
  S18,
  S19,
  S20,
  S21,
  S22,
  S23,
  S24,
  S25,
  S26,
  S27,
  S28,
  S29,
  S30,
  S31,
  S32,
};
inline constexpr int kSceneCount = 32;

// An epigraph: a quotation, a run of spaces, its attribution. The run pushes the
// attribution onto a line of its own; one quotation is itself split by a second run.
struct Epigraph {
  std::string_view quotation;
  std::uint16_t spaces = 0;
  std::string_view attribution;
  std::uint16_t second_spaces = 0;  // only for a split quotation: then quotation_end follows
  std::string_view quotation_end;

  std::string text() const;
};

constexpr Epigraph epigraph(std::string_view quotation, std::uint16_t spaces,
                            std::string_view attribution) {
  return {quotation, spaces, attribution, 0, {}};
}

// A quotation split by a run of spaces, then the run before the attribution.
constexpr Epigraph epigraph(std::string_view quotation, std::uint16_t spaces,
                            std::string_view quotation_end, std::uint16_t second_spaces,
                            std::string_view attribution) {
  return {quotation, spaces, attribution, second_spaces, quotation_end};
}

// A caption a scene writes, or nothing: the label keeps what it showed before.
using SceneText = std::optional<std::string_view>;
inline constexpr SceneText kUnchanged = std::nullopt;

// Which options a scene takes away: option n is Label(n+2) with Command n.
enum class Hidden : std::uint8_t {
  kNothing,
  kOption4,       // Label6, Command4
  kOptions3And4,  // Label5, Label6, Command3, Command4
  kAll,           // every option label and button: the attempt ends
};

struct Scene {
  SceneId id;
  std::string_view picture = {};     // empty: the default picture of the neutral reset stays
  bool tall = false;                 // Picture1 5235 twips high instead of 3735
  Epigraph epigraph;                 // Label1; its whole text is the scene key
  SceneText narrative;               // Label2
  std::array<SceneText, 4> options;  // Label3, Label4, Label5, Label6
  Hidden hidden = Hidden::kNothing;
  // Endings only: the title the endings collection lists, and a hint of where the path
  // begins for the player who has not found it yet.
  std::string_view ending_title = {};
  std::string_view ending_hint = {};

  bool ends() const { return hidden == Hidden::kAll; }
};

}  // namespace sessiya
