// Any bytes as a settings file: every key of the game is read, one key is
// set, and the result must hold the value set, read every other key as
// before, and differ from the old bytes by that key's line alone. Reading
// all the keys in one pass, and setting several in one pass, must give what
// the keys read and set one by one give. A broken rule aborts.
//
// The bytes: the file first; its last five bytes pick the key (1 byte) and
// the value (4 bytes).
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/settings_file.h"

namespace {

using namespace holdem;

// The game's twelve keys, and two that share a name with one of them.
constexpr SettingsKey kKeys[] = {
    {"Background", "Color"}, {"Cash", "freak"},        {"Cash", "player"},  {"Cash", "geek"},
    {"Cash", "master"},      {"Cash", "champ"},        {"Cash", "pinhead"}, {"Cash", "expert"},
    {"Cash", "robot"},       {"Cash", "until"},        {"Cash", "initial"}, {"Card", "back"},
    {"Extra", "freak"},      {"Background", "player"},
};

void require(bool ok, const char* what, std::string_view detail = {}) {
  if (ok) return;
  std::fprintf(stderr, "settings_fuzz: %s %.*s\n", what, static_cast<int>(detail.size()), detail.data());
  std::abort();
}

bool blank(char c) { return c == ' ' || c == '\t'; }

// A value text read the plain way, apart from the game's own reading: blanks
// and tabs, one CR, blanks and tabs again off the ends; then a decimal
// number within 32 bits, or 0x and one to eight hex digits as a bit pattern.
std::optional<int32_t> referenceInt(std::string_view t) {
  const auto trim = [&t] {
    while (!t.empty() && blank(t.front())) t.remove_prefix(1);
    while (!t.empty() && blank(t.back())) t.remove_suffix(1);
  };
  trim();
  if (t.ends_with('\r')) {
    t.remove_suffix(1);
    trim();
  }
  const bool hex = t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X');
  const bool negative = t.starts_with('-');
  t.remove_prefix(hex ? 2 : negative || t.starts_with('+') ? 1 : 0);
  uint64_t v = 0;
  const auto r = std::from_chars(t.data(), t.data() + t.size(), v, hex ? 16 : 10);
  if (r.ec != std::errc{} || r.ptr != t.data() + t.size() || (hex && t.size() > 8)) return std::nullopt;
  if (hex) return static_cast<int32_t>(static_cast<uint32_t>(v));
  if (v > (uint64_t{1} << 31) - !negative) return std::nullopt;
  return static_cast<int32_t>(negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v));
}

// One line as the game splits the file: it ends at LF; a CR right before the
// LF, or as the file's very last byte, is part of the line end.
struct Line {
  std::string_view text;
  std::string_view end;  // "\n", "\r\n", "\r" (last line) or "" (last line)
  bool operator==(const Line&) const = default;
};

std::vector<Line> linesOf(std::string_view file) {
  std::vector<Line> lines;
  while (!file.empty()) {
    const size_t lf = file.find('\n');
    const size_t stop = lf == std::string_view::npos ? file.size() : lf + 1;
    size_t textSize = stop - (lf != std::string_view::npos);
    if (textSize > 0 && file[textSize - 1] == '\r') --textSize;
    lines.push_back({file.substr(0, textSize), file.substr(textSize, stop - textSize)});
    file.remove_prefix(stop);
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  const std::string_view file(reinterpret_cast<const char*>(data), size - 5);
  const size_t t = data[size - 5] % std::size(kKeys);
  const SettingsKey& target = kKeys[t];
  const int32_t value = static_cast<int32_t>(uint32_t{data[size - 4]} << 24 | uint32_t{data[size - 3]} << 16 |
                                             uint32_t{data[size - 2]} << 8 | data[size - 1]);

  // Every key reads as its raw text says, and the raw text is a piece of
  // one line with the blanks around it taken off; all of them in one pass
  // read the same.
  std::optional<std::string_view> before[std::size(kKeys)];  // pieces of `file`
  const auto all = lookupSettingsInts(file, kKeys);
  for (size_t i = 0; i < std::size(kKeys); ++i) {
    const auto raw = findSettingsValue(file, kKeys[i].section, kKeys[i].key);
    const auto number = lookupSettingsInt(file, kKeys[i].section, kKeys[i].key);
    require(number == (raw ? parseSettingsInt(*raw) : std::nullopt), "lookup differs from find then parse");
    require(all[i] == number, "one pass reads differently");
    if (raw && !raw->empty()) {
      require(raw->data() >= file.data() && raw->data() + raw->size() <= file.data() + file.size(),
              "the value text is not a piece of the file");
      require(raw->find('\n') == std::string_view::npos, "the value text spans lines", *raw);
      require(!blank(raw->front()) && !blank(raw->back()), "blanks around the value text", *raw);
    }
    if (raw) require(parseSettingsInt(*raw) == referenceInt(*raw), "the value text reads differently", *raw);
    before[i] = raw;
  }

  // Many keys set at once, in one pass, are the keys set one by one.
  const SettingsKey& other = kKeys[(t + 5) % std::size(kKeys)];
  const SettingsEntry entries[] = {{target.section, target.key, value},
                                   {other.section, other.key, ~value},
                                   {target.section, target.key, value ^ 1}};
  std::string oneByOne(file);
  for (const auto& e : entries) oneByOne = withSettingsValue(oneByOne, e.section, e.key, e.value);
  require(withSettingsValues(file, entries) == oneByOne, "one pass writes differently");

  // Set one key.
  const std::string after = withSettingsValue(file, target.section, target.key, value);
  const std::string number = std::to_string(value);
  require(lookupSettingsInt(after, target.section, target.key) == value, "the value set does not read back");
  require(findSettingsValue(after, target.section, target.key) == number, "the value text set differs");
  for (size_t i = 0; i < std::size(kKeys); ++i) {
    require(i == t || findSettingsValue(after, kKeys[i].section, kKeys[i].key) == before[i],
            "another key reads differently after the write", kKeys[i].key);
  }

  // Only the key's own line changed, or was added (with its section when
  // that was missing); a last line without a line end may have got one.
  const std::vector<Line> old = linesOf(file), now = linesOf(after);
  const auto [oldFrom, nowFrom] = std::mismatch(old.begin(), old.end(), now.begin(), now.end());
  const auto [oldTo, nowTo] = std::mismatch(old.rbegin(), std::make_reverse_iterator(oldFrom), now.rbegin(),
                                            std::make_reverse_iterator(nowFrom));
  const std::vector<Line> gone(oldFrom, oldTo.base()), added(nowFrom, nowTo.base());
  const bool atEnd = oldTo == old.rbegin();
  // New lines end as the file's first line does.
  const std::string_view eol = !old.empty() && old[0].end == "\r\n" ? "\r\n" : "\n";
  const std::string keyText = std::string(target.key) + "=" + number;
  const std::string header = "[" + std::string(target.section) + "]";
  const Line keyLine{keyText, eol};
  if (before[t]) {
    // The key's line replaced, or left as it was when it already said so.
    require(gone.size() == added.size() && gone.size() <= 1, "more than the key's line changed");
    require(added.empty() || added[0] == keyLine, "the key's line is not key=value");
    return 0;
  }
  if (!gone.empty()) {
    // The last line got its line end before the new lines.
    require(gone.size() == 1 && atEnd && (gone[0].end.empty() || gone[0].end == "\r"),
            "a line other than an unterminated last one changed");
    require(!added.empty() && added[0] == Line{gone[0].text, gone[0].end == "\r" ? "\r\n" : eol},
            "the unterminated last line was not completed");
  }
  const size_t rest = added.size() - gone.size();  // the lines after the completed one
  require(rest == 1 || (rest == 2 && atEnd && added[gone.size()] == Line{header, eol}),
          "the write added other than the key's line, after its new section at the end");
  require(added.back() == keyLine, "the added line is not key=value");
  return 0;
}
