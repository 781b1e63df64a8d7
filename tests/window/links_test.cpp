#include <QDesktopServices>
#include <QUrl>

#include "contact_details.h"
#include "player.h"

namespace sessiya::testing {
namespace {

// Takes the desktop's "open" requests instead of a mail program or a browser.
class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  UrlCatcher() {
    for (const char* scheme : {"mailto", "http", "https"}) {
      QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
  }
  ~UrlCatcher() override {
    for (const char* scheme : {"mailto", "http", "https"}) {
      QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
  }
  QList<QUrl> opened;

 public slots:
  void open(const QUrl& url) { opened << url; }
};

const QColor kRed(0xFF, 0, 0);
const QColor kBlue(0, 0, 0xFF);

QColor colourOf(const Player& player, const char* label) {
  return player.control(label)->palette().color(QPalette::WindowText);
}

QPoint centreOf(const Player& player, const char* control) {
  const QWidget* widget = player.control(control);
  return widget->mapTo(player.form->centralWidget(), widget->rect().center());
}

// Moves the mouse over a control, over the bare frame for "Frame1", or over the bare
// window for "".
void moveOver(Player& player, const char* control) {
  QPoint point(600, 390);
  if (std::string_view(control) == "Frame1") {
    point = player.control("Frame1")->mapTo(player.form->centralWidget(), QPoint(4, 55));
  } else if (*control) {
    point = centreOf(player, control);
  }
  moveMouseTo(player.form.get(), player.form->centralWidget(), point);
}

TEST(Links, MailLinkOpensANewMessageWithTheSubject) {
  UrlCatcher catcher;
  Player player;
  clickAt(player.form.get(), player.form->centralWidget(), centreOf(player, "Label7"));
  ASSERT_EQ(catcher.opened.size(), 1);
  EXPECT_EQ(catcher.opened[0].toString(),
            QStringLiteral("mailto:") + QString::fromUtf8(kAuthorEmail) + "?subject=Ulmeda");
}

TEST(Links, WebsiteLinkOpensTheAddressShown) {
  UrlCatcher catcher;
  Player player;
  clickAt(player.form.get(), player.form->centralWidget(), centreOf(player, "Label9"));
  ASSERT_EQ(catcher.opened.size(), 1);
  EXPECT_EQ(catcher.opened[0], QUrl::fromUserInput(QString::fromUtf8(kAuthorWebsite)));
  EXPECT_EQ(catcher.opened[0].host(), QUrl::fromUserInput(player.caption("Label9")).host());
}

TEST(Links, ADoubleClickIsOneClick) {
  for (const char* link : {"Label7", "Label9"}) {
    UrlCatcher catcher;
    Player player;
    QTest::mouseDClick(
        player.form->windowHandle(), Qt::LeftButton, {},
        player.form->centralWidget()->mapTo(player.form.get(), centreOf(player, link)));
    QCoreApplication::processEvents();
    EXPECT_EQ(catcher.opened.size(), 1) << link;
  }
}

// After moving over `first` then `second`: the colours of Label7 and Label9.
struct HoverCase {
  const char* name;
  const char* first;
  const char* second;  // empty: the bare window
  QColor mail;
  QColor website;
};

class Hover : public ::testing::TestWithParam<HoverCase> {};

TEST_P(Hover, PaintsTheLinksAsTheirHandlersSay) {
  const HoverCase& c = GetParam();
  Player player;
  moveOver(player, c.first);
  moveOver(player, c.second);
  EXPECT_EQ(colourOf(player, "Label7"), c.mail);
  EXPECT_EQ(colourOf(player, "Label9"), c.website);
}

INSTANTIATE_TEST_SUITE_P(
    Window, Hover,
    ::testing::Values(HoverCase{"OverMail", "Label1", "Label7", kBlue, kRed},
                      HoverCase{"OverWebsite", "Label1", "Label9", kRed, kBlue},
                      HoverCase{"FrameRestoresBoth", "Label9", "Frame1", kRed, kRed},
                      HoverCase{"EpigraphRestoresBoth", "Label7", "Label1", kRed, kRed},
                      HoverCase{"NarrativeRestoresBoth", "Label9", "Label2", kRed, kRed},
                      HoverCase{"BareWindowRestoresOnlyMail", "Label9", "", kRed, kBlue},
                      HoverCase{"BareWindowAfterMail", "Label7", "", kRed, kRed},
                      HoverCase{"FrameCaptionHasNoHandler", "Label7", "Label8", kBlue, kRed},
                      HoverCase{"PictureHasNoHandler", "Label9", "Picture1", kRed, kBlue},
                      HoverCase{"OptionTextHasNoHandler", "Label7", "Label3", kBlue, kRed},
                      HoverCase{"ButtonHasNoHandler", "Label9", "Command4", kRed, kBlue}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace sessiya::testing

#include "links_test.moc"
