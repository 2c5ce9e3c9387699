#!/usr/bin/env python3
# scripts/play builds only what playing needs; scripts/test builds everything.
#
#     scripts_check.py SOURCE_DIR
#
# Runs both scripts with stand-ins for cmake, ctest, the style checkers and
# dpkg-query on $PATH, which record how they were called, against a build
# folder that is already configured, and with no desktop session, so that
# scripts/play stops after building. scripts/play must build the holdem target
# alone, and what it needs; scripts/test must build the whole project. Exit
# status 0 when both hold.
import os
import shlex
import subprocess
import sys
import tempfile


def builds_made(source, script, work):
    # The exit status of `script` and the argument lists of every
    # `cmake --build` it ran.
    bin_dir, build, log = work + "/bin", work + "/build", f"{work}/{script}.log"
    os.makedirs(bin_dir, exist_ok=True)
    os.makedirs(build, exist_ok=True)
    open(build + "/CMakeCache.txt", "w").close()
    for name, body in [("cmake", 'printf "%s\\n" "$*" >> "$HOLDEM_CHECK_LOG"'), ("ctest", "exit 0"),
                       ("clang-format", "exit 0"), ("run-clang-tidy", "exit 0"),
                       ("dpkg-query", 'printf "install ok installed"')]:
        open(os.path.join(bin_dir, name), "w").write("#!/bin/sh\n" + body + "\n")
        os.chmod(os.path.join(bin_dir, name), 0o755)
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    env.update(PATH=bin_dir + os.pathsep + env.get("PATH", ""), HOLDEM_BUILD_DIR=build, HOLDEM_CHECK_LOG=log,
               HOLDEM_SKIP_SANITIZERS="1", HOLDEM_SKIP_FUZZ="1")
    status = subprocess.run([os.path.join(source, "scripts", script)], env=env, capture_output=True).returncode
    calls = open(log).read().splitlines() if os.path.exists(log) else []
    return status, [shlex.split(c)[1:] for c in calls if c.startswith("--build ")]


def main():
    source = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as work:
        play = builds_made(source, "play", work)
        test = builds_made(source, "test", work)
    # scripts/play ends with 2 for want of a desktop session, after building
    # the holdem target alone in the build folder; scripts/test builds once,
    # every target.
    failures = [what for what, wrong in [
        (f"scripts/play ended with {play[0]}, not 2", play[0] != 2),
        (f"scripts/play built {play[1]}, not holdem alone in {work}/build",
         [[a[0]] + next((a[i + 1:] for i, x in enumerate(a) if x in ("--target", "-t")), []) for a in play[1]] !=
         [[work + "/build", "holdem"]]),
        (f"scripts/test ended with {test[0]}", test[0] != 0),
        (f"scripts/test built {test[1]}, not all once",
         len(test[1]) != 1 or any("--target" in a or "-t" in a for a in test[1])),
    ] if wrong]
    print("\n".join(["FAIL: " + f for f in failures] + ["FAILED" if failures else "OK"]))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
