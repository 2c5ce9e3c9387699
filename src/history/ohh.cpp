#include "history/ohh.h"

#include <ctime>
#include <nlohmann/json.hpp>

namespace holdem {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kRanks = "23456789TJQKA";
constexpr const char* kSuits = "cdhs";  // clubs, diamonds, hearts, spades

std::string utcText(int64_t seconds) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm utc{};
  gmtime_r(&t, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

Json cards(std::initializer_list<Card> list) {
  Json out = Json::array();
  for (Card c : list) out.push_back(ohhCard(c));
  return out;
}

const char* actionName(StepKind k) {
  switch (k) {
    case StepKind::SmallBlind: return "Post SB";
    case StepKind::BigBlind: return "Post BB";
    case StepKind::Check: return "Check";
    case StepKind::Call: return "Call";
    case StepKind::Bet: return "Bet";
    case StepKind::Raise: return "Raise";
    case StepKind::Fold: return "Fold";
    case StepKind::ChipsSet: return "Player Adjustment";
    case StepKind::Board: break;
  }
  return "";
}

// The rounds: the pre-flop with the blinds and the cards dealt, a round for
// each part of the board as it came into view, and the showdown.
class Rounds {
 public:
  explicit Rounds(const HandRecord& r) : r_(r) { open("Preflop"); }

  void blind(const Step& s) {
    const int32_t blind = s.kind == StepKind::SmallBlind ? r_.smallBlind : r_.bigBlind;
    if (s.paid != 0) add(player(s, actionName(s.kind), s.paid));
    // A seat without chips pays nothing, and the pot counts its blind all
    // the same: chips that come from no player.
    if (blind != s.paid) {
      Json a;
      a["action"] = "Add to Pot";
      a["amount"] = blind - static_cast<int64_t>(s.paid);
      add(std::move(a));
    }
  }

  void dealt() {
    for (int s = 0; s < kSeatCount; ++s) {
      Json a = player(static_cast<Seat>(s), "Dealt Cards");
      a["cards"] = cards({r_.seats[s].hole[0], r_.seats[s].hole[1]});
      add(std::move(a));
    }
  }

  void board(int from, int to) {
    if (from < 3 && to >= 3) open("Flop", cards({r_.board[0], r_.board[1], r_.board[2]}));
    if (from < 4 && to >= 4) open("Turn", cards({r_.board[3]}));
    if (from < 5 && to >= 5) open("River", cards({r_.board[4]}));
  }

  void step(const Step& s) {
    if (s.kind == StepKind::ChipsSet) {
      if (s.paid != 0) add(player(s, actionName(s.kind), -static_cast<int64_t>(s.paid)));
      return;
    }
    const bool moves = s.kind == StepKind::Call || s.kind == StepKind::Bet || s.kind == StepKind::Raise;
    Json a = moves ? player(s, actionName(s.kind), s.paid) : player(s.seat, actionName(s.kind));
    // No bet is limited by the chips: a seat that pays its last chip or more
    // has nothing left to play with.
    if (moves && s.chipsAfter <= 0) a["is_allin"] = true;
    add(std::move(a));
  }

  void showdown(const DealEnd& end) {
    if (end.hands.empty() || end.namesHidden) return;
    open("Showdown");
    for (const ShownHand& h : end.hands) {
      Json a = player(h.seat, "Shows Cards");
      a["cards"] = cards({r_.seats[index(h.seat)].hole[0], r_.seats[index(h.seat)].hole[1]});
      add(std::move(a));
    }
  }

  Json take() {
    rounds_.push_back(std::move(current_));
    return std::move(rounds_);
  }

 private:
  void open(const char* street, Json boardCards = nullptr) {
    if (!current_.is_null()) rounds_.push_back(std::move(current_));
    current_ = Json::object();
    current_["id"] = static_cast<int>(rounds_.size());
    current_["street"] = street;
    if (!boardCards.is_null()) current_["cards"] = std::move(boardCards);
    current_["actions"] = Json::array();
  }
  Json player(Seat s, const char* action) {
    Json a;
    a["player_id"] = ohhPlayerId(s);
    a["action"] = action;
    return a;
  }
  Json player(const Step& s, const char* action, int64_t amount) {
    Json a = player(s.seat, action);
    a["amount"] = amount;
    return a;
  }
  void add(Json a) {
    Json numbered;
    numbered["action_number"] = ++actions_;
    for (auto& [key, value] : a.items()) numbered[key] = std::move(value);
    current_["actions"].push_back(std::move(numbered));
  }

  const HandRecord& r_;
  Json rounds_ = Json::array();
  Json current_;
  int actions_ = 0;
};

}  // namespace

std::string ohhCard(Card c) {
  if (c.rank < 0 || c.rank > 12 || c.suit < 0 || c.suit > 3) return "";
  return {kRanks[c.rank], kSuits[c.suit]};
}

std::string ohhText(const HandRecord& r) {
  Json h;
  h["spec_version"] = kOhhVersion;
  h["site_name"] = "holdem";
  h["network_name"] = "holdem";
  h["internal_version"] = "1.0.0";
  h["tournament"] = false;
  h["game_number"] = std::to_string(r.startedAt) + "-" + std::to_string(r.serial);
  h["start_date_utc"] = utcText(r.startedAt - r.utcOffset);
  h["table_name"] = "holdem";
  h["game_type"] = "Holdem";
  h["bet_limit"] = {{"bet_type", "FL"}, {"bet_cap", 0}};
  h["table_size"] = kSeatCount;
  h["currency"] = "XPM";  // play chips
  // The table has no button: the seat before the small blind in the order
  // of play stands in for it.
  const Seat small = seatAt(smallBlindSeatOf(r.bigBlindSeat));
  h["dealer_seat"] = ohhSeat(small) == 1 ? kSeatCount : ohhSeat(small) - 1;
  h["small_blind_amount"] = r.smallBlind;
  h["big_blind_amount"] = r.bigBlind;
  h["ante_amount"] = 0;
  h["hero_player_id"] = ohhPlayerId(Seat::Player);

  Json players = Json::array();
  for (int s = 0; s < kSeatCount; ++s) {
    const Seat seat = static_cast<Seat>(s);
    Json p;
    p["id"] = ohhPlayerId(seat);
    p["seat"] = ohhSeat(seat);
    p["name"] = info(seat).name;
    p["display"] = info(seat).name;
    p["starting_stack"] = r.seats[s].chips;
    p["is_sitting_out"] = !r.seats[s].dealtIn;
    players.push_back(std::move(p));
  }
  h["players"] = std::move(players);

  Rounds rounds(r);
  size_t i = 0;
  for (; i < r.steps.size() &&
         (r.steps[i].kind == StepKind::SmallBlind || r.steps[i].kind == StepKind::BigBlind);
       ++i)
    rounds.blind(r.steps[i]);
  rounds.dealt();
  int shown = 0;
  for (; i < r.steps.size(); ++i) {
    const Step& s = r.steps[i];
    if (s.kind == StepKind::Board) {
      rounds.board(shown, s.boardShown);
      shown = s.boardShown;
    } else if (s.kind == StepKind::SmallBlind || s.kind == StepKind::BigBlind) {
      rounds.blind(s);
    } else {
      rounds.step(s);
    }
  }
  if (r.end) rounds.showdown(*r.end);
  h["rounds"] = rounds.take();

  Json pot;
  pot["number"] = 0;
  pot["amount"] = r.end ? r.end->pot : 0;
  // Chips nobody received (what an uneven split leaves, or a pot nobody took
  // part for) leave the table as the house's take would.
  pot["rake"] = r.end && r.end->lost > 0 ? r.end->lost : 0;
  Json wins = Json::array();
  for (int s = 0; r.end && s < kSeatCount; ++s) {
    if (r.end->won[s] == 0) continue;
    wins.push_back({{"player_id", ohhPlayerId(static_cast<Seat>(s))}, {"win_amount", r.end->won[s]}});
  }
  pot["player_wins"] = std::move(wins);
  h["pots"] = Json::array({std::move(pot)});

  Json root;
  root["ohh"] = std::move(h);
  return root.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace holdem
