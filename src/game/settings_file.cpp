#include "game/settings_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
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

// An empty buffer with room for `size` bytes, its old room kept when it
// suffices. A big one is asked to live on 2 MB pages: with 4 kB pages, the
// first touches of a fresh buffer for a file of many megabytes cost more
// than all the rest of its reading or writing.
void makeRoom(std::string& buffer, size_t size) {
  buffer.clear();
  if (buffer.capacity() >= size) return;
  std::string().swap(buffer);
  buffer.reserve(size);
  constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
  const auto begin = reinterpret_cast<uintptr_t>(buffer.data());
  const uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
  const uintptr_t end = (begin + size) & ~(kHugePage - 1);
  if (end > first) {
    // An address rounded to a page, back into a pointer: nothing else points there.
    void* const pages = reinterpret_cast<void*>(first);  // NOLINT(performance-no-int-to-ptr)
    ::madvise(pages, end - first, MADV_HUGEPAGE);
  }
}

// --- Many keys in one pass ---------------------------------------------------

// The sections and keys asked for, each once (names compared without regard
// to ASCII case), and where the first walk over the file found them.
class KeyPlaces {
 public:
  struct Section {
    std::string_view name;  // spelled as first asked for
    bool found = false;     // the file holds a section of that name
    Line last;              // found: its last non-blank line (at first its header)
  };
  struct Key {
    size_t section = 0;
    std::string_view name;
    bool found = false;      // the first matching section holds the key
    Line line;               // found: the key's line
    std::string_view value;  // found: the value text, blanks around it removed
  };

  // Index of section/key, added when new.
  size_t add(std::string_view section, std::string_view key) {
    size_t s = 0;
    while (s < sections_.size() && !equalsIgnoringAsciiCase(sections_[s].name, section)) ++s;
    if (s == sections_.size()) {
      sections_.emplace_back();
      sections_.back().name = section;
    }
    for (size_t k = 0; k < keys_.size(); ++k) {
      if (keys_[k].section == s && equalsIgnoringAsciiCase(keys_[k].name, key)) return k;
    }
    keys_.emplace_back();
    keys_.back().section = s;
    keys_.back().name = key;
    return keys_.size() - 1;
  }

  // Walks the file once, as locate() does for each key: the first section of
  // each name, and in it the first line of each key.
  void find(std::string_view file) {
    constexpr size_t kNone = static_cast<size_t>(-1);
    enum class State : uint8_t { Unseen, Inside, Done };
    std::vector<State> state(sections_.size(), State::Unseen);
    size_t open = sections_.size();  // sections not yet walked past
    size_t current = kNone;          // the section being walked
    for (size_t pos = 0; pos < file.size() && open > 0;) {
      const Line line = lineAt(file, pos);
      pos = line.end;
      const std::string_view text = line.text(file);
      if (const auto name = headerName(text)) {
        if (current != kNone) {
          state[current] = State::Done;
          --open;
          current = kNone;
        }
        for (size_t s = 0; s < sections_.size(); ++s) {
          if (state[s] == State::Unseen && equalsIgnoringAsciiCase(*name, sections_[s].name)) {
            state[s] = State::Inside;
            sections_[s].found = true;
            sections_[s].last = line;
            current = s;
            break;
          }
        }
        continue;
      }
      if (current == kNone) continue;
      if (!isBlank(text)) sections_[current].last = line;
      const size_t eq = text.find('=');
      if (eq == std::string_view::npos) continue;
      const std::string_view key = trimBlanks(text.substr(0, eq));
      for (Key& k : keys_) {
        if (k.section == current && !k.found && equalsIgnoringAsciiCase(key, k.name)) {
          k.found = true;
          k.line = line;
          k.value = trimBlanks(text.substr(eq + 1));
          break;
        }
      }
    }
  }

  std::vector<Section>& sections() { return sections_; }
  std::vector<Key>& keys() { return keys_; }

 private:
  std::vector<Section> sections_;
  std::vector<Key> keys_;
};

// The decimal text of a value.
std::string_view numberText(int32_t value, char (&digits)[16]) {
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
  (void)ec;  // 16 bytes always hold a 32-bit number
  return {digits, static_cast<size_t>(end - digits)};
}

// Every entry set in order, in one walk and one copy of the file. The result
// is byte for byte what applyValue gives entry after entry: a key found is
// rewritten where it stands; a missing key goes after the last non-blank
// line of its section, after the keys added there before it; a missing
// section goes after the end of the file, after the sections added before it.
void applyValues(std::string_view file, std::span<const SettingsEntry> entries, std::string& out) {
  KeyPlaces places;
  std::vector<size_t> keyOf;
  keyOf.reserve(entries.size());
  for (const SettingsEntry& e : entries) keyOf.push_back(places.add(e.section, e.key));
  places.find(file);
  auto& sections = places.sections();
  auto& keys = places.keys();

  // The line end of the lines written: that of the file's first line. Only a
  // file without any LF can change it, with its first write: then its one
  // line gets its line end, CR LF when it ended in CR.
  const std::string_view firstEol = lineEndOf(file);
  const bool noLineFeed = file.find('\n') == std::string_view::npos;
  const std::string_view laterEol =
      noLineFeed && !file.empty() && file.back() == '\r' ? std::string_view("\r\n") : firstEol;

  std::vector<std::string> lineOfKey(keys.size());           // each key's line as last written
  std::vector<bool> addedKey(keys.size(), false);            // a key the file lacked, added
  std::vector<std::vector<size_t>> added(sections.size());   // keys added after each section's last line
  std::vector<size_t> newSections;                           // sections appended, in order
  std::vector<std::string_view> headerEol(sections.size());  // an appended section's header line end
  std::string_view eol = firstEol;
  char digits[16];
  for (size_t i = 0; i < entries.size(); ++i) {
    const SettingsEntry& e = entries[i];
    const size_t k = keyOf[i];
    const size_t s = keys[k].section;
    std::string& text = lineOfKey[k];
    text.assign(e.key);
    text += '=';
    text += numberText(e.value, digits);
    text += eol;
    if (!keys[k].found && !addedKey[k]) {
      if (!sections[s].found && added[s].empty()) {
        newSections.push_back(s);
        headerEol[s] = eol;
      }
      added[s].push_back(k);
      addedKey[k] = true;
    }
    eol = laterEol;
  }

  // A last line without a line end gets one before anything follows it,
  // unless a key's new line replaces it.
  const bool unterminated = !file.empty() && file.back() != '\n';
  bool lastLineReplaced = false;
  for (const auto& key : keys)
    lastLineReplaced = lastLineReplaced || (key.found && key.line.end == file.size());
  bool somethingAfterEnd = !newSections.empty();
  for (size_t s = 0; s < sections.size(); ++s) {
    if (sections[s].found && !added[s].empty() && sections[s].last.end == file.size())
      somethingAfterEnd = true;
  }
  const bool complete = unterminated && !lastLineReplaced && somethingAfterEnd;

  // The edits in the order of the file: lines replaced (at their first
  // byte), and keys added after a section's last line (at its end).
  struct Edit {
    size_t at;
    size_t skip;   // bytes of the file replaced
    size_t index;  // key replaced, or section whose added keys go here
    bool replace;
  };
  std::vector<Edit> edits;
  for (size_t k = 0; k < keys.size(); ++k) {
    if (keys[k].found) edits.push_back({keys[k].line.begin, keys[k].line.end - keys[k].line.begin, k, true});
  }
  for (size_t s = 0; s < sections.size(); ++s) {
    if (sections[s].found && !added[s].empty()) edits.push_back({sections[s].last.end, 0, s, false});
  }
  std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) {
    return a.at != b.at ? a.at < b.at : !a.replace && b.replace;
  });

  size_t length = file.size() + 2;
  for (const std::string& text : lineOfKey) length += text.size();
  for (const size_t s : newSections) length += sections[s].name.size() + 4;
  makeRoom(out, length);
  size_t copied = 0;
  const auto copyTo = [&](size_t at) {
    out.append(file.substr(copied, at - copied));
    copied = at;
  };
  const auto appendAdded = [&](size_t s) {
    for (const size_t k : added[s]) out += lineOfKey[k];
  };
  bool completed = false;
  const auto completeAtEnd = [&] {
    if (!complete || completed) return;
    out += file.back() == '\r' ? std::string_view("\n") : firstEol;
    completed = true;
  };
  for (const Edit& edit : edits) {
    copyTo(edit.at);
    if (edit.at == file.size()) completeAtEnd();
    if (edit.replace) {
      out += lineOfKey[edit.index];
      copied += edit.skip;
    } else {
      appendAdded(edit.index);
    }
  }
  copyTo(file.size());
  completeAtEnd();
  for (const size_t s : newSections) {
    out += '[';
    out += sections[s].name;
    out += ']';
    out += headerEol[s];
    appendAdded(s);
  }
}

// --- The file on disk ---------------------------------------------------------

// The system calls of reads and saves, each of which the fault hook may fail.
class Calls {
 public:
  explicit Calls(const SettingsFile::FaultHook& hook) : hook_(hook) {}

  // The errno the hook wants for the call, or 0.
  int injected(std::string_view name) const { return hook_ ? hook_(name) : 0; }

  // Makes the call, or fails it with errno set and -1.
  template <typename Call>
  auto operator()(std::string_view name, Call&& call) const -> decltype(call()) {
    if (const int error = injected(name); error != 0) {
      errno = error;
      return -1;
    }
    return call();
  }

  // Opens, retrying when a signal interrupts.
  int open(std::string_view name, const char* path, int flags, mode_t mode = 0) const {
    int fd;
    do {
      fd = (*this)(name, [&] { return ::open(path, flags | O_CLOEXEC, mode); });
    } while (fd < 0 && errno == EINTR);
    return fd;
  }

  // Closes; false when the close reported an error. The descriptor is gone
  // either way.
  bool close(std::string_view name, int fd) const {
    const bool closed = ::close(fd) == 0 || errno == EINTR;
    if (const int error = injected(name); error != 0) {
      errno = error;
      return false;
    }
    return closed;
  }

  bool writeFully(int fd, std::string_view bytes) const {
    while (!bytes.empty()) {
      const ssize_t n = (*this)("write", [&] { return ::write(fd, bytes.data(), bytes.size()); });
      if (n < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      if (n == 0) return false;
      bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
  }

 private:
  const SettingsFile::FaultHook& hook_;
};

// An open descriptor, closed when it goes unless closed before.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  void reset() {
    if (fd_ >= 0) ::close(std::exchange(fd_, -1));
  }
  // Closes now, reporting whether the close went well.
  bool close(const Calls& sys, std::string_view name) { return sys.close(name, std::exchange(fd_, -1)); }

 private:
  int fd_;
};

// What tells one version of a file from another without reading it.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};
  timespec changed{};

  static FileIdentity of(const struct stat& st) {
    return {st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
  }
  friend bool operator==(const FileIdentity& a, const FileIdentity& b) {
    return a.device == b.device && a.inode == b.inode && a.size == b.size &&
           a.modified.tv_sec == b.modified.tv_sec && a.modified.tv_nsec == b.modified.tv_nsec &&
           a.changed.tv_sec == b.changed.tv_sec && a.changed.tv_nsec == b.changed.tv_nsec;
  }
};

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

std::filesystem::path folderOf(const std::filesystem::path& file) {
  const std::filesystem::path folder = file.parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

// Makes the missing folders of a path, outermost first, and lists the ones it
// made so that a failed write can take them away again.
bool makeFolders(const Calls& sys, const std::filesystem::path& folder,
                 std::vector<std::filesystem::path>& made) {
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
    if (sys("mkdir", [&] { return ::mkdir(it->c_str(), 0777); }) != 0 && errno != EEXIST) return false;
    made.push_back(*it);
  }
  return true;
}

void removeFolders(std::vector<std::filesystem::path>& made) {
  for (auto it = made.rbegin(); it != made.rend(); ++it) ::rmdir(it->c_str());
  made.clear();
}

// Syncs a folder, so that the names changed in it survive a power cut.
// Filesystems that cannot sync a folder say EINVAL; there is nothing to do.
bool syncFolder(const Calls& sys, const std::filesystem::path& folder) {
  const int fd = sys.open("open folder", folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return false;
  const bool synced = sys("fsync folder", [fd] { return ::fsync(fd); }) == 0 || errno == EINVAL;
  return sys.close("close folder", fd) && synced;
}

// The temporary files of a settings file: "." and the file's name (its first
// 32 bytes, whole characters only, so that the name always fits), ".tmp.",
// the writer's process number, "." and a count.
std::string temporaryPrefix(const std::filesystem::path& target) {
  const std::string name = target.filename().string();
  size_t cut = std::min<size_t>(name.size(), 32);
  while (cut > 0 && cut < name.size() && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
  return "." + name.substr(0, cut) + ".tmp.";
}

bool isTemporaryName(std::string_view name, std::string_view prefix) {
  if (!name.starts_with(prefix) || name.size() == prefix.size()) return false;
  const std::string_view rest = name.substr(prefix.size());
  return rest.find_first_not_of("0123456789.") == std::string_view::npos;
}

// Removes the temporary files that killed writers left beside the file. A
// writer holds a lock on its temporary file from its creation to the end of
// the save, so a file that can be locked has no writer any more.
void removeLeftovers(const std::filesystem::path& target) {
  const std::string prefix = temporaryPrefix(target);
  DIR* folder = ::opendir(folderOf(target).c_str());
  if (folder == nullptr) return;
  const int dir = ::dirfd(folder);
  while (const dirent* entry = ::readdir(folder)) {
    const char* name = entry->d_name;
    if (!isTemporaryName(name, prefix)) continue;
    const int fd = ::openat(dir, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat held {
    }, named{};
    if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        ::fstatat(dir, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_dev == held.st_dev &&
        named.st_ino == held.st_ino) {
      ::unlinkat(dir, name, 0);
    }
    ::close(fd);
  }
  ::closedir(folder);
}

std::atomic<unsigned> tempCounter{0};

// Creates a fresh temporary file beside the target, making missing folders,
// and locks it as a live writer's.
int openTemp(const Calls& sys, const std::filesystem::path& target, mode_t mode,
             std::filesystem::path& tempPath, std::vector<std::filesystem::path>& madeFolders) {
  const std::filesystem::path folder = target.parent_path();
  const std::string stem = temporaryPrefix(target) + std::to_string(::getpid()) + ".";
  bool triedFolders = false;
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = folder / (stem + std::to_string(tempCounter.fetch_add(1, std::memory_order_relaxed)));
    const int fd = sys.open("open", tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, mode);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      if (errno != ENOENT || triedFolders || folder.empty()) return -1;
      triedFolders = true;
      if (!makeFolders(sys, folder, madeFolders)) return -1;
      continue;
    }
    // A start that found the file before the lock may be removing it: then
    // it is the start's to remove, and another name is taken. A filesystem
    // without locks saves all the same.
    if (sys("flock", [fd] { return ::flock(fd, LOCK_EX | LOCK_NB); }) != 0 && errno == EWOULDBLOCK) {
      ::close(fd);
      continue;
    }
    struct stat held {
    }, named{};
    if (::fstat(fd, &held) == 0 && ::lstat(tempPath.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
        held.st_ino == named.st_ino) {
      return fd;
    }
    ::close(fd);
  }
  return -1;
}

// The file being replaced: whether there was one, and what of it the new
// one keeps.
struct Original {
  bool exists = false;
  mode_t mode = 0;
  uid_t owner = 0;
  gid_t group = 0;
  std::vector<std::pair<std::string, std::string>> attributes;  // extended attributes, the ACL among them
};

// Reads the file's extended attributes; false when they cannot be read, so
// that no save drops them.
bool readAttributes(const Calls& sys, const std::filesystem::path& file,
                    std::vector<std::pair<std::string, std::string>>& attributes) {
  std::string names;
  for (;;) {
    const ssize_t size = sys("listxattr", [&] { return ::listxattr(file.c_str(), nullptr, 0); });
    if (size < 0) return errno == ENOTSUP || errno == ENOSYS;
    if (size == 0) return true;
    names.resize(static_cast<size_t>(size));
    const ssize_t got =
        sys("listxattr", [&] { return ::listxattr(file.c_str(), names.data(), names.size()); });
    if (got >= 0) {
      names.resize(static_cast<size_t>(got));
      break;
    }
    if (errno != ERANGE) return false;  // ERANGE: the list grew meanwhile
  }
  for (size_t at = 0; at < names.size();) {
    const size_t end = names.find('\0', at);
    const std::string name = names.substr(at, end - at);
    at = end == std::string::npos ? names.size() : end + 1;
    std::string value;
    for (;;) {
      const ssize_t size =
          sys("getxattr", [&] { return ::getxattr(file.c_str(), name.c_str(), nullptr, 0); });
      if (size < 0 && errno == ENODATA) break;  // removed meanwhile
      if (size < 0) return false;
      value.resize(static_cast<size_t>(size));
      const ssize_t got =
          sys("getxattr", [&] { return ::getxattr(file.c_str(), name.c_str(), value.data(), value.size()); });
      if (got >= 0) {
        value.resize(static_cast<size_t>(got));
        attributes.emplace_back(name, std::move(value));
        break;
      }
      if (errno != ERANGE) return false;
    }
  }
  return true;
}

enum class Outcome {
  Done,       // the file holds the new bytes
  Unchanged,  // failed; the file is as it was
  Changed,    // failed after the file took the new bytes (or some of them)
};

// The one fallback where the file cannot be renamed over: the bytes written
// over the file itself, cut to their length and synced.
Outcome writeInPlace(const Calls& sys, const std::filesystem::path& target, std::string_view bytes,
                     std::optional<FileIdentity>& identity) {
  Descriptor file(sys.open("open", target.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK));
  if (file.get() < 0) return Outcome::Unchanged;
  const int fd = file.get();
  struct stat st {};
  if (!sys.writeFully(fd, bytes) ||
      sys("ftruncate", [&] { return ::ftruncate(fd, static_cast<off_t>(bytes.size())); }) != 0 ||
      sys("fsync", [fd] { return ::fsync(fd); }) != 0) {
    return Outcome::Changed;
  }
  if (sys("fstat", [&] { return ::fstat(fd, &st); }) == 0) identity = FileIdentity::of(st);
  return file.close(sys, "close") ? Outcome::Done : Outcome::Changed;
}

// Replaces the whole file with the bytes: a temporary file with the
// original's owner, group, attributes and mode, written, synced, renamed over
// the file, the folder synced. The identity of what was written is kept.
Outcome replaceWhole(const Calls& sys, const std::filesystem::path& target, std::string_view bytes,
                     const Original& original, std::optional<FileIdentity>& identity,
                     std::vector<std::filesystem::path>& madeFolders) {
  identity.reset();
  // Step 1: the temporary file, readable by its owner alone until it has
  // the final mode. A new file gets the mode the umask gives.
  std::filesystem::path tempPath;
  Descriptor temp(openTemp(sys, target, original.exists ? 0600 : 0666, tempPath, madeFolders));
  const int fd = temp.get();
  if (fd < 0) {
    removeFolders(madeFolders);
    return Outcome::Unchanged;
  }
  const auto discard = [&] {
    ::unlink(tempPath.c_str());
    removeFolders(madeFolders);
    return Outcome::Unchanged;
  };

  // Step 2: owner and group where the process may, the extended attributes,
  // then the mode (a change of owner clears the set-ID bits), all before a
  // byte of the content.
  if (original.exists) {
    if (sys("fchown", [&] { return ::fchown(fd, original.owner, original.group); }) != 0) {
      sys("fchown", [&] { return ::fchown(fd, static_cast<uid_t>(-1), original.group); });
    }
    for (const auto& attribute : original.attributes) {
      const std::string& name = attribute.first;
      const std::string& value = attribute.second;
      if (sys("fsetxattr", [&] { return ::fsetxattr(fd, name.c_str(), value.data(), value.size(), 0); }) != 0)
        return discard();
    }
    if (sys("fchmod", [&] { return ::fchmod(fd, original.mode); }) != 0) return discard();
  }

  // Step 3: the content, synced.
  if (!sys.writeFully(fd, bytes) || sys("fsync", [fd] { return ::fsync(fd); }) != 0) return discard();

  // Step 4: the temporary file takes the file's place in one step; a mount
  // point cannot be renamed over, and is written in place instead.
  if (sys("rename", [&] { return ::rename(tempPath.c_str(), target.c_str()); }) != 0) {
    if (errno != EBUSY || !original.exists) return discard();
    ::unlink(tempPath.c_str());
    temp.reset();
    return writeInPlace(sys, target, bytes, identity);
  }

  // Step 5: the rename made durable. From here on a failure finds the new
  // file in place.
  bool synced = syncFolder(sys, folderOf(target));
  for (const std::filesystem::path& made : madeFolders) synced = synced && syncFolder(sys, folderOf(made));
  struct stat st {};
  if (synced && sys("fstat", [&] { return ::fstat(fd, &st); }) == 0) identity = FileIdentity::of(st);
  const bool closed = temp.close(sys, "close");
  return synced && closed ? Outcome::Done : Outcome::Changed;
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

std::vector<std::optional<int32_t>> lookupSettingsInts(std::string_view file,
                                                       std::span<const SettingsKey> keys) {
  KeyPlaces places;
  std::vector<size_t> keyOf;
  keyOf.reserve(keys.size());
  for (const SettingsKey& k : keys) keyOf.push_back(places.add(k.section, k.key));
  places.find(file);
  std::vector<std::optional<int32_t>> values;
  values.reserve(keys.size());
  for (const size_t k : keyOf) {
    const auto& place = places.keys()[k];
    values.push_back(place.found ? parseSettingsInt(place.value) : std::nullopt);
  }
  return values;
}

std::string withSettingsValue(std::string_view file, std::string_view section, std::string_view key,
                              int32_t value) {
  std::string result(file);
  applyValue(result, section, key, value);
  return result;
}

std::string withSettingsValues(std::string_view file, std::span<const SettingsEntry> entries) {
  std::string out;
  applyValues(file, entries, out);
  return out;
}

// --- The file on disk -------------------------------------------------------

std::filesystem::path defaultSettingsPath() {
  // A relative XDG_CONFIG_HOME is invalid and ignored, as the XDG rules say.
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::filesystem::path folder;
  if (config != nullptr && config[0] == '/') {
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

struct SettingsFile::Snapshot {
  bool valid = false;  // bytes are the file's while its identity is this
  FileIdentity identity;
  std::string bytes;
  std::string spare;      // room for the bytes of the next save
  struct stat status {};  // the file's status at the latest look
  // The values of the keys last read, while the bytes stay.
  std::vector<std::pair<std::string, std::string>> parsedKeys;
  std::vector<std::optional<int32_t>> parsedValues;

  void forget() {
    valid = false;
    parsedKeys.clear();
    parsedValues.clear();
  }
};

SettingsFile::SettingsFile(std::filesystem::path path, FaultHook faults)
    : path_(std::move(path)), faults_(std::move(faults)), snapshot_(std::make_unique<Snapshot>()) {}

SettingsFile::~SettingsFile() = default;

SettingsFile::Found SettingsFile::refresh() {
  const Calls sys(faults_);
  // Without O_NONBLOCK, opening a FIFO would wait for a writer forever.
  Descriptor file(sys.open("open", path_.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY));
  if (file.get() < 0) {
    const bool missing = errno == ENOENT || errno == ENOTDIR;
    snapshot_->forget();
    return missing ? Found::Missing : Found::Failed;
  }
  const int fd = file.get();
  // Only a regular file holds settings. A folder, a FIFO or a device (one
  // that reads as endless zeros, or as nothing) is left alone: it reads as a
  // missing file, and a write never replaces it.
  struct stat st {};
  if (sys("fstat", [&] { return ::fstat(fd, &st); }) != 0 || !S_ISREG(st.st_mode)) {
    snapshot_->forget();
    return Found::Failed;
  }
  snapshot_->status = st;
  const FileIdentity identity = FileIdentity::of(st);
  if (snapshot_->valid && snapshot_->identity == identity) return Found::Read;

  snapshot_->forget();
  std::string& bytes = snapshot_->bytes;
  // One read normally does it; the loop covers a file that grows meanwhile.
  size_t size = 0;
  makeRoom(bytes, static_cast<size_t>(st.st_size) + 1);
  bytes.resize(static_cast<size_t>(st.st_size) + 1);
  for (;;) {
    if (size == bytes.size()) bytes.resize(size * 2);
    const ssize_t n = sys("read", [&] { return ::read(fd, bytes.data() + size, bytes.size() - size); });
    if (n < 0) {
      if (errno == EINTR) continue;
      bytes.clear();
      return Found::Failed;
    }
    if (n == 0) break;
    size += static_cast<size_t>(n);
  }
  bytes.resize(size);
  snapshot_->identity = identity;
  snapshot_->valid = true;
  return Found::Read;
}

std::optional<std::string> SettingsFile::readAll() {
  if (refresh() != Found::Read) return std::nullopt;
  return snapshot_->bytes;
}

std::vector<std::optional<int32_t>> SettingsFile::readInts(std::span<const SettingsKey> keys) {
  const Found found = refresh();
  readFailed_ = found == Found::Failed;
  if (found != Found::Read) return std::vector<std::optional<int32_t>>(keys.size());
  Snapshot& s = *snapshot_;
  const bool sameKeys =
      s.parsedKeys.size() == keys.size() &&
      std::equal(keys.begin(), keys.end(), s.parsedKeys.begin(), [](const SettingsKey& k, const auto& p) {
        return k.section == p.first && k.key == p.second;
      });
  if (!sameKeys) {
    s.parsedValues = lookupSettingsInts(s.bytes, keys);
    s.parsedKeys.clear();
    for (const SettingsKey& k : keys) s.parsedKeys.emplace_back(k.section, k.key);
  }
  return s.parsedValues;
}

bool SettingsFile::writeInts(std::span<const SettingsEntry> entries) {
  if (entries.empty()) return true;
  if (std::exchange(readFailed_, false)) return false;
  const Calls sys(faults_);

  // Step 1: the file as it stands. A file that exists but cannot be read is
  // left alone rather than replaced by one holding only our keys.
  const Found found = refresh();
  if (found == Found::Failed) return false;
  Original original;
  original.exists = found == Found::Read;
  const std::string_view before = original.exists ? std::string_view(snapshot_->bytes) : std::string_view();

  // Step 2: all the values, in order, into the bytes in memory.
  std::string& after = snapshot_->spare;
  applyValues(before, entries, after);

  // Step 3: the file to replace, which the process must be allowed to write.
  const auto target = replaceTarget(path_);
  if (!target) return false;
  if (original.exists) {
    if (sys("access", [&] { return ::faccessat(AT_FDCWD, target->c_str(), W_OK, AT_EACCESS); }) != 0)
      return false;
    const struct stat& st = snapshot_->status;
    original.mode = st.st_mode & 07777;
    original.owner = st.st_uid;
    original.group = st.st_gid;
    if (!readAttributes(sys, *target, original.attributes)) return false;
  }

  // Step 4: what killed writers left, once a run.
  if (!leftoversRemoved_) {
    removeLeftovers(*target);
    leftoversRemoved_ = true;
  }

  // Step 5: the new bytes in place of the old; a failure after the file
  // changed puts the old bytes back.
  std::optional<FileIdentity> identity;
  std::vector<std::filesystem::path> madeFolders;
  const Outcome outcome = replaceWhole(sys, *target, after, original, identity, madeFolders);
  if (outcome == Outcome::Done) {
    snapshot_->forget();
    if (identity) {
      std::swap(snapshot_->bytes, after);
      snapshot_->identity = *identity;
      snapshot_->valid = true;
    }
    return true;
  }
  if (outcome == Outcome::Changed) {
    if (original.exists) {
      std::optional<FileIdentity> ignored;
      std::vector<std::filesystem::path> none;
      replaceWhole(sys, *target, before, original, ignored, none);
    } else {
      ::unlink(target->c_str());
      syncFolder(sys, folderOf(*target));
      removeFolders(madeFolders);
    }
  }
  snapshot_->forget();
  return false;
}

std::string SettingsFile::displayPath() const {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path_, error);
  return error ? path_.string() : absolute.string();
}

}  // namespace holdem
