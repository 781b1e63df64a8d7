#include "random_player.h"

#include <QPushButton>
#include <set>

#include "picture_box.h"
#include "scene_catalogue.h"

namespace sessiya::testing {
namespace {

// Option keys in every form, and the keys that move and press in the grid.
const char16_t* const kTypedKeys[] = {u"1", u"2", u"3", u"4", u"а", u"б", u"в", u"г", u"A",
                                      u"B", u"x", u"←", u"→", u"↑", u"↓", u"⏎", u"␣"};

const std::pair<const char16_t*, Qt::Key> kNamedKeys[] = {
    {u"←", Qt::Key_Left}, {u"→", Qt::Key_Right},  {u"↑", Qt::Key_Up},
    {u"↓", Qt::Key_Down}, {u"⏎", Qt::Key_Return}, {u"␣", Qt::Key_Space}};

const char* const kLabels[] = {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6"};
const char* const kButtons[] = {"Command1", "Command2", "Command3", "Command4"};

void typeKey(Player& player, const QString& typed) {
  for (const auto& [name, key] : kNamedKeys) {
    if (typed == QString::fromUtf16(name)) {
      player.typeKey(key);
      return;
    }
  }
  player.type(typed);
}

// Every text the story may show in each label.
struct CatalogueTexts {
  CatalogueTexts() {
    for (const Scene& entry : kSceneCatalogue) {
      keys.insert(text(sceneKey(entry.id)));
      if (entry.narrative) narratives.insert(text(*entry.narrative));
      for (int option = 0; option < 4; ++option) {
        if (entry.options[option]) options[option].insert(text(*entry.options[option]));
      }
    }
  }
  std::set<QString> keys;
  std::set<QString> narratives;
  std::set<QString> options[4];
};

}  // namespace

std::string SoakEvent::describe() const {
  switch (kind) {
    case Kind::kClickOption:
      return "click option " + std::to_string(parameter);
    case Kind::kTypeKey:
      return "type " + QString::fromUtf16(kTypedKeys[parameter]).toStdString();
    case Kind::kMenuNewAttempt:
      return "menu: new attempt";
    case Kind::kAnswerYes:
      return "dialog: Да!";
    case Kind::kAnswerNo:
      return "dialog: Не-а! Я пошутил!";
    case Kind::kCloseDialog:
      return "dialog: close box";
    case Kind::kActivateMain:
      return "activate the main window";
    case Kind::kActivateDialog:
      return "activate the dialog";
  }
  return "?";
}

SoakEvent EventSource::next() {
  // Mostly moves, as a player makes them; the rest now and then.
  std::uniform_int_distribution<int> roll(0, 99);
  const int dice = roll(random_);
  if (dice < 40) return {SoakEvent::Kind::kClickOption, 1 + dice % 4};
  if (dice < 70) {
    return {SoakEvent::Kind::kTypeKey, static_cast<int>(random_() % std::size(kTypedKeys))};
  }
  if (dice < 76) return {SoakEvent::Kind::kMenuNewAttempt};
  if (dice < 84) return {SoakEvent::Kind::kAnswerYes};
  if (dice < 88) return {SoakEvent::Kind::kAnswerNo};
  if (dice < 91) return {SoakEvent::Kind::kCloseDialog};
  if (dice < 96) return {SoakEvent::Kind::kActivateMain};
  return {SoakEvent::Kind::kActivateDialog};
}

void RandomPlayer::play(const SoakEvent& event) {
  Form1* form = player_.form.get();
  Form2* dialog = form->dialog();
  const bool dialog_open = player_.dialogShown();
  switch (event.kind) {
    case SoakEvent::Kind::kClickOption:
      player_.press(event.parameter);
      break;
    case SoakEvent::Kind::kTypeKey:
      typeKey(player_, QString::fromUtf16(kTypedKeys[event.parameter]));
      break;
    case SoakEvent::Kind::kMenuNewAttempt:
      player_.menu("m_new");
      break;
    case SoakEvent::Kind::kAnswerYes:
      if (dialog_open) player_.answer(kYes);
      break;
    case SoakEvent::Kind::kAnswerNo:
      if (dialog_open) player_.answer(kNo);
      break;
    case SoakEvent::Kind::kCloseDialog:
      if (dialog_open) dialog->close();
      break;
    case SoakEvent::Kind::kActivateMain:
      activate(form);
      break;
    case SoakEvent::Kind::kActivateDialog:
      if (dialog_open) activate(dialog);
      break;
  }
  QCoreApplication::processEvents();
}

std::optional<std::string> RandomPlayer::problem() const {
  static const CatalogueTexts catalogue;
  const Story& story = player_.form->story();
  const ScreenState& screen = story.screen();
  if (story.bb() != 0) return "bb is " + std::to_string(story.bb()) + " between events";
  for (int i = 0; i < 6; ++i) {
    if (player_.caption(kLabels[i]) != text(screen.captions[i])) {
      return std::string(kLabels[i]) + " does not show what the story holds";
    }
  }
  if (!catalogue.keys.contains(player_.caption("Label1"))) return "Label1 holds no scene's key";
  if (!catalogue.narratives.contains(player_.caption("Label2"))) {
    return "Label2 holds no scene's narrative";
  }
  for (int option = 1; option <= 4; ++option) {
    const QWidget* button = player_.control(kButtons[option - 1]);
    const auto* label = player_.control<QLabel>(kLabels[option + 1]);
    if (button->isVisible() != screen.button_visible[option - 1]) {
      return std::string(kButtons[option - 1]) + " visibility differs from the story";
    }
    if (!button->isVisible()) continue;
    if (!label->isVisible() || !catalogue.options[option - 1].contains(label->text())) {
      return std::string(kButtons[option - 1]) + " is shown without its option text";
    }
  }
  const int height = player_.control("Picture1")->height();
  if (height != 249 && height != 349) return "Picture1 is " + std::to_string(height) + " high";
  return std::nullopt;
}

std::optional<Failure> replay(const std::vector<SoakEvent>& events) {
  Player player;
  RandomPlayer random_player(player);
  for (std::size_t i = 0; i < events.size(); ++i) {
    random_player.play(events[i]);
    if (auto problem = random_player.problem()) return Failure{i, *problem};
  }
  return std::nullopt;
}

std::vector<SoakEvent> shrink(std::vector<SoakEvent> failing) {
  if (auto failure = replay(failing)) failing.resize(failure->index + 1);
  // Drop ever smaller runs of events while the rest still fails.
  for (std::size_t run = failing.size() / 2; run >= 1; run /= 2) {
    for (std::size_t start = 0; start + run <= failing.size();) {
      std::vector<SoakEvent> fewer(failing.begin(), failing.begin() + start);
      fewer.insert(fewer.end(), failing.begin() + start + run, failing.end());
      if (auto failure = replay(fewer)) {
        fewer.resize(failure->index + 1);
        failing = std::move(fewer);
      } else {
        start += run;
      }
    }
  }
  return failing;
}

}  // namespace sessiya::testing
