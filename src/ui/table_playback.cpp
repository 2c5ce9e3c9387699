#include "ui/table_playback.h"

#include <QTimer>

namespace holdem {

int pauseOf(OpponentSpeed speed) {
  switch (speed) {
    case OpponentSpeed::Normal: return 400;
    case OpponentSpeed::Slow: return 1000;
    case OpponentSpeed::Instant: break;
  }
  return 0;
}

TablePlayback::TablePlayback(Canvas& canvas, Dialogs& dialogs,
                             std::function<void(const TableView&, bool)> show, std::function<void()> done)
    : canvas_(canvas), dialogs_(dialogs), showView_(std::move(show)), done_(std::move(done)) {}

TablePlayback::~TablePlayback() = default;

void TablePlayback::record(const TableView& live, const std::function<void()>& action) {
  live_ = &live;
  lastView_ = live;
  current_ = Step{};
  recording_ = true;
  active_ = true;
  action();
  recording_ = false;
  // The last step always stands, so that the playback ends the same way
  // whether or not the click showed anything.
  current_.view = live;
  steps_.push_back(std::move(current_));
  current_ = Step{};
  live_ = nullptr;
  playOn();
}

void TablePlayback::momentOfPlay() {
  if (!recording_) return;
  closeStep(*live_);
  // No pause before the first thing the click shows.
  current_.pauseBefore = !steps_.empty();
}

void TablePlayback::closeStep(const TableView& now) {
  if (current_.drawing.empty() && !current_.box && now == lastView_) return;
  current_.view = now;
  lastView_ = now;
  steps_.push_back(std::move(current_));
  current_ = Step{};
}

void TablePlayback::playOn() {
  while (!steps_.empty()) {
    Step& next = steps_.front();
    if (next.pauseBefore && !finishing_) {
      next.pauseBefore = false;
      if (!timer_) {
        timer_ = std::make_unique<QTimer>();
        timer_->setSingleShot(true);
        QObject::connect(timer_.get(), &QTimer::timeout, [this] { playOn(); });
      }
      timer_->start(pauseOf(speed_));
      return;
    }
    Step step = std::move(next);
    steps_.pop_front();
    show(step);
  }
  if (!active_) return;  // a nested finish ended it while a box was open
  active_ = false;
  finishing_ = false;
  withBoxes_ = true;
  done_();
}

void TablePlayback::show(Step& step) {
  showingStep_ = true;
  for (const Drawing& d : step.drawing) {
    switch (d.kind) {
      case Drawing::Fill: canvas_.fillTable(d.area); break;
      case Drawing::Card: canvas_.drawCard(d.x, d.y, d.value); break;
      case Drawing::Pixel: canvas_.setPixel(d.x, d.y, static_cast<uint32_t>(d.value)); break;
    }
  }
  // Before a box the whole window shows the moment, as it does at once.
  showView_(step.view, step.box);
  if (step.box && withBoxes_) dialogs_.showMessage(step.text, step.caption, BoxButtons::Ok);
  showingStep_ = false;
}

void TablePlayback::endPause() {
  if (!active_ || recording_ || showingStep_) return;
  if (timer_) timer_->stop();
  playOn();
}

void TablePlayback::finish(bool boxes) {
  if (!active_ || recording_) return;
  finishing_ = true;
  withBoxes_ = withBoxes_ && boxes;
  // With a box open, the steps after it follow without pauses once it closes.
  if (showingStep_) return;
  if (timer_) timer_->stop();
  playOn();
}

void TablePlayback::fillTable(const Rect& area) {
  if (!recording_) return canvas_.fillTable(area);
  current_.drawing.push_back({Drawing::Fill, area});
}

void TablePlayback::drawCard(int x, int y, int image) {
  if (!recording_) return canvas_.drawCard(x, y, image);
  current_.drawing.push_back({Drawing::Card, {}, x, y, image});
}

void TablePlayback::setPixel(int x, int y, uint32_t rgb) {
  if (!recording_) return canvas_.setPixel(x, y, rgb);
  current_.drawing.push_back({Drawing::Pixel, {}, x, y, static_cast<int>(rgb)});
}

bool TablePlayback::showMessage(std::string_view text, std::string_view caption, BoxButtons buttons) {
  if (!recording_) return dialogs_.showMessage(text, caption, buttons);
  if (buttons == BoxButtons::Ok) {
    // An OK box has only the one answer: the game has it now, the player
    // sees the box in its place.
    current_.box = true;
    current_.text = text;
    current_.caption = caption;
    closeStep(*live_);
    return true;
  }
  // The game needs the player's answer: what came before it is shown at
  // once, and the box is asked now.
  closeStep(*live_);
  recording_ = false;
  finish();
  recording_ = true;
  active_ = true;
  return dialogs_.showMessage(text, caption, buttons);
}

}  // namespace holdem
