#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <iostream>
#include "private_config.h"

// With "--other-program X Y" the test program plays another application: a plain window at
// X, Y that says on standard output when it is on screen.
int otherProgram(int x, int y) {
  QWidget window;
  window.setWindowTitle(QStringLiteral("Другая программа"));
  window.setGeometry(x, y, 120, 120);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  std::cout << "shown" << std::endl;
  return QApplication::exec();
}

int main(int argc, char* argv[]) {
  sessiya::testing::usePrivateConfigFolder();
  QApplication app(argc, argv);
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() == 4 && arguments[1] == QLatin1String("--other-program")) {
    return otherProgram(arguments[2].toInt(), arguments[3].toInt());
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
