#pragma once

// The opponents at a watchable pace. The game plays a whole click at once;
// at Normal or Slow the window records what the click showed, step by step,
// and plays it back with a pause before each opponent's action and before
// each new round's cards: the labels as the game had them at that moment,
// the drawing on the table in its order, and the boxes the game showed.

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/ports.h"
#include "game/view.h"

class QTimer;

namespace holdem {

enum class OpponentSpeed : uint8_t { Instant, Normal, Slow };

// The pause before each opponent's action, in milliseconds.
int pauseOf(OpponentSpeed speed);

// Sits between the game and the window's canvas and boxes: passes both on
// at once, except while it records a click.
class TablePlayback final : public Canvas, public Dialogs {
 public:
  // `show` puts a view on the window: the labels only, or with `whole` the
  // buttons and the options too, as before a box. `done` runs once the last
  // step of a playback is shown.
  TablePlayback(Canvas& canvas, Dialogs& dialogs, std::function<void(const TableView&, bool whole)> show,
                std::function<void()> done);
  ~TablePlayback() override;

  void setSpeed(OpponentSpeed speed) { speed_ = speed; }
  OpponentSpeed speed() const { return speed_; }

  // Runs `action`, a call into the game whose view is `live` (as the window
  // shows it now), recording its steps, then plays them back: what comes
  // before the first pause at once, the rest step by step.
  void record(const TableView& live, const std::function<void()>& action);
  // A new moment of play in the game: the next step comes after a pause.
  void momentOfPlay();

  // Whether a playback has steps still to show.
  bool playing() const { return active_; }
  // Whether a step is being put on the window, its box open perhaps.
  bool showingStep() const { return showingStep_; }
  // Ends the pause now: shows the steps up to the next pause.
  void endPause();
  // Shows every step left at once, boxes and all, in their order; with
  // `boxes` false, leaves their boxes out (the window is closing).
  void finish(bool boxes = true);

  // Canvas and Dialogs: passed on, or recorded into the current step.
  void fillTable(const Rect& area) override;
  void drawCard(int x, int y, int image) override;
  void setPixel(int x, int y, uint32_t rgb) override;
  bool showMessage(std::string_view text, std::string_view caption, BoxButtons buttons) override;

 private:
  struct Drawing {
    enum Kind : uint8_t { Fill, Card, Pixel } kind;
    Rect area;
    int x = 0;
    int y = 0;
    int value = 0;  // the card picture or the pixel's colour
  };
  struct Step {
    std::vector<Drawing> drawing;
    TableView view;
    bool pauseBefore = false;
    bool box = false;
    std::string text;
    std::string caption;
  };

  // Ends the step being recorded with the view `now`; a step that changed
  // nothing is dropped, its pause kept for the next one.
  void closeStep(const TableView& now);
  // Shows steps up to the next pause, and waits for it.
  void playOn();
  void show(Step& step);

  Canvas& canvas_;
  Dialogs& dialogs_;
  std::function<void(const TableView&, bool)> showView_;
  std::function<void()> done_;
  OpponentSpeed speed_ = OpponentSpeed::Instant;
  bool recording_ = false;
  bool active_ = false;
  bool showingStep_ = false;
  bool finishing_ = false;
  bool withBoxes_ = true;
  Step current_;
  const TableView* live_ = nullptr;  // the game's view, while recording
  TableView lastView_;               // the view of the last step recorded
  std::deque<Step> steps_;
  std::unique_ptr<QTimer> timer_;  // made at the first playback
};

}  // namespace holdem
