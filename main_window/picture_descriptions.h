#pragma once

#include <QString>
#include <string_view>

namespace sessiya {

// What a picture shows, in a few words for a screen reader. An empty reference is the
// start picture.
QString pictureDescription(std::string_view reference);

}  // namespace sessiya
