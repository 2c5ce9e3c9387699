// The hand history: each deal's Open Hand History object read back with a
// JSON library against the engine's record and held to the format's
// required fields, saved deals replayed, the words that give an opponent's
// reasons, and a session's figures.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>

#include "history/ohh.h"
#include "history/ohh_read.h"
#include "history/replay.h"
#include "test_support.h"

namespace holdem {
namespace {

using Json = nlohmann::json;

// Every finished deal of a long random run.
std::vector<HandRecord> playDeals(int64_t clock, uint64_t seed, MemorySettings::Values values, int deals) {
  testing::Table table(clock, std::move(values));
  table.settings.logWrites = false;
  if (!table.start()) throw std::runtime_error("start-up failed");
  std::vector<HandRecord> out;
  table.game->onDealFinished([&](const HandRecord& r) {
    EXPECT_EQ(r.bigBlindSeat, table.state().bigBlindSeat);  // the hand's dealer seat comes from it
    out.push_back(r);
  });
  testing::Dice dice(seed);
  while (static_cast<int>(out.size()) < deals) testing::playRandomEvent(*table.game, table.dialogs, dice);
  return out;
}

// --- The format's required fields (OHH 1.4), checked on their own ---------

// The required fields of each object of a hand, each with its type: s a
// string, i an integer, n a number, b a boolean, o an object, a an array.
using Fields = std::vector<std::pair<std::string, char>>;
Fields fields(const std::string& spec) {
  Fields out;
  std::istringstream in(spec);
  for (std::string f; in >> f;) out.emplace_back(f.substr(0, f.size() - 2), f.back());
  return out;
}
const Fields kHandFields = fields(
    "spec_version:s site_name:s network_name:s internal_version:s tournament:b game_number:s "
    "start_date_utc:s table_name:s game_type:s bet_limit:o table_size:i currency:s dealer_seat:i "
    "small_blind_amount:n big_blind_amount:n ante_amount:n hero_player_id:i players:a rounds:a pots:a");
const Fields kPlayerFields = fields("id:i seat:i name:s starting_stack:n");
const Fields kRoundFields = fields("id:i street:s actions:a");
const Fields kActionFields = fields("action_number:i action:s");
const Fields kPotFields = fields("number:i amount:n player_wins:a");
const Fields kWinFields = fields("player_id:i win_amount:n");

bool hasType(const Json& v, char type) {
  switch (type) {
    case 's': return v.is_string();
    case 'i': return v.is_number_integer();
    case 'n': return v.is_number();
    case 'b': return v.is_boolean();
    case 'o': return v.is_object();
    default: return v.is_array();
  }
}

const std::set<std::string> kStreets{"Preflop", "Flop", "Turn", "River", "Showdown"};
const std::regex kAction(
    "Dealt Cards|Mucks Cards|Shows Cards|Post Ante|Post SB|Post BB|Straddle|Post Dead|Post Extra Blind|Fold|"
    "Check|Bet|Raise|Call|Added Chips|Sits Down|Stands Up|Add to Pot|Player Adjustment");
const std::regex kCard("^[2-9TJQKA][hsdc]$");
const std::regex kVersion("^[0-9]+\\.[0-9]+\\.[0-9]+$");
const std::regex kUtc("^[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}Z?$");

// What breaks the format in one hand object, in words; empty when nothing.
std::vector<std::string> formatFaults(const Json& root) {
  std::vector<std::string> faults;
  const auto fault = [&](bool broken, const std::string& what) {
    if (broken) faults.push_back(what);
  };
  // Whether `o` is an object with every field, each of its type.
  const auto has = [&](const Json& o, const Fields& fields, const char* where) {
    const size_t before = faults.size();
    for (const auto& [key, type] : fields)
      fault(!o.is_object() || !o.contains(key) || !hasType(o[key], type), std::string(where) + "." + key);
    return faults.size() == before;
  };
  const auto cardsOk = [&](const Json& o, const char* where) {
    if (!o.contains("cards")) return;
    fault(!o["cards"].is_array(), std::string(where) + ".cards");
    for (const Json& c : o["cards"])
      fault(!c.is_string() || !std::regex_match(c.get<std::string>(), kCard), std::string(where) + ".cards");
  };
  if (!root.is_object() || !root.contains("ohh") || !has(root["ohh"], kHandFields, "ohh")) return faults;
  const Json& h = root["ohh"];
  fault(!std::regex_match(h["spec_version"].get<std::string>(), kVersion), "ohh.spec_version");
  fault(!std::regex_match(h["start_date_utc"].get<std::string>(), kUtc), "ohh.start_date_utc");
  fault(!std::set<Json>{"NL", "PL", "FL"}.count(h["bet_limit"].value("bet_type", Json())), "ohh.bet_limit");
  std::set<int> ids, seats;
  for (const Json& p : h["players"]) {
    if (!has(p, kPlayerFields, "player")) continue;
    fault(!ids.insert(p["id"].get<int>()).second, "player.id twice");
    fault(!seats.insert(p["seat"].get<int>()).second || p["seat"] < 1 || p["seat"] > h["table_size"],
          "player.seat");
  }
  fault(!ids.count(h["hero_player_id"].get<int>()), "ohh.hero_player_id");
  fault(!seats.count(h["dealer_seat"].get<int>()), "ohh.dealer_seat");
  int round = 0, number = 0;
  for (const Json& r : h["rounds"]) {
    if (!has(r, kRoundFields, "round")) continue;
    fault(r["id"] != round || !kStreets.count(r["street"]) || (round == 0 && r["street"] != "Preflop"),
          "round " + std::to_string(round));
    ++round;
    cardsOk(r, "round");
    for (const Json& a : r["actions"]) {
      if (!has(a, kActionFields, "action")) continue;
      fault(a["action_number"] != ++number, "action.action_number");
      fault(!std::regex_match(a["action"].get<std::string>(), kAction) ||
                (a["action"] == "Bet" && r["street"] == "Preflop"),
            "action.action");
      fault(a["action"] != "Add to Pot" && !(a.contains("player_id") && a["player_id"].is_number_integer() &&
                                             ids.count(a["player_id"].get<int>())),
            "action.player_id");
      fault(a.contains("amount") && !a["amount"].is_number(), "action.amount");
      fault(a.contains("is_allin") && !a["is_allin"].is_boolean(), "action.is_allin");
      cardsOk(a, "action");
    }
  }
  for (const Json& pot : h["pots"]) {
    if (!has(pot, kPotFields, "pot")) continue;
    for (const Json& w : pot["player_wins"])
      if (has(w, kWinFields, "win")) fault(!ids.count(w["player_id"].get<int>()), "win.player_id");
  }
  return faults;
}

// --- Read back against the record ---------------------------------------------

bool contributes(const std::string& action) {
  return action == "Post SB" || action == "Post BB" || action == "Call" || action == "Bet" ||
         action == "Raise";
}

// The deal as its record tells it. The chips paid and won, the hole cards
// and the board are checked end to end against holdem-sim's answers
// (sim_hands_check.py); here the rest: the table, the seats, how much of the
// board came into view, the hands shown and the pot.
void expectSameDeal(const HandRecord& r, const Json& root) {
  SCOPED_TRACE("deal " + std::to_string(r.serial));
  ASSERT_EQ(formatFaults(root), std::vector<std::string>{});
  const Json& h = root["ohh"];
  EXPECT_EQ(h["game_type"], "Holdem");
  EXPECT_EQ(h["bet_limit"]["bet_type"], "FL");
  EXPECT_EQ(h["table_size"], 8);
  EXPECT_EQ(h["small_blind_amount"], r.smallBlind);
  EXPECT_EQ(h["big_blind_amount"], r.bigBlind);
  ASSERT_EQ(h["players"].size(), 8u);
  for (const Json& p : h["players"]) {
    const int s = p["id"];
    EXPECT_EQ(p["name"], info(static_cast<Seat>(s)).name);
    EXPECT_EQ(p["starting_stack"], r.seats[s].chips);
    EXPECT_EQ(p["is_sitting_out"], !r.seats[s].dealtIn);
  }
  std::set<int> shown;
  int64_t pot = 0;
  size_t board = 0;
  for (const Json& round : h["rounds"]) {
    board += round.value("cards", Json::array()).size();
    for (const Json& a : round["actions"]) {
      const std::string action = a["action"];
      if (action == "Add to Pot" || contributes(action)) pot += a["amount"].get<int64_t>();
      if (action != "Shows Cards") continue;
      const int s = a["player_id"];
      EXPECT_EQ(round["street"], "Showdown");
      EXPECT_EQ(a["cards"],
                (std::vector<std::string>{ohhCard(r.seats[s].hole[0]), ohhCard(r.seats[s].hole[1])}));
      shown.insert(s);
    }
  }
  EXPECT_EQ(board, static_cast<size_t>(r.boardShown));
  std::set<int> handsShown;
  if (!r.end->namesHidden) {
    for (const ShownHand& s : r.end->hands) handsShown.insert(index(s.seat));
  }
  EXPECT_EQ(shown, handsShown);
  // The pot holds what went into it; what is not won is the rake.
  ASSERT_EQ(h["pots"].size(), 1u);
  const Json& p = h["pots"][0];
  EXPECT_EQ(p["amount"], pot);
  int64_t won = 0;
  for (const Json& w : p["player_wins"]) won += w["win_amount"].get<int64_t>();
  if (r.end->lost >= 0) {
    EXPECT_EQ(won + p["rake"].get<int64_t>(), pot);
  }
}

TEST(OpenHandHistory, EveryDealReadsBackAsItsRecord) {
  for (const auto& [clock, values] : {std::pair{int64_t{1700000000}, MemorySettings::Values{}},
                                      std::pair{int64_t{86400 * 365}, testing::kChipsRunShort}}) {
    for (const HandRecord& r : playDeals(clock, 11, values, 1500)) {
      expectSameDeal(r, Json::parse(ohhText(r)));
      if (::testing::Test::HasFatalFailure()) return;
    }
  }
}

// --- Reading hands back, replaying them, and a session's figures ----------

// Saved and read back, every deal replays to the end its record tells:
// the chips, the pot, the board and the labels, seats out of chips and
// chips set by the options included.
TEST(ReadHands, EverySavedDealReplaysToTheEndOfItsRecord) {
  for (const auto& deals :
       {playDeals(1700000000, 5, {}, 300), playDeals(86400 * 365, 11, testing::kChipsRunShort, 300)}) {
    std::string file;
    for (const HandRecord& r : deals) file += ohhText(r) + "\n\n";
    const ReadHands read = readOhhText(file);
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.hands.size(), deals.size());
    for (size_t i = 0; i < deals.size(); ++i) {
      SCOPED_TRACE(ohhText(deals[i]));
      const ReplayFrame want = replayFrames(deals[i]).back(), got = replayFrames(read.hands[i]).back();
      EXPECT_EQ(got.view.status, want.view.status);
      EXPECT_EQ(got.view.statusColor, want.view.statusColor);
      EXPECT_EQ(got.view.result, want.view.result);
      EXPECT_EQ(got.chips, deals[i].chipsAtEnd);
      EXPECT_EQ(got.pot, deals[i].end->pot);
      ASSERT_EQ(got.boardShown, deals[i].boardShown);
      for (int c = 0; c < got.boardShown; ++c) EXPECT_EQ(read.hands[i].board[c], deals[i].board[c]);
      if (::testing::Test::HasFailure()) return;
    }
  }
}

TEST(ReasonWords, SayTheHandTheRoundTheChanceTheDrawAndTheLook) {
  const Reason raise{.handValue = kOnePair + kTen, .chance = 40, .draw = 17};
  const Reason call{.chance = 70,
                    .draw = 85,
                    .answering = true,
                    .peekThreshold = 60,
                    .peekDraw = 90,
                    .knowsPlayerBeaten = true};
  const Reason fold{.handValue = kThreeOfAKind + kAce,
                    .chance = 10,
                    .draw = 50,
                    .answering = true,
                    .willCall = true,
                    .shortOfChips = true};
  EXPECT_EQ(reasonWords({.kind = StepKind::Raise, .seat = Seat::Geek, .round = kFlop, .why = raise}),
            "Geek raises: pair of Tens on the flop, raise chance 40 %, drew 17");
  EXPECT_EQ(reasonWords({.kind = StepKind::Call, .seat = Seat::Champ, .round = kRiver, .why = call}),
            "Champ calls: nothing beyond the board on the river, fold chance 70 %, drew 85; looked at your "
            "cards (drew 90, needed more than 60) and saw them beaten");
  EXPECT_EQ(reasonWords({.kind = StepKind::Fold, .seat = Seat::Robot, .round = kTurn, .why = fold}),
            "Robot folds: three Aces on the turn, fold chance 10 %, drew 50; short of chips for the bet");
  EXPECT_EQ(reasonWords({.kind = StepKind::Call, .seat = Seat::Player, .round = kFlop, .why = std::nullopt}),
            "");
}

// Deal after deal the human folds at once, calls to the end, or raises
// first and then calls; the figures agree with the table's own counters.
TEST(SessionFigures, CountAScriptedSessionAsTheTableDoes) {
  testing::StartedTable table(1700000000);
  std::vector<HandRecord> deals;
  table.game->onDealFinished([&deals](const HandRecord& r) { deals.push_back(r); });
  const int32_t chipsBefore = table.state().cashOf(Seat::Player);
  int called = 0;  // the Call before the flop put chips in: not so for a seat the bet has not reached
  for (int d = 0; d < 12; ++d) {
    if (d > 0) table.game->click(Button::Deal);
    const int32_t before = table.state().cashOf(Seat::Player);
    table.game->click(d % 3 == 0 ? Button::Fold : d % 3 == 1 ? Button::CheckCall : Button::Raise);
    called += d % 3 == 1 && table.state().cashOf(Seat::Player) < before ? 1 : 0;
    for (int i = 0; i < 50 && !table.view().isEnabled(Button::Deal); ++i)
      table.game->click(Button::CheckCall);
  }
  ASSERT_EQ(deals.size(), 12u);
  const SessionFigures f = sessionFigures(deals);
  EXPECT_EQ(f.deals, 12);
  EXPECT_GT(called, 0);
  EXPECT_EQ(f.voluntary, 4 + called);
  EXPECT_EQ(f.raisedFirst, 4);
  EXPECT_DOUBLE_EQ(f.pfr(), 4.0 / 12);
  EXPECT_EQ(f.handsPlayed, table.state().handsPlayed);
  EXPECT_EQ(f.handsWon, table.state().handsWon);
  EXPECT_GT(f.handsPlayed, 0);
  EXPECT_EQ(f.chipsWon, table.state().cashOf(Seat::Player) - chipsBefore);
}

}  // namespace
}  // namespace holdem
