// Preloaded into a Qt program to time its start: when the first window shown has been
// painted, writes the monotonic clock (nanoseconds) to the file descriptor named by
// SESSIYA_STARTUP_FD and ends the program. The program itself is not changed.
#include <dlfcn.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <cstdlib>
#include <ctime>

namespace {

void reportAndQuit() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const std::int64_t nanoseconds = std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
  if (const char* fd = std::getenv("SESSIYA_STARTUP_FD")) {
    if (write(std::atoi(fd), &nanoseconds, sizeof nanoseconds) != sizeof nanoseconds) _exit(3);
  }
  QCoreApplication::exit(0);
}

// Waits for the window's first paint; the report follows once that paint is done.
class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      QTimer::singleShot(0, reportAndQuit);
    }
    return false;
  }
};

}  // namespace

// Takes the place of Qt's QWidget::show for the preloaded program.
void QWidget::show() {
  using Show = void (*)(QWidget*);
  static const auto qt_show = reinterpret_cast<Show>(dlsym(RTLD_NEXT, "_ZN7QWidget4showEv"));
  static bool watching = false;
  if (!watching && isWindow()) {
    watching = true;
    installEventFilter(new FirstPaint);
  }
  qt_show(this);
}
