#include <QApplication>

#include "form1.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  sessiya::Form1 form(QCoreApplication::applicationDirPath().toStdString());
  form.show();
  return QApplication::exec();
}
