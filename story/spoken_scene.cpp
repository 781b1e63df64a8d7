#include "spoken_scene.h"

#include "picture_descriptions.h"

namespace sessiya {
namespace {

bool endsSentence(std::string_view text) {
  for (std::string_view mark : {".", "!", "?", "…", "»", ")"}) {
    if (text.ends_with(mark)) return true;
  }
  return false;
}

void appendSentence(std::string& spoken, std::string_view sentence) {
  if (sentence.empty()) return;
  if (!spoken.empty()) spoken.push_back(' ');
  spoken.append(sentence);
  if (!endsSentence(sentence)) spoken.push_back('.');
}

}  // namespace

std::string spokenEpigraph(std::string_view key) {
  std::string closed_up;
  for (const char c : key) {
    if (c == ' ' && (closed_up.empty() || closed_up.back() == ' ')) continue;
    closed_up.push_back(c);
  }
  while (!closed_up.empty() && closed_up.back() == ' ') closed_up.pop_back();
  std::string spoken;
  appendSentence(spoken, closed_up);
  return spoken;
}

std::string spokenScene(const ScreenState& screen) {
  std::string spoken = spokenEpigraph(screen.key());
  appendSentence(spoken, screen.narrative());
  const std::string_view picture = pictureDescription(screen.picture);
  if (!picture.empty()) appendSentence(spoken, std::string("На картинке: ").append(picture));
  return spoken;
}

std::string attemptOverCue(std::string_view new_attempt) {
  return std::string("Эта попытка окончена. Новую начинает ").append(new_attempt).append(".");
}

}  // namespace sessiya
