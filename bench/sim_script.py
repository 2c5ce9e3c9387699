#!/usr/bin/env python3
"""Writes a random holdem-sim script to standard output.

Every command kind appears: the four buttons most often, as a player
presses them, then the options panel, the menu and the evaluator. The
generator is seeded, so one seed always gives the same script.

usage: sim_script.py [LINES] [SEED]
"""
import random
import sys


def card(rng):
    return f"{rng.randrange(4)}.{rng.randrange(13)}"


def eval_line(rng):
    if rng.random() < 0.5:
        # Seven different real cards.
        picks = rng.sample(range(52), 7)
        cards = [f"{c // 13}.{c % 13}" for c in picks]
    else:
        # Anything: repeated cards and placeholders too.
        cards = [card(rng) if rng.random() < 0.7 else f"-{rng.randrange(1, 60)}" for _ in range(7)]
    return f"eval {rng.randrange(1, 6)} " + " ".join(cards)


def amount(rng):
    r = rng.random()
    if r < 0.7:
        return str(rng.randrange(100, 5001))
    if r < 0.8:
        return str(rng.randrange(0, 100))
    if r < 0.9:
        return str(rng.randrange(1000001, 3000000))
    return rng.choice(["", "abc", "+500", "-200", "12x", " 300", "99999999999"])


# (weight, maker) per command kind.
KINDS = [
    (30, lambda rng: "call"),
    (18, lambda rng: "raise"),
    (10, lambda rng: "fold"),
    (16, lambda rng: "deal"),
    (2, lambda rng: "newgame " + rng.choice(["yes", "no"])),
    (2, lambda rng: f"level {rng.randrange(4)}"),
    (2, lambda rng: "limit " + rng.choice(["up", "down"])),
    (2, lambda rng: "money " + amount(rng)),
    (2, lambda rng: "until " + amount(rng)),
    (2, lambda rng: "enter-money"),
    (2, lambda rng: "enter-until"),
    (2, lambda rng: f"back {rng.randrange(4)}"),
    (10, eval_line),
]


def generate(lines, seed=1):
    """The script: `lines` commands, one a line."""
    rng = random.Random(seed)
    weights = [w for w, _ in KINDS]
    makers = [m for _, m in KINDS]
    return "".join(rng.choices(makers, weights)[0](rng) + "\n" for _ in range(lines))


def main():
    lines = int(sys.argv[1]) if len(sys.argv) > 1 else 100000
    seed = int(sys.argv[2]) if len(sys.argv) > 2 else 1
    sys.stdout.write(generate(lines, seed))


if __name__ == "__main__":
    main()
