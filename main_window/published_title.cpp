#include "published_title.h"

#include <xcb/xcb.h>

#include <qpa/qplatformnativeinterface.h>
#include <wayland-client-core.h>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace sessiya {
namespace {

constexpr uint32_t kXdgToplevelSetTitle = 2;  // request opcode in xdg-shell

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
  const auto cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
  const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  free(reply);
  return atom;
}

bool clearX11Title(const QWindow& window) {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr) return false;
  xcb_connection_t* connection = x11->connection();
  const xcb_atom_t net_wm_name = internAtom(connection, "_NET_WM_NAME");
  const xcb_atom_t utf8_string = internAtom(connection, "UTF8_STRING");
  if (net_wm_name == XCB_ATOM_NONE || utf8_string == XCB_ATOM_NONE) return false;
  const auto id = static_cast<xcb_window_t>(window.winId());
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, net_wm_name, utf8_string, 8, 0, "");
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                      0, "");
  xcb_flush(connection);
  return true;
}

bool clearWaylandTitle(QWindow& window) {
  QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
  if (native == nullptr) return false;
  auto* toplevel = static_cast<wl_proxy*>(native->nativeResourceForWindow("xdg_toplevel", &window));
  if (toplevel == nullptr) return false;  // not mapped yet
  wl_proxy_marshal_flags(toplevel, kXdgToplevelSetTitle, nullptr, wl_proxy_get_version(toplevel), 0,
                         "");
  return true;
}

}  // namespace

PublishedTitle::PublishedTitle(QWidget& window) : window_(window) {
  window_.installEventFilter(this);
  watchNativeWindow();
}

bool PublishedTitle::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_) {
    if (event->type() == QEvent::WinIdChange) {
      watchNativeWindow();
      publish();  // on X11, before the window manager first reads it
    }
    if (event->type() == QEvent::WindowTitleChange) published_ = false;
  } else if (event->type() == QEvent::Expose && !published_) {
    publish();
  } else if (event->type() == QEvent::Hide) {
    published_ = false;
  }
  return false;
}

void PublishedTitle::watchNativeWindow() {
  if (QWindow* native = window_.windowHandle()) native->installEventFilter(this);
  published_ = false;
}

void PublishedTitle::publish() {
  QWindow* native = window_.windowHandle();
  if (native == nullptr || !window_.windowTitle().isEmpty()) return;
  const QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("xcb")) {
    published_ = clearX11Title(*native);
  } else if (platform.startsWith(QLatin1String("wayland"))) {
    published_ = clearWaylandTitle(*native);
  }
}

}  // namespace sessiya
