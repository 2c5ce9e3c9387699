// Any bytes, read as a run of the table: optional hand-edited settings, the
// clock, then one user event after another. The engine is built here with
// its check of the table's rules after every event (game/table_rules.h), so
// a broken rule aborts; so do a card picture that does not exist and an
// empty message box.
//
// The bytes: a flags byte (bit 0: twelve settings values follow), the clock
// (4 bytes), then events. An event is one byte, its low four bits naming it;
// `level` and `back` take one more byte, `money` and `until` a length byte and
// the text (or, with the length byte's top bit, 4 bytes printed as a number).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "test_support.h"

namespace {

using namespace holdem;

// Reads the input front to back; past its end, everything reads as zero.
struct Reader {
  const uint8_t* data;
  size_t size;
  size_t pos = 0;
  bool done() const { return pos >= size; }
  uint8_t byte() { return pos < size ? data[pos++] : 0; }
  int32_t int32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | byte();
    return static_cast<int32_t>(v);
  }
};

// A settings value as a hand-edited file might hold it.
int32_t settingsValue(Reader& in) {
  using Limits = std::numeric_limits<int32_t>;
  // clang-format off
  static constexpr int32_t kOdd[] = {0, -1, 1, 2, 3, 99, 1000000, Limits::max(), Limits::min(),
                                     Limits::max() - 1, Limits::min() + 1, 1 << 30};
  // clang-format on
  const uint8_t mode = in.byte();
  switch (mode % 3) {
    case 0: return static_cast<int32_t>(in.byte()) * 16 - 40;  // small, now and then zero or less
    case 1: return kOdd[in.byte() % std::size(kOdd)];
    default: return in.int32();
  }
}

std::string editText(Reader& in) {
  const uint8_t length = in.byte();
  if (length & 0x80) return std::to_string(in.int32());
  std::string out;
  for (int n = length % 24; n > 0 && !in.done(); --n) out += static_cast<char>(in.byte());
  return out;
}

[[noreturn]] void fail(long event, int op, const std::string& what) {
  std::fprintf(stderr, "engine_fuzz: after event %ld (op %d): %s\n", event, op, what.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in{data, size};
  MemorySettings::Values values;
  if (in.byte() & 1) {  // twelve settings values follow
    for (const SettingInfo& s : kSettings)
      values[MemorySettings::name(s.name.section, s.name.key)] = settingsValue(in);
  }
  const int64_t clock = static_cast<uint32_t>(in.int32());
  testing::Table table(clock, std::move(values));
  if (!table.start()) fail(0, -1, "the start-up failed over settings kept in memory");
  Game& g = *table.game;

  long events = 0;
  while (!in.done() && events < 2000) {
    const int op = in.byte() & 15;
    table.canvas.clear();
    switch (op) {
      case 0: g.click(Button::Deal); break;
      case 1: g.click(Button::CheckCall); break;
      case 2: g.click(Button::Raise); break;
      case 3: g.click(Button::Fold); break;
      case 4:
      case 5:
        table.dialogs.answerYes = op == 4;
        g.newGame();
        break;
      case 6: g.selectLevel(in.byte() % 4); break;
      case 7: g.changeBettingLimit(+1); break;
      case 8: g.changeBettingLimit(-1); break;
      case 9: g.chooseCardBack(in.byte() % 4); break;
      case 10: g.setMoneyText(editText(in)); break;
      case 11: g.setUntilText(editText(in)); break;
      case 12: g.enterInitialCash(); break;
      case 13: g.enterTarget(); break;
      case 14: table.settings.failWrites = !table.settings.failWrites; break;  // the disk fills up, or frees
      case 15: g.paintTable(); break;
    }
    ++events;
    if (std::ranges::any_of(table.canvas.cards,
                            [](const auto& c) { return c.image < 0 || c.image >= kCardPictureCount; })) {
      fail(events, op, "drew a card picture that does not exist");
    }
    if (std::ranges::any_of(table.dialogs.boxes, [](const auto& b) { return b.text.empty(); })) {
      fail(events, op, "an empty message box");
    }
    table.dialogs.boxes.clear();
  }
  return 0;
}
