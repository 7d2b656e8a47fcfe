#!/usr/bin/env python3
"""Measures what more search threads buy: over eight middlegames (the bench's
middlegames and tactics), each searched to a fixed depth from an empty table
with 1 thread and with N, back to back, it prints per position the time to
the depth and the nodes per second, and the ratios N threads over 1: the
speed-up to the depth (total time with 1 thread over total time with N) and
the ratio of the node rates. Run it alone on the machine: another load
changes both.

    tools/compare_threads.py [--engine build/marlek] [--threads 2] [--depth 8]
"""

import argparse
import os
import re
import subprocess
import sys
import time

BENCH_SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "game",
                            "bench.cpp")


def middlegames():
    """The bench's middlegames and tactics: its positions six to thirteen."""
    with open(BENCH_SOURCE) as f:
        fens = re.findall(r'"([1-8pnbrqkPNBRQK/]+ [wb] [KQkq-]+ [a-h1-8-]+ \d+ \d+)"', f.read())
    return fens[5:13]


class Engine:
    def __init__(self, path):
        self.process = subprocess.Popen([path, "--uci"], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, text=True, bufsize=1)
        self.send("uci")
        self.wait_for("uciok")

    def send(self, line):
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()

    def wait_for(self, prefix):
        lines = []
        for line in self.process.stdout:
            lines.append(line.strip())
            if line.startswith(prefix):
                return lines
        raise SystemExit("the engine ended")

    def search(self, threads, fen, depth):
        """(seconds to the depth, nodes, nodes per second) of one search."""
        self.send("setoption name Threads value %d" % threads)
        self.send("ucinewgame")
        self.send("position fen " + fen)
        self.send("isready")
        self.wait_for("readyok")
        start = time.monotonic()
        self.send("go depth %d" % depth)
        lines = self.wait_for("bestmove")
        took = time.monotonic() - start
        info = [l for l in lines if l.startswith("info depth %d " % depth)]
        words = info[-1].split() if info else []
        nodes = int(words[words.index("nodes") + 1]) if "nodes" in words else 0
        return took, nodes, nodes / took if took > 0 else 0

    def quit(self):
        self.send("quit")
        self.process.wait()


def main(argv=None):
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    p.add_argument("--engine", default="build/marlek")
    p.add_argument("--threads", type=int, default=2)
    p.add_argument("--depth", type=int, default=8)
    args = p.parse_args(argv)
    engine = Engine(args.engine)
    totals = {1: [0.0, 0], args.threads: [0.0, 0]}
    print("%-4s %10s %10s %12s %12s" % ("pos", "1 thread s", "%d thr s" % args.threads,
                                           "1 thread nps", "%d thr nps" % args.threads))
    for i, fen in enumerate(middlegames(), 1):
        row = {}
        for threads in (1, args.threads):
            took, nodes, nps = engine.search(threads, fen, args.depth)
            totals[threads][0] += took
            totals[threads][1] += nodes
            row[threads] = (took, nps)
        print("%-4d %10.2f %10.2f %12.0f %12.0f" % (i, row[1][0], row[args.threads][0], row[1][1],
                                                     row[args.threads][1]), flush=True)
    engine.quit()
    one, many = totals[1], totals[args.threads]
    print("time to depth %d, 1 thread over %d: %.2fx" % (args.depth, args.threads, one[0] / many[0]))
    print("nodes per second, %d threads over 1: %.2fx" % (
        args.threads, (many[1] / many[0]) / (one[1] / one[0])))
    return 0


if __name__ == "__main__":
    sys.exit(main())
