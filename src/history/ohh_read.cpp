#include "history/ohh_read.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "eval/evaluator.h"
#include "history/ohh.h"

namespace holdem {

namespace {

using Json = nlohmann::json;

constexpr std::uintmax_t kMaxFileBytes = 64u << 20;
constexpr size_t kMaxActions = 10'000;

struct Refused : std::runtime_error {
  using std::runtime_error::runtime_error;
};

const Json& field(const Json& j, const char* name) {
  if (!j.is_object() || !j.contains(name)) throw Refused(std::string("no \"") + name + "\"");
  return j[name];
}

const Json& list(const Json& j, const char* name) {
  const Json& v = field(j, name);
  if (!v.is_array()) throw Refused(std::string("\"") + name + "\" is not a list");
  return v;
}

int32_t whole(const Json& j, const char* name) {
  const Json& v = field(j, name);
  if (!v.is_number_integer()) throw Refused(std::string("\"") + name + "\" is not a whole number");
  const int64_t n = v.is_number_unsigned() && v.get<uint64_t>() > INT64_MAX ? INT64_MAX : v.get<int64_t>();
  if (n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<int32_t>::max())
    throw Refused(std::string("\"") + name + "\" is out of range");
  return static_cast<int32_t>(n);
}

std::string text(const Json& j, const char* name) {
  const Json& v = field(j, name);
  if (!v.is_string()) throw Refused(std::string("\"") + name + "\" is not a text");
  return v.get<std::string>();
}

Card card(const Json& j) {
  const std::string s = j.is_string() ? j.get<std::string>() : std::string();
  for (int rank = 0; rank < kRankCount; ++rank)
    for (int suit = 0; suit < kSuitCount; ++suit)
      if (s == ohhCard(Card{suit, rank})) return Card{suit, rank};
  throw Refused("a card that is not one: " +
                j.dump(-1, ' ', false, Json::error_handler_t::replace).substr(0, 20));
}

Seat seatOf(const Json& action) {
  const int32_t id = whole(action, "player_id");
  if (id < 0 || id >= kSeatCount)
    throw Refused("player " + std::to_string(id) + " does not sit at the table");
  return static_cast<Seat>(id);
}

class HandReader {
 public:
  HandRecord read(const Json& root, int number) {
    const Json& h = field(root, "ohh");
    r_.number = number;
    r_.serial = number;
    r_.smallBlind = whole(h, "small_blind_amount");
    r_.bigBlind = whole(h, "big_blind_amount");
    if (r_.smallBlind < 0 || r_.bigBlind < 0 || r_.bigBlind > (1 << 28)) throw Refused("blinds out of range");
    r_.smallBet = r_.bigBlind;
    r_.bigBet = 2 * r_.bigBlind;
    r_.potAtStart = r_.smallBlind + r_.bigBlind;
    const int32_t dealer = whole(h, "dealer_seat");
    if (dealer < 1 || dealer > kSeatCount) throw Refused("no such dealer seat");
    const int smallOhh = dealer == kSeatCount ? 1 : dealer + 1;
    const int small = kSeatCount + 1 - smallOhh;
    r_.bigBlindSeat = small == 1 ? kPlayerSeatNumber : small - 1;
    std::array<bool, kSeatCount> seated{};
    for (const Json& p : list(h, "players")) {
      const Seat s = static_cast<Seat>(std::clamp(whole(p, "id"), 0, kSeatCount - 1));
      if (whole(p, "id") != index(s) || seated[index(s)]) throw Refused("a player twice or not of the table");
      seated[index(s)] = true;
      r_.seats[index(s)].chips = whole(p, "starting_stack");
      if (!field(p, "is_sitting_out").is_boolean()) throw Refused("\"is_sitting_out\" is not true or false");
      r_.seats[index(s)].dealtIn = !p["is_sitting_out"].get<bool>();
    }
    if (std::count(seated.begin(), seated.end(), true) != kSeatCount) throw Refused("not eight players");
    chips_ = {};
    for (int s = 0; s < kSeatCount; ++s) chips_[s] = r_.seats[s].chips;
    pot_ = r_.potAtStart;
    size_t actions = 0;
    for (const Json& round : list(h, "rounds")) {
      street(round);
      const Json& acts = list(round, "actions");
      actions += acts.size();
      if (actions > kMaxActions) throw Refused("too many actions");
      for (const Json& a : acts) act(a);
    }
    end(h);
    checkCards();
    return r_;
  }

 private:
  void street(const Json& round) {
    const std::string name = text(round, "street");
    const int cards = name == "Flop" ? 3 : name == "Turn" ? 1 : name == "River" ? 1 : 0;
    if (name == "Showdown") {
      showdown_ = true;
      round_ = kDealOver;
    }
    if (cards == 0) return;
    const Json& shown = list(round, "cards");
    if (static_cast<int>(shown.size()) != cards) throw Refused("a street with the wrong number of cards");
    const int first = name == "Flop" ? 0 : name == "Turn" ? 3 : 4;
    if (boardShown_ != first) throw Refused("the board out of order");
    for (int i = 0; i < cards; ++i) r_.board[first + i] = card(shown[i]);
    boardShown_ = r_.boardShown = first + cards;
    round_ = name == "Flop" ? kFlop : name == "Turn" ? kTurn : kRiver;
    add(StepKind::Board, Seat::Player, 0);
  }

  Step& add(StepKind kind, Seat s, int32_t paid) {
    Step& step = r_.steps.emplace_back();
    step.kind = kind;
    step.seat = s;
    step.round = round_;
    step.paid = paid;
    if (kind != StepKind::Board) {
      chips_[index(s)] = clamp(static_cast<int64_t>(chips_[index(s)]) - paid);
      step.chipsAfter = chips_[index(s)];
    }
    step.potAfter = pot_;
    step.boardShown = boardShown_;
    return step;
  }

  static int32_t clamp(int64_t n) {
    if (n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<int32_t>::max())
      throw Refused("chips out of range");
    return static_cast<int32_t>(n);
  }

  void act(const Json& a) {
    const std::string what = text(a, "action");
    const auto amount = [&] { return whole(a, "amount"); };
    if (what == "Post SB" || what == "Post BB") {
      const bool big = what == "Post BB";
      add(big ? StepKind::BigBlind : StepKind::SmallBlind, seatOf(a), amount());
      blinds_ = big ? 2 : 1;
    } else if (what == "Add to Pot") {
      // A blind that a seat without chips did not pay: after its own post,
      // the part unpaid; alone, the whole blind.
      const Step* last = r_.steps.empty() ? nullptr : &r_.steps.back();
      const bool rest = last && (last->kind == StepKind::SmallBlind || last->kind == StepKind::BigBlind) &&
                        last->paid + static_cast<int64_t>(amount()) ==
                            (last->kind == StepKind::SmallBlind ? r_.smallBlind : r_.bigBlind);
      if (!rest) {
        const bool big = blinds_ >= 1;
        const int smallNumber = smallBlindSeatOf(r_.bigBlindSeat);
        add(big ? StepKind::BigBlind : StepKind::SmallBlind, seatAt(big ? r_.bigBlindSeat : smallNumber), 0);
        blinds_ = big ? 2 : 1;
      }
    } else if (what == "Dealt Cards" || what == "Shows Cards") {
      const Seat s = seatOf(a);
      const Json& cards = list(a, "cards");
      if (cards.size() != 2) throw Refused("a hand of other than two cards");
      r_.seats[index(s)].hole = {card(cards[0]), card(cards[1])};
      if (what == "Shows Cards") shown_.push_back(s);
    } else if (what == "Check" || what == "Fold") {
      add(what == "Check" ? StepKind::Check : StepKind::Fold, seatOf(a), 0);
    } else if (what == "Call" || what == "Bet" || what == "Raise") {
      const int32_t paid = amount();
      if (paid < 0) throw Refused("a bet below zero");
      pot_ = clamp(static_cast<int64_t>(pot_) + paid);
      add(what == "Call" ? StepKind::Call : what == "Bet" ? StepKind::Bet : StepKind::Raise, seatOf(a), paid);
    } else if (what == "Player Adjustment") {
      add(StepKind::ChipsSet, seatOf(a), clamp(-static_cast<int64_t>(amount())));
    } else {
      throw Refused("an action this table does not know: " + what.substr(0, 40));
    }
  }

  void end(const Json& h) {
    const Json& pots = list(h, "pots");
    if (pots.size() != 1) throw Refused("not one pot");
    DealEnd& e = r_.end.emplace();
    e.pot = whole(pots[0], "amount");
    int64_t given = 0;
    for (const Json& w : list(pots[0], "player_wins")) {
      const Seat s = seatOf(w);
      const int32_t won = whole(w, "win_amount");
      e.won[index(s)] = won;
      given += won;
      e.winners.push_back(s);
    }
    e.potPaid = !e.winners.empty();
    e.lost = clamp(e.pot - given);
    e.byFolds = !showdown_ && e.winners.size() == 1 && e.winners[0] == Seat::Player;
    // The human folded with one opponent left in the deal: the table named
    // no hand, also when that opponent had no chips left to take the pot.
    std::array<bool, kSeatCount> folded{};
    for (const Step& st : r_.steps) folded[index(st.seat)] |= st.kind == StepKind::Fold;
    const auto leftIn = std::ranges::count_if(
        kOpponents, [&](Seat s) { return r_.seats[index(s)].dealtIn && !folded[index(s)]; });
    e.namesHidden = !showdown_ && folded[index(Seat::Player)] && leftIn == 1;
    for (Seat s : kTakePartOrder) {
      if (std::find(shown_.begin(), shown_.end(), s) == shown_.end()) continue;
      int32_t value = 0;
      if (boardShown_ == 5) {
        EvalSlots slots{r_.seats[index(s)].hole[0], r_.seats[index(s)].hole[1]};
        std::copy(r_.board.begin(), r_.board.end(), slots.begin() + 2);
        value = evaluateHand(slots, kDealOver).handValue;
      }
      e.hands.push_back({s, value, handName(value)});
    }
    for (int s = 0; s < kSeatCount; ++s) r_.chipsAtEnd[s] = clamp(static_cast<int64_t>(chips_[s]) + e.won[s]);
  }

  // The same card twice would make no sense of the chances.
  void checkCards() {
    std::vector<int> seen;
    for (const SeatAtStart& s : r_.seats)
      if (s.dealtIn) seen.insert(seen.end(), {s.hole[0].imageIndex(), s.hole[1].imageIndex()});
    for (int i = 0; i < r_.boardShown; ++i) seen.push_back(r_.board[i].imageIndex());
    std::sort(seen.begin(), seen.end());
    if (std::adjacent_find(seen.begin(), seen.end()) != seen.end()) throw Refused("the same card twice");
  }

  HandRecord r_;
  std::array<int32_t, kSeatCount> chips_{};
  int32_t pot_ = 0;
  int32_t round_ = kPreFlop;
  int boardShown_ = 0;
  int blinds_ = 0;
  bool showdown_ = false;
  std::vector<Seat> shown_;
};

}  // namespace

ReadHands readOhhText(std::string_view text) {
  ReadHands out;
  std::istringstream in{std::string(text)};
  for (int number = 1;; ++number) {
    in >> std::ws;
    if (in.eof()) break;
    try {
      Json root;
      in >> root;
      out.hands.push_back(HandReader().read(root, number));
    } catch (const Json::parse_error& e) {
      out.hands.clear();
      out.error = "hand " + std::to_string(number) + ": not JSON at byte " + std::to_string(e.byte);
      return out;
    } catch (const std::exception& e) {
      out.hands.clear();
      out.error = "hand " + std::to_string(number) + ": " + e.what();
      return out;
    }
  }
  if (out.hands.empty()) out.error = "no hands in it";
  return out;
}

ReadHands readOhhFile(const std::filesystem::path& file) {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(file, ec);
  if (ec) return {{}, ec.message()};
  if (size > kMaxFileBytes) return {{}, "larger than 64 MiB"};
  std::ifstream in(file, std::ios::binary);
  if (!in) return {{}, "cannot be opened"};
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (!in && !in.eof()) return {{}, "cannot be read"};
  return readOhhText(bytes.str());
}

}  // namespace holdem
