#pragma once

#include <QObject>

class QWidget;

namespace sessiya {

// Publishes a top-level window's own title to the desktop, even an empty one. Left to
// itself Qt publishes the application's name in place of an empty title, so the title bar
// and the desktop's window list would read "sessiya"; this clears it on the native window
// (X11's _NET_WM_NAME, Wayland's xdg_toplevel title) whenever the window is mapped.
class PublishedTitle : public QObject {
 public:
  explicit PublishedTitle(QWidget& window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void watchNativeWindow();
  void publish();

  QWidget& window_;
  bool published_ = false;  // since the native window was last mapped
};

}  // namespace sessiya
