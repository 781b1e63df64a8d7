// Renders the main window offscreen to a PNG, after an optional sequence of presses:
//   window_screenshot OUT.png [PRESS…]   (PRESS is the option number 1 … 4)
// When the presses leave the dialog open, OUT.png shows the dialog instead.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <iostream>

#include "form1.h"
#include "form2.h"
#include "private_config.h"

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  sessiya::testing::usePrivateConfigFolder();  // the shots record no endings
  QApplication app(argc, argv);
  if (argc < 2) {
    std::cerr << "usage: window_screenshot OUT.png [PRESS...]\n";
    return 2;
  }
  sessiya::Form1 form(QCoreApplication::applicationDirPath().toStdString());
  form.show();
  for (int i = 2; i < argc; ++i) {
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
  if (!shown->grab().save(QString::fromLocal8Bit(argv[1]))) {
    std::cerr << "window_screenshot: cannot write " << argv[1] << '\n';
    return 1;
  }
  return 0;
}
