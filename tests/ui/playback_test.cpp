// The opponents at Normal speed: a box of the click comes with its step,
// the playback ends where Instant ends, and input during it shows the rest
// first.

#include "table_window_fixture.h"

namespace holdem::uitest {
namespace {

class PlaybackTest : public OpenTable {
 protected:
  // The table's picture and the texts of its labels (three to a seat in seat
  // order, then the result and the pot), as the player sees them.
  struct Shown {
    QImage table;
    QStringList labels;
    bool operator==(const Shown&) const = default;
  };
  Shown shown() const {
    Shown s{canvas(), {}};
    for (const QLabel* l : form_->canvas().findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
      s.labels << l->text();
    return s;
  }
  // What a click leaves behind: the table shown, the boxes, the settings file.
  struct Ending {
    Shown shown;
    std::vector<Box> boxes;
    std::optional<std::string> settings;
    bool operator==(const Ending&) const = default;
  };
  Ending ending() const { return {shown(), dialogs_.boxes, readBytes(folder_.path("tavlor.ini"))}; }
  // A window on a new settings file with the same clock, at `speed`
  // chosen in the View menu.
  void reopen(const char* speed) {
    form_.reset();
    std::filesystem::remove(folder_.path("tavlor.ini"));
    dialogs_.boxes.clear();
    open();
    find<QAction>(speed)->trigger();
  }
  bool playing() { return form_->playback().playing(); }
  // Every step left, each as it shows after its pause.
  std::vector<Shown> playToTheEnd() {
    std::vector<Shown> steps;
    for (; playing(); steps.push_back(shown())) form_->playback().endPause();
    return steps;
  }
};

// A box that the game shows in the middle of a click, the "Game over" of a
// showdown where an opponent reaches a target of 100, waits for its place:
// it comes with the result, after the opponents' actions, and not at all
// when the window closes first.
TEST_F(PlaybackTest, ABoxOfTheClickComesWithItsStepAndEndsAsInstantOrNeverAfterAClose) {
  // Folds deal after deal until the box; at `speed` from the `last` deal on.
  const auto foldUntilTheBox = [this](OpponentSpeed speed, int last) {
    reopen("SpeedInstant1");
    press(Qt::Key_O, Qt::ControlModifier);
    typeInto("until", QStringLiteral("100"));
    press(Qt::Key_Return);
    for (int i = 0; i < 4; ++i) QTest::mouseClick(find<QWidget>("up"), Qt::LeftButton);  // the highest limit
    press(Qt::Key_Escape);
    const size_t boxes = dialogs_.boxes.size();
    for (int deal = 1; deal <= 1000; ++deal) {
      if (deal == last) form_->setOpponentSpeed(speed);
      click(Button::Fold);
      if (deal == last || dialogs_.boxes.size() > boxes) return deal;
      click(Button::Deal);
    }
    return 0;
  };
  const int last = foldUntilTheBox(OpponentSpeed::Instant, 0);
  ASSERT_GT(last, 1);
  const Ending instant = ending();
  ASSERT_EQ(instant.boxes.back().caption, "Game over");

  foldUntilTheBox(OpponentSpeed::Normal, last);
  size_t steps = 0;
  for (; dialogs_.boxes.size() < instant.boxes.size(); ++steps) {
    ASSERT_TRUE(playing());
    EXPECT_EQ(label("theresult")->text(), QString()) << "the box before the result";
    form_->playback().endPause();
  }
  EXPECT_GT(steps, 3u);
  EXPECT_NE(label("theresult")->text(), QString());
  playToTheEnd();
  EXPECT_EQ(ending(), instant);

  // The window closed before the box's step: the box never comes.
  foldUntilTheBox(OpponentSpeed::Normal, last);
  const size_t shownBefore = dialogs_.boxes.size();
  ASSERT_TRUE(playing());
  form_->close();
  EXPECT_FALSE(playing());
  EXPECT_EQ(dialogs_.boxes.size(), shownBefore);
}

TEST_F(PlaybackTest, InputDuringPlaybackShowsTheRestFirstThenActsAsAtInstant) {
  reopen("SpeedInstant1");
  click(Button::CheckCall);
  const Shown afterCall = shown();
  press(Qt::Key_O, Qt::ControlModifier);
  press(Qt::Key_R);
  QTest::mouseClick(find<QWidget>("up"), Qt::LeftButton);
  press(Qt::Key_O, Qt::ControlModifier);
  click(Button::Fold);
  const Ending instant = ending();

  reopen("SpeedNormal1");
  click(Button::CheckCall);
  form_->playback().endPause();
  ASSERT_TRUE(playing());
  // A menu key: the rest of the click at once, then the options.
  press(Qt::Key_O, Qt::ControlModifier);
  EXPECT_FALSE(playing());
  EXPECT_EQ(shown(), afterCall);
  EXPECT_TRUE(panelShown());
  // A button's key, then a click on the options in the middle of its playback.
  press(Qt::Key_R);
  ASSERT_TRUE(playing());
  QTest::mouseClick(find<QWidget>("up"), Qt::LeftButton);
  EXPECT_FALSE(playing());
  press(Qt::Key_O, Qt::ControlModifier);
  click(Button::Fold);
  playToTheEnd();
  EXPECT_EQ(ending(), instant);

  // The menu's own command, as a screen reader gives it, also shows the rest first.
  click(Button::Deal);
  ASSERT_TRUE(playing());
  find<QAction>("Options1")->trigger();
  EXPECT_FALSE(playing());
  EXPECT_TRUE(panelShown());
  find<QAction>("Options1")->trigger();
  // Closing the window in the middle of a playback ends it there.
  click(Button::CheckCall);
  ASSERT_TRUE(playing());
  form_->close();
  EXPECT_FALSE(playing());
  QTest::qWait(50);
}

}  // namespace
}  // namespace holdem::uitest
