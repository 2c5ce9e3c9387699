#!/usr/bin/env python3
# Kills holdem-sim with SIGKILL at random moments of a long run of play and
# checks what the kill left, in one of two modes:
#
#     crash_safety.py settings PATH/TO/holdem-sim KILLS
#     crash_safety.py hands PATH/TO/holdem-sim KILLS   (what hands_crash.py runs)
#
# settings: the runs start from three kinds of file: none, the game's own,
# and one edited by hand, with comments and CR LF line ends, whose lines
# must all survive; the last two are private (mode 0600). After each kill
# the settings file must be whole and hold what one of the writes of that
# run put there, or what it held before the run; a temporary file the kill
# left must have the mode of the settings file (so a private file is never
# copied into one that others may read), and nothing else may be there.
# Then a fresh holdem-sim must start on what is left, read the values found
# there, and remove every temporary file.
#
# hands: holdem-sim --hands is killed and the hand history read: its bytes
# must be the start of what a whole run writes, every whole hand in it must
# read as JSON, one by one, and the only thing a kill may leave beyond them
# is the hand it cut off in the middle of its append. The next run on the
# same file must drop just those bytes, keep every hand before them, and
# leave a file that reads hand by hand to the end.
import configparser
import json
import os
import pathlib
import random
import re
import signal
import subprocess
import sys
import tempfile
import time

# The keys in the order holdem-sim reports them and the game writes them.
KEYS = ['Background/Color', 'Cash/freak', 'Cash/player', 'Cash/geek', 'Cash/master', 'Cash/champ',
        'Cash/pinhead', 'Cash/expert', 'Cash/robot', 'Cash/until', 'Cash/initial', 'Card/back']
CLOCK = '1700000000'
HAND_EDITED = (b'; my own notes, kept by the game\r\n[Card]\r\nback=54\r\n\r\n[Cash]\r\n'
               b'player = 900\r\n; a comment in the section\r\ngeek=0x400\r\n[Mine]\r\nthing=1\r\n')
TEMPORARY = re.compile(r'^\.tavlor\.ini\.tmp\.[0-9]+\.[0-9]+$')


def canonical(values):
    # The bytes of a settings file that the game wrote from nothing, holding
    # `values` (twelve integers in the order of KEYS).
    out = ''
    for key, value in zip(KEYS, values):
        sec, name = key.split('/')
        out += '[%s]\n' % sec * ('[%s]' % sec not in out) + '%s=%d\n' % (name, value)
    return out.encode()


def read_values(data):
    # The twelve values of a settings file, for the plain files these tests
    # make (one of each section and key, read without regard to the case of
    # the key's name); None for a missing key.
    ini = configparser.ConfigParser(interpolation=None)
    ini.read_string(data.decode('latin-1'))
    return [int(ini[s][k], 0) if ini.has_option(s, k) else None for s, k in (key.split('/') for key in KEYS)]


def play_script(seed, length):
    # Commands for holdem-sim that save often: deals, card backs, targets and
    # starting cash, and a new game now and then so that play never stops.
    rng = random.Random(seed)
    lines = []
    while len(lines) < length:
        lines += ['deal'] + [rng.choice(['call', 'call', 'raise']) for _ in range(rng.randrange(4))] + ['fold']
        roll = rng.randrange(100)
        if roll < 15:
            lines.append('back %d' % rng.randrange(4))
        elif roll < 27:
            lines += ['%s %d' % (['until', 'money'][roll >= 20], rng.randrange(100, 3000)),
                      'enter-until' if roll < 20 else 'enter-money' if roll < 24 else 'newgame yes']
        elif roll < 31:
            lines.append('level %d' % rng.randrange(4) if roll < 29 else 'limit ' + rng.choice(['up', 'down']))
    return '\n'.join(lines) + '\n'


def require(ok, message):
    if not ok:
        raise SystemExit(message)


def mode_of(path):
    return os.lstat(path).st_mode & 0o777 if os.path.lexists(path) else None


class Sim:
    # holdem-sim in the folder `work`, on its settings file there, which each
    # start clears first when `fresh`.
    def __init__(self, sim, work, fresh, *extra):
        self.work, self.fresh, self.mid_run = work, fresh, 0
        # Kills aim within the run's measured length, shortened each time a
        # run ended before its kill: a machine busier while a run was timed
        # than later would otherwise send most kills after the end.
        self.reach = 1.1
        self.args = [sim, '--settings', work / 'tavlor.ini', '--clock', CLOCK, *extra]
        self.rng = random.Random(int(os.environ.get('HOLDEM_CRASH_SEED', '1')))

    def start(self, script):
        if self.fresh:
            (self.work / 'tavlor.ini').unlink(missing_ok=True)
        with open(self.work / script, 'rb') as i, open(self.work / 'out', 'wb') as o:
            return subprocess.Popen(self.args, stdin=i, stdout=o, stderr=subprocess.DEVNULL)

    def whole(self, script, where):
        # Runs `script` to the end; returns how long that took.
        began = time.monotonic()
        require(self.start(script).wait() == 0, '%s: holdem-sim failed' % where)
        return time.monotonic() - began

    def killed(self, script, duration):
        p = self.start(script)
        time.sleep(self.rng.uniform(0, duration * self.reach))
        p.kill()
        if p.wait() == -signal.SIGKILL:  # killed, not ended by itself
            self.mid_run += 1
        else:
            self.reach *= 0.8

    def printed(self):  # the settings of each line; the part after the last LF is incomplete
        lines = (self.work / 'out').read_bytes().split(b'\n')[:-1]
        return [[json.loads(l)['settings'][k] for k in KEYS] for l in lines]


def settings_mode(sim, work, kills):
    os.umask(0o022)  # a file the game makes gets mode 0644
    (work / 'script').write_text(play_script(7, 900))
    (work / 'restart').write_text('deal\n')
    ini = work / 'tavlor.ini'
    # Each start, with the mode the settings file has: the one the umask
    # gives a new file, or the private mode of the files the runs start from.
    starts = {'none': (None, 0o644), 'own': (canonical([0] + [1200] * 8 + [600, 1200, 52]), 0o600),
              'hand-edited': (HAND_EDITED, 0o600)}

    def lay(data):
        ini.unlink(missing_ok=True)
        if data is not None:
            ini.write_bytes(data)
            os.chmod(ini, 0o600)

    def temporaries(where, mode):
        # The temporary files in the folder, each with the settings file's
        # mode or, before it was given, the owner's alone; anything else than
        # those, the settings file and the test's own files fails the test.
        found = set(os.listdir(work)) - {'script', 'out', 'restart', 'tavlor.ini'}
        for name in found:
            require(TEMPORARY.match(name) and mode_of(work / name) in (0o600, mode),
                    '%s: a file the game does not make, or not of mode %o: %s' % (where, mode, name))
        return found

    s = Sim(sim, work, False)
    expected, duration = {}, {}  # each start played to the end once: the values after every step
    for name, (data, mode) in starts.items():
        lay(data)
        duration[name] = s.whole('script', 'a whole run on the %s file' % name)
        expected[name] = s.printed()
        require(len(expected[name]) >= 800 and not temporaries(name, mode) and mode_of(ini) == mode,
                'a whole run on the %s file ran short, left temporary files or mode %s' % (name, mode_of(ini)))

    left = 0
    for i in range(kills):
        name, (data, mode) = list(starts.items())[i % len(starts)]
        lay(data)
        s.killed('script', duration[name])
        lines = s.printed()
        # What the file may hold: the state before the run (while the
        # start-up has not written yet) or that of any step from the last
        # one printed on.
        allowed = expected[name][max(len(lines) - 1, 0):]
        where = 'kill %d (%s file, %d lines printed)' % (i, name, len(lines))
        left += len(temporaries(where, mode))
        require(mode_of(ini) in (None, mode), '%s: the settings file has mode %s' % (where, mode_of(ini)))
        if mode_of(ini) is None:
            require(data is None and not lines, '%s: the settings file is gone' % where)
            continue
        now = ini.read_bytes()
        values = read_values(now)
        if now != data and name == 'hand-edited':
            require(values in allowed, '%s: values %s were never written' % (where, values))
            # Every line the game does not own is still there, in order.
            mine = iter(now.split(b'\r\n'))
            require(all(line in mine for line in HAND_EDITED.split(b'\r\n') if b'=' not in line or b'thing' in line),
                    '%s: a line of the hand-edited file was lost:\n%r' % (where, now))
        else:
            require(now in [data] + [canonical(v) for v in allowed], '%s: the file is not one the game wrote:\n%r' %
                    (where, now))

        # A fresh start on what is left reads it as it stands.
        s.whole('restart', where + ', the restart')
        first = s.printed()[0]
        require(all(v in (None, f) for v, f in zip(values, first)),
                '%s: the restart read %s, the file holds %s' % (where, first, values))
        require(not temporaries(where + ', after the restart', mode) and mode_of(ini) == mode,
                '%s: the restart left temporary files, or the settings file with mode %s' % (where, mode_of(ini)))
    return s.mid_run, '%d temporary files left, each of the settings file\'s mode, removed by the next start' % left


def whole_hands(data):
    # The hands a reader gets from the file, one by one, and whether a
    # cut-off hand follows them; a hand that cannot be read before the last
    # one raises.
    pieces = data.split(b'\n\n') if data else []
    try:
        return [json.loads(p) for p in pieces], False
    except ValueError:
        return [json.loads(p) for p in pieces[:-1]], True


def hands_mode(sim, work, kills):
    (work / 'script').write_text(play_script(3, 1500))
    (work / 'more').write_text('call\ncall\ncall\ncall\nfold\ndeal\nfold\n')
    hands = work / 'day.ohh'
    s = Sim(sim, work, True, '--hands', hands)
    duration = s.whole('script', 'a whole run')
    full = hands.read_bytes()
    reference, cut = whole_hands(full)
    require(not cut and len(reference) >= 100, 'a whole run wrote %d hands, cut: %s' % (len(reference), cut))

    cut_off = 0
    for i in range(kills):
        where = 'kill %d' % i
        hands.unlink()
        s.killed('script', duration)
        data = hands.read_bytes() if hands.exists() else b''
        found, cut = whole_hands(data)
        cut_off += cut
        require(full.startswith(data) and found == reference[:len(found)],
                '%s: the file is not the start of a whole run\'s' % where)

        # The next run drops the cut-off bytes and nothing before them.
        s.whole('more', where + ', the next run')
        after = hands.read_bytes()
        later, cut = whole_hands(after)
        require(not cut and later[:len(found)] == found and len(later) > len(found),
                '%s: the next run left %d hands (cut: %s) where %d were whole' % (where, len(later), cut, len(found)))
        require(after.endswith(b'}\n') and b'\n\n\n' not in after, '%s: hands not one blank line apart' % where)
    return s.mid_run, '%d of them cutting a hand off; every whole hand kept' % cut_off


def main(mode, sim, kills):
    with tempfile.TemporaryDirectory(dir='/dev/shm' if os.access('/dev/shm', os.W_OK) else None) as work:
        run = settings_mode if mode == 'settings' else hands_mode
        mid_run, report = run(os.path.abspath(sim), pathlib.Path(work), kills)
    print('%d kills, %d in the middle of the run; %s' % (kills, mid_run, report))
    require(mid_run >= kills // 2, 'too few kills landed in the middle of the run')


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2], int(sys.argv[3]))
