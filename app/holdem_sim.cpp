// holdem-sim: the table without a window. Reads one command per line and
// answers each with the state of the table as one JSON line.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "app/sim_session.h"

namespace {

// The exit statuses besides 0.
constexpr int kStartUpFailed = 1;
constexpr int kUsage = 2;  // also: a command not understood
constexpr int kInputOutput = 3;

int usage(const char* message) {
  std::fprintf(stderr, "holdem-sim: %s\nusage: holdem-sim --settings FILE [--clock SECONDS] < commands\n",
               message);
  return kUsage;
}

// A standard descriptor that is closed is opened on /dev/null, so that no
// file the program opens takes its place: standard output read-only, so
// that every answer written to it fails as it would on the closed one.
void holdStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int opened = ::open("/dev/null", fd == 2 ? O_WRONLY : O_RDONLY);
    if (opened != fd && opened >= 0) ::close(opened);
  }
}

// Writes the answers gathered so far. A failure (a full disk, a closed pipe)
// means they are lost: reported, and the run ends.
class Answers {
 public:
  std::string& text() { return text_; }

  // False when writing failed; the reason is then on standard error.
  bool flush() {
    std::string_view rest = text_;
    while (!rest.empty()) {
      const ssize_t n = ::write(STDOUT_FILENO, rest.data(), rest.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        std::fprintf(stderr, "holdem-sim: cannot write the answers: %s\n",
                     n < 0 ? std::strerror(errno) : "nothing written");
        text_.clear();
        return false;
      }
      rest.remove_prefix(static_cast<size_t>(n));
    }
    text_.clear();
    return true;
  }

 private:
  std::string text_;
};

// Reads standard input a block at a time and hands out its lines, split at
// LF; a last line without LF counts too.
class Commands {
 public:
  enum class Result { Line, End, Failed };

  // The next line, valid until the next call. `beforeReading` runs before
  // every read that may wait for more input.
  template <typename BeforeReading>
  Result next(std::string_view& line, BeforeReading&& beforeReading) {
    for (;;) {
      const size_t lf = buffer_.find('\n', std::max(start_, scanned_));
      if (lf != std::string::npos) {
        line = std::string_view(buffer_).substr(start_, lf - start_);
        start_ = lf + 1;
        return Result::Line;
      }
      scanned_ = buffer_.size();
      if (ended_) {
        if (start_ == buffer_.size()) return Result::End;
        line = std::string_view(buffer_).substr(start_);
        start_ = buffer_.size();
        return Result::Line;
      }
      if (!beforeReading()) return Result::Failed;
      buffer_.erase(0, start_);
      scanned_ -= start_;
      start_ = 0;
      const size_t had = buffer_.size();
      buffer_.resize(had + kBlock);
      ssize_t n;
      do {
        n = ::read(STDIN_FILENO, buffer_.data() + had, kBlock);
      } while (n < 0 && errno == EINTR);
      buffer_.resize(had + static_cast<size_t>(std::max<ssize_t>(n, 0)));
      if (n < 0) {
        std::fprintf(stderr, "holdem-sim: cannot read the commands: %s\n", std::strerror(errno));
        return Result::Failed;
      }
      ended_ = n == 0;
    }
  }

 private:
  static constexpr size_t kBlock = 1 << 16;
  std::string buffer_;
  size_t start_ = 0;    // where the lines not yet handed out begin
  size_t scanned_ = 0;  // the buffer up to here holds no LF after start_
  bool ended_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  holdStandardDescriptors();
  // A reader that went away shows up as a failed write, not as a signal.
  std::signal(SIGPIPE, SIG_IGN);

  std::optional<std::filesystem::path> settings;
  std::optional<uint32_t> clock;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if ((arg == "--settings" || arg == "--clock") && i + 1 >= argc) return usage("an option lacks its value");
    if (arg == "--settings") {
      settings = argv[++i];
      if (settings->empty()) return usage("--settings takes a file name, not an empty text");
    } else if (arg == "--clock") {
      clock = holdem::parseClockArgument(argv[++i]);
      if (!clock) return usage("--clock takes an integer");
    } else {
      return usage("unknown argument");
    }
  }
  if (!settings) settings = holdem::defaultSettingsPath();

  std::unique_ptr<holdem::Clock> source;
  if (clock) {
    source = std::make_unique<holdem::FixedClock>(*clock);
  } else {
    source = std::make_unique<holdem::SystemClock>();
  }
  holdem::SimSession session(*settings, std::move(source));

  // Every answer is on standard output before the program waits for the
  // next command; a long script that is already there is answered in
  // blocks.
  Answers answers;
  if (!session.start(answers.text())) return answers.flush() ? kStartUpFailed : kInputOutput;
  Commands commands;
  const auto flushBeforeWaiting = [&answers] { return answers.flush(); };
  std::string_view line;
  long lineNumber = 0;
  for (;;) {
    const Commands::Result got = commands.next(line, flushBeforeWaiting);
    if (got == Commands::Result::Failed) return kInputOutput;
    if (got == Commands::Result::End) break;
    ++lineNumber;
    if (session.run(line, answers.text()) == holdem::SimSession::Outcome::NotUnderstood) {
      if (!answers.flush()) return kInputOutput;
      std::fprintf(stderr, "holdem-sim: line %ld: command not understood: %s\n", lineNumber,
                   holdem::quotedForMessage(line).c_str());
      return kUsage;
    }
    if (answers.text().size() > (1 << 16) && !answers.flush()) return kInputOutput;
  }
  return answers.flush() ? 0 : kInputOutput;
}
