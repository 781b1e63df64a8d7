#pragma once

#include <QString>

#include "ending_record.h"

namespace sessiya {

// The endings record on disk: a small text file, replaced whole and atomically. Two games
// running at once each merge what the other wrote. A damaged file never stops the game: it
// is reported once, left as it is until an ending is found, then kept beside as "….bak".
class EndingFile {
 public:
  explicit EndingFile(QString path);

  // The record as the file holds it; a missing or damaged file gives an empty one.
  EndingRecord load();
  // Writes `record` merged with what the file holds now, and returns the merged record.
  EndingRecord saveMerged(const EndingRecord& record);
  // Writes `record` as it is, dropping what the file held.
  void replace(const EndingRecord& record);

  const QString& path() const { return path_; }

  // Where the game keeps it: the user's configuration folder for the program.
  static QString standardPath();

 private:
  struct Read {
    EndingRecord record;
    QString problem;  // empty when the file was read or is missing
  };
  Read read() const;
  void write(const EndingRecord& record, const Read& before);
  void report(const QString& problem);

  QString path_;
  QString reported_;  // the last problem written to standard error
};

}  // namespace sessiya
