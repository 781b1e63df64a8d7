#pragma once

#include <QString>
#include <string>

#include "ending_record.h"

namespace sessiya {

// Why the endings found are not kept on disk.
enum class RecordTrouble {
  None,
  NewerVersion,  // the file is a newer version's record, left as it is
  NotAFile,      // a pipe, a socket or a device stands where the file should be
  DiskFull,      // or the file may not grow: a quota, a limit on file size
  NoAccess,
  DamagedNotKept,  // the damaged file could not be moved aside
  LinkToFolder,    // the record's name is a link to a folder, which is not ours to move
  NoHome,          // no home folder to keep it in
  NoFolder,        // its folder could not be made
  WriteFailed,
};

// The endings record on disk: a small text file, replaced whole and atomically, never
// replaced over a record written since it was read. Two games running at once each merge
// what the other wrote, also when one of them stalls. A damaged file never stops the game:
// it is reported once, left as it is until an ending is found, then kept beside as "….bak",
// "….bak.1" and so on. No operation can block: what is not a regular file is refused, and
// the lock is waited for briefly.
class EndingFile {
 public:
  struct Result {
    EndingRecord record;
    RecordTrouble trouble = RecordTrouble::None;
  };

  explicit EndingFile(QString path);

  // The record as the file holds it; a missing or damaged file gives an empty one. The trouble
  // says when nothing found will be kept (a newer version's record, or not a file at all).
  Result load();
  // Writes `record` merged with what the file holds now, and returns the merged record; the
  // trouble says why it was not written.
  Result saveMerged(const EndingRecord& record);
  // Writes `record` as it is, dropping what the file held.
  RecordTrouble replace(const EndingRecord& record);

  const QString& path() const { return path_; }

  // Where the game keeps it: the user's configuration folder for the program; "" where the
  // user has none.
  static QString standardPath();

 private:
  std::string target(int& error) const;
  RecordTrouble unusable(const std::string& path, int error);
  Result write(const EndingRecord& record, bool merge);
  void report(const QString& problem);

  QString path_;
  QString reported_;  // the last problem written to standard error
};

}  // namespace sessiya
