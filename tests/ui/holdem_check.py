#!/usr/bin/env python3
# The real game on the X display named by $DISPLAY (a virtual one under
# xvfb-run), started twice:
#
#     holdem_check.py HOLDEM RECORDED_FIRST_START_FILE HOLDEM_REPLAY SAVED_HANDS
#
# - with a fresh $XDG_CONFIG_HOME: its window comes up with the menu and the
#   800 x 520 table, and the settings file it wrote is the one the recorded
#   first start-up leaves;
# - with $XDG_CONFIG_HOME so deep that the settings folder can be made but no
#   file written inside it (the full path is longer than the system allows):
#   the start-up shows its error box ("Error"), and the settings folder, made
#   for the write, is gone again, as holdem-sim leaves it.
#
# Then holdem-replay (the third argument) over a saved hand history (the
# fourth), from its first hand and from the second, and over a file that is
# none: the saved one opens its replay window at the hand asked for, the
# other is refused with a box, a line on standard error and status 1.
#
# Exit status 0 when all of this holds.
import os
import subprocess
import sys
import tempfile
import time


def check(condition, message):
    if not condition:
        sys.exit("FAIL: " + message)


def shown(window, program):
    # Waits up to 30 s, while `program` runs, for a window whose line in the
    # window tree holds `window`.
    deadline = time.monotonic() + 30
    while program.poll() is None and time.monotonic() < deadline:
        if window in subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout:
            return True
        time.sleep(0.05)
    return False


def comes_up(command, work, window, **env):
    # Starts `command` in `work` with `env` added to the environment, waits
    # for `window` and ends the program.
    program = subprocess.Popen(command, cwd=work, env=dict(os.environ, QT_QPA_PLATFORM="xcb", **env),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        return shown(window, program)
    finally:
        program.kill()
        program.wait()


def main():
    holdem, recorded = os.path.abspath(sys.argv[1]), open(sys.argv[2], "rb").read()
    replay, saved = os.path.abspath(sys.argv[3]), os.path.abspath(sys.argv[4])
    with tempfile.TemporaryDirectory() as work:
        config = os.path.join(work, "config")
        check(comes_up([holdem], work, '"holdem": ("holdem" "holdem")  800x538', XDG_CONFIG_HOME=config),
              "the table window never came up")
        settings = os.path.join(config, "holdem", "tavlor.ini")
        check(os.path.exists(settings) and open(settings, "rb").read() == recorded,
              "the first start-up did not write the recorded settings file")

        # A config folder whose holdem/ folder name still fits in a path but
        # leaves no room for the name of a file inside it.
        deep = work
        limit = os.pathconf("/", "PC_PATH_MAX") - 1 - len("/holdem") - 8
        while len(deep) < limit:
            deep = os.path.join(deep, "c" * min(200, limit - len(deep) - 1))
        os.makedirs(deep)
        check(comes_up([holdem], work, '"Error"', XDG_CONFIG_HOME=deep),
              "the start-up that cannot save showed no error box")
        check(not os.path.exists(os.path.join(deep, "holdem")), "the failed start-up left the settings folder behind")

        check(comes_up([replay, saved], work, '"Replay of deal 1"'),
              "holdem-replay showed no replay of a saved hand history")
        check(comes_up([replay, saved, "2"], work, '"Replay of deal 2"'),
              "holdem-replay did not begin at the hand asked for")
        bad = os.path.join(work, "bad.ohh")
        open(bad, "w").write("not a hand history\n")
        refused = subprocess.Popen([replay, bad], cwd=work, env=dict(os.environ, QT_QPA_PLATFORM="xcb"),
                                   stderr=subprocess.PIPE, text=True)
        if shown('"holdem-replay": ("holdem-replay"', refused):
            # The box: Escape closes it, once it is mapped and can take the focus.
            deadline = time.monotonic() + 30
            while refused.poll() is None and time.monotonic() < deadline:
                try:
                    subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^holdem-replay$", "windowfocus",
                                    "--sync", "key", "Escape"], capture_output=True, timeout=5)
                except subprocess.TimeoutExpired:
                    pass
                time.sleep(0.2)
        try:
            errors = refused.communicate(timeout=30)[1]
        finally:
            refused.kill()
        check(refused.returncode == 1 and "holdem-replay: " + bad + " cannot be replayed" in errors,
              "holdem-replay took a file that is no hand history (status %s)" % refused.returncode)
    print("OK")


if __name__ == "__main__":
    main()
