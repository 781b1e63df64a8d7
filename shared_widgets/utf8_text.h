#pragma once

#include <QString>
#include <string_view>

namespace sessiya {

// The story library's UTF-8 texts as the widgets take them.
inline QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace sessiya
