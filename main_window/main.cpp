#include <QApplication>

#include "form1.h"
#include "picture_folder.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const std::filesystem::path program_dir = QCoreApplication::applicationDirPath().toStdString();
  sessiya::Form1 form(sessiya::pictureFolder(program_dir, SESSIYA_INSTALLED_PICTURES));
  form.show();
  return QApplication::exec();
}
