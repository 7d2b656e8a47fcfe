#!/usr/bin/env python3
"""Reads the output of `ENGINE bench` as a testing framework's client does,
and prints the bench (the node count) and the speed it finds there.

The client reads the output from the last line up. In each line it turns
every character that is not a letter, a digit or a space into a space, then
takes the first number that stands just before or after the word "nodes"
(or after "nodes searched") as the bench, and the first that stands just
before or after "nps" (or after "nodes second", as in "Nodes/second: N")
as the speed; each from the lowest line that has one. `marlek bench` ends
with "N nodes R nps", which gives both.

Usage: tools/openbench_bench.py [FILE]   (default: standard input)
Prints "bench N nps R"; exit status 1, with a line saying what is missing,
when the output holds no bench or no speed.
"""
import re
import sys

NOT_A_WORD_CHARACTER = re.compile(r"[^A-Za-z0-9 ]")
BENCH = re.compile(r"\b([0-9]+) nodes\b|\bnodes searched +([0-9]+)\b|\bnodes +([0-9]+)\b",
                   re.IGNORECASE)
SPEED = re.compile(r"\b([0-9]+) nps\b|\bnps +([0-9]+)\b|\bnodes second +([0-9]+)\b",
                   re.IGNORECASE)


def first_number(pattern, line):
    """The number of the leftmost match of `pattern` in `line`, or None."""
    match = pattern.search(line)
    if not match:
        return None
    return int(next(group for group in match.groups() if group is not None))


def read_bench(text):
    """(bench, speed) from a bench output; either is None when not found."""
    bench = speed = None
    for line in reversed(text.splitlines()):
        line = NOT_A_WORD_CHARACTER.sub(" ", line)
        if bench is None:
            bench = first_number(BENCH, line)
        if speed is None:
            speed = first_number(SPEED, line)
    return bench, speed


def main(argv):
    if len(argv) > 2:
        print(__doc__.strip())
        return 2
    if len(argv) == 2:
        with open(argv[1], "rb") as file:
            data = file.read()
    else:
        data = sys.stdin.buffer.read()
    bench, speed = read_bench(data.decode("ascii", errors="replace"))
    if bench is None or speed is None:
        missing = " and no ".join(name for name, value in (("bench", bench), ("speed", speed))
                               if value is None)
        print(f"no {missing} in the output")
        return 1
    print(f"bench {bench} nps {speed}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
