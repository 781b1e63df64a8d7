#pragma once

#include <QString>
#include <QtGlobal>
#include <cstdio>

namespace sessiya::testing {

// The offscreen platform cannot raise windows and says so each time; everything else Qt
// says is kept.
inline void quietOffscreenRaise() {
  static QtMessageHandler standard = nullptr;
  standard = qInstallMessageHandler(
      [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (text == QLatin1String("This plugin does not support raise()")) return;
        if (standard != nullptr) {
          standard(type, context, text);
        } else {
          std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
        }
      });
}

}  // namespace sessiya::testing
