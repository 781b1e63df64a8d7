#include "link_colours.h"

namespace sessiya {
namespace {

struct HoverHandler {
  std::string_view control;
  LinkHover effect;
};

constexpr HoverHandler kHandlers[] = {
    {"Label7", LinkHover::kMailBlue}, {"Label9", LinkHover::kWebsiteBlue},
    {"Frame1", LinkHover::kBothRed},  {"Label1", LinkHover::kBothRed},
    {"Label2", LinkHover::kBothRed},  {"", LinkHover::kMailRedOnly},
};

}  // namespace

LinkHover linkHoverOver(std::string_view control) {
  for (const HoverHandler& handler : kHandlers) {
    if (control == handler.control) return handler.effect;
  }
  return LinkHover::kNone;
}

}  // namespace sessiya
