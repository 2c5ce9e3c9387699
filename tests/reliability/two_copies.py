#!/usr/bin/env python3
"""Two copies of holdem-sim play on the same settings file at once, each
restarted as soon as its script ends, while a reader reads the file over and
over: every read must find a whole file of the game's own, with the twelve
keys, and no copy may fail to save.

    two_copies.py PATH/TO/holdem-sim [SECONDS]"""
import os
import subprocess
import sys
import threading
import time

from simlib import canonical, play_script, read_values, remove, scratch_folder


def main():
    sim = os.path.abspath(sys.argv[1])
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 5
    work = scratch_folder('two')
    try:
        ini = os.path.join(work, 'tavlor.ini')
        scripts = []
        for n in range(2):
            scripts.append(os.path.join(work, 'script%d' % n))
            with open(scripts[-1], 'w') as f:
                f.write(play_script(100 + n, 600))

        stop = threading.Event()
        problems = []
        runs = [0, 0]

        def player(n):
            clock = 1000 + n
            while not stop.is_set():
                with open(scripts[n], 'rb') as stdin:
                    p = subprocess.run([sim, '--settings', ini, '--clock', str(clock)], stdin=stdin,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
                if p.returncode != 0:
                    problems.append('copy %d ended with status %d: %s' % (n, p.returncode, p.stderr[:200]))
                    return
                runs[n] += 1
                clock += 2

        copies = [threading.Thread(target=player, args=(n,)) for n in range(2)]
        for c in copies:
            c.start()

        reads = 0
        distinct = set()
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline and not problems:
            try:
                with open(ini, 'rb') as f:
                    data = f.read()
            except FileNotFoundError:
                continue  # not written yet
            values = read_values(data)
            if None in values or data != canonical(values):
                problems.append('a read found a file that is not whole:\n%r' % data)
                break
            reads += 1
            distinct.add(data)
        stop.set()
        for c in copies:
            c.join()

        leftovers = sorted(set(os.listdir(work)) - {'tavlor.ini', 'script0', 'script1'})
        if leftovers:
            problems.append('files left behind: %s' % leftovers)
        if problems:
            raise SystemExit('\n'.join(problems))
        print('%d and %d runs of the two copies, %d reads, %d different files seen'
              % (runs[0], runs[1], reads, len(distinct)))
        if min(runs) < 2 or len(distinct) < 100:
            raise SystemExit('the copies did not get to play enough')
    finally:
        remove(work)


if __name__ == '__main__':
    main()
