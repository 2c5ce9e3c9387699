#!/usr/bin/env python3
# holdem-sim --hands against its own answers: random scripts of every
# command, and for each hand in the file, found by its deal's start line L
# and the line M on which it was over, the rules the protocol gives:
#
# - each player's starting stack, less what it paid on line L, is its cash
#   on line L; the hole cards are `hole` of line L; the board cards are the
#   first cards of `board` as far as they came into view;
# - each seat's starting stack, less what it paid, plus its adjustments and
#   what it won, is its cash on line M;
# - every deal that was over is in the file once, in order.
#
#     sim_hands_check.py PATH/TO/holdem-sim [SCRIPTS] [LINES]
import json
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), 'bench'))
import sim_script  # noqa: E402

PAYS = {'Post SB', 'Post BB', 'Call', 'Bet', 'Raise'}


def require(ok, message):
    if not ok:
        raise SystemExit(message)


def cards(images):
    return ['23456789TJQKA'[c % 13] + 'cdhs'[c // 13] for c in images]


def run(sim, seed, length):
    # The answers that show the table, and the hands of the file.
    with tempfile.TemporaryDirectory(dir='/dev/shm' if os.access('/dev/shm', os.W_OK) else None) as d:
        p = subprocess.run([sim, '--settings', d + '/t.ini', '--clock', str(1700000000 + seed * 7919),
                            '--hands', d + '/hands.ohh'], input=sim_script.generate(length, seed).encode(),
                           capture_output=True)
        require(p.returncode == 0, 'holdem-sim failed: %d %s' % (p.returncode, p.stderr))
        text = open(d + '/hands.ohh', encoding='utf-8').read()
    require(not text or (text.endswith('\n') and not text.endswith('\n\n')), 'the file does not end with one LF')
    lines = [json.loads(l) for l in p.stdout.decode().splitlines()]
    return [l for l in lines if 'boxes' in l], [json.loads(h)['ohh'] for h in text[:-1].split('\n\n') if text]


def deals_over(lines):
    # (deal number, L, M) for each deal that was over. A deal starts at the
    # start-up, a Deal that dealt and a New game answered Yes that took its
    # cash; it is over on its first line without a betting button.
    starts = [0]
    for i in range(1, len(lines)):
        line, texts = lines[i], [b['text'] for b in lines[i]['boxes']]
        if (line['cmd'] == 'deal' and lines[i - 1]['btnnew'] and not texts) or \
                (line['cmd'] == 'newgame yes' and 'Are you sure?' in texts and 'Invalid value' not in texts):
            starts.append(i)
    ends = [next((i for i in range(l, end) if not (lines[i]['btnstay'] or lines[i]['btnbet'] or lines[i]['btnpass'])),
                 None) for l, end in zip(starts, starts[1:] + [len(lines)])]
    return [(n + 1, l, m) for n, (l, m) in enumerate(zip(starts, ends)) if m is not None]


def check(sim, seed, length):
    lines, hands = run(sim, seed, length)
    over = deals_over(lines)
    serials = [int(h['game_number'].split('-')[1]) for h in hands]
    require(serials == [n for n, _, _ in over], 'seed %d: the file holds deals %s, the answers end deals %s' %
            (seed, serials[:20], [n for n, _, _ in over][:20]))
    for h, (serial, l, m) in zip(hands, over):
        where = 'seed %d, deal %d (lines %d to %d)' % (seed, serial, l, m)
        start = {p['id']: p['starting_stack'] for p in h['players']}
        paid_at_l, paid, won = (dict.fromkeys(start, 0) for _ in range(3))
        board, on_line_l = [], True
        for r in h['rounds']:
            board += r.get('cards', [])
            for a in r['actions']:
                who, what = a.get('player_id'), a['action']
                if (who == 0 and what not in ('Dealt Cards', 'Post SB', 'Post BB', 'Shows Cards')) or \
                        what == 'Player Adjustment':
                    on_line_l = False
                require(what != 'Dealt Cards' or a['cards'] == cards(lines[l]['hole'][who]),
                        '%s: the cards of player %s differ from hole' % (where, who))
                if what in PAYS or what == 'Player Adjustment':
                    change = a['amount'] if what in PAYS else -a['amount']
                    paid[who] += change
                    paid_at_l[who] += change * on_line_l
        for w in h['pots'][0]['player_wins']:
            won[w['player_id']] += w['win_amount']
        require(board == cards(lines[l]['board'][:len(board)]), '%s: the board %s is not line L\'s' % (where, board))
        for s in start:
            require(m == l or start[s] - paid_at_l[s] == lines[l]['cash'][s], '%s: seat %d starts with %d, '
                    'paid %d on line L, holds %d there' % (where, s, start[s], paid_at_l[s], lines[l]['cash'][s]))
            require(start[s] - paid[s] + won[s] == lines[m]['cash'][s], '%s: seat %d starts with %d, paid %d, '
                    'won %d, holds %d on line M' % (where, s, start[s], paid[s], won[s], lines[m]['cash'][s]))
    return len(hands)


if __name__ == '__main__':
    sim, scripts = os.path.abspath(sys.argv[1]), int(sys.argv[2]) if len(sys.argv) > 2 else 4
    length = int(sys.argv[3]) if len(sys.argv) > 3 else 4000
    total = sum(check(sim, seed, length) for seed in range(scripts))
    print('%d hands of %d scripts checked against the answers' % (total, scripts))
