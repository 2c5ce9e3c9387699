// holdem-sim's protocol: what other programs parse must stay exact.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>

#include "app/sim_session.h"
#include "test_support.h"

namespace holdem {
namespace {

// The program under test: HOLDEM_SIM when set, else the one built beside us.
const char* simPath() {
  if (const char* env = std::getenv("HOLDEM_SIM")) return env;
  return HOLDEM_SIM_PATH;
}

struct SimRun {
  int status = -1;
  std::string out;
};

// Runs the real holdem-sim with the given input.
SimRun runSim(const std::vector<std::string>& args, const std::string& input) {
  const testing::TempDir dir;
  testing::writeBytes(dir / "input", input);
  std::string command = simPath();
  for (const auto& a : args) command += " '" + a + "'";
  command += " < '" + (dir / "input").string() + "' 2>/dev/null";
  SimRun run;
  FILE* p = ::popen(command.c_str(), "r");
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) run.out.append(buf, n);
  const int status = ::pclose(p);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    out.push_back(text.substr(start, end - start));
    start = end == std::string::npos ? text.size() : end + 1;
  }
  return out;
}

// A session started at clock 1000 on a fresh file, its start-up line printed.
struct Session {
  Session() : sim(dir / "tavlor.ini", std::make_unique<FixedClock>(1000)) {
    if (!sim.start(startLine)) throw std::runtime_error("start-up failed");
  }
  testing::TempDir dir;
  SimSession sim;
  std::string startLine;
};

TEST(SimProtocol, CommandsOutsideTheTableAreNotUnderstood) {
  Session s;
  for (const char* line : {"level 4", "back 01", "back -1", "deal now", "Deal", "newgame", "newgame maybe",
                           "limit", "limit sideways", "eval 6 0.0 0.1 0.2 0.3 0.4 0.5 0.6", "eval 1 0.13 0.1 0.2 0.3 0.4 0.5 0.6",
                           "eval 1 00.1 0.1 0.2 0.3 0.4 0.5 0.6", "eval 1 0.0 0.1 0.2", "eval 1 -0 0.1 0.2 0.3 0.4 0.5 0.6",
                           "enter-money now", "raise\tnow", "fold fold", "level  1"}) {
    std::string ignored;
    EXPECT_EQ(s.sim.run(line, ignored), SimSession::Outcome::NotUnderstood) << line;
    EXPECT_TRUE(ignored.empty()) << line;
  }
}

TEST(SimProtocol, BlankAndCommentLinesPrintNothing) {
  Session s;
  std::string out;
  for (const char* line : {"", "   ", "\t\r", "# a note", "   # indented note"}) {
    EXPECT_EQ(s.sim.run(line, out), SimSession::Outcome::Skipped) << '"' << line << '"';
  }
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(s.sim.run("  \tcall\r", out), SimSession::Outcome::Printed);
  EXPECT_EQ(out.rfind("{\"step\":1,\"cmd\":\"call\",\"boxes\":[]", 0), 0u) << out;
}

TEST(SimProtocol, EditTextsAreEverythingAfterTheWordAndAreEscaped) {
  Session s;
  std::string out;
  s.sim.run("money  a\"b\\c\x01", out);
  EXPECT_EQ(s.sim.game().view().money, " a\"b\\c\x01");
  EXPECT_NE(out.find(R"("money":" a\"b\\c\u0001")"), std::string::npos) << out;
  out.clear();
  s.sim.run("until", out);
  EXPECT_EQ(s.sim.game().view().until, "");
  EXPECT_NE(out.find(R"("until":"")"), std::string::npos);
}

TEST(SimProtocol, EvalLineCarriesTheRatingOnly) {
  Session s;
  std::string out;
  s.sim.run("eval 4 3.12 3.0 3.1 3.2 3.3 0.8 1.8", out);
  EXPECT_EQ(out,
            "{\"step\":1,\"cmd\":\"eval 4 3.12 3.0 3.1 3.2 3.3 0.8 1.8\",\"handValue\":1000,\"handKicker\":3,"
            "\"straightDraw\":0,\"flushDraw\":0,\"connectedHoleCards\":0,\"suitedHoleCards\":0,"
            "\"name\":\"Straight flush\"}\n");
}

TEST(SimProtocol, ClockArgumentIsAnyIntegerModulo2To32) {
  const struct {
    const char* text;
    std::optional<uint32_t> value;
  } cases[] = {{"0", 0u},          {"4294967296", 0u}, {"4294967297", 1u}, {"-1", 0xFFFFFFFFu},
               {"+7", 7u},         {"123456789012345678901234567890", static_cast<uint32_t>(0x4E3F0AD2u)},
               {"", {}},           {"-", {}},          {"1.0", {}},        {"12a", {}}};
  for (const auto& c : cases) EXPECT_EQ(parseClockArgument(c.text), c.value) << c.text;
}

TEST(SimProgram, ExitStatusesAndTheStartUpFailureLine) {
  const testing::TempDir dir;
  const std::string ini = (dir / "tavlor.ini").string();
  SimRun ok = runSim({"--settings", ini, "--clock", "5"}, "deal\ncall\n");
  EXPECT_EQ(ok.status, 0);
  EXPECT_EQ(lines(ok.out).size(), 3u);

  SimRun bad = runSim({"--settings", ini, "--clock", "5"}, "call\nlevel 9\ncall\n");
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(lines(bad.out).size(), 2u);  // the lines before it stay

  EXPECT_EQ(runSim({"--clock"}, "").status, 2);
  EXPECT_EQ(runSim({"--settings", ini, "--clock", "soon"}, "").status, 2);

  // A settings path that is a folder cannot be written.
  std::filesystem::create_directories(dir / "folder.ini");
  SimRun failed = runSim({"--settings", (dir / "folder.ini").string(), "--clock", "5"}, "deal\n");
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.out, "{\"step\":0,\"cmd\":\"start\",\"boxes\":[{\"text\":\"Unable to write to " +
                            (dir / "folder.ini").string() + "\",\"caption\":\"Error\",\"buttons\":\"ok\"}]}\n");
}

// Any change of behaviour changes this number: a fixed clock and a fixed
// script of every kind of command, hashed line by line.
TEST(SimSignature, FixedScriptGivesAFixedOutput) {
  Session s;
  std::string out = s.startLine;
  const char* commands[] = {"deal", "call", "call", "raise", "fold", "call", "raise", "deal", "call", "fold"};
  uint64_t x = 88172645463325252ull;
  for (int i = 0; i < 6000; ++i) {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    std::string line = commands[x % 10];
    switch (i % 97) {
      case 13: line = "limit up"; break;
      case 29: line = "level " + std::to_string(x % 4); break;
      case 41: line = "back " + std::to_string(x % 4); break;
      case 53: line = "money " + std::to_string(x % 3000); break;
      case 54: line = "enter-money"; break;
      case 67: line = "until 400"; break;
      case 68: line = "enter-until"; break;
      case 79: line = "limit down"; break;
      case 90: line = x % 2 ? "newgame yes" : "newgame no"; break;
    }
    s.sim.run(line, out);
  }
  uint64_t hash = 1469598103934665603ull;
  for (unsigned char c : out) hash = (hash ^ c) * 1099511628211ull;
  EXPECT_EQ(lines(out).size(), 6001u);
  EXPECT_EQ(hash, 5053095251024776263ull) << hash;
}

}  // namespace
}  // namespace holdem
