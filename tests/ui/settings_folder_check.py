#!/usr/bin/env python3
"""A start-up that cannot save its settings leaves no settings folder behind.

    settings_folder_check.py HOLDEM

Runs the real game on the X display named by $DISPLAY (a virtual one under
xvfb-run) with $XDG_CONFIG_HOME so deep that its settings folder can be made
but no file can be written inside it: the full path of any file there is
longer than the system allows. The start-up fails and shows its error box.
Once the box is on the screen, the settings folder must not be there: the
settings file made it for the write and took it away when the write failed,
as holdem-sim leaves it. Exit status 0 when that holds.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

PATH_MAX = os.pathconf("/", "PC_PATH_MAX")


def window_titled(title):
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
    return any(line.split('"')[1:2] == [title] for line in tree.splitlines() if '"' in line)


def main():
    holdem = os.path.abspath(sys.argv[1])
    work = tempfile.mkdtemp()
    game = None
    try:
        # A config folder whose holdem/ folder name still fits in a path but
        # leaves no room for the name of a file inside it.
        config = work
        target = PATH_MAX - 1 - len("/holdem") - 8
        while len(config) < target:
            config = os.path.join(config, "c" * min(200, target - len(config) - 1))
        os.makedirs(config)
        folder = os.path.join(config, "holdem")
        assert len(folder) < PATH_MAX and len(folder + "/tavlor.ini") >= PATH_MAX - 1

        env = dict(os.environ, XDG_CONFIG_HOME=config, QT_QPA_PLATFORM="xcb")
        game = subprocess.Popen([holdem], cwd=work, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 30
        while not window_titled("Error"):
            if game.poll() is not None or time.monotonic() > deadline:
                print("FAIL: the start-up showed no error box")
                return 1
            time.sleep(0.05)
        if os.path.exists(folder):
            print("FAIL: the failed start-up left the settings folder behind")
            return 1
        print("OK: the error box is up and no settings folder is left")
        return 0
    finally:
        if game and game.poll() is None:
            game.kill()
            game.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
