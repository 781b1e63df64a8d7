#include "link_hover.h"

#include <QString>

namespace sessiya {
namespace {

struct HoverHandler {
  const char16_t* control;
  LinkHover effect;
};

constexpr HoverHandler kHandlers[] = {
    {u"Label7", LinkHover::kMailBlue}, {u"Label9", LinkHover::kWebsiteBlue},
    {u"Frame1", LinkHover::kBothRed},  {u"Label1", LinkHover::kBothRed},
    {u"Label2", LinkHover::kBothRed},  {u"", LinkHover::kMailRedOnly},
};

}  // namespace

LinkHover linkHoverOver(QStringView control) {
  for (const HoverHandler& handler : kHandlers) {
    if (control == QStringView(handler.control)) return handler.effect;
  }
  return LinkHover::kNone;
}

}  // namespace sessiya
