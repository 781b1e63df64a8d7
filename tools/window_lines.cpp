// Prints the lines the game window's story labels show for every scene's texts, as JSON,
// so that another front-end can be checked against the desktop's wrap:
//   window_lines > lines.json
// {"lineHeight": px, "scenes": {"S01": {"Label1": [line, …], …}, …}}
#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <iostream>

#include "form1.h"
#include "scene_catalogue.h"
#include "wrap_label.h"

namespace {

QJsonArray linesOf(sessiya::WrapLabel* label, std::string_view caption) {
  label->setText(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
  return QJsonArray::fromStringList(label->lines());
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  sessiya::Form1 form(QCoreApplication::applicationDirPath().toStdString());
  const auto label = [&form](int number) {
    return form.findChild<sessiya::WrapLabel*>(QStringLiteral("Label%1").arg(number));
  };
  QJsonObject scenes;
  for (const sessiya::Scene& entry : sessiya::kSceneCatalogue) {
    QJsonObject lines;
    lines[QStringLiteral("Label1")] = linesOf(label(1), sessiya::sceneKey(entry.id));
    if (entry.narrative) lines[QStringLiteral("Label2")] = linesOf(label(2), *entry.narrative);
    for (int option = 1; option <= sessiya::kOptionCount; ++option) {
      if (const sessiya::SceneText& text = entry.options[option - 1]) {
        lines[QStringLiteral("Label%1").arg(option + 2)] = linesOf(label(option + 2), *text);
      }
    }
    const int number = static_cast<int>(entry.id);
    scenes[QStringLiteral("S%1").arg(number, 2, 10, QLatin1Char('0'))] = lines;
  }
  QJsonObject all;
  all[QStringLiteral("lineHeight")] = label(1)->lineHeight();
  all[QStringLiteral("scenes")] = scenes;
  std::cout << QJsonDocument(all).toJson(QJsonDocument::Compact).toStdString() << '\n';
  return 0;
}
