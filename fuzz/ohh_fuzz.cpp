// Any bytes as a hand-history file to replay: the reader refuses what is not
// hands of this table, and every hand it gives back replays to the end
// without a fault, its chips and pot as the reading left them.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "history/ohh_read.h"
#include "history/replay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const holdem::ReadHands read =
      holdem::readOhhText(std::string_view(reinterpret_cast<const char*>(data), size));
  if (read.error.empty() == read.hands.empty()) std::abort();  // hands, or a reason, never both
  for (const holdem::HandRecord& r : read.hands) {
    const std::vector<holdem::ReplayFrame> frames = holdem::replayFrames(r);
    if (frames.size() != r.steps.size() + 2 || frames.back().chips != r.chipsAtEnd) std::abort();
  }
  if (holdem::sessionFigures(read.hands).deals != static_cast<int>(read.hands.size())) std::abort();
  return 0;
}
