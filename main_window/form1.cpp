#include "form1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QImage>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <iostream>
#include <limits>
#include <utility>

#include "contact_details.h"
#include "endings_menu.h"
#include "form2.h"
#include "link_hover.h"
#include "option_grid.h"
#include "option_keys.h"
#include "picture_descriptions.h"
#include "picture_path.h"
#include "program_icon.h"
#include "scene_pictures.h"
#include "scene_presentation.h"
#include "sharp_picture.h"
#include "ui_form1.h"
#include "utf8_text.h"
#include "window_look.h"

namespace sessiya {
namespace {

constexpr int kTwipsPerPixel = 15;
const QColor kLinkRest(0xFF, 0, 0);   // red
const QColor kLinkHover(0, 0, 0xFF);  // blue

void setTextColour(QWidget* label, const QColor& colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

}  // namespace

Form1::Form1(std::filesystem::path program_dir)
    : ui_(std::make_unique<Ui::Form1>()),
      program_dir_(std::move(program_dir)),
      story_(*this),
      announcer_(this) {
  applyWindowLook();
  // loadPicture reports a picture that cannot be read; its decoder need not say it again.
  QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
  // Set before the window has children: set after, the change is carried to every one.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
  ui_->setupUi(this);
  setWindowIcon(programIcon());
  setAccessibleName(QStringLiteral("Сессия"));  // the title bar stays empty
  captions_ = {ui_->Label1, ui_->Label2, ui_->Label3, ui_->Label4, ui_->Label5, ui_->Label6};
  buttons_ = {ui_->Command1, ui_->Command2, ui_->Command3, ui_->Command4};

  ui_->Label7->setText(QString::fromUtf8(kAuthorEmail));
  ui_->Label9->setText(QString::fromUtf8(kAuthorWebsite));
  ui_->Label7->setFont(mailLinkFont());
  ui_->Label9->setFont(websiteLinkFont());
  for (QWidget* link : {ui_->Label7, ui_->Label9}) {
    setTextColour(link, kLinkRest);
    link->installEventFilter(this);
  }
  for (QPushButton* button : buttons_) button->installEventFilter(this);  // arrow keys
  // Mouse moves over any control reach the window, which decides by what lies under them.
  ui_->centralwidget->setMouseTracking(true);
  for (QWidget* child : ui_->centralwidget->findChildren<QWidget*>()) child->setMouseTracking(true);
  ui_->centralwidget->installEventFilter(this);
  ui_->Picture1->raise();  // a tall picture covers the right-hand option texts

  connect(ui_->Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
  connect(ui_->Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
  connect(ui_->Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
  connect(ui_->Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
  connect(ui_->m_new, &QAction::triggered, this, &Form1::m_new_Click);
  connect(ui_->m_end, &QAction::triggered, this, &Form1::m_end_Click);
  // Orca names no popup menu as it opens, and the endings menu's title holds the count: the
  // title is said, and kept as the menu's name for the reader's "where am I".
  for (QMenu* menu : {ui_->m_file, ui_->m_endings}) {
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
      const QString title = QString(menu->title()).remove(QLatin1Char('&'));
      menu->setAccessibleName(title);
      if (Announcer::listened()) menu_notice_->say(title);
    });
  }
  endings_ = std::make_unique<EndingsMenu>(
      EndingsMenu::Items{*ui_->m_endings, *ui_->m_found_endings, *ui_->m_forget_endings}, *this,
      program_dir_, EndingFile::standardPath());

  ui_->Picture1->setAccessibleName(QStringLiteral("Иллюстрация"));
  const QString start_path = QStringLiteral(":/start.jpg");
  const QImage start(start_path);
  ui_->Picture1->setPicture(start, readSharpPicture(start_path, start.size(), devicePixelRatioF()));
  ui_->Picture1->setAccessibleDescription(fromUtf8(pictureDescription({})));
  render();
  setFixedSize(sizeHint());
  Form_Load();
}

Form1::~Form1() = default;

void Form1::Form_Load() { story_.formLoad(); }

void Form1::Command1_Click() { press(1); }
void Form1::Command2_Click() { press(2); }
void Form1::Command3_Click() { press(3); }
void Form1::Command4_Click() { press(4); }

void Form1::press(int option) {
  story_.press(option);
  if (story_.hod() == std::numeric_limits<std::int16_t>::max() && !reported_top_move_) {
    reported_top_move_ = true;
    std::cerr << "sessiya: the move count has reached its top, " << story_.hod()
              << "; further moves are counted as that move\n";
  }
  render();
}

void Form1::m_new_Click() {
  story_.newAttempt();
  render();
}

void Form1::m_end_Click() { endProgram(); }

void Form1::closeEvent(QCloseEvent* event) {
  Form_Unload();
  event->accept();
}

void Form1::Form_Unload() { endProgram(); }

void Form1::endProgram() {
  form2().hide();
  QCoreApplication::quit();
}

void Form1::confirmFinalAnswer() {
  story_.confirmFinalAnswer();
  render();
}

void Form1::showDialog() {
  dialog_opened_ = true;
  form2().bringUp();
}

Form2& Form1::form2() {
  if (!form2_) {
    form2_ = std::make_unique<Form2>([this] { confirmFinalAnswer(); });
    form2_->installEventFilter(this);
  }
  return *form2_;
}

// A step may load the default picture and then its scene's own: only the last one is
// shown, so only that one is read, when the step is drawn.
void Form1::loadPicture(std::string_view reference) { pending_picture_ = reference; }

void Form1::showPendingPicture() {
  if (!pending_picture_) return;
  const std::filesystem::path path = picturePath(program_dir_, *pending_picture_);
  const ScenePictures::Decoded& decoded = scene_pictures_.read(
      QString::fromStdString(path.string()), ui_->Picture1->devicePixelRatioF());
  if (decoded.picture.isNull()) {
    const std::string problem = path.string() + ": " + decoded.error.toStdString();
    if (reported_pictures_.insert(problem).second) {
      std::cerr << "sessiya: cannot show picture " << problem << '\n';
    }
  }
  ui_->Picture1->setPicture(decoded.picture, decoded.sharp);
  ui_->Picture1->setAccessibleDescription(
      decoded.picture.isNull() ? QString() : fromUtf8(pictureDescription(*pending_picture_)));
  pending_picture_.reset();
}

void Form1::render() {
  const ScreenState& screen = story_.screen();
  for (std::size_t i = 0; i < captions_.size(); ++i) {
    captions_[i]->setText(QString::fromStdString(screen.captions[i]));
  }
  for (int option = 1; option <= kOptionCount; ++option) {
    // A focused button that hides hands the focus on to the next one, still named after the
    // last scene's option, and a screen reader reads that: the focus is let go first.
    QPushButton* button = buttons_[option - 1];
    if (!screen.button_visible[option - 1] && button->hasFocus()) button->clearFocus();
  }
  for (int option = 1; option <= kOptionCount; ++option) {
    captions_[option + 1]->setVisible(screen.option_label_visible[option - 1]);
    buttons_[option - 1]->setVisible(screen.button_visible[option - 1]);
  }
  ui_->Picture1->resize(ui_->Picture1->width(), screen.picture_height / kTwipsPerPixel);
  showPendingPicture();
  // A press that opens the dialog leaves the scene as it was: the dialog is what to hear.
  presentScene(screen, buttons_, ui_->centralwidget, newAttemptCommand(),
               std::exchange(dialog_opened_, false) ? nullptr : &announcer_);
  endings_->noteScreen(screen);
}

// "Ctrl+N или пункт «Новая попытка» меню «Файл»", from the menu itself.
std::string Form1::newAttemptCommand() const {
  QString menu = ui_->m_file->title();
  menu.remove(QLatin1Char('&'));
  return (ui_->m_new->shortcut().toString(QKeySequence::NativeText) +
          QStringLiteral(" или пункт «") + ui_->m_new->text() + QStringLiteral("» меню «") + menu +
          QStringLiteral("»"))
      .toStdString();
}

void Form1::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::NoModifier) {
    ui_->menubar->setActiveAction(ui_->m_file->menuAction());  // as desktop programs do
    return;
  }
  // Without a window manager the window gets the keys but never becomes the active one, and
  // Qt matches no shortcut in a window that is not active: the menu's are matched here.
  for (QAction* action : {ui_->m_new, ui_->m_end}) {
    if (action->shortcut() == QKeySequence(event->keyCombination())) {
      action->trigger();
      return;
    }
  }
  const int option = optionForKey(event->text());
  if (option != 0 && event->modifiers() == Qt::NoModifier) {
    if (story_.screen().button_visible[option - 1]) buttons_[option - 1]->click();
    return;
  }
  QMainWindow::keyPressEvent(event);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  // The dialog answered or closed gives the keys back to the window. A window manager would
  // pass them on by itself; without one, they would reach no window of the game.
  if (watched == form2_.get() && event->type() == QEvent::Hide && isVisible()) {
    activateWindow();
    return false;
  }
  if (event->type() == QEvent::KeyPress &&
      moveFocusInGrid(buttons_, story_.screen(), watched, static_cast<QKeyEvent*>(event)->key())) {
    return true;
  }
  // The hand cursor is made once the window is first drawn: no pointer is over it before.
  if (event->type() == QEvent::Paint && watched == ui_->centralwidget && !hand_cursors_asked_) {
    hand_cursors_asked_ = true;
    QMetaObject::invokeMethod(this, &Form1::setHandCursors, Qt::QueuedConnection);
  }
  if (event->type() == QEvent::MouseMove && watched == ui_->centralwidget) {
    const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
    const QWidget* under = ui_->centralwidget->childAt(at);
    switch (linkHoverOver(under ? under->objectName() : QString())) {
      case LinkHover::kMailBlue:
        Label7_MouseMove();
        break;
      case LinkHover::kWebsiteBlue:
        Label9_MouseMove();
        break;
      case LinkHover::kBothRed:
        paintLinksRed();
        break;
      case LinkHover::kMailRedOnly:
        Form_MouseMove();
        break;
      case LinkHover::kNone:
        break;
    }
    return true;
  }
  if ((watched == ui_->Label7 || watched == ui_->Label9) &&
      link_clicks_.completesClick(watched, event)) {
    watched == ui_->Label7 ? Label7_Click() : Label9_Click();
  }
  return QMainWindow::eventFilter(watched, event);
}

void Form1::setHandCursors() {
  const QCursor hand = handCursor();
  for (QWidget* control : std::initializer_list<QWidget*>{
           ui_->Label7, ui_->Label9, ui_->Command1, ui_->Command2, ui_->Command3, ui_->Command4}) {
    control->setCursor(hand);
  }
}

void Form1::Label7_MouseMove() { setTextColour(ui_->Label7, kLinkHover); }
void Form1::Label9_MouseMove() { setTextColour(ui_->Label9, kLinkHover); }

void Form1::paintLinksRed() {
  setTextColour(ui_->Label7, kLinkRest);
  setTextColour(ui_->Label9, kLinkRest);
}

void Form1::Form_MouseMove() { setTextColour(ui_->Label7, kLinkRest); }

void Form1::Label7_Click() {
  OpenWithOwner(
      this, QStringLiteral("mailto:") + ui_->Label7->text() + QStringLiteral("?subject=Ulmeda"));
}

void Form1::Label9_Click() { OpenDocument(ui_->Label9->text()); }

void Form1::OpenDocument(const QString& target) {
  QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

void Form1::OpenWithOwner(QWidget* owner, const QString& target) {
  // The desktop's handler takes no owner window here; the request is the same.
  Q_UNUSED(owner);
  QDesktopServices::openUrl(QUrl(target));
}

}  // namespace sessiya
