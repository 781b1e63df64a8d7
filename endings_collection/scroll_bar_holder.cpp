#include "scroll_bar_holder.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>

namespace sessiya {
namespace {

class ScrollBarHolder : public QAccessibleWidget {
 public:
  explicit ScrollBarHolder(QWidget* holder) : QAccessibleWidget(holder) {}

  QAccessibleInterface* parent() const override {
    QWidget* list = widget()->parentWidget();
    return QAccessible::queryAccessibleInterface(list->parentWidget() ? list->parentWidget()
                                                                      : list);
  }
};

// Qt names the holders of a scroll area's two scroll bars and its viewport; they are plain
// widgets otherwise.
QAccessibleInterface* scrollBarHolder(const QString& class_name, QObject* object) {
  if (class_name != QLatin1String("QWidget")) return nullptr;
  const QString name = object->objectName();
  if (name != QLatin1String("qt_scrollarea_hcontainer") &&
      name != QLatin1String("qt_scrollarea_vcontainer") &&
      name != QLatin1String("qt_scrollarea_viewport")) {
    return nullptr;
  }
  auto* holder = static_cast<QWidget*>(object);
  if (qobject_cast<QAbstractItemView*>(holder->parentWidget()) == nullptr) return nullptr;
  return new ScrollBarHolder(holder);
}

}  // namespace

void placeListScrollBarsBesideTheirList() {
  static const bool installed = [] {
    QAccessible::installFactory(scrollBarHolder);
    return true;
  }();
  Q_UNUSED(installed);
}

}  // namespace sessiya
