// Walks every way through the story and writes it as a Graphviz graph, with a report of
// how many paths fire each rule of each option's table (a path: the moves from the opening
// scene up to the one that fires the rule):
//   story_map MAP.dot [STATES.json]
// STATES.json, for the browser tests, is the walk as a tree: after every move, what the
// screen holds, `hod` and whether the dialog waits.
// Dashed edges are redirects; grey ones leave a scene whose texts a press with no rule has
// left on screen (every option visible again). Exits 1 when a scene cannot be reached or a
// rule never fires.
#include <array>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "rule_tables.h"
#include "scene_catalogue.h"
#include "story_walk.h"

namespace sessiya {
namespace {

// Past move 8 no option has rules: a path that gets there only repeats the no-rule state.
constexpr std::int16_t kLastMoveWithRules = 8;

const char* const kLetters[] = {"", "А", "В", "Б", "Г"};  // Command1 … Command4 as read

std::string sceneName(SceneId id) {
  const int number = static_cast<int>(id);
  return std::string("S") + (number < 10 ? "0" : "") + std::to_string(number);
}

struct Edge {
  std::string from;
  std::string to;
  std::string label;
  bool redirect = false;
  bool from_stale = false;  // pressed on a scene left on screen by a press with no rule
  bool operator<(const Edge& other) const {
    return std::tie(from, to, label, from_stale) <
           std::tie(other.from, other.to, other.label, other.from_stale);
  }
};

// Where a path stands: the scene whose texts are shown, and whether a press with no rule
// has left them there.
struct Shown {
  std::string scene;
  bool stale = false;
};

void writeString(std::ostream& out, std::string_view text) {
  out << '"';
  for (const char c : text) {
    if (c == '"' || c == '\\') out << '\\';
    out << c;  // the texts hold no control characters
  }
  out << '"';
}

// The walk's moments as JSON: each distinct screen once, then the tree of moves.
class StatesTree {
 public:
  // {"screen": index, "hod": n, "dialog": bool, "moves": [[move, node], …]}
  void open(const Moment& moment) {
    tree_ << "{\"screen\":" << screenIndex(moment.story.screen())
          << ",\"hod\":" << moment.story.hod()
          << ",\"dialog\":" << (moment.dialog_open ? "true" : "false") << ",\"moves\":[";
    first_move_.push_back(true);
  }
  void move(PlayerMove move) {
    if (!first_move_.back()) tree_ << ',';
    first_move_.back() = false;
    tree_ << '[' << static_cast<int>(move) << ',';
  }
  void closeMove() { tree_ << ']'; }
  void close() {
    tree_ << "]}";
    first_move_.pop_back();
  }

  void write(std::ostream& out) const {
    out << "{\"screens\":[\n";
    for (std::size_t i = 0; i < screens_.size(); ++i) {
      const ScreenState& screen = screens_[i];
      out << (i > 0 ? ",\n" : "") << "{\"captions\":[";
      for (std::size_t c = 0; c < screen.captions.size(); ++c) {
        if (c > 0) out << ',';
        writeString(out, screen.captions[c]);
      }
      out << "],\"labelVisible\":[";
      for (int o = 0; o < kOptionCount; ++o)
        out << (o > 0 ? "," : "") << (screen.option_label_visible[o] ? "true" : "false");
      out << "],\"buttonVisible\":[";
      for (int o = 0; o < kOptionCount; ++o)
        out << (o > 0 ? "," : "") << (screen.button_visible[o] ? "true" : "false");
      out << "],\"picture\":";
      writeString(out, screen.picture);
      out << ",\"pictureHeight\":" << screen.picture_height << '}';
    }
    out << "],\n\"walk\":" << tree_.str() << "}\n";
  }

 private:
  std::size_t screenIndex(const ScreenState& screen) {
    for (std::size_t i = 0; i < screens_.size(); ++i) {
      if (screens_[i] == screen) return i;
    }
    screens_.push_back(screen);
    return screens_.size() - 1;
  }

  std::vector<ScreenState> screens_;
  std::ostringstream tree_;
  std::vector<bool> first_move_;
};

class StoryMap {
 public:
  explicit StoryMap(StatesTree* states) : states_(states) {}

  void walk(const Moment& moment, const Shown& shown) {
    if (states_ != nullptr) states_->open(moment);
    if (moment.story.hod() <= kLastMoveWithRules) {
      for (PlayerMove move : movesFrom(moment)) {
        const Moment next = play(moment, move);
        if (states_ != nullptr) states_->move(move);
        walk(next, follow(move, next, shown));
        if (states_ != nullptr) states_->closeMove();
      }
    }
    if (states_ != nullptr) states_->close();
  }

  int report(std::ostream& dot) const {
    dot << "digraph story {\n  rankdir=LR;\n"
        << "  node [shape=box, style=rounded, fontname=\"Liberation Sans\"];\n"
        << "  edge [fontname=\"Liberation Sans\", fontsize=10];\n";
    dot << "  dialog [label=\"dialog\\n«Итак ответ B?»\", shape=ellipse];\n";
    int problems = 0;
    for (const Scene& entry : kSceneCatalogue) {
      const std::string name = sceneName(entry.id);
      if (!reached_.contains(name)) {
        std::cerr << "unreachable scene " << name << '\n';
        ++problems;
      }
      dot << "  " << name << " [label=\"" << name << "\""
          << (entry.ends() ? ", style=\"rounded,filled\", fillcolor=\"#f4c7c3\"" : "") << "];\n";
    }
    for (const Edge& edge : edges_) {
      dot << "  " << edge.from << " -> " << edge.to << " [label=\"" << edge.label << "\""
          << (edge.redirect ? ", style=dashed" : "")
          << (edge.from_stale ? ", color=gray60, fontcolor=gray50" : "") << "];\n";
    }
    dot << "}\n";

    std::cout << "option move rule  paths\n";
    const RuleTable* tables[] = {&kOption1Rules, &kOption2Rules, &kOption3Rules, &kOption4Rules};
    for (int option = 1; option <= 4; ++option) {
      for (std::size_t move = 0; move < tables[option - 1]->size(); ++move) {
        for (const Rule& rule : (*tables[option - 1])[move]) {
          const auto found = paths_.find(&rule);
          const long paths = found == paths_.end() ? 0 : found->second;
          std::cout << "  " << kLetters[option] << "    " << move + 1 << "    " << rule.id << "   "
                    << paths << '\n';
          if (paths == 0) {
            std::cerr << "rule " << rule.id << " of option " << option << " never fires\n";
            ++problems;
          }
        }
      }
    }
    std::cout << paths_walked_ << " paths walked, " << reached_.size() << " of " << kSceneCount
              << " scenes reached\n";
    return problems == 0 ? 0 : 1;
  }

 private:
  // Records one move; returns the scene shown after it.
  Shown follow(PlayerMove move, const Moment& after, const Shown& shown) {
    ++paths_walked_;
    if (move == PlayerMove::kDecline) return shown;
    if (move == PlayerMove::kConfirmTwice) {
      edges_.insert({"dialog", "S20", "Да! Да!"});
      reached_.insert("S20");
      return {"S20"};
    }
    const std::vector<FiredRule>& fired = after.story.lastPress();
    for (const FiredRule& step : fired) {
      if (step.rule != nullptr) ++paths_[step.rule];
    }
    const FiredRule& last = fired.back();
    const std::string label =
        std::string(kLetters[static_cast<int>(move)]) + " " + std::to_string(fired.front().move);
    if (showedDialog(after.story)) {
      edges_.insert({shown.scene, "dialog", label, false, shown.stale});
      return {shown.scene, true};  // the neutral reset brought back every option
    }
    const std::optional<SceneId> applied = appliedScene(after.story);
    if (!applied) return {shown.scene, true};
    const std::string to = sceneName(*applied);
    const bool redirected = fired.size() > 1;
    edges_.insert({shown.scene, to,
                   redirected
                       ? label + " ↪ " + kLetters[last.option] + " " + std::to_string(last.move)
                       : label,
                   redirected, shown.stale});
    reached_.insert(to);
    return {to};
  }

  StatesTree* states_;
  std::set<Edge> edges_;
  std::set<std::string> reached_{"S01"};
  std::map<const Rule*, long> paths_;
  long paths_walked_ = 0;
};

}  // namespace
}  // namespace sessiya

int main(int argc, char* argv[]) {
  if (argc != 2 && argc != 3) {
    std::cerr << "usage: story_map MAP.dot [STATES.json]\n";
    return 2;
  }
  sessiya::StatesTree states;
  sessiya::StoryMap map(argc == 3 ? &states : nullptr);
  map.walk(sessiya::openingMoment(), {"S01"});
  if (argc == 3) {
    std::ofstream json(argv[2]);
    states.write(json);
  }
  std::ofstream dot(argv[1]);
  return map.report(dot);
}
