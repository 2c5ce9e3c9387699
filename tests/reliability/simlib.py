"""What the reliability tests share: the settings file's twelve keys, how the
game lays them out in a file of its own, a plain reading of them, scripts of
play for holdem-sim, and a scratch folder in memory where there is one."""
import os
import random
import re
import shutil
import tempfile

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
