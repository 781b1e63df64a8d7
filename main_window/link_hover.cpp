#include "link_hover.h"

#include <QString>
#include <string>

namespace sessiya {

LinkHover linkHoverOver(QStringView control) {
  const std::string name = control.toString().toStdString();
  return linkHoverOver(std::string_view(name));
}

}  // namespace sessiya
