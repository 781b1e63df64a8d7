// The story engine for the page: embind hands the page the screen state and the player's
// moves, and calls back into the page for what the story asks of its window.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <vector>

#include "ending_record.h"
#include "key_choices.h"
#include "line_breaks.h"
#include "link_colours.h"
#include "picture_descriptions.h"
#include "scene_catalogue.h"
#include "spoken_scene.h"
#include "story.h"

namespace sessiya {
namespace {

using emscripten::val;

// The page's window: an object with loadPicture(reference) and showDialog().
class PageHost : public StoryHost {
 public:
  explicit PageHost(val page) : page_(std::move(page)) {}

  void loadPicture(std::string_view reference) override {
    page_.call<void>("loadPicture", std::string(reference));
  }
  void showDialog() override { page_.call<void>("showDialog"); }

 private:
  val page_;
};

class Game {
 public:
  explicit Game(val page) : host_(std::move(page)), story_(host_) { story_.formLoad(); }

  void press(int option) { story_.press(option); }
  void newAttempt() { story_.newAttempt(); }
  void confirmFinalAnswer() { story_.confirmFinalAnswer(); }
  std::string snapshot() const { return story_.snapshot(); }
  bool restore(const std::string& text) { return story_.restore(text); }
  int hod() const { return story_.hod(); }
  int bb() const { return story_.bb(); }

  // {captions: [Label1 … Label6], labelVisible: [Label3 … Label6],
  //  buttonVisible: [Command1 … Command4], picture, pictureHeight (twips)}
  val screen() const {
    const ScreenState& screen = story_.screen();
    val captions = val::array();
    for (const std::string& caption : screen.captions) captions.call<void>("push", caption);
    val labels = val::array();
    val buttons = val::array();
    for (int option = 0; option < kOptionCount; ++option) {
      labels.call<void>("push", bool(screen.option_label_visible[option]));
      buttons.call<void>("push", bool(screen.button_visible[option]));
    }
    val state = val::object();
    state.set("captions", captions);
    state.set("labelVisible", labels);
    state.set("buttonVisible", buttons);
    state.set("picture", screen.picture);
    state.set("pictureHeight", screen.picture_height);
    return state;
  }

  std::string spokenScene() const { return sessiya::spokenScene(story_.screen()); }
  // The ending on screen ("S03"), or "" where the attempt goes on.
  std::string ending() const {
    const std::optional<SceneId> shown = endingOnScreen(story_.screen());
    return shown ? sceneName(*shown) : std::string();
  }

 private:
  PageHost host_;
  Story story_;
};

// The lines of `text` at `width` pixels, as start, shown pairs in UTF-16 code units, each
// number one code unit of the string returned; `positions[i]` tells where boundary i stands
// with the whole text on one line. Both cross in one piece: a call across per boundary or
// per line cost more than the wrap.
std::u16string wrapLines(const std::u16string& text, double width, const val& positions) {
  const std::vector<double> x = emscripten::convertJSArrayToNumberVector<double>(positions);
  std::u16string lines;
  if (x.size() != text.size() + 1 || text.size() > 0xFFFF) return lines;
  for (const LineBreak& line :
       breakLines(text, width, [&x](std::size_t boundary) { return x[boundary]; })) {
    lines += static_cast<char16_t>(line.start);
    lines += static_cast<char16_t>(line.shown);
  }
  return lines;
}

std::string describePicture(const std::string& reference) {
  return std::string(pictureDescription(reference));
}

std::string cueAfterEnding(const std::string& new_attempt) { return attemptOverCue(new_attempt); }

// The option a key (a KeyboardEvent's key) chooses, 0 for none.
int optionForTypedKey(const std::u16string& key) {
  return key.size() == 1 ? optionForKey(key[0]) : 0;
}

// `arrow`: 0 left, 1 right, 2 up, 3 down.
int optionBesideArrow(int option, int arrow) {
  return optionBeside(option, static_cast<GridArrow>(arrow));
}

val readingOrder() {
  val order = val::array();
  for (const int option : kReadingOrder) order.call<void>("push", option);
  return order;
}

std::u16string letterOf(int option) { return std::u16string(1, spokenLetter(option)); }

// 0 none, 1 mail link blue, 2 website blue, 3 both red, 4 mail link red only.
int linkHoverFor(const std::string& control) { return static_cast<int>(linkHoverOver(control)); }

// The fourteen endings in story order: [{name, title, hint, picture}].
val endings() {
  val list = val::array();
  for (SceneId id : endingsInStoryOrder()) {
    const Scene& ending = scene(id);
    val entry = val::object();
    entry.set("name", sceneName(id));
    entry.set("title", std::string(ending.ending_title));
    entry.set("hint", std::string(ending.ending_hint));
    entry.set("picture", std::string(ending.picture.empty() ? kDefaultPicture : ending.picture));
    list.call<void>("push", entry);
  }
  return list;
}

// The record's text form read: {found: [names], problem: "", newer: false}, or a problem and no
// names; `newer` marks a newer version's record, which is no damage and is left as it is.
val readEndings(const std::string& text) {
  const EndingRecord::Parsed parsed = EndingRecord::parse(text);
  val found = val::array();
  for (SceneId id : endingsInStoryOrder()) {
    if (parsed.record && parsed.record->contains(id)) found.call<void>("push", sceneName(id));
  }
  val result = val::object();
  result.set("found", found);
  result.set("problem", parsed.problem);
  result.set("newer", parsed.newer);
  return result;
}

// The text form of the endings named in `names`; unknown names are left out.
std::string writeEndings(val names) {
  EndingRecord record;
  const int count = names["length"].as<int>();
  for (int i = 0; i < count; ++i) {
    const std::string name = names[i].as<std::string>();
    for (SceneId id : endingsInStoryOrder()) {
      if (sceneName(id) == name) record.add(id);
    }
  }
  return record.text();
}

}  // namespace
}  // namespace sessiya

EMSCRIPTEN_BINDINGS(sessiya) {
  using namespace sessiya;
  emscripten::class_<Game>("Game")
      .constructor<emscripten::val>()
      .function("press", &Game::press)
      .function("newAttempt", &Game::newAttempt)
      .function("confirmFinalAnswer", &Game::confirmFinalAnswer)
      .function("snapshot", &Game::snapshot)
      .function("restore", &Game::restore)
      .function("hod", &Game::hod)
      .function("bb", &Game::bb)
      .function("screen", &Game::screen)
      .function("spokenScene", &Game::spokenScene)
      .function("ending", &Game::ending);
  emscripten::function("endings", &endings);
  emscripten::function("readEndings", &readEndings);
  emscripten::function("writeEndings", &writeEndings);
  emscripten::function("wrapLines", &wrapLines);
  emscripten::function("pictureDescription", &describePicture);
  emscripten::function("attemptOverCue", &cueAfterEnding);
  emscripten::function("optionForKey", &optionForTypedKey);
  emscripten::function("optionBeside", &optionBesideArrow);
  emscripten::function("spokenLetter", &letterOf);
  emscripten::function("readingOrder", &readingOrder);
  emscripten::function("linkHoverOver", &linkHoverFor);
}
