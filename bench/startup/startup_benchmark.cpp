// Times the game's start against a minimal Qt window, and compares their peak memory:
//   startup_benchmark GAME MINIMAL PROBE [RUNS]
// Each run starts the program with PROBE preloaded, which reports when the first window
// has been painted; the two programs take turns, under the offscreen platform and under
// Xvfb. Prints the medians and the game's share of the minimal window's figures.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

extern char** environ;

namespace {

// How much more the game may take than a minimal Qt window, in time to its first frame and
// in peak memory.
constexpr double kTimeTarget = 1.10;
constexpr double kMemoryTarget = 1.05;

struct Sample {
  double milliseconds;
  double peak_mebibytes;
};

std::int64_t nowNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

pid_t spawn(const std::vector<std::string>& command, const std::vector<std::string>& settings) {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string variable = *entry;
    const bool overridden = std::any_of(settings.begin(), settings.end(), [&](const auto& s) {
      return variable.compare(0, s.find('=') + 1, s, 0, s.find('=') + 1) == 0;
    });
    if (!overridden) environment.push_back(variable);
  }
  environment.insert(environment.end(), settings.begin(), settings.end());
  std::vector<char*> argv;
  for (const std::string& part : command) argv.push_back(const_cast<char*>(part.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (const std::string& variable : environment)
    envp.push_back(const_cast<char*>(variable.c_str()));
  envp.push_back(nullptr);
  // The programs' own chatter on standard error is not part of the measurement.
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int failed = posix_spawnp(&pid, argv[0], &quiet, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&quiet);
  if (failed != 0) {
    std::perror(argv[0]);
    std::exit(1);
  }
  return pid;
}

Sample measure(const std::string& program, const std::string& probe,
               const std::vector<std::string>& platform) {
  int report[2];
  if (pipe(report) != 0) std::exit(1);
  std::vector<std::string> settings = platform;
  settings.push_back("LD_PRELOAD=" + probe);
  settings.push_back("SESSIYA_STARTUP_FD=" + std::to_string(report[1]));
  const std::int64_t start = nowNanoseconds();
  const pid_t pid = spawn({program}, settings);
  close(report[1]);
  std::int64_t painted = 0;
  const bool reported = read(report[0], &painted, sizeof painted) == sizeof painted;
  close(report[0]);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  if (!reported || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s did not report its first window\n", program.c_str());
    std::exit(1);
  }
  return {static_cast<double>(painted - start) / 1e6, static_cast<double>(usage.ru_maxrss) / 1024};
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Starts Xvfb on a free display; returns its pid and the DISPLAY value.
std::pair<pid_t, std::string> startXvfb() {
  int ready[2];
  if (pipe(ready) != 0) std::exit(1);
  const pid_t pid = spawn({"Xvfb", "-displayfd", std::to_string(ready[1]), "-screen", "0",
                           "1024x768x24", "-nolisten", "tcp"},
                          {});
  close(ready[1]);
  char display[16] = {};
  const ssize_t got = read(ready[0], display, sizeof display - 1);
  close(ready[0]);
  if (got <= 0) {
    std::fprintf(stderr, "Xvfb did not start\n");
    std::exit(1);
  }
  return {pid, ":" + std::string(display, std::strcspn(display, "\n"))};
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: startup_benchmark GAME MINIMAL PROBE [RUNS]\n");
    return 2;
  }
  const std::string programs[] = {argv[1], argv[2]};
  const std::string probe = argv[3];
  const int runs = argc > 4 ? std::atoi(argv[4]) : 20;

  const auto [xvfb, display] = startXvfb();
  const std::vector<std::string> platforms[] = {{"QT_QPA_PLATFORM=offscreen"},
                                                {"QT_QPA_PLATFORM=xcb", "DISPLAY=" + display}};
  const char* const platform_names[] = {"offscreen", "Xvfb"};

  std::printf("%-10s %-8s %12s %16s\n", "platform", "program", "start (ms)", "peak RSS (MiB)");
  bool within = true;
  for (int p = 0; p < 2; ++p) {
    std::vector<double> time[2];
    std::vector<double> memory[2];
    for (const std::string& program : programs) measure(program, probe, platforms[p]);  // warm
    for (int run = 0; run < runs; ++run) {
      for (int turn = 0; turn < 2; ++turn) {
        const int which = (run + turn) % 2;  // the two take turns going first
        const Sample sample = measure(programs[which], probe, platforms[p]);
        time[which].push_back(sample.milliseconds);
        memory[which].push_back(sample.peak_mebibytes);
      }
    }
    const char* const names[] = {"game", "minimal"};
    for (int which = 0; which < 2; ++which) {
      std::printf("%-10s %-8s %12.1f %16.1f\n", platform_names[p], names[which],
                  median(time[which]), median(memory[which]));
    }
    const double time_ratio = median(time[0]) / median(time[1]);
    const double memory_ratio = median(memory[0]) / median(memory[1]);
    std::printf("%-10s %-8s %11.2fx %15.2fx\n", platform_names[p], "ratio", time_ratio,
                memory_ratio);
    within = within && time_ratio <= kTimeTarget && memory_ratio <= kMemoryTarget;
  }
  kill(xvfb, SIGTERM);
  waitpid(xvfb, nullptr, 0);
  std::printf(
      "medians of %d runs each; target: the game within %.2fx in time, %.2fx in memory: %s\n", runs,
      kTimeTarget, kMemoryTarget, within ? "met" : "missed");
  return 0;
}
