#!/usr/bin/env python3
"""holdem-sim --hands against its own answers: random scripts of every
command, and for each hand in the file, found by its deal's start line L
and the line M on which it was over, the rules the protocol gives:

- each player's starting stack, less what it paid on line L, is its cash
  on line L; the hole cards are `hole` of line L; the board cards are the
  first cards of `board` as far as they came into view;
- each seat's starting stack, less what it paid, plus its adjustments and
  what it won, is its cash on line M;
- every deal that was over is in the file once, in order.

    sim_hands_check.py PATH/TO/holdem-sim [SCRIPTS] [LINES]
"""
import json
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), 'bench'))
import sim_script  # noqa: E402

RANKS = '23456789TJQKA'
SUITS = 'cdhs'
PAYS = {'Post SB', 'Post BB', 'Call', 'Bet', 'Raise'}


def card(image):
    return RANKS[image % 13] + SUITS[image // 13]


def read_hands(data):
    text = data.decode('utf-8')
    if not text:
        return []
    if not text.endswith('\n') or text.endswith('\n\n'):
        raise SystemExit('the file does not end with one line end')
    return [json.loads(piece) for piece in text[:-1].split('\n\n')]


def betting_over(line):
    return not (line['btnstay'] or line['btnbet'] or line['btnpass'])


def deal_starts(lines):
    """The lines on which a deal began: the start-up, a Deal that dealt and a
    New game answered Yes that took its cash."""
    starts = [0]
    for i in range(1, len(lines)):
        line, texts = lines[i], [b['text'] for b in lines[i]['boxes']]
        if line['cmd'] == 'deal' and lines[i - 1]['btnnew'] and not texts:
            starts.append(i)
        elif line['cmd'] == 'newgame yes' and 'Are you sure?' in texts and 'Invalid value' not in texts:
            starts.append(i)
    return starts


def check(sim, seed, length):
    clock = 1700000000 + seed * 7919
    memory = '/dev/shm' if os.access('/dev/shm', os.W_OK) else None  # each hand is synced
    with tempfile.TemporaryDirectory(dir=memory) as d:
        script = sim_script.generate(length, seed)
        hands_path = os.path.join(d, 'hands.ohh')
        p = subprocess.run([sim, '--settings', os.path.join(d, 't.ini'), '--clock', str(clock), '--hands', hands_path],
                           input=script.encode(), capture_output=True)
        if p.returncode != 0:
            raise SystemExit('holdem-sim failed: %d %s' % (p.returncode, p.stderr))
        lines = [json.loads(l) for l in p.stdout.decode().splitlines()]
        lines = [l for l in lines if 'boxes' in l]  # eval lines show no table
        with open(hands_path, 'rb') as f:
            hands = read_hands(f.read())
    starts = deal_starts(lines)
    over = []
    for n, start in enumerate(starts):
        end = starts[n + 1] if n + 1 < len(starts) else len(lines)
        m = next((i for i in range(start, end) if betting_over(lines[i])), None)
        if m is not None:
            over.append((n + 1, start, m))
    serials = [int(h['ohh']['game_number'].split('-')[1]) for h in hands]
    if serials != [n for n, _, _ in over]:
        raise SystemExit('seed %d: the file holds deals %s, the answers end deals %s' %
                         (seed, serials[:20], [n for n, _, _ in over][:20]))
    for hand, (serial, l, m) in zip(hands, over):
        h = hand['ohh']
        where = 'seed %d, deal %d (lines %d to %d)' % (seed, serial, l, m)
        start = {p['id']: p['starting_stack'] for p in h['players']}
        paid_at_l = dict.fromkeys(start, 0)
        paid = dict.fromkeys(start, 0)
        won = dict.fromkeys(start, 0)
        board = []
        on_line_l = True
        for r in h['rounds']:
            board += r.get('cards', [])
            for a in r['actions']:
                who, what, amount = a.get('player_id'), a['action'], a.get('amount', 0)
                if (who == 0 and what not in ('Dealt Cards', 'Post SB', 'Post BB', 'Shows Cards')) or \
                        what == 'Player Adjustment':
                    on_line_l = False
                if what == 'Dealt Cards':
                    if a['cards'] != [card(c) for c in lines[l]['hole'][who]]:
                        raise SystemExit('%s: the cards of player %d differ from hole' % (where, who))
                elif what in PAYS or what == 'Player Adjustment':
                    change = amount if what in PAYS else -amount
                    paid[who] += change
                    if on_line_l:
                        paid_at_l[who] += change
        for w in h['pots'][0]['player_wins']:
            won[w['player_id']] += w['win_amount']
        if board != [card(c) for c in lines[l]['board'][:len(board)]]:
            raise SystemExit('%s: the board %s is not that of line L' % (where, board))
        for s in start:
            if m != l and start[s] - paid_at_l[s] != lines[l]['cash'][s]:
                raise SystemExit('%s: seat %d starts with %d, paid %d on line L, holds %d there' %
                                 (where, s, start[s], paid_at_l[s], lines[l]['cash'][s]))
            if start[s] - paid[s] + won[s] != lines[m]['cash'][s]:
                raise SystemExit('%s: seat %d starts with %d, paid %d, won %d, holds %d on line M' %
                                 (where, s, start[s], paid[s], won[s], lines[m]['cash'][s]))
    return len(hands)


def main():
    sim = os.path.abspath(sys.argv[1])
    scripts = int(sys.argv[2]) if len(sys.argv) > 2 else 4
    length = int(sys.argv[3]) if len(sys.argv) > 3 else 4000
    total = sum(check(sim, seed, length) for seed in range(scripts))
    print('%d hands of %d scripts checked against the answers' % (total, scripts))


if __name__ == '__main__':
    main()
