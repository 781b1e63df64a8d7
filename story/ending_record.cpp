#include "ending_record.h"

#include <algorithm>

#include "printable_text.h"
#include "scene_catalogue.h"

namespace sessiya {
namespace {

constexpr std::string_view kName = "sessiya endings ";
constexpr std::string_view kHeader = "sessiya endings 1";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view withoutCarriageReturn(std::string_view line) {
  if (line.ends_with('\r')) line.remove_suffix(1);
  return line;
}

// "sessiya endings N" with a version N above ours.
bool isNewerHeader(std::string_view line) {
  if (!line.starts_with(kName)) return false;
  const std::string_view version = line.substr(kName.size());
  return !version.empty() && version.size() <= 9 && version.front() >= '1' && version != "1" &&
         std::all_of(version.begin(), version.end(), [](char c) { return c >= '0' && c <= '9'; });
}

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
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  if (text.empty()) return {std::nullopt, "it is empty"};
  const std::size_t header_end = text.find('\n');
  const std::string_view header = withoutCarriageReturn(text.substr(0, header_end));
  if (isNewerHeader(header)) {
    return {std::nullopt, "it is \"" + std::string(header) + "\", from a newer version of the game",
            true};
  }
  if (header != kHeader) return {std::nullopt, "it does not start with \"sessiya endings 1\""};
  if (header_end == std::string_view::npos || text.back() != '\n') {
    return {std::nullopt, "its last line is cut off"};
  }
  text.remove_prefix(header_end + 1);
  EndingRecord record;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = withoutCarriageReturn(text.substr(0, end));
    text.remove_prefix(end + 1);
    const std::optional<SceneId> ending = endingNamed(line);
    if (!ending) {
      return {std::nullopt, "\"" + printableText(line.substr(0, 40)) + "\" names no ending"};
    }
    record.add(*ending);
  }
  return {record, {}};
}

}  // namespace sessiya
