#pragma once

#include <QStringView>

#include "link_colours.h"

namespace sessiya {

// The story library's hover scheme for a Qt object name; an empty name is the bare window.
LinkHover linkHoverOver(QStringView control);

}  // namespace sessiya
