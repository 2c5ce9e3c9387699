#!/usr/bin/env python3
"""Runs holdem-sim under valgrind's memcheck over a long script with every
kind of command, odd edit texts and evaluator lines among them: no invalid
read or write, no use of undefined memory, no leak.

    memcheck.py VALGRIND PATH/TO/holdem-sim [COMMANDS]"""
import os
import random
import subprocess
import sys

from simlib import play_script, remove, scratch_folder


def script(length):
    rng = random.Random(11)
    lines = play_script(5, length).split('\n')
    odd = ['money', 'money  12', 'money \x01\x7f\xff', 'money 99999999999', 'until -0', 'until 0x10',
           'money 1.5', 'until 2147483647', 'money -2147483648', '# a note', '', '   call  ']
    for at in range(0, len(lines), 25):
        lines.insert(at, rng.choice(odd))
        lines.insert(at, rng.choice(['enter-money', 'enter-until', 'newgame no', 'back 3', 'level 3']))
    for _ in range(length // 40):
        cards = ['%d.%d' % (rng.randrange(4), rng.randrange(13)) for _ in range(7)]
        lines.insert(rng.randrange(len(lines)), 'eval %d %s' % (rng.randrange(1, 6), ' '.join(cards)))
    return '\n'.join(lines) + '\n'


def main():
    valgrind, sim = sys.argv[1], os.path.abspath(sys.argv[2])
    length = int(sys.argv[3]) if len(sys.argv) > 3 else 5000
    work = scratch_folder('memcheck')
    try:
        path = os.path.join(work, 'script')
        with open(path, 'w', encoding='latin-1') as f:
            f.write(script(length))
        with open(os.path.join(work, 'tavlor.ini'), 'wb') as f:
            f.write(b'; notes\n[Cash]\nplayer=0x7FFFFFFF\nrobot=-5\n[Card]\nback=99\n')
        with open(path, 'rb') as stdin:
            p = subprocess.run([valgrind, '--tool=memcheck', '--error-exitcode=1', '--leak-check=full',
                                '--errors-for-leak-kinds=definite,indirect,possible', '--track-origins=yes',
                                '--quiet', sim, '--settings', os.path.join(work, 'tavlor.ini'), '--clock', '77'],
                               stdin=stdin, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        lines = p.stdout.count(b'\n')
        sys.stderr.write(p.stderr.decode(errors='replace'))
        if p.returncode != 0:
            raise SystemExit('valgrind or holdem-sim failed: status %d' % p.returncode)
        print('%d lines of play under memcheck, clean' % lines)
        if lines < length:
            raise SystemExit('holdem-sim stopped early: %d lines' % lines)
    finally:
        remove(work)


if __name__ == '__main__':
    main()
