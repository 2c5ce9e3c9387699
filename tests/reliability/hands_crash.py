#!/usr/bin/env python3
"""Kills holdem-sim --hands with SIGKILL at random moments of a long run and
reads the hand history after every kill: its bytes must be the start of
what a whole run writes, every whole hand in it must read as JSON, one by
one, and the only thing a kill may leave beyond them is the hand it cut
off in the middle of its append. The next run on the same file must drop
just those bytes, keep every hand before them, and leave a file that reads
hand by hand to the end.

    hands_crash.py PATH/TO/holdem-sim [KILLS]
"""
import json
import os
import random
import signal
import subprocess
import sys
import time

from crash_safety import play_script, remove, scratch_folder

CLOCK = '1700000000'


def run(sim, work, script, hands):
    settings = os.path.join(work, 'tavlor.ini')
    if os.path.exists(settings):
        os.remove(settings)
    with open(script, 'rb') as stdin:
        return subprocess.Popen([sim, '--settings', settings, '--clock', CLOCK, '--hands', hands], stdin=stdin,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def whole_hands(data, where):
    """The hands a reader gets from the file, one by one, and whether a
    cut-off hand follows them."""
    pieces = data.split(b'\n\n') if data else []
    hands = []
    for n, piece in enumerate(pieces):
        try:
            hands.append(json.loads(piece))
        except ValueError:
            if n != len(pieces) - 1:
                raise SystemExit('%s: hand %d of %d cannot be read' % (where, n + 1, len(pieces)))
            return hands, True
    return hands, False


def main():
    sim = os.path.abspath(sys.argv[1])
    kills = int(sys.argv[2]) if len(sys.argv) > 2 else 100
    work = scratch_folder('hands')
    try:
        script = os.path.join(work, 'script')
        with open(script, 'w') as f:
            f.write(play_script(3, 1500))
        more = os.path.join(work, 'more')
        with open(more, 'w') as f:
            f.write('call\ncall\ncall\ncall\nfold\ndeal\nfold\n')
        hands = os.path.join(work, 'day.ohh')

        began = time.monotonic()
        if run(sim, work, script, hands).wait() != 0:
            raise SystemExit('holdem-sim failed on a whole run')
        duration = time.monotonic() - began
        with open(hands, 'rb') as f:
            full = f.read()
        reference, cut = whole_hands(full, 'a whole run')
        if cut or len(reference) < 100:
            raise SystemExit('a whole run wrote %d hands%s' % (len(reference), ', one cut off' if cut else ''))

        rng = random.Random(int(os.environ.get('HOLDEM_CRASH_SEED', '1')))
        cut_off = mid_run = 0
        for i in range(kills):
            os.remove(hands)
            p = run(sim, work, script, hands)
            time.sleep(rng.uniform(0, duration * 1.1))
            p.send_signal(signal.SIGKILL)
            mid_run += p.wait() == -signal.SIGKILL
            where = 'kill %d' % i
            with open(hands, 'rb') if os.path.exists(hands) else open(os.devnull, 'rb') as f:
                data = f.read()
            if not full.startswith(data):
                raise SystemExit('%s: the file is not the start of a whole run\'s' % where)
            found, cut = whole_hands(data, where)
            cut_off += cut
            if found != reference[:len(found)]:
                raise SystemExit('%s: a hand differs from the whole run\'s' % where)

            # The next run drops the cut-off bytes and nothing before them.
            if run(sim, work, more, hands).wait() != 0:
                raise SystemExit('%s: holdem-sim did not run again' % where)
            with open(hands, 'rb') as f:
                after = f.read()
            later, cut = whole_hands(after, where + ', after the next run')
            if cut or later[:len(found)] != found or len(later) <= len(found):
                raise SystemExit('%s: the next run left %d hands%s where %d were whole' %
                                 (where, len(later), ' and a cut-off one' if cut else '', len(found)))
            if not after.endswith(b'}\n') or b'\n\n\n' in after:
                raise SystemExit('%s: the hands are not one blank line apart' % where)
        print('%d kills, %d in the middle of the run, %d of them cutting a hand off; every whole hand kept' %
              (kills, mid_run, cut_off))
        if mid_run < kills // 2:
            raise SystemExit('too few kills landed in the middle of the run')
    finally:
        remove(work)


if __name__ == '__main__':
    main()
