// Renders the main window offscreen to a PNG, after an optional sequence of steps:
//   window_screenshot OUT.png [STEP…]
// A step is an option number 1 … 4, "new" for a new attempt, or "endings" for the list of
// endings found so far. When the steps leave the dialog or the list open, OUT.png shows it.
#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <iostream>

#include "form1.h"
#include "endings_menu.h"
#include "endings_window.h"
#include "form2.h"
#include "private_config.h"

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  sessiya::testing::usePrivateConfigFolder();  // the shots record no endings
  QApplication app(argc, argv);
  if (argc < 2) {
    std::cerr << "usage: window_screenshot OUT.png [1|2|3|4|new|endings...]\n";
    return 2;
  }
  sessiya::Form1 form(QCoreApplication::applicationDirPath().toStdString());
  form.show();
  for (int i = 2; i < argc; ++i) {
    const QString step = QString::fromLocal8Bit(argv[i]);
    if (step == QLatin1String("new") || step == QLatin1String("endings")) {
      form.findChild<QAction*>(step == QLatin1String("new") ? "m_new" : "m_found_endings")
          ->trigger();
      continue;
    }
    const QString name = QStringLiteral("Command") + QString::fromLocal8Bit(argv[i]);
    auto* button = form.findChild<QPushButton*>(name);
    if (button == nullptr || !button->isVisible()) {
      std::cerr << "window_screenshot: no visible option " << argv[i] << '\n';
      return 1;
    }
    button->click();
  }
  QApplication::processEvents();
  QWidget* shown = &form;
  if (form.dialog() != nullptr && form.dialog()->isVisible()) shown = form.dialog();
  if (QWidget* list = form.endings().listWindow(); list != nullptr && list->isVisible()) {
    shown = list;
  }
  if (!shown->grab().save(QString::fromLocal8Bit(argv[1]))) {
    std::cerr << "window_screenshot: cannot write " << argv[1] << '\n';
    return 1;
  }
  return 0;
}
