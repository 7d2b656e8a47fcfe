"""Checks that tools/openbench_bench.py reads a bench output by the client's
rule: the last line first, a number beside "nodes" and beside "nps"."""

import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
import openbench_bench  # noqa: E402

read = openbench_bench.read_bench


class ReadBench(unittest.TestCase):
    def test_the_engines_last_line_gives_both(self):
        output = ("position 20 nodes 566 best h2h4\n"
                  "signature 9410102 nodes 905 ms nps 10398013\n"
                  "9410102 nodes 10398013 nps\n")
        self.assertEqual(read(output), (9410102, 10398013))

    def test_the_lowest_line_with_a_number_wins_for_each(self):
        self.assertEqual(read("100 nodes 5 nps\n200 nodes\r\n"), (200, 5))

    def test_punctuation_is_a_space_and_the_long_forms_count(self):
        output = "Nodes searched  : 4242\nNodes/second    : 1717\n"
        self.assertEqual(read(output), (4242, 1717))
        self.assertEqual(read("nodes=12, nps=34"), (12, 34))

    def test_a_number_away_from_the_word_is_not_taken(self):
        self.assertEqual(read("total 12 in nodes\nspeed 34 per nps"), (None, None))


if __name__ == "__main__":
    unittest.main()
