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
# fourth) and over a file that is none: the saved
# one opens its replay window, the other is refused with a box, a line on
# standard error and status 1.
#
# Exit status 0 when all of this holds.
import os
import subprocess
import sys
import tempfile
import time


def shown(window, program):
    # Waits up to 30 s, while `program` runs, for a window whose line in the
    # window tree holds `window`.
    deadline = time.monotonic() + 30
    while program.poll() is None and time.monotonic() < deadline:
        if window in subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout:
            return True
        time.sleep(0.05)
    return False


def comes_up(holdem, work, config, window):
    # Starts the game with `config` as $XDG_CONFIG_HOME and waits for `window`.
    env = dict(os.environ, XDG_CONFIG_HOME=config, QT_QPA_PLATFORM="xcb")
    game = subprocess.Popen([holdem], cwd=work, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        return shown(window, game)
    finally:
        game.kill()
        game.wait()


def replay_failures(replay, work, good):
    failures = []
    env = dict(os.environ, QT_QPA_PLATFORM="xcb")
    viewer = subprocess.Popen([replay, good], cwd=work, env=env, stderr=subprocess.DEVNULL)
    if not shown('"Replay of deal 1"', viewer):
        failures.append("holdem-replay showed no replay of a saved hand history")
    viewer.kill()
    viewer.wait()
    bad = os.path.join(work, "bad.ohh")
    with open(bad, "w") as f:
        f.write("not a hand history\n")
    refused = subprocess.Popen([replay, bad], cwd=work, env=env, stderr=subprocess.PIPE, text=True)
    if shown('"holdem-replay": ("holdem-replay"', refused):  # the box: Escape closes it
        box = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^holdem-replay$"],
                             capture_output=True, text=True).stdout.split()
        for command in (["windowfocus", "--sync"] + box[:1], ["key", "Escape"]):
            subprocess.run(["xdotool"] + command, capture_output=True, timeout=30)
    try:
        _, errors = refused.communicate(timeout=30)
    except subprocess.TimeoutExpired:
        refused.kill()
        errors = refused.communicate()[1]
    if refused.returncode != 1 or "holdem-replay: " + bad + " cannot be replayed" not in errors:
        failures.append("holdem-replay took a file that is no hand history (status %s)" % refused.returncode)
    return failures


def main():
    holdem, recorded = os.path.abspath(sys.argv[1]), open(sys.argv[2], "rb").read()
    failures = []
    with tempfile.TemporaryDirectory() as work:
        config = os.path.join(work, "config")
        if not comes_up(holdem, work, config, '"holdem": ("holdem" "holdem")  800x538'):
            failures.append("the table window never came up")
        settings = os.path.join(config, "holdem", "tavlor.ini")
        if not os.path.exists(settings) or open(settings, "rb").read() != recorded:
            failures.append("the first start-up did not write the recorded settings file")

        # A config folder whose holdem/ folder name still fits in a path but
        # leaves no room for the name of a file inside it.
        deep = work
        limit = os.pathconf("/", "PC_PATH_MAX") - 1 - len("/holdem") - 8
        while len(deep) < limit:
            deep = os.path.join(deep, "c" * min(200, limit - len(deep) - 1))
        os.makedirs(deep)
        if not comes_up(holdem, work, deep, '"Error"'):
            failures.append("the start-up that cannot save showed no error box")
        if os.path.exists(os.path.join(deep, "holdem")):
            failures.append("the failed start-up left the settings folder behind")
        failures += replay_failures(os.path.abspath(sys.argv[3]), work, os.path.abspath(sys.argv[4]))
    print("\n".join(["FAIL: " + f for f in failures] + ["FAILED" if failures else "OK"]))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
