#pragma once

#include <array>
#include <string>

#include "scene.h"

namespace sessiya {

// Every scene of the story, S01 to S32, in order.
extern const std::array<Scene, kSceneCount> kSceneCatalogue;

const Scene& scene(SceneId id);

// The complete epigraph of a scene: what Label1 shows and what the rules compare.
const std::string& sceneKey(SceneId id);

// The key test: the caption is the scene's key exactly, every byte and space included.
bool isSceneKey(std::string_view caption, SceneId id);

}  // namespace sessiya
