#include "history/hand_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <nlohmann/json.hpp>

#include "history/ohh.h"

namespace holdem {

namespace {

std::string failure(const std::filesystem::path& file, const char* what, int error) {
  return "cannot " + std::string(what) + " " + file.string() + ": " + std::strerror(error);
}

// Closes the descriptor when it goes; the lock goes with it.
struct Descriptor {
  int fd = -1;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

bool readAt(int fd, std::string& into, off_t from, size_t count) {
  into.resize(count);
  size_t done = 0;
  while (done < count) {
    const ssize_t n = ::pread(fd, into.data() + done, count - done, from + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Where the file's whole hands end: the bytes after that are a hand cut off
// in the middle of its append, or blank lines a cut-off append left. Sets
// `endsWithLine` when the kept bytes end with a line end.
std::optional<off_t> wholeHandsEnd(int fd, off_t size, bool& endsWithLine) {
  endsWithLine = false;
  if (size == 0) return 0;
  // Read the file's end, more of it until the last line is whole in view.
  for (off_t span = 1 << 16;; span *= 2) {
    const off_t from = span >= size ? 0 : size - span;
    std::string tail;
    if (!readAt(fd, tail, from, static_cast<size_t>(size - from))) return std::nullopt;
    // The line ends at the very end of the file.
    size_t j = tail.size();
    while (j > 0 && tail[j - 1] == '\n') --j;
    const size_t lineEnds = tail.size() - j;
    // The start of the last line that holds anything.
    size_t i = j;
    while (i > 0 && tail[i - 1] != '\n') --i;
    if (from > 0 && i < 2) continue;    // not all in view yet
    if (j == 0 && from == 0) return 0;  // nothing but line ends
    if (lineEnds > 0) {
      // A hand's line end is the last byte of its append: the line is whole.
      // Line ends after the first come from an append cut off right after
      // its blank line.
      endsWithLine = true;
      return from + static_cast<off_t>(j + 1);
    }
    if (nlohmann::json::accept(std::string_view(tail).substr(i, j - i))) {
      return from + static_cast<off_t>(j);  // whole, only its line end is missing
    }
    // Cut off: drop its bytes and the blank line written before it.
    size_t keep = i;
    while (keep >= 2 && tail[keep - 1] == '\n' && tail[keep - 2] == '\n') --keep;
    endsWithLine = keep > 0;
    return from + static_cast<off_t>(keep);
  }
}

}  // namespace

std::optional<std::filesystem::path> defaultHandsFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && *data && data[0] == '/') return std::filesystem::path(data) / "holdem" / "hands";
  const char* home = std::getenv("HOME");
  if (!home || !*home) return std::nullopt;
  return std::filesystem::path(home) / ".local" / "share" / "holdem" / "hands";
}

std::string dayFileName(int64_t localSeconds) {
  const std::time_t t = static_cast<std::time_t>(localSeconds);
  std::tm day{};
  gmtime_r(&t, &day);  // the local seconds already hold the offset
  char name[48];
  std::strftime(name, sizeof name, "holdem-%Y-%m-%d.ohh", &day);
  return name;
}

std::optional<std::string> appendHand(const std::filesystem::path& file, std::string_view hand) {
  Descriptor d;
  do {
    d.fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  } while (d.fd < 0 && errno == EINTR);
  if (d.fd < 0) return failure(file, "open", errno);
  struct stat st {};
  if (::fstat(d.fd, &st) != 0) return failure(file, "read", errno);
  if (!S_ISREG(st.st_mode)) return failure(file, "write to", EINVAL);
  // One writer at a time: two games on one day's file take turns.
  while (::flock(d.fd, LOCK_EX) != 0) {
    if (errno != EINTR) return failure(file, "lock", errno);
  }
  if (::fstat(d.fd, &st) != 0) return failure(file, "read", errno);
  bool endsWithLine = false;
  const std::optional<off_t> keep = wholeHandsEnd(d.fd, st.st_size, endsWithLine);
  if (!keep) return failure(file, "read", errno ? errno : EIO);
  if (*keep < st.st_size && ::ftruncate(d.fd, *keep) != 0) return failure(file, "repair", errno);

  std::string bytes;
  bytes.reserve(hand.size() + 3);
  if (*keep > 0) bytes += endsWithLine ? "\n" : "\n\n";
  bytes += hand;
  bytes += '\n';
  std::string_view rest = bytes;
  off_t at = *keep;
  while (!rest.empty()) {
    const ssize_t n = ::pwrite(d.fd, rest.data(), rest.size(), at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int error = n < 0 ? errno : ENOSPC;
      // Whatever part went in is cut off again, so the file ends on a whole hand.
      if (::ftruncate(d.fd, *keep) != 0) {
      }
      return failure(file, "write to", error);
    }
    rest.remove_prefix(static_cast<size_t>(n));
    at += n;
  }
  if (::fdatasync(d.fd) != 0) return failure(file, "write to", errno);
  return std::nullopt;
}

HandHistory HandHistory::inFolder(std::filesystem::path folder) {
  return HandHistory(std::move(folder), true);
}

HandHistory HandHistory::toFile(std::filesystem::path file) { return HandHistory(std::move(file), false); }

std::filesystem::path HandHistory::fileFor(const HandRecord& r) const {
  return daily_ ? where_ / dayFileName(r.startedAt) : where_;
}

bool HandHistory::save(const HandRecord& r) {
  const std::filesystem::path file = fileFor(r);
  if (daily_) {
    std::error_code error;
    std::filesystem::create_directories(where_, error);
    if (error) {
      problem_ = "cannot make the folder " + where_.string() + ": " + error.message();
      return false;
    }
  }
  const std::optional<std::string> failed = appendHand(file, ohhText(r));
  problem_ = failed.value_or("");
  return !failed;
}

}  // namespace holdem
