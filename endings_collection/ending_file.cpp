#include "ending_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <iostream>

namespace sessiya {
namespace {

constexpr qint64 kLargestRecord = 4096;  // far above fourteen names; more is not ours

}  // namespace

EndingFile::EndingFile(QString path) : path_(std::move(path)) {}

QString EndingFile::standardPath() {
  return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
         QStringLiteral("/endings.txt");
}

EndingFile::Read EndingFile::read() const {
  const QFileInfo info(path_);
  if (!info.exists() && !info.isSymLink()) return {};
  if (info.isDir()) return {{}, QStringLiteral("it is a folder")};
  QFile file(path_);
  if (!file.open(QIODevice::ReadOnly)) return {{}, file.errorString()};
  const QByteArray bytes = file.read(kLargestRecord + 1);
  if (bytes.size() > kLargestRecord) return {{}, QStringLiteral("it is too large")};
  EndingRecord::Parsed parsed = EndingRecord::parse(bytes.toStdString());
  if (!parsed.record) return {{}, QString::fromStdString(parsed.problem)};
  return {*parsed.record, {}};
}

EndingRecord EndingFile::load() {
  Read found = read();
  if (!found.problem.isEmpty()) {
    report(found.problem + QStringLiteral("; the game starts with no endings found and keeps the "
                                          "file until it finds one"));
  }
  return found.record;
}

EndingRecord EndingFile::saveMerged(const EndingRecord& record) {
  QDir().mkpath(QFileInfo(path_).absolutePath());
  QLockFile lock(path_ + QStringLiteral(".lock"));
  lock.tryLock(2000);  // a stale or stuck lock must not stop the game: write regardless
  const Read before = read();
  EndingRecord merged = record;
  merged.merge(before.record);
  write(merged, before);
  return merged;
}

void EndingFile::replace(const EndingRecord& record) {
  QDir().mkpath(QFileInfo(path_).absolutePath());
  QLockFile lock(path_ + QStringLiteral(".lock"));
  lock.tryLock(2000);
  write(record, read());
}

void EndingFile::write(const EndingRecord& record, const Read& before) {
  if (!before.problem.isEmpty()) {
    // Nothing is lost: the damaged file stays beside, as it was.
    const QString backup = path_ + QStringLiteral(".bak");
    if (QFileInfo(backup).isDir()) QDir(backup).removeRecursively();
    QFile::remove(backup);
    if (!QDir().rename(path_, backup)) {
      report(QStringLiteral("cannot keep the damaged record as %1").arg(backup));
      return;
    }
    std::cerr << "sessiya: the damaged endings record is kept as " << backup.toStdString() << '\n';
  }
  QSaveFile file(path_);
  const std::string text = record.text();
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(text.data(), static_cast<qint64>(text.size())) !=
          static_cast<qint64>(text.size()) ||
      !file.commit()) {
    report(QStringLiteral("cannot write it: %1").arg(file.errorString()));
  }
}

void EndingFile::report(const QString& problem) {
  if (problem == reported_) return;
  reported_ = problem;
  std::cerr << "sessiya: endings record " << path_.toStdString() << ": " << problem.toStdString()
            << '\n';
}

}  // namespace sessiya
