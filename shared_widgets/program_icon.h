#pragma once

#include <QIcon>

namespace sessiya {

// The graduation cap over a record book that every window of the program wears.
QIcon programIcon();

}  // namespace sessiya
