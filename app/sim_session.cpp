#include "app/sim_session.h"

#include <charconv>

#include "game/settings_keys.h"
#include "game/stand_ins.h"

namespace holdem {

namespace {

// The length of the valid UTF-8 sequence that starts the text, or 0 when
// its first byte starts none (no overlong forms, no surrogates, nothing
// beyond U+10FFFF).
size_t utf8SequenceLength(std::string_view s) {
  const auto byte = [&s](size_t i) { return static_cast<unsigned char>(s[i]); };
  const auto continues = [&](size_t i, unsigned char low = 0x80, unsigned char high = 0xBF) {
    return i < s.size() && byte(i) >= low && byte(i) <= high;
  };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  if (lead < 0xC2) return 0;
  if (lead < 0xE0) return continues(1) ? 2 : 0;
  if (lead < 0xF0) {
    const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
    return continues(1, low, high) && continues(2) ? 3 : 0;
  }
  if (lead < 0xF5) {
    const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
    return continues(1, low, high) && continues(2) && continues(3) ? 4 : 0;
  }
  return 0;
}

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD

// A JSON string, always valid UTF-8: each byte that is not part of a valid
// UTF-8 sequence is written as one U+FFFD.
void appendString(std::string& out, std::string_view s) {
  out += '"';
  for (size_t i = 0; i < s.size();) {
    const char c = s[i];
    if (static_cast<unsigned char>(c) >= 0x80) {
      const size_t length = utf8SequenceLength(s.substr(i));
      if (length == 0) {
        out += kReplacementCharacter;
        ++i;
      } else {
        out.append(s.substr(i, length));
        i += length;
      }
      continue;
    }
    ++i;
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          static constexpr char kHex[] = "0123456789abcdef";
          out += "\\u00";
          out += kHex[(c >> 4) & 0xF];
          out += kHex[c & 0xF];
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

void appendInt(std::string& out, int64_t v) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, r.ptr);
}

constexpr std::string_view kShownText[] = {"none", "back", "up"};
constexpr std::array<Seat, kSeatCount> kSeatOrder{Seat::Player, Seat::Freak,   Seat::Geek,   Seat::Master,
                                                  Seat::Champ,  Seat::Pinhead, Seat::Expert, Seat::Robot};

// "S.R" or a negative placeholder, written without leading zeros. Every
// negative 32-bit integer is a placeholder text, the lowest one included.
std::optional<Card> parseCard(std::string_view w) {
  auto number = [](std::string_view s) -> std::optional<int32_t> {
    if (s.empty() || (s.size() > 1 && s[0] == '0')) return std::nullopt;
    int32_t v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc{} || r.ptr != s.data() + s.size()) return std::nullopt;
    return v;
  };
  if (const size_t dot = w.find('.'); dot != std::string_view::npos) {
    const auto suit = number(w.substr(0, dot));
    const auto rank = number(w.substr(dot + 1));
    if (!suit || !rank || *suit > 3 || *rank > 12) return std::nullopt;
    return Card{*suit, *rank};
  }
  if (w.size() < 2 || w[0] != '-' || w[1] < '1' || w[1] > '9') return std::nullopt;
  int32_t placeholder = 0;
  const auto r = std::from_chars(w.data(), w.data() + w.size(), placeholder);
  if (r.ec != std::errc{} || r.ptr != w.data() + w.size()) return std::nullopt;
  return Card::placeholder(placeholder);
}

std::vector<std::string_view> words(std::string_view line) {
  std::vector<std::string_view> out;
  size_t start = 0;
  while (true) {
    const size_t blank = line.find(' ', start);
    out.push_back(line.substr(start, blank - start));
    if (blank == std::string_view::npos) return out;
    start = blank + 1;
  }
}

std::optional<int> itemNumber(std::string_view w) {
  if (w.size() != 1 || w[0] < '0' || w[0] > '3') return std::nullopt;
  return w[0] - '0';
}

}  // namespace

// Writes one compact JSON object, keys in the order they are added.
class Json {
 public:
  explicit Json(std::string& out) : out_(out) { out_ += '{'; }
  ~Json() { out_ += "}\n"; }
  std::string& key(std::string_view k) {
    if (!first_) out_ += ',';
    first_ = false;
    out_ += '"';
    out_ += k;
    out_ += "\":";
    return out_;
  }
  void num(std::string_view k, int64_t v) { appendInt(key(k), v); }
  void str(std::string_view k, std::string_view v) { appendString(key(k), v); }
  template <typename Range, typename Fn>
  void list(std::string_view k, const Range& items, Fn each) {
    std::string& o = key(k);
    o += '[';
    bool first = true;
    for (const auto& item : items) {
      if (!first) o += ',';
      first = false;
      each(o, item);
    }
    o += ']';
  }

 private:
  std::string& out_;
  bool first_ = true;
};

std::optional<uint32_t> parseClockArgument(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  uint32_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10u + static_cast<uint32_t>(c - '0');
  }
  return negative ? 0u - value : value;
}

std::string quotedForMessage(std::string_view line, size_t limit) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  size_t characters = 0;
  size_t i = 0;
  while (i < line.size() && characters < limit) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    ++characters;
    const size_t length = c >= 0x80 ? utf8SequenceLength(line.substr(i)) : 1;
    if (length > 1) {
      out.append(line.substr(i, length));
      i += length;
      continue;
    }
    ++i;
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\0') {
      out += "\\0";
    } else if (c < 0x20 || c == 0x7F || c >= 0x80) {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else {
      out += static_cast<char>(c);
    }
  }
  if (i < line.size()) out += "... (" + std::to_string(line.size()) + " bytes in all)";
  return out;
}

SimSession::SimSession(std::filesystem::path settingsPath, std::unique_ptr<Clock> clock)
    : settings_(std::move(settingsPath)),
      clock_(std::move(clock)),
      game_(std::make_unique<Game>(settings_, dialogs_, canvas_, *clock_)) {}

SimSession::~SimSession() = default;

bool SimSession::start(std::string& out) {
  dialogs_.boxes.clear();
  if (game_->startUp()) {
    appendState(out, "start");
    return true;
  }
  Json j(out);
  j.num("step", 0);
  j.str("cmd", "start");
  appendBoxes(j);
  return false;
}

SimSession::Outcome SimSession::run(std::string_view line, std::string& out) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!line.empty() && blank(line.front())) line.remove_prefix(1);
  while (!line.empty() && blank(line.back())) line.remove_suffix(1);
  if (line.empty() || line.front() == '#') return Outcome::Skipped;

  Game& g = *game_;
  dialogs_.boxes.clear();
  const std::vector<std::string_view> w = words(line);
  const auto is = [&](std::string_view a, std::string_view b = {}) {
    return w.size() == (b.empty() ? 1u : 2u) && w[0] == a && (b.empty() || w[1] == b);
  };

  if (w[0] == "money" || w[0] == "until") {
    // Everything after the word and its blank is the edit box's new text.
    const std::string text(line.size() > w[0].size() ? line.substr(w[0].size() + 1) : std::string_view{});
    if (w[0] == "money") {
      g.setMoneyText(text);
    } else {
      g.setUntilText(text);
    }
  } else if (w[0] == "eval") {
    if (w.size() != 9 || w[1].size() != 1 || w[1][0] < '1' || w[1][0] > '5') return Outcome::NotUnderstood;
    EvalSlots slots{};
    for (int i = 0; i < 7; ++i) {
      const std::optional<Card> c = parseCard(w[2 + i]);
      if (!c) return Outcome::NotUnderstood;
      slots[i] = *c;
    }
    const HandRating r = evaluateHand(slots, w[1][0] - '0');
    Json j(out);
    j.num("step", ++step_);
    j.str("cmd", line);
    j.num("handValue", r.handValue);
    j.num("handKicker", r.handKicker);
    j.num("straightDraw", r.straightDraw);
    j.num("flushDraw", r.flushDraw);
    j.num("connectedHoleCards", r.connectedHoleCards);
    j.num("suitedHoleCards", r.suitedHoleCards);
    j.str("name", handName(r.handValue));
    return Outcome::Printed;
  } else if (is("deal")) {
    g.click(Button::Deal);
  } else if (is("call")) {
    g.click(Button::CheckCall);
  } else if (is("raise")) {
    g.click(Button::Raise);
  } else if (is("fold")) {
    g.click(Button::Fold);
  } else if (is("newgame", "yes") || is("newgame", "no")) {
    dialogs_.answerYes = w[1] == "yes";
    g.newGame();
  } else if (is("limit", "up") || is("limit", "down")) {
    g.changeBettingLimit(w[1] == "up" ? 1 : -1);
  } else if (is("enter-money")) {
    g.enterInitialCash();
  } else if (is("enter-until")) {
    g.enterTarget();
  } else if (w.size() == 2 && w[0] == "level" && itemNumber(w[1])) {
    g.selectLevel(*itemNumber(w[1]));
  } else if (w.size() == 2 && w[0] == "back" && itemNumber(w[1])) {
    g.chooseCardBack(*itemNumber(w[1]));
  } else {
    return Outcome::NotUnderstood;
  }
  ++step_;
  appendState(out, line);
  return Outcome::Printed;
}

void SimSession::appendBoxes(Json& j) {
  j.list("boxes", dialogs_.boxes, [](std::string& o, const Box& b) {
    o += "{\"text\":";
    appendString(o, b.text);
    o += ",\"caption\":";
    appendString(o, b.caption);
    o += b.buttons == BoxButtons::Ok ? ",\"buttons\":\"ok\"}" : ",\"buttons\":\"yesno\"}";
  });
}

void SimSession::appendState(std::string& out, std::string_view cmd) {
  const TableState& t = game_->state();
  const TableView& v = game_->view();
  const auto number = [](std::string& o, int64_t n) { appendInt(o, n); };
  const auto text = [](std::string& o, const std::string& s) { appendString(o, s); };
  Json j(out);
  j.num("step", step_);
  j.str("cmd", cmd);
  appendBoxes(j);
  j.num("round", t.bettingRound);
  j.num("bigBlindSeat", t.bigBlindSeat);
  j.num("closingSeat", t.closingSeat);
  j.num("pot", t.pot);
  j.num("currentBet", t.currentBet);
  j.num("foldCount", t.foldCount);
  j.num("potAwarded", t.potAwarded);
  j.num("smallBet", t.smallBet);
  j.num("bigBet", t.bigBet);
  j.num("smallBlind", t.smallBlind);
  j.num("bigBlind", t.bigBlind);
  j.num("peekThreshold", t.peekThreshold);
  j.num("initialCash", t.initialCash);
  j.num("untilTarget", t.untilTarget);
  j.num("cardBackIndex", t.cardBackIndex);
  j.list("cash", t.cash, number);
  j.list("folded", t.folded, number);
  j.list("raised", std::span(t.raised).subspan(1), number);
  j.list("hole", t.hole, [](std::string& o, const std::array<Card, 2>& h) {
    o += '[';
    appendInt(o, h[0].imageIndex());
    o += ',';
    appendInt(o, h[1].imageIndex());
    o += ']';
  });
  j.list("board", t.board, [](std::string& o, Card c) { appendInt(o, c.imageIndex()); });
  j.list("status", v.status, text);
  j.list("yellow", v.statusColor,
         [](std::string& o, LabelColor c) { o += c == LabelColor::Yellow ? '1' : '0'; });
  j.str("result", v.result);
  j.list("cashText", v.cashText, text);
  j.str("potText", v.potText);
  j.num("btnnew", v.isEnabled(Button::Deal));
  j.num("btnstay", v.isEnabled(Button::CheckCall));
  j.num("btnbet", v.isEnabled(Button::Raise));
  j.num("btnpass", v.isEnabled(Button::Fold));
  j.str("stayCaption", v.stayCaption);
  j.list("stats", std::array{t.dealsCount, t.handsPlayed, t.handsWon}, number);
  j.num("dealsDealt", t.dealsDealt);
  j.num("playerRaiseTotal", t.playerRaiseTotal);
  j.num("aggressive", t.playerIsAggressive);
  j.list("shown", kSeatOrder, [&t](std::string& o, Seat s) {
    o += '"';
    o += kShownText[static_cast<int>(cardsShown(t, s))];
    o += '"';
  });
  j.num("boardShown", boardCardsShown(t));
  j.str("money", v.money);
  j.str("until", v.until);
  j.str("label3", v.smallBetText);
  j.str("label4", v.bigBetText);
  j.num("level", v.level);
  j.num("backItem", v.backItem);
  // The settings file as it stands on disk after the step.
  static constexpr auto kKeys = [] {
    std::array<SettingsKey, kSettingCount> keys{};
    for (int i = 0; i < kSettingCount; ++i) keys[i] = kSettings[i].name;
    return keys;
  }();
  const std::vector<std::optional<int32_t>> values = settings_.readInts(kKeys);
  std::string& o = j.key("settings");
  o += '{';
  for (int i = 0; i < kSettingCount; ++i) {
    const SettingsKey& k = kKeys[i];
    if (i > 0) o += ',';
    o += '"';
    o += k.section;
    o += '/';
    o += k.key;
    o += "\":";
    if (values[i]) {
      appendInt(o, *values[i]);
    } else {
      o += "null";
    }
  }
  o += '}';
}

}  // namespace holdem
