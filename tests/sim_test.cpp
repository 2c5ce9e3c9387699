// holdem-sim's protocol: what other programs parse must stay exact.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

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

// An edit text is everything after the word and its blank. Output is UTF-8
// whatever the bytes: each byte that is not part of a valid UTF-8 sequence
// shows as one U+FFFD, control bytes and quotes as escapes, while the game
// keeps the bytes as they came.
TEST(SimProtocol, EditTextsAreKeptAsTypedAndShownAsEscapedUtf8) {
  const std::string fffd = "\xEF\xBF\xBD";
  const std::pair<std::string, std::string> cases[] = {
      {" a\"b\\c\x01", R"( a\"b\\c\u0001)"},
      {"\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E",
       "\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E"},  // e acute, euro, a clef
      {"\xE2\x82"
       "A",
       fffd + fffd + "A"},                              // a sequence cut short
      {"\xC0\xAF", fffd + fffd},                        // an overlong slash
      {"\xED\xA0\x80", fffd + fffd + fffd},             // a surrogate
      {"\xF4\x90\x80\x80", fffd + fffd + fffd + fffd},  // beyond U+10FFFF
      {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},         // U+10FFFF itself
      {"\x80"
       "1\xC3",
       fffd + "1" + fffd},  // a lone continuation; cut by the end
  };
  for (const auto& [typed, shown] : cases) {
    Session s;
    std::string out;
    s.sim.run("money " + typed, out);
    EXPECT_EQ(s.sim.game().view().money, typed);
    EXPECT_NE(out.find("\"money\":\"" + shown + "\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"cmd\":\"money " + shown + "\""), std::string::npos) << out;
  }
}

TEST(SimProtocol, ErrorMessageShowsTheLineCutAndEscaped) {
  using namespace std::string_literals;
  EXPECT_EQ(quotedForMessage("level 9"), "level 9");
  EXPECT_EQ(quotedForMessage("lev\0el \x01\\ \xC3\xA9 \xFF"s), "lev\\0el \\x01\\\\ \xC3\xA9 \\xff");
  const std::string huge = "deal " + std::string(10'000'000, '\0');
  const std::string shown = quotedForMessage(huge);
  EXPECT_EQ(
      shown, "deal " + [] {
        std::string nuls;
        for (int i = 0; i < 195; ++i) nuls += "\\0";
        return nuls;
      }() + "... (10000005 bytes in all)");
  EXPECT_EQ(quotedForMessage(std::string(200, 'x')), std::string(200, 'x'));
  EXPECT_EQ(quotedForMessage(std::string(201, 'x')), std::string(200, 'x') + "... (201 bytes in all)");
}

TEST(SimProtocol, ClockArgumentIsAnyIntegerModulo2To32) {
  const struct {
    const char* text;
    std::optional<uint32_t> value;
  } cases[] = {{"0", 0u},          {"4294967296", 0u},
               {"4294967297", 1u}, {"-1", 0xFFFFFFFFu},
               {"+7", 7u},         {"123456789012345678901234567890", static_cast<uint32_t>(0x4E3F0AD2u)},
               {"", {}},           {"-", {}},
               {"1.0", {}},        {"12a", {}}};
  for (const auto& c : cases) EXPECT_EQ(parseClockArgument(c.text), c.value) << c.text;
}

// The status of a shell command line.
int statusOf(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string quoted(const std::string& text) { return "'" + text + "'"; }

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
  // An empty settings path: the player's real file is not played on, and nothing is created.
  const testing::TempDir home;
  EXPECT_EQ(statusOf("env -u XDG_CONFIG_HOME HOME=" + quoted(home.path().string()) + " " + quoted(simPath()) +
                     " --settings '' --clock 5 < /dev/null > /dev/null 2>&1"),
            2);
  EXPECT_TRUE(testing::listing(home.path()).empty());

  // A settings path that is a folder cannot be written.
  std::filesystem::create_directories(dir / "folder.ini");
  SimRun failed = runSim({"--settings", (dir / "folder.ini").string(), "--clock", "5"}, "deal\n");
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.out, "{\"step\":0,\"cmd\":\"start\",\"boxes\":[{\"text\":\"Unable to write to " +
                            (dir / "folder.ini").string() +
                            "\",\"caption\":\"Error\",\"buttons\":\"ok\"}]}\n");
}

}  // namespace
}  // namespace holdem
