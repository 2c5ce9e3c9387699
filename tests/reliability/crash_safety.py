#!/usr/bin/env python3
"""Kills holdem-sim with SIGKILL at random moments of a long run of play, and
after every kill checks the settings file: it must be whole, and hold what
one of the writes of that run put there, or what it held before the run.

    crash_safety.py PATH/TO/holdem-sim [KILLS]

The runs start from three kinds of file: none, the game's own, and one
edited by hand, with comments and CR LF line ends, whose lines must all
survive; the last two are private (mode 0600). After each kill, every file
in the folder is checked: a temporary file that the kill left must have the
mode of the settings file (so a private file is never copied into one that
others may read), and nothing else may be there. Then a fresh holdem-sim
must start on what is left, read the values found there, and remove every
temporary file."""
import json
import os
import random
import re
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time


# The keys in the order holdem-sim reports them and the game writes them.
KEYS = ['Background/Color', 'Cash/freak', 'Cash/player', 'Cash/geek', 'Cash/master', 'Cash/champ',
        'Cash/pinhead', 'Cash/expert', 'Cash/robot', 'Cash/until', 'Cash/initial', 'Card/back']


def canonical(values):
    """The bytes of a settings file that the game wrote from nothing, holding
    `values` (twelve integers in the order of KEYS)."""
    out, section = [], None
    for key, value in zip(KEYS, values):
        sec, name = key.split('/')
        if sec != section:
            out.append('[%s]' % sec)
            section = sec
        out.append('%s=%d' % (name, value))
    return ('\n'.join(out) + '\n').encode()


_INT = re.compile(r'^[+-]?[0-9]+$')


def read_values(data):
    """The twelve values of a settings file, read the game's way for the plain
    files these tests make (first matching section, first matching key, names
    without regard to case, integers within 32 bits); None for a missing or
    unreadable key."""
    found = {}
    seen_sections = set()
    section = None
    for raw in data.split(b'\n'):
        line = raw.rstrip(b'\r').decode('latin-1')
        stripped = line.strip(' \t')
        if len(stripped) >= 2 and stripped[0] == '[' and stripped[-1] == ']':
            name = stripped[1:-1].strip(' \t').lower()
            section = None if name in seen_sections else name
            seen_sections.add(name)
            continue
        if section is None or '=' not in line:
            continue
        key, value = line.split('=', 1)
        full = section + '/' + key.strip(' \t').lower()
        if full in found:
            continue
        value = value.strip(' \t')
        found[full] = int(value) if _INT.match(value) and -2**31 <= int(value) < 2**31 else None
    return [found.get(k.lower()) for k in KEYS]


def scratch_folder(name):
    """A fresh folder for one test, in memory (/dev/shm) where possible."""
    base = '/dev/shm' if os.path.isdir('/dev/shm') and os.access('/dev/shm', os.W_OK) else None
    return tempfile.mkdtemp(prefix='holdem-%s-' % name, dir=base)


def remove(folder):
    shutil.rmtree(folder, ignore_errors=True)


def play_script(seed, length):
    """Commands for holdem-sim that save often: deals, card backs, targets and
    starting cash, and a new game now and then so that play never stops."""
    rng = random.Random(seed)
    lines = []
    while len(lines) < length:
        lines += ['deal'] + [rng.choice(['call', 'call', 'raise']) for _ in range(rng.randrange(4))] + ['fold']
        roll = rng.randrange(100)
        if roll < 15:
            lines.append('back %d' % rng.randrange(4))
        elif roll < 20:
            lines += ['until %d' % rng.randrange(100, 3000), 'enter-until']
        elif roll < 24:
            lines += ['money %d' % rng.randrange(100, 3000), 'enter-money']
        elif roll < 27:
            lines += ['money %d' % rng.randrange(100, 3000), 'newgame yes']
        elif roll < 29:
            lines.append('level %d' % rng.randrange(4))
        elif roll < 31:
            lines.append('limit %s' % rng.choice(['up', 'down']))
    return '\n'.join(lines) + '\n'


CLOCK = '1700000000'
HAND_EDITED = (b'; my own notes, kept by the game\r\n[Card]\r\nback=54\r\n\r\n[Cash]\r\n'
               b'player = 900\r\n; a comment in the section\r\ngeek=0x400\r\n[Mine]\r\nthing=1\r\n')


def run(sim, ini, script, out_path):
    with open(script, 'rb') as stdin, open(out_path, 'wb') as stdout:
        return subprocess.Popen([sim, '--settings', ini, '--clock', CLOCK], stdin=stdin, stdout=stdout,
                                stderr=subprocess.DEVNULL)


def printed_lines(out_path):
    with open(out_path, 'rb') as f:
        data = f.read()
    return [json.loads(l) for l in data.split(b'\n')[:-1]]  # the part after the last LF is incomplete


def values_of(line):
    return [line['settings'][k] for k in KEYS]


OWN_FILES = {'script', 'out', 'restart'}
SETTINGS = 'tavlor.ini'
TEMPORARY = re.compile(r'^\.tavlor\.ini\.tmp\.[0-9]+\.[0-9]+$')


def temporary_files(work, where):
    """The temporary files in the folder; anything else than those, the
    settings file and the test's own files fails the test."""
    found = []
    for name in os.listdir(work):
        if name in OWN_FILES or name == SETTINGS:
            continue
        if not TEMPORARY.match(name):
            raise SystemExit('%s: a file the game does not make: %s' % (where, name))
        found.append(name)
    return found


def mode_of(path):
    return stat.S_IMODE(os.lstat(path).st_mode)


def main():
    sim = os.path.abspath(sys.argv[1])
    kills = int(sys.argv[2]) if len(sys.argv) > 2 else 200
    work = scratch_folder('crash')
    os.umask(0o022)  # a file the game makes gets mode 0644
    try:
        script = os.path.join(work, 'script')
        with open(script, 'w') as f:
            f.write(play_script(7, 900))
        ini = os.path.join(work, 'tavlor.ini')
        out = os.path.join(work, 'out')

        # Each start, played to the end once: the values after every step.
        starts = {'none': None, 'own': canonical([0] + [1200] * 8 + [600, 1200, 52]), 'hand-edited': HAND_EDITED}
        # The mode the settings file has: the one the umask gives a new
        # file, or the private mode of the files the runs start from.
        modes = {'none': 0o644, 'own': 0o600, 'hand-edited': 0o600}

        def lay(data):
            if os.path.exists(ini):
                os.remove(ini)
            if data is not None:
                with open(ini, 'wb') as f:
                    f.write(data)
                os.chmod(ini, 0o600)

        expected = {}
        duration = {}
        for name, data in starts.items():
            lay(data)
            began = time.monotonic()
            p = run(sim, ini, script, out)
            if p.wait() != 0:
                raise SystemExit('holdem-sim failed on the %s file: status %d' % (name, p.returncode))
            duration[name] = time.monotonic() - began
            expected[name] = [values_of(l) for l in printed_lines(out)]
            if len(expected[name]) < 800:
                raise SystemExit('the script ran short: %d lines' % len(expected[name]))
            if temporary_files(work, 'a whole run'):
                raise SystemExit('a whole run on the %s file left temporary files' % name)
            if mode_of(ini) != modes[name]:
                raise SystemExit('a whole run on the %s file left it with mode %o' % (name, mode_of(ini)))

        rng = random.Random(int(os.environ.get('HOLDEM_CRASH_SEED', '1')))
        mid_run = left = 0
        names = list(starts)
        for i in range(kills):
            name = names[i % len(names)]
            data = starts[name]
            lay(data)

            p = run(sim, ini, script, out)
            time.sleep(rng.uniform(0, duration[name] * 1.1))
            p.send_signal(signal.SIGKILL)
            status = p.wait()
            mid_run += status == -signal.SIGKILL
            lines = printed_lines(out)

            # What the file may hold: the state before the run (while the
            # start-up has not written yet) or that of any step from the
            # last one printed on.
            allowed = expected[name][max(len(lines) - 1, 0):]
            before = data
            where = 'kill %d (%s file, %d lines printed)' % (i, name, len(lines))

            # What the kill left: the settings file with its mode, and
            # temporary files with that mode or, before it was given, the
            # owner's alone.
            temporary = temporary_files(work, where)
            left += len(temporary)
            for t in temporary:
                mode = mode_of(os.path.join(work, t))
                if mode not in (0o600, modes[name]):
                    raise SystemExit('%s: the temporary file %s has mode %o' % (where, t, mode))
            if os.path.exists(ini) and mode_of(ini) != modes[name]:
                raise SystemExit('%s: the settings file has mode %o' % (where, mode_of(ini)))

            if not os.path.exists(ini):
                if data is not None or lines:
                    raise SystemExit('%s: the settings file is gone' % where)
                continue
            with open(ini, 'rb') as f:
                now = f.read()
            if not now:
                raise SystemExit('%s: the settings file is empty' % where)
            values = read_values(now)
            if now == before:
                pass
            elif name == 'hand-edited':
                if values not in allowed:
                    raise SystemExit('%s: values %s were never written' % (where, values))
                # Every line the game does not own is still there, in order.
                theirs = [l for l in HAND_EDITED.split(b'\r\n') if b'=' not in l or l.startswith(b'thing')]
                at = 0
                mine = now.split(b'\r\n')
                for line in theirs:
                    while at < len(mine) and mine[at] != line:
                        at += 1
                    if at == len(mine):
                        raise SystemExit('%s: the line %r was lost:\n%r' % (where, line, now))
            else:
                if now not in (canonical(v) for v in allowed):
                    raise SystemExit('%s: the file is not one the game wrote:\n%r' % (where, now))

            # A fresh start on what is left reads it as it stands.
            restart = os.path.join(work, 'restart')
            with open(restart, 'w') as f:
                f.write('deal\n')
            p = run(sim, ini, restart, out)
            if p.wait() != 0:
                raise SystemExit('%s: holdem-sim did not start again: status %d' % (where, p.returncode))
            first = printed_lines(out)[0]
            if values_of(first) != [v if v is not None else values_of(first)[k] for k, v in enumerate(values)]:
                raise SystemExit('%s: the restart read %s, the file holds %s' % (where, values_of(first), values))
            still = temporary_files(work, where + ', after the restart')
            if still:
                raise SystemExit('%s: the restart left the temporary files %s' % (where, still))
            if mode_of(ini) != modes[name]:
                raise SystemExit('%s: after the restart the settings file has mode %o' % (where, mode_of(ini)))

        print('%d kills, %d in the middle of the run; %d temporary files left by them, each with the mode of the '
              'settings file, and each removed by the next start' % (kills, mid_run, left))
        if mid_run < kills // 2:
            raise SystemExit('too few kills landed in the middle of the run')
    finally:
        remove(work)


if __name__ == '__main__':
    main()
