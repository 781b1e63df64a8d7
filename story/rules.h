#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "scene.h"

namespace sessiya {

// What a rule looks at before it acts.
struct RuleTest {
  enum class Kind : std::uint8_t {
    kNone,         // always holds
    kKeyIs,        // Label1 equals the key of `scene`
    kOptionTextIs  // the caption beside option `option` equals that scene's text for it
  };
  Kind kind = Kind::kNone;
  SceneId scene = SceneId::S01;
  std::uint8_t option = 0;
};

// What a rule does once its test holds.
struct RuleAction {
  enum class Kind : std::uint8_t {
    kApply,                // write the scene's catalogue entry
    kApplyWithoutPicture,  // the same, but the reset's default picture stays
    kRedirect,             // optional set key, then run the step again for (option, move)
    kShowDialog,           // ask whether the answer is final
    kNothing,              // only the neutral reset: the no-rule state
  };
  Kind kind = Kind::kNothing;
  SceneId scene = SceneId::S01;  // applied scene, or the key set before a redirect
  bool sets_key = false;
  std::int16_t option = 0;  // redirect target
  std::int16_t move = 0;
};

struct Rule {
  std::string_view id;  // move number and letter in test order, as "3c"
  RuleTest test;
  RuleAction action;
};

// The ordered rules for one option and move; empty where the option has none.
std::span<const Rule> ruleList(std::int16_t option, std::int16_t move);

// Building blocks that let the tables read like the story's rule lists.
namespace rule {

inline constexpr RuleTest none{};
inline constexpr RuleTest otherwise{};
constexpr RuleTest keyIs(SceneId scene) { return {RuleTest::Kind::kKeyIs, scene, 0}; }
constexpr RuleTest optionTextIs(int option, SceneId scene) {
  return {RuleTest::Kind::kOptionTextIs, scene, static_cast<std::uint8_t>(option)};
}

constexpr RuleAction apply(SceneId scene) { return {RuleAction::Kind::kApply, scene}; }
constexpr RuleAction applyWithoutPicture(SceneId scene) {
  return {RuleAction::Kind::kApplyWithoutPicture, scene};
}
constexpr RuleAction redirect(int option, int move) {
  return {RuleAction::Kind::kRedirect, SceneId::S01, false, static_cast<std::int16_t>(option),
          static_cast<std::int16_t>(move)};
}
constexpr RuleAction setKeyAndRedirect(SceneId key, int option, int move) {
  return {RuleAction::Kind::kRedirect, key, true, static_cast<std::int16_t>(option),
          static_cast<std::int16_t>(move)};
}
inline constexpr RuleAction showDialog{RuleAction::Kind::kShowDialog};
inline constexpr RuleAction nothing{RuleAction::Kind::kNothing};

}  // namespace rule
}  // namespace sessiya
