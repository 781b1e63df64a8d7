#include <QMenuBar>
#include <QPushButton>

#include "player.h"
#include "window_look.h"

namespace sessiya::testing {
namespace {

struct Control {
  const char* name;
  Place place;  // in twips, within the client area or Frame1
};

// The main window's stored layout, in keyboard tab order.
constexpr Control kForm1Controls[] = {
    {"Label1", {3000, 360, 3375, 1095}},  {"Label2", {480, 1800, 5655, 1935}},
    {"Command1", {480, 4080, 375, 495}},  {"Command2", {480, 5040, 375, 495}},
    {"Command3", {4920, 4080, 375, 495}}, {"Command4", {4920, 5040, 375, 495}},
    {"Label3", {1080, 4080, 3615, 735}},  {"Label4", {1080, 5040, 3615, 735}},
    {"Label6", {5520, 5040, 3975, 735}},  {"Label5", {5520, 4080, 3855, 735}},
    {"Picture1", {6480, 0, 3615, 3735}},  {"Frame1", {120, 120, 2655, 1335}},
    {"Label7", {480, 960, 2055, 255}},    {"Label8", {0, 0, 2175, 255}},
    {"Label9", {120, 360, 2415, 375}},
};

constexpr Control kForm2Controls[] = {
    {"Picture1", {0, 0, 4335, 3135}},
    {"Command1", {4920, 2280, 1455, 735}},
    {"Command2", {7080, 2280, 1455, 735}},
    {"Label1", {4920, 240, 1575, 255}},
};

TEST(Layout, MainWindowControlsStandWhereTheLayoutPutsThem) {
  Player player;
  for (const Control& control : kForm1Controls) {
    EXPECT_EQ(player.control(control.name)->geometry(), control.place.pixels()) << control.name;
  }
  EXPECT_EQ(player.control("Label7")->parentWidget()->objectName(), "Frame1");
  EXPECT_EQ(player.form->centralWidget()->size(), QSize(681, 401));
  EXPECT_EQ(player.form->centralWidget()->y(), player.form->menuBar()->height());
  EXPECT_EQ(player.form->minimumSize(), player.form->maximumSize());
  EXPECT_TRUE(player.form->windowTitle().isEmpty());
  EXPECT_EQ(player.form->accessibleName(), "Сессия");  // what a screen reader calls it
  const Qt::WindowFlags flags = player.form->windowFlags();
  EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
}

TEST(Layout, ButtonsReadABVGAndTabInNumberOrder) {
  Player player;
  const char16_t* captions[] = {u"A", u"B", u"Б", u"Г"};  // Latin A and B, Cyrillic Б and Г
  QWidget* focus = player.control("Command1");
  EXPECT_EQ(QApplication::focusWidget(), focus);
  for (int option = 1; option <= 4; ++option) {
    auto* button = player.control<QPushButton>(qPrintable(QString("Command%1").arg(option)));
    EXPECT_EQ(button->text(), QString::fromUtf16(captions[option - 1]));
    EXPECT_EQ(focus, button);
    focus = focus->nextInFocusChain();
    while (focus->focusPolicy() == Qt::NoFocus) focus = focus->nextInFocusChain();
  }
  for (const char* label : {"Label1", "Label2", "Label3", "Label7", "Label9", "Frame1"}) {
    EXPECT_EQ(player.control(label)->focusPolicy(), Qt::NoFocus) << label;
  }
}

TEST(Layout, HandCursorOnTheSixControlsThatTakeAClick) {
  Player player;
  for (const char* name : {"Label7", "Label9", "Command1", "Command2", "Command3", "Command4"}) {
    const QCursor cursor = player.control(name)->cursor();
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor) << name;
    EXPECT_EQ(cursor.hotSpot(), QPoint(12, 1)) << name;
    EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32)) << name;
  }
  for (const char* name : {"Label1", "Label3", "Picture1", "Frame1", "Label8"}) {
    EXPECT_EQ(player.control(name)->cursor().shape(), Qt::ArrowCursor) << name;
  }
}

TEST(Layout, BothWindowsWearTheProgramIcon) {
  Player player;
  player.press(2);
  const QImage icon = QImage(QStringLiteral(":/icon.ico")).convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(icon.size(), QSize(32, 32));
  for (QWidget* window :
       {static_cast<QWidget*>(player.form.get()), static_cast<QWidget*>(player.form->dialog())}) {
    ASSERT_NE(window, nullptr);
    const QIcon worn = window->windowIcon();
    EXPECT_FALSE(worn.isNull());
    EXPECT_EQ(worn.availableSizes(), QList<QSize>{QSize(32, 32)});
    EXPECT_EQ(worn.pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32), icon);
  }
}

TEST(Layout, FontsAndLinkColours) {
  Player player;
  EXPECT_EQ(player.control("Label2")->font(), dialogFont());
  EXPECT_EQ(player.control("Label7")->font(), mailLinkFont());
  EXPECT_EQ(player.control("Label9")->font(), websiteLinkFont());
  EXPECT_TRUE(QFontInfo(dialogFont()).exactMatch());
  EXPECT_EQ(QFontInfo(dialogFont()).family(), "Liberation Sans");
  EXPECT_EQ(player.control("Label7")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_EQ(player.caption("Label8"), "Ваши мысли направляйте:");
}

TEST(Layout, DialogControlsStandWhereTheLayoutPutsThem) {
  Player player;
  player.press(2);
  Form2* dialog = player.form->dialog();
  ASSERT_NE(dialog, nullptr);
  for (const Control& control : kForm2Controls) {
    EXPECT_EQ(dialog->findChild<QWidget*>(control.name)->geometry(), control.place.pixels())
        << control.name;
  }
  EXPECT_EQ(dialog->size(), QSize(600, 213));
  EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
  EXPECT_EQ(dialog->windowTitle(), "Кестрин");
  EXPECT_EQ(dialog->parentWidget(), nullptr);
  // An ordinary window, which the window manager does not keep above the main one.
  EXPECT_EQ(dialog->windowType(), Qt::Window);
  EXPECT_FALSE(dialog->windowFlags() &
               (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_FALSE(dialog->isModal());
  EXPECT_EQ(dialog->findChild<QPushButton*>("Command1")->text(), "Да!");
  EXPECT_EQ(dialog->findChild<QPushButton*>("Command2")->text(), "Не-а! Я пошутил!");
}

}  // namespace
}  // namespace sessiya::testing
