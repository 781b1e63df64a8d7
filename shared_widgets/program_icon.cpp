#include "program_icon.h"

#include <QIconEngine>
#include <optional>

namespace sessiya {
namespace {

// Reads the icon's file on the first request for a picture of it: a platform that shows
// no window icon never reads it, and one that does reads it as the window is created.
class ProgramIconEngine final : public QIconEngine {
 public:
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    read().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return read().actualSize(size, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return read().pixmap(size, mode, state);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                       qreal scale) override {
    return read().pixmap(size, scale, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return read().availableSizes(mode, state);
  }
  // The file is built into the program; whether it decodes is known once it is read.
  bool isNull() override { return icon_.has_value() && icon_->isNull(); }
  QIconEngine* clone() const override { return new ProgramIconEngine(*this); }

 private:
  const QIcon& read() {
    if (!icon_) icon_ = QIcon(QStringLiteral(":/icon.ico"));
    return *icon_;
  }

  std::optional<QIcon> icon_;
};

}  // namespace

QIcon programIcon() { return QIcon(new ProgramIconEngine); }

}  // namespace sessiya
