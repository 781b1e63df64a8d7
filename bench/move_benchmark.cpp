// The cost of one move in the real window, offscreen, as the player waits for it: from the
// button press, through the story step, reading and decoding the pictures and whatever
// events the move posts, to the next frame of the window painted.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QWindow>
#include <array>

#include "form1.h"
#include "private_config.h"

namespace {

// Notes each frame the window paints: an update request is handled by painting it whole.
class FrameCounter : public QObject {
 public:
  int frames = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::UpdateRequest) ++frames;
    return false;
  }
};

// A play through nine scenes, most with pictures of their own, then a new attempt.
constexpr std::array kPlay = {1, 1, 1, 3, 2, 1, 7};  // 7: the new attempt

void BM_MoveInTheWindow(benchmark::State& state) {
  sessiya::Form1 form(SESSIYA_PROGRAM_DIR);
  form.show();
  QCoreApplication::processEvents();
  std::array<QPushButton*, 4> buttons;
  for (int option = 1; option <= 4; ++option) {
    buttons[option - 1] = form.findChild<QPushButton*>(QStringLiteral("Command%1").arg(option));
  }
  QAction* new_attempt = form.findChild<QAction*>(QStringLiteral("m_new"));
  FrameCounter painted;
  form.windowHandle()->installEventFilter(&painted);
  form.installEventFilter(&painted);
  std::size_t next = 0;
  for (auto _ : state) {
    const int move = kPlay[next];
    next = (next + 1) % kPlay.size();
    if (move == 7) {
      new_attempt->trigger();
    } else {
      buttons[move - 1]->click();
    }
    const int frames = painted.frames;
    while (painted.frames == frames) {
      QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    QCoreApplication::processEvents();  // what the frame left behind is part of the move
  }
}
BENCHMARK(BM_MoveInTheWindow)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  sessiya::testing::usePrivateConfigFolder();
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
