#include <string>

#include "scene_catalogue.h"

namespace sessiya {

std::string Epigraph::text() const {
  std::string text(quotation);
  if (!quotation_end.empty()) {
    text.append(spaces, ' ').append(quotation_end).append(second_spaces, ' ');
  } else {
    text.append(spaces, ' ');
  }
  return text.append(attribution);
}

const Scene& scene(SceneId id) { return kSceneCatalogue[static_cast<std::size_t>(id) - 1]; }

const std::string& sceneKey(SceneId id) {
  static const std::array<std::string, kSceneCount> kKeys = [] {
    std::array<std::string, kSceneCount> keys;
    for (const Scene& entry : kSceneCatalogue) {
      keys[static_cast<std::size_t>(entry.id) - 1] = entry.epigraph.text();
    }
    return keys;
  }();
  return kKeys[static_cast<std::size_t>(id) - 1];
}

bool isSceneKey(std::string_view caption, SceneId id) { return caption == sceneKey(id); }

}  // namespace sessiya
