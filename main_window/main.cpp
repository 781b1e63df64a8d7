#include <QApplication>
#include <csignal>

#include "form1.h"
#include "picture_folder.h"

int main(int argc, char* argv[]) {
  // A write past the player's file-size limit fails and is reported, instead of ending the game.
  std::signal(SIGXFSZ, SIG_IGN);
  QApplication app(argc, argv);
  const std::filesystem::path program_dir = QCoreApplication::applicationDirPath().toStdString();
  sessiya::Form1 form(sessiya::pictureFolder(program_dir, SESSIYA_INSTALLED_PICTURES));
  form.show();
  return QApplication::exec();
}
