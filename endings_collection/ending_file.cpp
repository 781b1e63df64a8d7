#include "ending_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <thread>

#include "printable_text.h"

namespace sessiya {
namespace {

constexpr std::size_t kLargestRecord = 4096;  // far above fourteen names; more is not ours
constexpr int kLockWait = 300;                // ms: a stalled copy must not freeze the window
constexpr int kStaleLock = 5000;              // ms: a write takes a small part of that
constexpr int kRounds = 40;                   // writes by other copies merged in, one a round
constexpr int kMostPause = 5000;              // µs between rounds, at random: copies that met part
constexpr auto kLookAgain = std::chrono::milliseconds(10);  // after a rename that is not atomic
constexpr int kKeptCopies = 1000;  // damaged copies kept beside, ".bak" to ".bak.999"
constexpr auto kStaleLeftover = std::chrono::minutes(10);
constexpr int kMostLinks = 40;  // in a chain of symbolic links, as the kernel follows them

const QString kSessionOnly = QStringLiteral("; the endings found are kept until the game quits");
const QString kLeftAlone = QStringLiteral("; it is left as it is") + kSessionOnly;

// What stands at a path when it is read.
struct Snapshot {
  enum Kind { Missing, Record, Damaged, Newer, NotAFile, Unreachable } kind = Missing;
  std::string bytes;
  EndingRecord record;
  QString problem;     // why it is no record, for standard error
  int error = 0;       // why it cannot be reached
  mode_t mode = 0600;  // the file's permissions, kept by the file that replaces it
};

QString errorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

Snapshot notAFile() {
  return {Snapshot::NotAFile,
          {},
          {},
          QStringLiteral("it is no regular file but a pipe, a socket or a device")};
}

// Reads what is at `path` without ever waiting: only a regular file is opened, and without
// blocking, in case something else took its place between the look and the opening.
Snapshot look(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    if (errno == ENOENT) return {};
    return {Snapshot::Unreachable, {}, {}, errorText(errno), errno};
  }
  if (S_ISDIR(status.st_mode)) return {Snapshot::Damaged, {}, {}, QStringLiteral("it is a folder")};
  if (!S_ISREG(status.st_mode)) return notAFile();
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return {Snapshot::Damaged, {}, {}, errorText(errno)};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return notAFile();
  }
  const mode_t mode = status.st_mode & 07777;
  std::string bytes(kLargestRecord + 1, '\0');
  std::size_t size = 0;
  int error = 0;
  while (size < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + size, bytes.size() - size);
    if (got == 0) break;
    if (got > 0) {
      size += static_cast<std::size_t>(got);
    } else if (errno != EINTR) {
      error = errno;
      break;
    }
  }
  ::close(fd);
  bytes.resize(size);
  if (error != 0) return {Snapshot::Damaged, bytes, {}, errorText(error)};
  if (size > kLargestRecord)
    return {Snapshot::Damaged, bytes, {}, QStringLiteral("it is too large")};
  EndingRecord::Parsed parsed = EndingRecord::parse(bytes);
  const QString problem = QString::fromStdString(parsed.problem);
  if (parsed.newer) return {Snapshot::Newer, bytes, {}, problem};
  if (!parsed.record) return {Snapshot::Damaged, bytes, {}, problem};
  return {Snapshot::Record, bytes, *parsed.record, {}, 0, mode};
}

// Flushes the folder that holds `path` to the disk, so that a rename in it survives a power cut.
int syncFolder(const std::string& path) {
  const std::string folder = std::filesystem::path(path).parent_path();
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int error = ::fsync(fd) == 0 ? 0 : errno;
  ::close(fd);
  return error;
}

// Writes `text` to a new file beside `path` ("endings.txt.XXXXXX") and flushes it to the disk,
// checking every step, so that a full disk shows here and not as an empty record; it gets the
// permissions `mode` of the record it replaces. Returns its name, or "" with `error` set, the
// file removed.
std::string writeTemporary(const std::string& path, const std::string& text, mode_t mode,
                           int& error) {
  std::string name = path + ".XXXXXX";
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  error = fd < 0 ? errno : 0;
  if (fd < 0) return {};
  if (::fchmod(fd, mode) != 0) error = errno;
  std::size_t done = 0;
  while (done < text.size() && error == 0) {
    const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
    if (wrote > 0) {
      done += static_cast<std::size_t>(wrote);
    } else if (wrote == 0 || errno != EINTR) {
      error = wrote == 0 ? EIO : errno;
    }
  }
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0) return name;
  ::unlink(name.c_str());
  return {};
}

// How a rename went: both Atomic and Checked moved the file; Checked is where the file system
// cannot refuse to replace, so a look came just before a plain rename, microseconds apart.
enum class Moved { Atomic, Checked, Exists, Failed };

// A rename that never replaces anything, on purpose at least.
Moved renameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return Moved::Atomic;
  }
  if (errno == EEXIST) return Moved::Exists;
  if (errno != EINVAL && errno != ENOSYS) return Moved::Failed;
  struct stat status {};
  if (::lstat(to.c_str(), &status) == 0) return Moved::Exists;
  return ::rename(from.c_str(), to.c_str()) == 0 ? Moved::Checked : Moved::Failed;
}

// Moves what is at `from` to the first free name of "<record>.bak", "<record>.bak.1", …: earlier
// copies and whatever else bears those names stay as they are. "" where it cannot, with
// `error` set: ENOENT where nothing is left at `from`.
std::string keepAside(const std::string& from, const std::string& record, int& error) {
  for (int number = 0; number < kKeptCopies; ++number) {
    const std::string name = record + ".bak" + (number == 0 ? "" : "." + std::to_string(number));
    const Moved moved = renameNoReplace(from, name);
    error = errno;
    if (moved == Moved::Failed) return {};
    if (moved != Moved::Exists) {
      error = syncFolder(record);
      return error == 0 ? name : std::string();
    }
  }
  error = EEXIST;
  return {};
}

enum class Placed { Done, Exchanged, Checked, Changed, Failed };

// Puts the written `temporary` where `before` was read at `path`, unless the path changed since
// (Changed: nothing replaced). Over a file, the two are exchanged at once, and what was replaced
// comes back at `temporary` to be checked (Exchanged), so a record another copy wrote between
// the read and the exchange is never dropped. A file system that cannot exchange gets a look
// just before a plain rename (Checked): a record another copy renamed in between the two is
// written over, and that copy finds its endings gone when it looks again (see write()).
Placed place(const std::string& temporary, const std::string& path, const Snapshot& before) {
  if (before.kind == Snapshot::Missing) {
    switch (renameNoReplace(temporary, path)) {
      case Moved::Atomic:
        return Placed::Done;
      case Moved::Checked:
        return Placed::Checked;
      case Moved::Exists:
        return Placed::Changed;
      case Moved::Failed:
        break;
    }
    return Placed::Failed;
  }
  if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_EXCHANGE) == 0) {
    return Placed::Exchanged;
  }
  if (errno == ENOENT) return Placed::Changed;
  if (errno != EINVAL && errno != ENOSYS) return Placed::Failed;
  const Snapshot now = look(path);
  if (now.kind != before.kind || now.bytes != before.bytes) return Placed::Changed;
  return ::rename(temporary.c_str(), path.c_str()) == 0 ? Placed::Checked : Placed::Failed;
}

// Files that a write left beside the record: named as writeTemporary names them, regular, ours,
// holding our record or nothing. A copy cut short before its rename leaves its new record there,
// and one killed after exchanging an older record into place leaves the newer one: whatever
// their age, their endings join `record` unless it is null. They go only once untouched for ten
// minutes and `remove` is set, as a fresh one may be a running copy's write in progress.
void foldLeftovers(const std::string& path, EndingRecord* record, bool remove) {
  const QFileInfo file(QFile::decodeName(path.c_str()));
  const QString prefix = file.fileName() + QLatin1Char('.');
  const auto stale = std::chrono::system_clock::now() - kStaleLeftover;
  const QStringList names = file.dir().entryList({prefix + QStringLiteral("??????")},
                                                 QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& name : names) {
    if (!std::all_of(name.begin() + prefix.size(), name.end(),
                     [](QChar c) { return c.unicode() < 128 && c.isLetterOrNumber(); })) {
      continue;
    }
    const std::string leftover = QFile::encodeName(file.dir().filePath(name)).toStdString();
    struct stat status {};
    if (::lstat(leftover.c_str(), &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_uid != ::geteuid()) {
      continue;
    }
    const Snapshot left = look(leftover);
    if (left.kind != Snapshot::Record && !(left.kind == Snapshot::Damaged && left.bytes.empty())) {
      continue;
    }
    if (record != nullptr) record->merge(left.record);
    if (remove && std::chrono::system_clock::from_time_t(status.st_mtime) <= stale) {
      ::unlink(leftover.c_str());
    }
  }
}

// Follows a chain of symbolic links to the file it ends at, which is the record: the links
// stay as they are. "" with `error` set where the chain never ends.
std::string followLinks(std::string path, int& error) {
  for (int hop = 0; hop < kMostLinks; ++hop) {
    std::error_code failed;
    const std::filesystem::path link(path);
    const std::filesystem::path next = std::filesystem::read_symlink(link, failed);
    if (failed) return path;  // no link, or nothing there yet
    path = next.is_absolute() ? next.string() : (link.parent_path() / next).string();
  }
  error = ELOOP;
  return {};
}

std::string homeFolder() {
  const QByteArray home = qgetenv("HOME");
  if (home.startsWith('/')) return home.toStdString();
  const passwd* user = ::getpwuid(::geteuid());
  return user != nullptr && user->pw_dir != nullptr && user->pw_dir[0] == '/' ? user->pw_dir : "";
}

void pause() {
  std::this_thread::sleep_for(
      std::chrono::microseconds(QRandomGenerator::global()->bounded(kMostPause)));
}

RecordTrouble troubleOf(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return RecordTrouble::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
      return RecordTrouble::NoAccess;
    default:
      return RecordTrouble::WriteFailed;
  }
}

}  // namespace

EndingFile::EndingFile(QString path) : path_(std::move(path)) {}

// The user's configuration folder as the XDG Base Directory rules place it: a relative
// XDG_CONFIG_HOME is ignored, and without a home folder there is none. "" where there is none.
QString EndingFile::standardPath() {
  QString config = QFile::decodeName(qgetenv("XDG_CONFIG_HOME"));
  if (!config.startsWith(QLatin1Char('/'))) {
    const std::string home = homeFolder();
    if (home.empty()) return {};
    config = QFile::decodeName(home.c_str()) + QStringLiteral("/.config");
  }
  for (const QString& name :
       {QCoreApplication::organizationName(), QCoreApplication::applicationName()}) {
    if (!name.isEmpty()) config += QLatin1Char('/') + name;
  }
  return QDir::cleanPath(config + QStringLiteral("/endings.txt"));
}

// A chain of symbolic links stays: the file it ends at is the record.
std::string EndingFile::target(int& error) const {
  return followLinks(QFile::encodeName(path_).toStdString(), error);
}

// Where the record cannot be: no path at all, a chain of links that never ends or ends at a
// folder. The trouble, reported, or None.
RecordTrouble EndingFile::unusable(const std::string& path, int error) {
  if (path_.isEmpty()) {
    report(QStringLiteral("there is no home folder to keep it in") + kSessionOnly);
    return RecordTrouble::NoHome;
  }
  if (path.empty()) {
    report(QStringLiteral("cannot reach it: ") + errorText(error) + kSessionOnly);
    return RecordTrouble::WriteFailed;
  }
  struct stat status {};
  if (path != QFile::encodeName(path_).toStdString() && ::stat(path.c_str(), &status) == 0 &&
      S_ISDIR(status.st_mode)) {
    report(QStringLiteral("it is a link to the folder ") + QFile::decodeName(path.c_str()) +
           kLeftAlone);
    return RecordTrouble::LinkToFolder;
  }
  return RecordTrouble::None;
}

// What another copy left beside it is read too, as the next write keeps it.
EndingFile::Result EndingFile::load() {
  int error = 0;
  const std::string path = target(error);
  if (const RecordTrouble trouble = unusable(path, error); trouble != RecordTrouble::None) {
    return {{}, trouble};
  }
  Result result;
  const Snapshot found = look(path);
  switch (found.kind) {
    case Snapshot::Record:
      result.record = found.record;
      break;
    case Snapshot::Damaged:
      report(found.problem + QStringLiteral("; the game starts with no endings found and keeps "
                                            "the file until it finds one"));
      break;
    case Snapshot::Newer:
      report(found.problem + kLeftAlone);
      return {{}, RecordTrouble::NewerVersion};
    case Snapshot::NotAFile:
      report(found.problem + kLeftAlone);
      return {{}, RecordTrouble::NotAFile};
    case Snapshot::Missing:
    case Snapshot::Unreachable:
      break;
  }
  foldLeftovers(path, &result.record, false);
  return result;
}

EndingFile::Result EndingFile::saveMerged(const EndingRecord& record) {
  return write(record, true);
}

RecordTrouble EndingFile::replace(const EndingRecord& record) {
  return write(record, false).trouble;
}

// The lock only spares the copies' work: it is waited for briefly, and a write goes on without
// it, as the exchange in place() keeps what another copy wrote meanwhile. Every rename is
// flushed with its folder before the record counts as saved.
EndingFile::Result EndingFile::write(const EndingRecord& record, bool merge) {
  Result result{record};
  int error = 0;
  const std::string path = target(error);
  result.trouble = unusable(path, error);
  if (result.trouble != RecordTrouble::None) return result;
  std::error_code made;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), made);
  if (made) {
    report(QStringLiteral("cannot make its folder: ") + errorText(made.value()) + kSessionOnly);
    const RecordTrouble trouble = troubleOf(made.value());
    result.trouble = trouble == RecordTrouble::WriteFailed ? RecordTrouble::NoFolder : trouble;
    return result;
  }
  const QString lock_path = path_ + QStringLiteral(".lock");
  QLockFile lock(lock_path);
  struct stat status {};
  if (::stat(QFile::encodeName(lock_path).constData(), &status) == 0 && !S_ISREG(status.st_mode)) {
    report(
        QStringLiteral("its lock %1 is no regular file, so it is written without").arg(lock_path));
  } else {
    lock.setStaleLockTime(kStaleLock);
    lock.tryLock(kLockWait);
  }
  const auto failed = [&](int error) {
    report(QStringLiteral("cannot write it: ") + errorText(error) + kSessionOnly);
    result.trouble = troubleOf(error);
    return result;
  };
  foldLeftovers(path, merge ? &result.record : nullptr, true);
  std::string displaced;  // another copy's record, taken out of place and not yet written again
  for (int round = 0; round < kRounds; ++round) {
    const Snapshot before = look(path);
    if (before.kind == Snapshot::Newer || before.kind == Snapshot::NotAFile) {
      report(before.problem + kLeftAlone);
      result.trouble =
          before.kind == Snapshot::Newer ? RecordTrouble::NewerVersion : RecordTrouble::NotAFile;
      return result;
    }
    if (before.kind == Snapshot::Unreachable) return failed(before.error);
    if (merge) result.record.merge(before.record);
    if (before.kind == Snapshot::Damaged) {
      const std::string kept = keepAside(path, path, error);
      if (error == ENOENT) continue;  // another copy has just kept it aside
      if (kept.empty()) {
        report(QStringLiteral("cannot keep the damaged record aside: ") + errorText(error) +
               kSessionOnly);
        result.trouble = RecordTrouble::DamagedNotKept;
        return result;
      }
      std::cerr << "sessiya: the damaged endings record is kept as " << printableText(kept) << '\n';
      if (merge) result.record.merge(look(kept).record);  // a record that took its place meanwhile
      continue;
    }
    const std::string temporary = writeTemporary(path, result.record.text(), before.mode, error);
    if (temporary.empty()) return failed(error);
    const Placed placed = place(temporary, path, before);
    if (placed == Placed::Failed) {
      error = errno;
      ::unlink(temporary.c_str());
      return failed(error);
    }
    if (placed == Placed::Changed) {
      ::unlink(temporary.c_str());
      pause();
      continue;
    }
    if (const int unsynced = syncFolder(path); unsynced != 0) return failed(unsynced);
    if (!displaced.empty()) ::unlink(displaced.c_str());
    displaced.clear();
    if (placed == Placed::Checked && merge) {
      // A copy that looked before this rename and renamed after it wrote over ours: a moment
      // later our endings are missing, and they are written again. Left open: a copy stalled
      // between its look and its rename for longer than this wait.
      std::this_thread::sleep_for(kLookAgain);
      const Snapshot after = look(path);
      EndingRecord both = after.record;
      both.merge(result.record);
      if (after.kind == Snapshot::Record && both != after.record) {
        result.record = both;
        continue;
      }
    }
    if (placed != Placed::Exchanged) return result;
    const Snapshot replaced = look(temporary);
    if (replaced.kind != Snapshot::Record) {
      keepAside(temporary, path, error);  // something else took the record's place meanwhile
      return result;
    }
    EndingRecord both = result.record;
    both.merge(replaced.record);
    if (!merge || both == result.record) {
      ::unlink(temporary.c_str());
      return result;
    }
    result.record = both;  // another copy wrote meanwhile: write again with its endings
    displaced = temporary;
    pause();
  }
  return failed(EBUSY);
}

void EndingFile::report(const QString& problem) {
  if (problem == reported_) return;
  reported_ = problem;
  std::cerr << "sessiya: endings record " << printableText((path_ + ": " + problem).toStdString())
            << '\n';
}

}  // namespace sessiya
