#pragma once

#include <QTemporaryDir>
#include <QtGlobal>

namespace sessiya::testing {

// Points the user's configuration folder at a fresh temporary one for the whole run, so
// the endings a test finds never reach the real record.
inline void usePrivateConfigFolder() {
  static QTemporaryDir folder;
  qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
}

}  // namespace sessiya::testing
