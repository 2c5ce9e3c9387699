#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "game/ports.h"
#include "game/random.h"
#include "game/settings_keys.h"
#include "game/table_state.h"
#include "game/view.h"

namespace holdem {

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

  // The Game menu.
  void newGame();
  void toggleOptions() { view_.panelVisible = !view_.panelVisible; }
  void closeOptions() { view_.panelVisible = false; }

  // The options panel.
  void setMoneyText(std::string text) { view_.money = std::move(text); }
  void setUntilText(std::string text) { view_.until = std::move(text); }
  void enterInitialCash();
  void enterTarget();
  // A click on the right (+1) or left (-1) arrow of the betting limit.
  void changeBettingLimit(int step);
  void selectLevel(int item) { view_.level = item; }
  void chooseCardBack(int item);

  // Draws every card the state calls for over the table as it stands.
  void paintTable();

  const TableState& state() const { return state_; }
  const TableView& view() const { return view_; }
  const Random& random() const { return random_; }

  // The settings file's error text for the store's path.
  std::string writeErrorText() const;

  // Handlers, public so that tests can drive a rule directly.
  void deal();
  void checkOrCall();
  void betOrRaise();
  void fold();
  void showdown();
  void opponentTurn(int seatNumber);
  void opponentRespond(int seatNumber);
  void turnChain(int firstSeat);

  // Gives tests direct access to put the table into a chosen state.
  TableState& mutableState() { return state_; }
  Random& mutableRandom() { return random_; }

 private:
  // Deal start and betting driver.
  void callOpenRaise();
  void updatePlayerAggression();

  // Opponents.
  void decideRaise();
  void decideCall();
  void peekAtPlayer();
  void playerWinsByFolds();

  // Ratings into the table state's evaluator fields.
  void evaluateHand();
  void evaluateBoard();

  void shuffleAndDeal();
  void seedFromClock();
  bool writeSettings(std::span<const SettingsEntry> entries);
  // The table colour and every seat's chips, as each Deal saves them.
  std::array<SettingsEntry, kSavedAtEachDeal> chipEntries() const;
  // The number in an edit box of the options panel, or nothing after the
  // box that says why it is not taken.
  std::optional<int32_t> readOption(const std::string& text);
  void postFirstBlinds(bool paint);

  // Views of the state.
  void setStatus(Seat s, std::string_view text) { view_.status[index(s)] = text; }
  void setAllStatusWhite();
  void showCash(Seat s);
  void showAllCash();
  void showPot();
  void enable(Button b, bool on) { view_.enabled[static_cast<int>(b)] = on; }
  void enableBetting(bool on);
  void roundCardCorners(int x, int y);

  TableState state_;
  TableView view_;
  Random random_;
  SettingsStore& settings_;
  Dialogs& dialogs_;
  Canvas& canvas_;
  Clock& clock_;
};

// Reads a text of the options panel as a whole number: an optional sign and
// ASCII digits only, within 32 bits.
std::optional<int32_t> parseWholeNumber(std::string_view text);

}  // namespace holdem
