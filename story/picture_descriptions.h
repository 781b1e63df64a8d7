#pragma once

#include <string_view>

namespace sessiya {

// What a picture shows, in a few Russian words for a screen reader; empty for a picture
// the story does not know. An empty reference is the start picture.
std::string_view pictureDescription(std::string_view reference);

}  // namespace sessiya
