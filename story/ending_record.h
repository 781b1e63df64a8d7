#pragma once

#include <array>
#include <bitset>
#include <optional>
#include <string>
#include <string_view>

#include "scene.h"
#include "screen_state.h"

namespace sessiya {

inline constexpr int kEndingCount = 14;

// The ending scenes in story order.
const std::array<SceneId, kEndingCount>& endingsInStoryOrder();

// A scene's name in the record: "S03".
std::string sceneName(SceneId id);

// The ending the window shows: every option hidden under an ending's key.
std::optional<SceneId> endingOnScreen(const ScreenState& screen);

// Which endings a player has found, kept between games; nothing else of the game.
// Its text form is a header line, then one ending's scene name per line:
//   sessiya endings 1
//   S03
//   S20
// Read back, a UTF-8 byte order mark and "\r\n" line ends are accepted, as editors save them.
class EndingRecord {
 public:
  // Notes an ending; true when it was not found before.
  bool add(SceneId ending);
  bool contains(SceneId ending) const { return found_[index(ending)]; }
  int count() const { return static_cast<int>(found_.count()); }
  bool complete() const { return count() == kEndingCount; }
  void merge(const EndingRecord& other) { found_ |= other.found_; }

  std::string text() const;

  // Reads the text form; a damaged text (anything but the form above, a truncated last
  // line, a name that is no ending) gives no record and says what is wrong. A later version's
  // header ("sessiya endings 2") is not damage: it gives no record and `newer`.
  struct Parsed;
  static Parsed parse(std::string_view text);

  bool operator==(const EndingRecord&) const = default;

 private:
  static std::size_t index(SceneId id) { return static_cast<std::size_t>(id); }
  std::bitset<kSceneCount + 1> found_;
};

struct EndingRecord::Parsed {
  std::optional<EndingRecord> record;
  std::string problem;  // empty when the record was read; printable, as the file's bytes may not be
  bool newer = false;   // written by a newer version of the game, to be left as it is
};

}  // namespace sessiya
