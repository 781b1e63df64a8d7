#include <QPushButton>

#include "contact_details.h"
#include "line_wrap.h"
#include "player.h"
#include "scene_catalogue.h"
#include "window_look.h"
#include "wrap_label.h"

namespace sessiya::testing {
namespace {

using enum SceneId;

// Shows `caption` in the window's label and returns its lines, checking none is cut off.
QStringList showIn(WrapLabel* label, std::string_view caption) {
  label->setText(text(caption));
  const QStringList lines = label->lines();
  EXPECT_LE(lines.size() * label->lineHeight(), label->height())
      << label->objectName().toStdString() << ": " << caption;
  const QFontMetricsF metrics(label->font());
  for (const QString& line : lines)
    EXPECT_LE(metrics.horizontalAdvance(line.trimmed()), label->width());
  return lines;
}

TEST(TextFit, EveryNarrativeAndOptionFitsItsLabel) {
  Player player;
  const char* option_labels[] = {"Label3", "Label4", "Label5", "Label6"};
  for (const Scene& entry : kSceneCatalogue) {
    SCOPED_TRACE(static_cast<int>(entry.id));
    if (entry.narrative) showIn(player.control<WrapLabel>("Label2"), *entry.narrative);
    for (int option = 0; option < 4; ++option) {
      if (entry.options[option]) {
        showIn(player.control<WrapLabel>(option_labels[option]), *entry.options[option]);
      }
    }
  }
}

TEST(TextFit, EveryAttributionStandsAloneAtTheRight) {
  Player player;
  auto* label = player.control<WrapLabel>("Label1");
  const QFontMetricsF metrics(label->font());
  for (const Scene& entry : kSceneCatalogue) {
    SCOPED_TRACE(static_cast<int>(entry.id));
    const QStringList lines = showIn(label, sceneKey(entry.id));
    ASSERT_GE(lines.size(), 2);
    const QString attribution = text(entry.epigraph.attribution);
    EXPECT_EQ(lines.last().trimmed(), attribution);
    EXPECT_FALSE(lines[lines.size() - 2].contains(attribution));
    const qreal end = metrics.horizontalAdvance(lines.last());
    EXPECT_GT(end, label->width() / 2.0);
    EXPECT_LE(end, label->width());
  }
}

// The leftmost inked column in a band of rows of the picture, or -1 for none.
int leftmostInk(const QImage& image, int top, int bottom) {
  const QRgb background = image.pixel(image.width() - 1, 0);
  for (int x = 0; x < image.width(); ++x) {
    for (int y = top; y < std::min(bottom, image.height()); ++y) {
      if (image.pixel(x, y) != background) return x;
    }
  }
  return -1;
}

TEST(TextFit, TheDrawnEpigraphPutsTheAttributionAtTheRight) {
  Player player;
  auto* label = player.control<WrapLabel>("Label1");
  for (const Scene& entry : kSceneCatalogue) {
    SCOPED_TRACE(static_cast<int>(entry.id));
    label->setText(text(sceneKey(entry.id)));
    const QImage drawn = label->grab().toImage();
    const int lines = static_cast<int>(label->lines().size());
    const int height = label->lineHeight();
    // Looks at the middle rows of a line, clear of the descenders of the line above.
    const auto inkInLine = [&](int line) {
      return leftmostInk(drawn, line * height + height / 3, line * height + height * 3 / 4);
    };
    EXPECT_LT(inkInLine(0), 4);  // the quotation starts at the left
    // The attribution is drawn after the spaces that lead its line.
    const QFontMetricsF metrics(label->font());
    const qreal spaces = metrics.horizontalAdvance(label->lines().last()) -
                         metrics.horizontalAdvance(text(entry.epigraph.attribution));
    EXPECT_GE(inkInLine(lines - 1), spaces - 2);
    EXPECT_GT(spaces, 0);
  }
}

TEST(TextFit, ContactLinksFitTheirLabels) {
  Player player;
  for (const auto& [label, shown] :
       {std::pair{"Label7", kAuthorEmail}, {"Label9", kAuthorWebsite}}) {
    QLabel* link = player.control<QLabel>(label);
    EXPECT_EQ(link->text(), QString::fromUtf8(shown));
    EXPECT_LE(QFontMetrics(link->font()).horizontalAdvance(link->text()), link->width()) << label;
    EXPECT_LE(QFontMetrics(link->font()).height(), link->height()) << label;
  }
}

TEST(TextFit, DialogCaptionsFit) {
  Player player;
  player.press(2);
  Form2* dialog = player.form->dialog();
  for (const char* name : {"Command1", "Command2"}) {
    const auto* button = dialog->findChild<QPushButton*>(name);
    EXPECT_LE(button->sizeHint().width(), button->width()) << name;
  }
  auto* question = dialog->findChild<QLabel*>("Label1");
  for (const char* asked : {"Итак ответ B?", "Вы уверены?"}) {
    EXPECT_LE(QFontMetrics(question->font()).horizontalAdvance(QString::fromUtf8(asked)),
              question->width());
  }
}

// The wrap keeps every space: a run carries the words after it onto a later line.
TEST(LineWrap, BreaksLikeTheStoryLabels) {
  const QFont font = dialogFont();
  const qreal width = QFontMetricsF(font).horizontalAdvance(QStringLiteral("aaaa aaaa"));
  const auto wrap = [&](const QString& text) { return WrappedText(text, font, width).lines(); };
  EXPECT_EQ(wrap("aaaa aaaa bbbb"), (QStringList{"aaaa aaaa", "bbbb"}));
  EXPECT_EQ(wrap("aaaa bbbbbb"), (QStringList{"aaaa ", "bbbbbb"}));
  EXPECT_EQ(wrap("aaaaaaaaaaaaaaaa").join(""), "aaaaaaaaaaaaaaaa");
  const QString run(40, u' ');
  const QStringList lines = wrap("aa" + run + "bb");
  EXPECT_EQ(lines.join("").size() + lines.size() - 1, 44);  // one space dropped per break
  EXPECT_EQ(lines.last().trimmed(), "bb");
  EXPECT_TRUE(lines.last().startsWith(u' '));
  EXPECT_TRUE(wrap("").isEmpty());
}

}  // namespace
}  // namespace sessiya::testing
