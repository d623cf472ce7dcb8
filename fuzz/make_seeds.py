#!/usr/bin/env python3
"""Writes the hand-made seeds of the receiver fuzz target into
fuzz/corpus/receiver: whole games, every message kind, messages cut in two
and merged. Each step is a control byte and its operands (see
receiver_fuzz.cpp). The files named by a hash beside them are what fuzzing
found worth keeping (libFuzzer's -merge=1 of its own corpus)."""
import os

HOST, JOINER = 0, 1
out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "receiver")
os.makedirs(out, exist_ok=True)


def arrive(side, data, late=False):
    """Bytes for one side, in chunks of at most 32."""
    steps = b""
    for i in range(0, len(data), 32):
        chunk = data[i:i + 32]
        c = side | ((len(chunk) - 1) << 2) | (0x80 if late and i == 0 else 0)
        steps += bytes([c]) + chunk
    return steps


def click(side, row, col):
    return bytes([2 + side, row * 20 + col])


def move(row, col):
    return b"~-~%02d%02d" % (row, col)


seeds = {
    # The host opens and wins on row 5; the joiner plays row 9.
    "host_wins": b"".join(click(HOST, 5, 5 + i) + (click(JOINER, 9, 5 + i) if i < 4 else b"")
                          for i in range(5)),
    "chat_and_move": arrive(JOINER, move(3, 3) + b"Good luck!"),
    "split_move": arrive(JOINER, b"~-~03") + arrive(JOINER, b"07"),
    "late_half": arrive(JOINER, b"~-~03") + arrive(JOINER, b"07", late=True),
    "leave": arrive(HOST, b"~-~Your opponent has left the board.") + click(HOST, 1, 1),
    "time_winner": arrive(JOINER, b"~-~TimeWinnerR~-~TimeWinnerB"),
    "new_game": click(HOST, 0, 0) + arrive(JOINER, b"~-~0030NEWGAMEOZo\xeb") + click(JOINER, 4, 4),
    "probe": arrive(HOST, b"~-~Check if connected  Bob  "),
    "out_of_turn": arrive(JOINER, move(1, 1) + move(1, 2) + move(20, 1) + b"~-~ab12"),
    "merged_host_game": click(HOST, 2, 2) + arrive(HOST, move(3, 3)) + click(HOST, 2, 3) +
                        arrive(HOST, move(3, 4) + move(3, 5)),
}
for name, data in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
print(f"{len(seeds)} seeds in {out}")
