// The cost of one move in the real window, offscreen: the button press, the story step,
// reading and decoding the pictures, and repainting the whole window.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <array>

#include "form1.h"
#include "private_config.h"

namespace {

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
  std::size_t next = 0;
  for (auto _ : state) {
    const int move = kPlay[next];
    next = (next + 1) % kPlay.size();
    if (move == 7) {
      new_attempt->trigger();
    } else {
      buttons[move - 1]->click();
    }
    form.repaint();
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
