#include "ending_record.h"

#include <algorithm>

#include "scene_catalogue.h"

namespace sessiya {
namespace {

constexpr std::string_view kHeader = "sessiya endings 1";

std::optional<SceneId> endingNamed(std::string_view name) {
  for (SceneId ending : endingsInStoryOrder()) {
    if (sceneName(ending) == name) return ending;
  }
  return std::nullopt;
}

std::array<SceneId, kEndingCount> collectEndings() {
  std::array<SceneId, kEndingCount> endings{};
  std::size_t found = 0;
  for (const Scene& entry : kSceneCatalogue) {
    if (entry.ends() && found < endings.size()) endings[found++] = entry.id;
  }
  return endings;
}

}  // namespace

std::string sceneName(SceneId id) {
  const int number = static_cast<int>(id);
  return std::string{'S', static_cast<char>('0' + number / 10),
                     static_cast<char>('0' + number % 10)};
}

const std::array<SceneId, kEndingCount>& endingsInStoryOrder() {
  static const std::array<SceneId, kEndingCount> endings = collectEndings();
  return endings;
}

std::optional<SceneId> endingOnScreen(const ScreenState& screen) {
  if (std::any_of(screen.button_visible.begin(), screen.button_visible.end(),
                  [](bool visible) { return visible; })) {
    return std::nullopt;
  }
  for (SceneId ending : endingsInStoryOrder()) {
    if (isSceneKey(screen.key(), ending)) return ending;
  }
  return std::nullopt;
}

bool EndingRecord::add(SceneId ending) {
  if (contains(ending)) return false;
  found_.set(index(ending));
  return true;
}

std::string EndingRecord::text() const {
  std::string text{kHeader};
  text += '\n';
  for (SceneId ending : endingsInStoryOrder()) {
    if (contains(ending)) text += sceneName(ending) + '\n';
  }
  return text;
}

EndingRecord::Parsed EndingRecord::parse(std::string_view text) {
  if (text.empty()) return {std::nullopt, "it is empty"};
  if (!text.starts_with(kHeader) || text.substr(kHeader.size(), 1) != "\n") {
    return {std::nullopt, "it does not start with \"sessiya endings 1\""};
  }
  text.remove_prefix(kHeader.size() + 1);
  if (!text.empty() && text.back() != '\n') return {std::nullopt, "its last line is cut off"};
  EndingRecord record;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    const std::optional<SceneId> ending = endingNamed(line);
    if (!ending)
      return {std::nullopt, "\"" + std::string(line.substr(0, 40)) + "\" names no ending"};
    record.add(*ending);
  }
  return {record, {}};
}

}  // namespace sessiya
