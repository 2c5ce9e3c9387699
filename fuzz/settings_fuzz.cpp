// Any bytes as a settings file: every key of the game is read, one key is
// set, and the result must hold the value set, read every other key as
// before, and differ from the old bytes by that key's line alone. Reading
// all the keys in one pass, and setting several in one pass, must give what
// the keys read and set one by one give. A broken rule aborts.
//
// The bytes: the file first; its last five bytes pick the key (1 byte) and
// the value (4 bytes).
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/settings_file.h"

namespace {

using holdem::findSettingsValue;
using holdem::lookupSettingsInt;
using holdem::parseSettingsInt;

struct Key {
  std::string_view section;
  std::string_view key;
};

// The game's twelve keys, and two that share a name with one of them.
constexpr Key kKeys[] = {
    {"Background", "Color"}, {"Cash", "freak"},        {"Cash", "player"},  {"Cash", "geek"},
    {"Cash", "master"},      {"Cash", "champ"},        {"Cash", "pinhead"}, {"Cash", "expert"},
    {"Cash", "robot"},       {"Cash", "until"},        {"Cash", "initial"}, {"Card", "back"},
    {"Extra", "freak"},      {"Background", "player"},
};

[[noreturn]] void fail(const char* what, std::string_view detail = {}) {
  std::fprintf(stderr, "settings_fuzz: %s %.*s\n", what, static_cast<int>(detail.size()), detail.data());
  std::abort();
}

void require(bool ok, const char* what, std::string_view detail = {}) {
  if (!ok) fail(what, detail);
}

// A value text read the plain way, apart from the game's own reading: blanks
// and tabs, one CR, blanks and tabs again off the ends; then a decimal
// number within 32 bits, or 0x and one to eight hex digits as a bit pattern.
std::optional<int32_t> referenceInt(std::string_view text) {
  const auto trim = [](std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
    return t;
  };
  text = trim(text);
  if (!text.empty() && text.back() == '\r') text = trim(text.substr(0, text.size() - 1));
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    const std::string_view hex = text.substr(2);
    uint64_t bits = 0;
    const auto r = std::from_chars(hex.data(), hex.data() + hex.size(), bits, 16);
    if (hex.size() > 8 || r.ec != std::errc{} || r.ptr != hex.data() + hex.size()) return std::nullopt;
    return static_cast<int32_t>(static_cast<uint32_t>(bits));
  }
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) text.remove_prefix(1);
  if (text.empty() || text[0] < '0' || text[0] > '9') return std::nullopt;
  uint64_t magnitude = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), magnitude);
  if (r.ec != std::errc{} || r.ptr != text.data() + text.size()) return std::nullopt;
  if (magnitude > (negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1)) return std::nullopt;
  return static_cast<int32_t>(negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude));
}

// One line as the game splits the file: it ends at LF; a CR right before the
// LF, or as the file's very last byte, is part of the line end.
struct Line {
  std::string_view text;
  std::string_view end;  // "\n", "\r\n", "\r" (last line) or "" (last line)
  std::string_view bytes;
  friend bool operator==(const Line& a, const Line& b) { return a.bytes == b.bytes; }
};

std::vector<Line> linesOf(std::string_view file) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < file.size()) {
    const size_t lf = file.find('\n', pos);
    const size_t stop = lf == std::string_view::npos ? file.size() : lf + 1;
    const std::string_view bytes = file.substr(pos, stop - pos);
    size_t textSize = bytes.size() - (lf == std::string_view::npos ? 0 : 1);
    if (textSize > 0 && bytes[textSize - 1] == '\r') --textSize;
    lines.push_back({bytes.substr(0, textSize), bytes.substr(textSize), bytes});
    pos = stop;
  }
  return lines;
}

std::optional<std::string> copy(std::optional<std::string_view> v) {
  return v ? std::optional<std::string>(*v) : std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  const std::string_view file(reinterpret_cast<const char*>(data), size - 5);
  const Key& target = kKeys[data[size - 5] % std::size(kKeys)];
  const int32_t value = static_cast<int32_t>(uint32_t{data[size - 4]} << 24 | uint32_t{data[size - 3]} << 16 |
                                             uint32_t{data[size - 2]} << 8 | data[size - 1]);

  // Every key reads as its raw text says, and the raw text is a piece of
  // one line with the blanks around it taken off.
  std::optional<std::string> before[std::size(kKeys)];
  for (size_t i = 0; i < std::size(kKeys); ++i) {
    const auto raw = findSettingsValue(file, kKeys[i].section, kKeys[i].key);
    const auto number = lookupSettingsInt(file, kKeys[i].section, kKeys[i].key);
    require(number == (raw ? parseSettingsInt(*raw) : std::nullopt), "lookup differs from find then parse");
    if (raw) {
      require(raw->empty() ||
                  (raw->data() >= file.data() && raw->data() + raw->size() <= file.data() + file.size()),
              "the value text is not a piece of the file");
      require(raw->find('\n') == std::string_view::npos, "the value text spans lines", *raw);
      require(raw->empty() ||
                  (raw->front() != ' ' && raw->front() != '\t' && raw->back() != ' ' && raw->back() != '\t'),
              "blanks around the value text", *raw);
      require(parseSettingsInt(*raw) == referenceInt(*raw), "the value text reads differently", *raw);
    }
    before[i] = copy(raw);
  }

  // Many keys at once, in one pass, are the keys one by one.
  {
    std::vector<holdem::SettingsKey> names;
    for (const Key& k : kKeys) names.push_back({k.section, k.key});
    const auto all = holdem::lookupSettingsInts(file, names);
    for (size_t i = 0; i < std::size(kKeys); ++i)
      require(all[i] == lookupSettingsInt(file, kKeys[i].section, kKeys[i].key),
              "one pass reads differently");
    const Key& other = kKeys[(static_cast<size_t>(&target - kKeys) + 5) % std::size(kKeys)];
    const holdem::SettingsEntry entries[] = {{target.section, target.key, value},
                                             {other.section, other.key, ~value},
                                             {target.section, target.key, value ^ 1}};
    std::string oneByOne(file);
    for (const auto& e : entries) oneByOne = holdem::withSettingsValue(oneByOne, e.section, e.key, e.value);
    require(holdem::withSettingsValues(file, entries) == oneByOne, "one pass writes differently");
  }

  // Set one key.
  const std::string after = holdem::withSettingsValue(file, target.section, target.key, value);
  const std::string number = std::to_string(value);
  require(lookupSettingsInt(after, target.section, target.key) == value, "the value set does not read back");
  require(copy(findSettingsValue(after, target.section, target.key)) == number, "the value text set differs");
  for (size_t i = 0; i < std::size(kKeys); ++i) {
    if (&kKeys[i] == &target) continue;
    require(copy(findSettingsValue(after, kKeys[i].section, kKeys[i].key)) == before[i],
            "another key reads differently after the write", kKeys[i].key);
  }

  // Only the key's own line changed, or was added (with its section when
  // that was missing); a last line without a line end may have got one.
  const std::vector<Line> old = linesOf(file);
  const std::vector<Line> now = linesOf(after);
  size_t head = 0;
  while (head < old.size() && head < now.size() && old[head] == now[head]) ++head;
  size_t tail = 0;
  while (tail < old.size() - head && tail < now.size() - head &&
         old[old.size() - 1 - tail] == now[now.size() - 1 - tail]) {
    ++tail;
  }
  const std::vector<Line> gone(old.begin() + static_cast<long>(head), old.end() - static_cast<long>(tail));
  const std::vector<Line> added(now.begin() + static_cast<long>(head), now.end() - static_cast<long>(tail));
  const size_t firstLf = file.find('\n');
  const std::string_view eol = firstLf != std::string_view::npos && firstLf > 0 && file[firstLf - 1] == '\r'
                                   ? std::string_view("\r\n")
                                   : std::string_view("\n");
  const std::string keyLine = std::string(target.key) + "=" + number;
  const auto isKeyLine = [&](const Line& l) { return l.text == keyLine && l.end == eol; };

  if (before[&target - kKeys]) {
    // The key's line replaced, or left as it was when it already said so.
    require(gone.size() == added.size() && gone.size() <= 1, "more than the key's line changed");
    if (!added.empty()) require(isKeyLine(added[0]), "the key's line is not key=value", added[0].bytes);
    return 0;
  }
  size_t at = 0;
  if (!gone.empty()) {
    // The last line got its line end before the new lines.
    require(gone.size() == 1 && tail == 0 && gone[0].end.size() < 2 && gone[0].end != "\n",
            "a line other than an unterminated last one changed", gone[0].bytes);
    require(!added.empty() && added[0].text == gone[0].text &&
                added[0].end == (gone[0].end == "\r" ? std::string_view("\r\n") : eol),
            "the unterminated last line was not completed");
    at = 1;
  }
  const size_t rest = added.size() - at;
  require(rest == 1 || rest == 2, "the write added other than one or two lines");
  if (rest == 2) {
    require(tail == 0, "a new section went elsewhere than the end");
    require(added[at].text == "[" + std::string(target.section) + "]" && added[at].end == eol,
            "the new section's header is wrong", added[at].bytes);
  }
  require(isKeyLine(added.back()), "the added line is not key=value", added.back().bytes);
  return 0;
}
