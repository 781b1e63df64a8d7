// A seeded random player drives the real windows and checks them after every event:
//   soak_tests [--events=N] [--seed=S]   (gtest flags also apply)
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "private_config.h"
#include "quiet_offscreen.h"
#include "random_player.h"

namespace sessiya::testing {

struct SoakSettings {
  std::size_t events = 2000;
  std::uint64_t seed = 1;
};
SoakSettings settings;

namespace {

std::size_t residentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0;
  std::size_t resident = 0;
  statm >> pages >> resident;
  return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// Plays `count` events from `seed`; on a problem, reports the seed and the shortest
// sequence of events that shows it, and fails.
void soak(std::size_t count, std::uint64_t seed,
          const std::function<void(std::size_t played)>& after_each = {}) {
  EventSource source(seed);
  Player player;
  RandomPlayer random_player(player);
  std::vector<SoakEvent> played;
  for (std::size_t i = 0; i < count; ++i) {
    played.push_back(source.next());
    random_player.play(played.back());
    if (auto problem = random_player.problem()) {
      const std::vector<SoakEvent> shortest = shrink(played);
      std::string steps;
      for (const SoakEvent& event : shortest) steps += "\n  " + event.describe();
      FAIL() << "seed " << seed << ", event " << i + 1 << ": " << *problem << "\nshortest of "
             << shortest.size() << " events that shows it:" << steps;
    }
    if (after_each) after_each(i + 1);
  }
}

TEST(Soak, NothingGoesWrongForARandomPlayer) {
  const auto start = std::chrono::steady_clock::now();
  soak(settings.events, settings.seed);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::cout << settings.events << " events from seed " << settings.seed << " in " << took.count()
            << " s\n";
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

TEST(Soak, MemoryStaysFlat) {
  if (kSanitized) GTEST_SKIP() << "the sanitizer's own bookkeeping grows the resident set";
  std::size_t after_thousand = 0;
  std::size_t after_all = 0;
  soak(100'000, settings.seed + 1, [&](std::size_t played) {
    if (played == 1'000) after_thousand = residentBytes();
    if (played == 100'000) after_all = residentBytes();
  });
  std::cout << "resident after 1000 events: " << after_thousand / 1024
            << " KiB, after 100000: " << after_all / 1024 << " KiB\n";
  EXPECT_LE(after_all, after_thousand + 2 * 1024 * 1024);
}

}  // namespace
}  // namespace sessiya::testing

int main(int argc, char* argv[]) {
  sessiya::testing::quietOffscreenRaise();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  sessiya::testing::usePrivateConfigFolder();
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument.starts_with("--events=")) {
      sessiya::testing::settings.events = std::strtoull(argv[i] + 9, nullptr, 10);
    } else if (argument.starts_with("--seed=")) {
      sessiya::testing::settings.seed = std::strtoull(argv[i] + 7, nullptr, 10);
    }
  }
  return RUN_ALL_TESTS();
}
