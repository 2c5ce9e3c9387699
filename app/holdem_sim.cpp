// holdem-sim: the table without a window. Reads one command per line and
// answers each with the state of the table as one JSON line.
#include <cstdio>
#include <iostream>
#include <string>

#include "app/sim_session.h"

namespace {

int usage(const char* message) {
  std::fprintf(stderr, "holdem-sim: %s\nusage: holdem-sim --settings FILE [--clock SECONDS] < commands\n", message);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path settings;
  std::optional<uint32_t> clock;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if ((arg == "--settings" || arg == "--clock") && i + 1 >= argc) return usage("an option lacks its value");
    if (arg == "--settings") {
      settings = argv[++i];
    } else if (arg == "--clock") {
      clock = holdem::parseClockArgument(argv[++i]);
      if (!clock) return usage("--clock takes an integer");
    } else {
      return usage("unknown argument");
    }
  }
  if (settings.empty()) settings = holdem::defaultSettingsPath();

  std::unique_ptr<holdem::Clock> source;
  if (clock) {
    source = std::make_unique<holdem::FixedClock>(*clock);
  } else {
    source = std::make_unique<holdem::SystemClock>();
  }
  holdem::SimSession session(settings, std::move(source));

  std::string out;
  out.reserve(1 << 16);
  const auto flush = [&out] {
    std::fwrite(out.data(), 1, out.size(), stdout);
    out.clear();
  };
  if (!session.start(out)) {
    flush();
    return 1;
  }
  std::string line;
  long lineNumber = 0;
  while (std::getline(std::cin, line)) {
    ++lineNumber;
    if (session.run(line, out) == holdem::SimSession::Outcome::NotUnderstood) {
      flush();
      std::fflush(stdout);
      std::fprintf(stderr, "holdem-sim: line %ld: command not understood: %s\n", lineNumber, line.c_str());
      return 2;
    }
    if (out.size() > (1 << 15)) flush();
  }
  flush();
  return 0;
}
