#include "published_title.h"

#include <xcb/xcb.h>

#include <qpa/qplatformnativeinterface.h>
#include <wayland-client-core.h>
#include <QEvent>
#include <QGuiApplication>
#include <QLibrary>
#include <QWidget>
#include <QWindow>

namespace sessiya {
namespace {

constexpr uint32_t kXdgToplevelSetTitle = 2;  // request opcode in xdg-shell

// The window system's client library, looked up only on its own platform, where the
// platform plugin has loaded it already: the other platforms never load it for a title.
template <typename Function>
Function* resolve(const char* library, int version, const char* name) {
  return reinterpret_cast<Function*>(
      QLibrary::resolve(QString::fromLatin1(library), version, name));
}

bool clearX11Title(const QWindow& window) {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr) return false;
  const auto intern = resolve<decltype(xcb_intern_atom)>("xcb", 1, "xcb_intern_atom");
  const auto reply_to = resolve<decltype(xcb_intern_atom_reply)>("xcb", 1, "xcb_intern_atom_reply");
  const auto change = resolve<decltype(xcb_change_property)>("xcb", 1, "xcb_change_property");
  const auto flush = resolve<decltype(xcb_flush)>("xcb", 1, "xcb_flush");
  if (!intern || !reply_to || !change || !flush) return false;
  xcb_connection_t* connection = x11->connection();
  // Both questions go out before either answer is awaited: one round trip, not two.
  const char* const names[] = {"_NET_WM_NAME", "UTF8_STRING"};
  xcb_intern_atom_cookie_t cookies[2];
  for (int i = 0; i < 2; ++i) {
    cookies[i] = intern(connection, 0, static_cast<uint16_t>(strlen(names[i])), names[i]);
  }
  xcb_atom_t atoms[2];
  for (int i = 0; i < 2; ++i) {
    xcb_intern_atom_reply_t* reply = reply_to(connection, cookies[i], nullptr);
    atoms[i] = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    free(reply);
  }
  const auto [net_wm_name, utf8_string] = atoms;
  if (net_wm_name == XCB_ATOM_NONE || utf8_string == XCB_ATOM_NONE) return false;
  const auto id = static_cast<xcb_window_t>(window.winId());
  change(connection, XCB_PROP_MODE_REPLACE, id, net_wm_name, utf8_string, 8, 0, "");
  change(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, "");
  flush(connection);
  return true;
}

bool clearWaylandTitle(QWindow& window) {
  QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
  if (native == nullptr) return false;
  auto* toplevel = static_cast<wl_proxy*>(native->nativeResourceForWindow("xdg_toplevel", &window));
  if (toplevel == nullptr) return false;  // not mapped yet
  const auto marshal =
      resolve<decltype(wl_proxy_marshal_flags)>("wayland-client", 0, "wl_proxy_marshal_flags");
  const auto version =
      resolve<decltype(wl_proxy_get_version)>("wayland-client", 0, "wl_proxy_get_version");
  if (!marshal || !version) return false;
  marshal(toplevel, kXdgToplevelSetTitle, nullptr, version(toplevel), 0, "");
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
