#!/usr/bin/env python3
"""scripts/play builds only what playing needs; scripts/test builds everything.

    scripts_check.py SOURCE_DIR

Runs both scripts with stand-ins for cmake, ctest, the style checkers and
dpkg-query on $PATH, which record how they were called, against a build
folder that is already configured, and with no desktop session, so that
scripts/play stops after building. scripts/play must build the holdem target alone, and what it
needs; scripts/test must build the whole project. Exit status 0 when both
hold.
"""

import os
import shlex
import subprocess
import sys
import tempfile

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message)


def stand_in(folder, name, script):
    path = os.path.join(folder, name)
    with open(path, "w") as f:
        f.write("#!/bin/sh\n" + script)
    os.chmod(path, 0o755)


def builds_made(source, script, work):
    """The argument lists of every `cmake --build` that `script` ran."""
    bin_dir = os.path.join(work, "bin")
    build = os.path.join(work, "build")
    log = os.path.join(work, script + ".log")
    os.makedirs(bin_dir, exist_ok=True)
    os.makedirs(build, exist_ok=True)
    open(os.path.join(build, "CMakeCache.txt"), "w").close()
    stand_in(bin_dir, "cmake", 'printf "%s\\n" "$*" >> "$HOLDEM_CHECK_LOG"\n')
    for quiet in ("ctest", "clang-format", "run-clang-tidy"):
        stand_in(bin_dir, quiet, "exit 0\n")
    stand_in(bin_dir, "dpkg-query", 'printf "install ok installed"\n')
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    env.update(PATH=bin_dir + os.pathsep + env.get("PATH", ""), HOLDEM_BUILD_DIR=build, HOLDEM_CHECK_LOG=log,
               HOLDEM_SKIP_SANITIZERS="1", HOLDEM_SKIP_FUZZ="1")
    result = subprocess.run([os.path.join(source, "scripts", script)], env=env, capture_output=True, text=True)
    calls = open(log).read().splitlines() if os.path.exists(log) else []
    return result.returncode, [shlex.split(c)[1:] for c in calls if c.startswith("--build ")], build


def main():
    source = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as work:
        status, builds, build = builds_made(source, "play", work)
        check(status == 2, f"scripts/play without a desktop session ended with {status}, not 2")
        check(len(builds) == 1, f"scripts/play built {len(builds)} times")
        for args in builds:
            check(args[0] == build, f"scripts/play built in {args[0]}")
            targets = [args[i + 1] for i, a in enumerate(args[:-1]) if a in ("--target", "-t")]
            check(targets == ["holdem"], f"scripts/play built the targets {targets or 'all'}, not holdem alone")

        status, builds, build = builds_made(source, "test", work)
        check(status == 0, f"scripts/test ended with {status}")
        check(len(builds) == 1, f"scripts/test built {len(builds)} times")
        for args in builds:
            check("--target" not in args and "-t" not in args, f"scripts/test built only {args}")
    print("FAILED" if failures else "OK")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
