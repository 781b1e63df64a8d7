// The yardstick for the game's start-up: a plain Qt Widgets window of the game's size with
// a menu, a label, four buttons and one picture.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QMainWindow window;
  auto* area = new QWidget;
  area->setFixedSize(681, 401);
  window.setCentralWidget(area);
  QMenu* menu = window.menuBar()->addMenu(QStringLiteral("&Файл"));
  menu->addAction(QStringLiteral("Новая попытка"));
  menu->addAction(QStringLiteral("Выход"));
  auto* label =
      new QLabel(QStringLiteral("Прежде всего неплохо бы выяснить, где ты учишься."), area);
  label->setGeometry(32, 120, 377, 129);
  label->setWordWrap(true);
  for (int i = 0; i < 4; ++i) {
    auto* button = new QPushButton(QString(QChar(u"АБВГ"[i])), area);
    button->setGeometry(i % 2 == 0 ? 32 : 328, i < 2 ? 272 : 336, 25, 33);
  }
  auto* picture = new QLabel(area);
  picture->setGeometry(432, 0, 241, 249);
  picture->setPixmap(QPixmap(QStringLiteral(SESSIYA_PROGRAM_DIR "/br_196.jpg")));
  window.show();
  return QApplication::exec();
}
