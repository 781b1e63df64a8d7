// Prints the scene catalogue as JSON, for tools that check what the window shows:
//   story_catalogue > catalogue.json
#include <iostream>
#include <string_view>

#include "scene_catalogue.h"

namespace {

void printString(std::string_view text) {
  std::cout << '"';
  for (const char c : text) {
    switch (c) {
      case '"':
        std::cout << "\\\"";
        break;
      case '\\':
        std::cout << "\\\\";
        break;
      default:
        std::cout << c;  // the texts hold no control characters
    }
  }
  std::cout << '"';
}

void printText(const sessiya::SceneText& text) {
  if (text) {
    printString(*text);
  } else {
    std::cout << "null";
  }
}

}  // namespace

int main() {
  std::cout << "{\n";
  for (const sessiya::Scene& scene : sessiya::kSceneCatalogue) {
    const int number = static_cast<int>(scene.id);
    std::cout << "  \"S" << (number < 10 ? "0" : "") << number << "\": {\"key\": ";
    printString(sessiya::sceneKey(scene.id));
    std::cout << ", \"attribution\": ";
    printString(scene.epigraph.attribution);
    std::cout << ", \"picture\": ";
    printString(scene.picture);
    std::cout << ", \"narrative\": ";
    printText(scene.narrative);
    std::cout << ", \"options\": [";
    for (std::size_t i = 0; i < scene.options.size(); ++i) {
      if (i > 0) std::cout << ", ";
      printText(scene.options[i]);
    }
    std::cout << "]}" << (number < sessiya::kSceneCount ? "," : "") << '\n';
  }
  std::cout << "}\n";
}
