// The cost of one press through the story step, pictures left out.
#include <benchmark/benchmark.h>

#include <array>

#include "story.h"

namespace {

class NoWindow : public sessiya::StoryHost {
 public:
  void loadPicture(std::string_view reference) override { benchmark::DoNotOptimize(reference); }
  void showDialog() override {}
};

// The longest play: the card, the classmate, the institute, the timetable, a good sleep,
// the stolen homework, the politician, then a celebration that redirects into the bar
// and a beer — nine presses, one of them a redirect, then a new attempt.
constexpr std::array kLongestPlay = {1, 1, 1, 1, 2, 1, 1, 2, 2};

void BM_Press(benchmark::State& state) {
  NoWindow window;
  sessiya::Story story(window);
  std::size_t next = 0;
  for (auto _ : state) {
    if (next == kLongestPlay.size()) {
      story.newAttempt();
      next = 0;
    }
    story.press(kLongestPlay[next++]);
    benchmark::DoNotOptimize(story.screen());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Press);

}  // namespace

BENCHMARK_MAIN();
