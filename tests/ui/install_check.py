#!/usr/bin/env python3
# Installs the built game into a temporary folder and checks what lands there.
#
#     install_check.py BUILD_DIR SOURCE_DIR
#
# Two installs: one staged with DESTDIR under a prefix that has a space in it,
# as a package build does it, and one straight into a prefix, as the README's
# `cmake --install build --prefix ~/.local` does. Each must hold the programs,
# the table picture, the icons, a launcher that starts the game in the folder
# of the table picture, and the AppStream file; desktop-file-validate and
# appstreamcli must find nothing wrong, the installed holdem-sim must play, and
# removing the files of the install manifest must leave no file behind. The
# build folder's own install_manifest.txt is put back as it was. Exit status 0
# when all of this holds; the first thing that does not ends the check.
import configparser
import os
import shlex
import shutil
import struct
import subprocess
import sys
import tempfile

APP_ID = "io.github.holdem.Holdem"


def check(condition, message):
    if not condition:
        sys.exit("FAIL: " + message)


def run(*args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, **kwargs)


def tool(name, package):
    # Debian's `package` brings it; scripts/test installs it.
    return shutil.which(name) or sys.exit(f"FAIL: {name} is missing; it comes with Debian's {package}")


def png_size(path):
    # Width and height of an 8-bit RGBA PNG, or None for another kind of file.
    head = open(path, "rb").read(26)
    width, height, depth, colour = struct.unpack(">IIBB", head[16:26])
    return (width, height) if head[:16] == b"\x89PNG\r\n\x1a\n\0\0\0\rIHDR" and (depth, colour) == (8, 6) else None


def check_install(build, source, root, prefix):
    label = f"DESTDIR={root} prefix={prefix}"
    env = {k: v for k, v in os.environ.items() if k != "DESTDIR"} | ({"DESTDIR": root} if root else {})
    result = run("cmake", "--install", build, "--prefix", prefix, env=env)
    check(result.returncode == 0, f"{label}: cmake --install failed:\n{result.stdout}{result.stderr}")

    def staged(*parts):  # where an installed path lies: below DESTDIR when there is one
        path = os.path.join(prefix, *parts)
        return os.path.join(root, path.lstrip("/")) if root else path

    for program in ("holdem", "holdem-sim", "holdem-replay"):
        check(os.access(staged("bin", program), os.X_OK), f"{label}: bin/{program} is not installed")
    texas, picture = staged("share", "holdem", "texas.bmp"), os.path.join(source, "resources", "texas.bmp")
    check(open(texas, "rb").read() == open(picture, "rb").read(), f"{label}: another table picture")  # or none: raises
    for size in (64, 128, 256):
        icon = staged("share", "icons", "hicolor", f"{size}x{size}", "apps", APP_ID + ".png")
        check(os.path.isfile(icon) and png_size(icon) == (size, size), f"{label}: no {size}x{size} RGBA icon")

    launcher = staged("share", "applications", APP_ID + ".desktop")
    result = run(tool("desktop-file-validate", "desktop-file-utils"), launcher)
    check(result.returncode == 0 and not (result.stdout + result.stderr).strip(),
          f"{label}: desktop-file-validate:\n{result.stdout}{result.stderr}")
    parser = configparser.ConfigParser(interpolation=None)
    parser.optionxform = str
    parser.read(launcher, encoding="utf-8")
    entry = parser["Desktop Entry"]
    check([entry.get("Name"), entry.get("Icon"), entry.get("Path")] + shlex.split(entry.get("Exec", "")) ==
          ["Hold'em", APP_ID, os.path.join(prefix, "share", "holdem"), os.path.join(prefix, "bin", "holdem")],
          f"{label}: the launcher names {dict(entry)}")

    metainfo = staged("share", "metainfo", APP_ID + ".metainfo.xml")
    result = run(tool("appstreamcli", "appstream"), "validate", "--no-net", metainfo)
    # The pedantic note on the capital letters of the id is taken: reverse
    # domain names of desktop programs often carry them.
    notes = [n for n in result.stdout.splitlines() if n[:2] in ("E:", "W:", "I:", "P:")]
    check(result.returncode == 0 and all("cid-contains-uppercase-letter" in n for n in notes),
          f"{label}: appstreamcli validate:\n{result.stdout}{result.stderr}")
    check(f'<launchable type="desktop-id">{APP_ID}.desktop</launchable>' in open(metainfo).read(),
          f"{label}: the metainfo launches another desktop file")

    with tempfile.TemporaryDirectory() as play:
        result = run(staged("bin", "holdem-sim"), "--settings", play + "/t.ini", "--clock", "1", input="call\nfold\n")
        check(result.returncode == 0 and len(result.stdout.splitlines()) >= 2,
              f"{label}: the installed holdem-sim did not play:\n{result.stdout}{result.stderr}")

    # Removing what the manifest lists leaves nothing.
    with open(os.path.join(build, "install_manifest.txt"), encoding="utf-8") as f:
        listed = sorted(os.path.join(root or "/", line.lstrip("/")) for line in f.read().splitlines() if line)
    installed = lambda: sorted(os.path.join(d, n) for d, _, names in os.walk(staged()) for n in names)  # noqa: E731
    check(listed == installed(), f"{label}: the manifest lists {listed}, installed {installed()}")
    for path in listed:
        os.remove(path)
    check(not installed(), f"{label}: removing the manifest's files left {installed()}")


def main():
    build, source = map(os.path.abspath, sys.argv[1:3])
    manifest = os.path.join(build, "install_manifest.txt")
    saved = open(manifest, "rb").read() if os.path.exists(manifest) else None
    try:
        with tempfile.TemporaryDirectory() as work:
            check_install(build, source, os.path.join(work, "stage"), "/opt/hold em")
            check_install(build, source, None, os.path.join(work, "home", ".local"))
    finally:
        if saved is None:
            os.path.exists(manifest) and os.remove(manifest)
        else:
            open(manifest, "wb").write(saved)
    print("OK")


if __name__ == "__main__":
    main()
