#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "game/deal_recorder.h"
#include "game/ports.h"
#include "game/random.h"
#include "game/settings_keys.h"
#include "game/table_rules.h"
#include "game/table_state.h"
#include "game/view.h"

namespace holdem {

class GameTesting;

// The game's front door. The window, holdem-sim and the tests all play
// through it: user events go in, the table state and the view come out, and
// boxes, drawing, the clock and the settings file go through the ports.
class Game {
 public:
  Game(SettingsStore& settings, Dialogs& dialogs, Canvas& canvas, Clock& clock);

  // Reads and writes back the settings, seeds, deals the first hand and has
  // Expert and Robot post the blinds. Returns false when the settings file
  // could not be written; the error box has then been shown.
  bool startUp();

  // A click on one of the four buttons; a disabled button ignores it.
  void click(Button button);

  // The Game menu: New game asks first, then starts every seat again from
  // the options panel's initial cash and deals.
  void newGame();
  void toggleOptions();
  void closeOptions();

  // The options panel. The edit boxes take any text; their Enter buttons
  // check it, and a new initial cash or target is saved.
  void setMoneyText(std::string text);
  void setUntilText(std::string text);
  void enterInitialCash();
  void enterTarget();
  // A click on the right (+1) or left (-1) arrow of the betting limit.
  void changeBettingLimit(int step);
  // The AI level takes effect at the next Deal.
  void selectLevel(int item);
  // Shows the new back at once and saves it.
  void chooseCardBack(int item);

  // Draws every card the state calls for over the table as it stands.
  void paintTable();

  const TableState& state() const { return state_; }
  const TableView& view() const { return view_; }

  // The deal in progress as recorded so far, or the last deal.
  const HandRecord& handRecord() const { return record_.record(); }
  // Hears of each deal once it is over, at the end of the click that ended
  // it. A deal that a new game cuts short is never over.
  void onDealFinished(std::function<void(const HandRecord&)> listener);
  // Hears of each moment of a click that a watcher of the table would see on
  // its own: just before an opponent acts, before the cards of a new round
  // are shown, and before the human's fold is settled. The game goes on at
  // once when the listener returns.
  void onMomentOfPlay(std::function<void()> listener) { momentOfPlay_ = std::move(listener); }

 private:
  friend class GameTesting;

  // Around each user event: in debug builds, takes the table as it stands
  // and, when the event is over, checks the table's rules against it; a
  // broken rule stops the program there. Nothing in other builds.
  class RuleCheck {
   public:
    RuleCheck(const Game& game, TableEvent event);
#ifndef NDEBUG
    ~RuleCheck();
#endif
    RuleCheck(const RuleCheck&) = delete;
    RuleCheck& operator=(const RuleCheck&) = delete;
    TableEvent event;

   private:
#ifndef NDEBUG
    const Game& game_;
    TableSnapshot before_;
#endif
  };

  // Start-up and New game.
  void postFirstBlinds(bool paint);
  // The Deal button and the betting.
  void deal();
  void checkOrCall();
  void betOrRaise();
  void fold();
  void callOpenRaise();
  void turnChain(int firstSeat);
  void updatePlayerAggression();
  // The opponents.
  // The opponent of seat number n (1..7) takes its turn, or answers the bet.
  void opponentTurn(int n);
  void opponentRespond(int n);
  void playerWinsByFolds();
  // The end of a deal.
  void showdown();

  void newMomentOfPlay() {
    if (momentOfPlay_) momentOfPlay_();
  }
  // The common moves of play.
  void payIntoPot(Seat s, int32_t chips);
  // The turn has come back to `seatNumber`: when it closes the round, the
  // next round begins and the table shows its cards.
  void advanceRoundIfClosing(int seatNumber);
  // The closing passes from a folding seat to the next seat still in, or to
  // the human.
  void passClosingOn(int foldedSeatNumber);

  // Ratings into the decision registers.
  void evaluateHand();
  void evaluateBoard();
  // Rates a seat's hole cards with the board of the round; `boardValue` is
  // then the board's own rating.
  HandRating rateSeat(Seat s);
  // The same, as the opponents judge hands: a hand that the hole cards do
  // not improve counts as nothing.
  HandRating judgeHand(Seat s);

  void shuffleAndDeal();
  void seedFromClock();
  // A new deal's record, from the table as it stands before the blinds.
  void beginRecord();
  bool writeSettings(std::span<const SettingsEntry> entries);
  std::string writeErrorText() const;
  // The table colour and every seat's chips, as each Deal saves them.
  std::array<SettingsEntry, kSavedAtEachDeal> chipEntries() const;
  // The number in an edit box of the options panel, or nothing after the
  // box that says why it is not taken.
  std::optional<int32_t> readOption(const std::string& text);

  // Views of the state.
  void setStatus(Seat s, std::string_view text) { view_.status[index(s)] = text; }
  void setAllStatusWhite();
  void showCash(Seat s);
  void showAllCash();
  void showPot();
  void enable(Button b, bool on) { view_.enabled[static_cast<int>(b)] = on; }
  void enableBetting(bool on);

  TableState state_;
  TableView view_;
  Random random_;
  SettingsStore& settings_;
  Dialogs& dialogs_;
  Canvas& canvas_;
  Clock& clock_;
  // Whether the buttons follow the moments of the deal in progress: a deal
  // that start-up or New game began with every opponent out does not.
  bool buttonsFollowTheDeal_ = true;
  DealRecorder record_;
  std::function<void(const HandRecord&)> dealFinished_;
  std::function<void()> momentOfPlay_;
};

// Reads a text of the options panel as a whole number: an optional sign and
// ASCII digits only, within 32 bits.
std::optional<int32_t> parseWholeNumber(std::string_view text);

}  // namespace holdem
