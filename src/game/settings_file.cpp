#include "game/settings_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace holdem {

namespace {

// --- Lines of the INI text -------------------------------------------------

constexpr std::string_view kBlanks = " \t";

std::string_view trimBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// One line of the file. Lines end at LF; a CR right before the LF (or as the
// very last byte of the file) belongs to the line end, not to the text.
struct Line {
  size_t begin = 0;         // first byte of the line
  size_t textEnd = 0;       // one past the text, before CR/LF
  size_t end = 0;           // one past the line end (LF), or the file size
  bool hasLineEnd = false;  // ends with LF
  bool endsInCr = false;    // unterminated last line whose last byte is CR

  std::string_view text(std::string_view file) const { return file.substr(begin, textEnd - begin); }
};

Line lineAt(std::string_view file, size_t begin) {
  Line line;
  line.begin = begin;
  const size_t lf = file.find('\n', begin);
  if (lf == std::string_view::npos) {
    line.end = file.size();
    line.textEnd = file.size();
    if (line.textEnd > begin && file[line.textEnd - 1] == '\r') {
      --line.textEnd;
      line.endsInCr = true;
    }
  } else {
    line.end = lf + 1;
    line.hasLineEnd = true;
    line.textEnd = (lf > begin && file[lf - 1] == '\r') ? lf - 1 : lf;
  }
  return line;
}

// The name of a section header line, or nothing when the line is no header.
std::optional<std::string_view> headerName(std::string_view text) {
  const std::string_view stripped = trimBlanks(text);
  if (stripped.size() < 2 || stripped.front() != '[' || stripped.back() != ']') return std::nullopt;
  return trimBlanks(stripped.substr(1, stripped.size() - 2));
}

bool isBlank(std::string_view text) { return text.find_first_not_of(kBlanks) == std::string_view::npos; }

// Where section/key stands in the file.
struct Spot {
  enum Kind { kMissingSection, kMissingKey, kKeyLine } kind = kMissingSection;
  Line line;               // kKeyLine: the key's line; kMissingKey: the section's last non-blank line
  std::string_view value;  // kKeyLine: the value, blanks around it removed
};

// Walks the file once: finds the first section named `section`, then the first
// key line named `key` inside it, stopping at the next header.
Spot locate(std::string_view file, std::string_view section, std::string_view key) {
  Spot spot;
  bool inSection = false;
  for (size_t pos = 0; pos < file.size();) {
    const Line line = lineAt(file, pos);
    pos = line.end;
    const std::string_view text = line.text(file);
    if (const auto name = headerName(text)) {
      if (inSection) return spot;  // the first matching section ends here
      if (equalsIgnoringAsciiCase(*name, section)) {
        inSection = true;
        spot.kind = Spot::kMissingKey;
        spot.line = line;
      }
      continue;
    }
    if (!inSection) continue;
    if (!isBlank(text)) spot.line = line;
    const size_t eq = text.find('=');
    if (eq != std::string_view::npos && equalsIgnoringAsciiCase(trimBlanks(text.substr(0, eq)), key)) {
      spot.kind = Spot::kKeyLine;
      spot.value = trimBlanks(text.substr(eq + 1));
      return spot;
    }
  }
  return spot;
}

// The line end the game writes: CR LF when the file's first line ends so,
// LF otherwise (and for a new file).
std::string_view lineEndOf(std::string_view file) {
  const size_t lf = file.find('\n');
  return (lf != std::string_view::npos && lf > 0 && file[lf - 1] == '\r') ? "\r\n" : "\n";
}

// What an unterminated last line needs before anything can follow it.
std::string_view completion(const Line& line, std::string_view eol) {
  if (line.hasLineEnd) return {};
  return line.endsInCr ? std::string_view("\n") : eol;
}

// Sets section/key to value in the bytes, in place.
void applyValue(std::string& file, std::string_view section, std::string_view key, int32_t value) {
  char digits[16];
  const auto [digitsEnd, ec] = std::to_chars(digits, digits + sizeof digits, value);
  (void)ec;  // 16 bytes always hold a 32-bit number
  const std::string_view number(digits, static_cast<size_t>(digitsEnd - digits));
  const std::string_view eol = lineEndOf(file);
  const Spot spot = locate(file, section, key);

  std::string text;
  text.reserve(section.size() + key.size() + number.size() + 8);
  size_t at = 0;
  size_t replaced = 0;
  switch (spot.kind) {
    case Spot::kKeyLine:
      at = spot.line.begin;
      replaced = spot.line.end - spot.line.begin;
      break;
    case Spot::kMissingKey:
      at = spot.line.end;
      text += completion(spot.line, eol);
      break;
    case Spot::kMissingSection:
      at = file.size();
      if (!file.empty() && file.back() != '\n') text += file.back() == '\r' ? std::string_view("\n") : eol;
      text += '[';
      text += section;
      text += ']';
      text += eol;
      break;
  }
  text += key;
  text += '=';
  text += number;
  text += eol;
  file.replace(at, replaced, text);
}

// --- The file on disk -------------------------------------------------------

bool writeFully(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  // Closes now, reporting whether the close went well.
  bool close() {
    const int fd = std::exchange(fd_, -1);
    return ::close(fd) == 0 || errno == EINTR;
  }

 private:
  int fd_;
};

// The file's bytes and mode as they stand.
struct Current {
  enum Status { kRead, kMissing, kFailed } status = kFailed;
  std::string bytes;
  mode_t mode = 0;
};

Current readCurrent(const std::filesystem::path& path) {
  Current current;
  // Without O_NONBLOCK, opening a FIFO would wait for a writer forever.
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    current.status = (errno == ENOENT || errno == ENOTDIR) ? Current::kMissing : Current::kFailed;
    return current;
  }
  Descriptor file(fd);
  // Only a regular file holds settings. A folder, a FIFO or a device (one
  // that reads as endless zeros, or as nothing) is left alone: it reads as a
  // missing file, and a write never replaces it.
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return current;
  current.mode = st.st_mode & 07777;
  // One read normally does it; the loop covers a file that grows meanwhile.
  size_t size = 0;
  current.bytes.resize(static_cast<size_t>(st.st_size) + 1);
  for (;;) {
    if (size == current.bytes.size()) current.bytes.resize(size * 2);
    const ssize_t n = ::read(fd, current.bytes.data() + size, current.bytes.size() - size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return current;
    }
    if (n == 0) break;
    size += static_cast<size_t>(n);
  }
  current.bytes.resize(size);
  current.status = Current::kRead;
  return current;
}

// The file a write must replace: the path itself, or, through symlinks, the
// file the last link names, so that the links stay links.
std::optional<std::filesystem::path> replaceTarget(const std::filesystem::path& path) {
  std::filesystem::path target = path;
  char buffer[4096];
  for (int hops = 0; hops < 40; ++hops) {
    const ssize_t n = ::readlink(target.c_str(), buffer, sizeof buffer);
    if (n < 0) return target;  // not a link (or nothing there): this is the file
    if (static_cast<size_t>(n) == sizeof buffer) return std::nullopt;
    const std::filesystem::path next(std::string(buffer, static_cast<size_t>(n)));
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return std::nullopt;  // a loop of links
}

// Makes the missing folders of a path, outermost first, and lists the ones it
// made so that a failed write can take them away again.
bool makeFolders(const std::filesystem::path& folder, std::vector<std::filesystem::path>& made) {
  std::vector<std::filesystem::path> missing;
  std::filesystem::path at = folder;
  struct stat st {};
  while (!at.empty() && ::stat(at.c_str(), &st) != 0 && errno == ENOENT) {
    missing.push_back(at);
    const std::filesystem::path up = at.parent_path();
    if (up == at) break;
    at = up;
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (::mkdir(it->c_str(), 0777) != 0 && errno != EEXIST) return false;
    made.push_back(*it);
  }
  return true;
}

void removeFolders(const std::vector<std::filesystem::path>& made) {
  for (auto it = made.rbegin(); it != made.rend(); ++it) ::rmdir(it->c_str());
}

std::atomic<unsigned> tempCounter{0};

// Opens a fresh temporary file beside the target, making missing folders.
int openTemp(const std::filesystem::path& target, std::filesystem::path& tempPath,
             std::vector<std::filesystem::path>& madeFolders) {
  const std::filesystem::path folder = target.parent_path();
  const std::string stem = "." + target.filename().string() + ".tmp." + std::to_string(::getpid()) + ".";
  bool triedFolders = false;
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = folder / (stem + std::to_string(tempCounter.fetch_add(1, std::memory_order_relaxed)));
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return fd;
    if (errno == EEXIST || errno == EINTR) continue;
    if (errno != ENOENT || triedFolders || folder.empty()) return -1;
    triedFolders = true;
    if (!makeFolders(folder, madeFolders)) return -1;
  }
  return -1;
}

}  // namespace

// --- The INI text -----------------------------------------------------------

std::optional<int32_t> parseSettingsInt(std::string_view text) {
  text = trimBlanks(text);
  if (!text.empty() && text.back() == '\r') text = trimBlanks(text.substr(0, text.size() - 1));
  if (text.empty()) return std::nullopt;

  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    const std::string_view hex = text.substr(2);
    if (hex.empty() || hex.size() > 8) return std::nullopt;
    uint32_t bits = 0;
    for (const char c : hex) {
      unsigned digit;
      if (c >= '0' && c <= '9') {
        digit = static_cast<unsigned>(c - '0');
      } else if (c >= 'a' && c <= 'f') {
        digit = static_cast<unsigned>(c - 'a' + 10);
      } else if (c >= 'A' && c <= 'F') {
        digit = static_cast<unsigned>(c - 'A' + 10);
      } else {
        return std::nullopt;
      }
      bits = bits << 4 | digit;
    }
    return static_cast<int32_t>(bits);
  }

  const bool negative = text[0] == '-';
  if (text[0] == '+' || text[0] == '-') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  const int64_t limit = negative ? int64_t{1} << 31 : (int64_t{1} << 31) - 1;
  int64_t magnitude = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > limit) return std::nullopt;
  }
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

std::optional<std::string_view> findSettingsValue(std::string_view file, std::string_view section,
                                                  std::string_view key) {
  const Spot spot = locate(file, section, key);
  if (spot.kind != Spot::kKeyLine) return std::nullopt;
  return spot.value;
}

std::optional<int32_t> lookupSettingsInt(std::string_view file, std::string_view section,
                                         std::string_view key) {
  const auto value = findSettingsValue(file, section, key);
  if (!value) return std::nullopt;
  return parseSettingsInt(*value);
}

std::string withSettingsValue(std::string_view file, std::string_view section, std::string_view key,
                              int32_t value) {
  std::string result(file);
  applyValue(result, section, key, value);
  return result;
}

// --- The file on disk -------------------------------------------------------

std::filesystem::path defaultSettingsPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::filesystem::path folder;
  if (config != nullptr && *config != '\0') {
    folder = config;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
      const passwd* user = ::getpwuid(::getuid());
      home = user != nullptr ? user->pw_dir : "";
    }
    folder = std::filesystem::path(home) / ".config";
  }
  return folder / "holdem" / "tavlor.ini";
}

SettingsFile::SettingsFile(std::filesystem::path path, Writer writer)
    : path_(std::move(path)), writer_(std::move(writer)) {}

std::optional<std::string> SettingsFile::readAll() const {
  Current current = readCurrent(path_);
  if (current.status != Current::kRead) return std::nullopt;
  return std::move(current.bytes);
}

std::vector<std::optional<int32_t>> SettingsFile::readInts(std::span<const SettingsKey> keys) {
  const auto bytes = readAll();
  std::vector<std::optional<int32_t>> values;
  values.reserve(keys.size());
  for (const SettingsKey& k : keys) values.push_back(bytes ? lookupSettingsInt(*bytes, k.section, k.key) : std::nullopt);
  return values;
}

bool SettingsFile::writeInts(std::span<const SettingsEntry> entries) {
  if (entries.empty()) return true;

  // Step 1: the file as it stands. A file that exists but cannot be read is
  // left alone rather than replaced by one holding only our keys.
  Current current = readCurrent(path_);
  if (current.status == Current::kFailed) return false;

  // Step 2: all the values, in order, into the bytes in memory.
  for (const SettingsEntry& entry : entries) applyValue(current.bytes, entry.section, entry.key, entry.value);

  // Step 3: the new bytes into a temporary file beside the real one.
  const auto target = replaceTarget(path_);
  if (!target) return false;
  std::filesystem::path tempPath;
  std::vector<std::filesystem::path> madeFolders;
  const int fd = openTemp(*target, tempPath, madeFolders);
  if (fd < 0) {
    removeFolders(madeFolders);
    return false;
  }
  Descriptor temp(fd);
  const bool written = (writer_ ? writer_(fd, current.bytes) : writeFully(fd, current.bytes)) &&
                       (current.status != Current::kRead || ::fchmod(fd, current.mode) == 0) &&
                       ::fsync(fd) == 0 && temp.close();

  // Step 4: the temporary file takes the real one's place in one step.
  if (!written || ::rename(tempPath.c_str(), target->c_str()) != 0) {
    ::unlink(tempPath.c_str());
    removeFolders(madeFolders);
    return false;
  }
  return true;
}

std::string SettingsFile::displayPath() const {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path_, error);
  return error ? path_.string() : absolute.string();
}

}  // namespace holdem
