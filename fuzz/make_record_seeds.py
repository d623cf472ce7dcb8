#!/usr/bin/env python3
"""Writes the hand-made seeds of the record fuzz target into
fuzz/corpus/record: .psq records as Piskvork writes them and as Brindle
does, SGF with everything the reader takes (variations, escapes, comments,
set-up stones, white opening, scores and move times, a review's notes), and records it turns
down (other board sizes, a pass, moves off the board)."""
import os

out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "record")
os.makedirs(out, exist_ok=True)


def sgf_point(row, col):
    return chr(ord("a") + col) + chr(ord("a") + row)


def psq_moves(cells, times=True, eol="\n"):
    """x,y[,time] lines, 1-based x the column, for (row, col) cells."""
    return "".join(f"{c + 1},{r + 1}" + (f",{100 * (i + 1)}" if times else "") + eol
                   for i, (r, c) in enumerate(cells))


# Red makes five along row 9; blue answers on row 10.
red_wins = [cell for i in range(5) for cell in ([(9, 7 + i)] + ([(10, 7 + i)] if i < 4 else []))]
# Neither side makes five: red on the diagonal, blue beside it.
unfinished = [(3, 3), (3, 4), (4, 4), (4, 5), (5, 5), (5, 6)]

seeds = {
    "piskvork.psq": "Piskvorky 20x20, 11:11, 0\r\n" + psq_moves(red_wins, eol="\r\n") +
                    "pbrain-first.zip\r\npbrain-second.zip\r\n-1\r\n",
    "red_wins.psq": "Piskvorky 20x20, 11:11, 0\n" + psq_moves(red_wins) +
                    "Alice\nComputer (Hard)\nRed wins\n2026-12-08\n",
    "blue_on_time.psq": "Piskvorky 20x20, 11:11, 0\n" + psq_moves(unfinished) +
                        "Alice\nBob\nBlue wins on time\n2026-12-08\n",
    "draw.psq": "\xef\xbb\xbfPiskvorky 20x20, 11:11, 0\n" + psq_moves(unfinished[:2]) + "Red\nBlue\nDraw\n2026-01-31\n",
    "unfinished.psq": "Piskvorky 20x20, 11:11, 0\r" + psq_moves(unfinished, times=False, eol="\r") +
                      " Ann \r\t Bo\r\rUnfinished\r",
    "bad_move.psq": "Piskvorky 20x20, 11:11, 0\n10,10,0\n11,x,5\nA\nB\n",
    "off_board.psq": "Piskvorky 20x20, 11:11, 0\n10,10,0\n21,1,0\nA\nB\n",
    "bad_size.psq": "Piskvorky 15x15, 8:8, 0\n8,8,0\nA\nB\n-1\n",
    "game.sgf": "(;FF[4]GM[4]SZ[20]CA[UTF-8]AP[Brindle:1.4.0]\nPB[Ann \\] B.]PW[C:\\\\bots\\\\two]"
                "DT[2026-12-08]RE[B+]TM[300]BRMODE[HumanComputer]C[a comment (with ;B[aa\\])]" +
                "".join((";B" if i % 2 == 0 else ";W") + "[" + sgf_point(r, c) + "]" +
                        (f"V[{(-1) ** i * 3 * i}]" if i % 3 == 0 else "") + f"BRMS[{50 * i}]"
                        for i, (r, c) in enumerate(red_wins)) + ")\n",
    "variations.sgf": "(;GM[4]SZ[20]PB[Red]PW[Blue]RE[W+T]\n;B[jj]C[first]\n;W[kj]\n"
                      "(;B[jk]V[12.5];W[ak](;B[ss])(;B[tt]))\n(;B[aa]C[not \\) this])\n)(;B[bb])",
    "setup.sgf": "(;GM[4]SZ[20:20]PB[Set]PW[Up]AB[jj][ab:ac]AW[kk][ll];W[mm]V[-7];B[nn])",
    "white_first.sgf": "(;FF[4]GM[4]SZ[20]PB[Bl]PW[Wh]PL[W]RE[0]\n;W[jj]V[4];B[kk]V[-2.9];W[jk])",
    "white_setup.sgf": "(;GM[4]SZ[20]PB[x]PW[y]AW[jj];B[kk])",
    "review.sgf": "(;FF[4]GM[4]SZ[20]PB[R]PW[B]BRREVIEW[1]\n;B[jj]V[0.1]BRMS[9];W[kk]V[0.55]BM[1]C[k10 [was\\] \\\\ better]"
                  ";B[jk]V[+0.4]DO[]C[two\r\nlines];W[ll]V[nan]TE[1];B[jl]V[-7]C[" + "\xc3\xa9" * 600 + "])",
    "notes.sgf": "(;GM[4]SZ[20]C[game];B[jj]V[12]C[];W[kk]BM[2]DO[];B[jk]C[a\\\nb])",
    "lower_case.sgf": "\xef\xbb\xbf (;GaMe[4]SiZe[20]PlayerBlack[ann]PlayerWhite[bo]REsult[Draw];B[cc];W[dd])",
    "bad_size.sgf": "(;GM[4]SZ[19];B[aa])",
    "bad_rect.sgf": "(;GM[4]SZ[15:20];B[aa])",
    "other_game.sgf": "(;GM[1]SZ[20];B[aa])",
    "pass.sgf": "(;GM[4]SZ[20]PB[a]PW[b];B[jj];W[])",
    "off_board.sgf": "(;GM[4]SZ[20]PB[a]PW[b];B[jj];W[uz])",
    "twice.sgf": "(;GM[4]SZ[20];B[jj];B[kk])",
    "late_setup.sgf": "(;GM[4]SZ[20];B[jj];AW[kk])",
    "taken.sgf": "(;GM[4]SZ[20];B[jj];W[jj])",
    "unclosed.sgf": "(;GM[4]SZ[20];B[jj](;W[kk]",
}
for name, text in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(text.encode("latin-1"))
print(f"{len(seeds)} seeds in {out}")
