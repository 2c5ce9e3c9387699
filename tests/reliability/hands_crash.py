#!/usr/bin/env python3
# Kills holdem-sim --hands with SIGKILL at random moments of a long run and
# reads the hand history after every kill; crash_safety.py says what must
# hold (its `hands` mode).
#
#     hands_crash.py PATH/TO/holdem-sim KILLS
import sys

from crash_safety import main

main('hands', sys.argv[1], int(sys.argv[2]))
