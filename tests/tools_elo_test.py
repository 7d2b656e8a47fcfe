"""Checks the arithmetic of tools/elo.py against values worked out by hand,
and how tools/gauntlet.py schedules games and counts their endings (and
tools/selfmatch.py the games it resumes after)."""

import math
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
import elo  # noqa: E402
import gauntlet  # noqa: E402
import selfmatch  # noqa: E402


class EloOfScore(unittest.TestCase):
    def test_three_quarters_is_about_191(self):
        # -400 * log10(1/0.75 - 1) = 400 * log10(3) = 190.85
        self.assertAlmostEqual(elo.elo_of_score(0.75), 190.85, places=2)
        rating, _, _ = elo.elo_interval(20, 20, 0)  # 30 of 40 points
        self.assertAlmostEqual(rating, 190.85, places=2)

    def test_the_model_is_odd_and_inverts_the_expected_score(self):
        self.assertAlmostEqual(elo.elo_of_score(0.25), -190.85, places=2)
        self.assertAlmostEqual(elo.expected_score(190.85), 0.75, places=5)
        self.assertEqual(elo.elo_of_score(1.0), math.inf)
        self.assertEqual(elo.elo_of_score(0.0), -math.inf)

    def test_an_even_score_is_zero_with_a_symmetric_interval(self):
        rating, low, high = elo.elo_interval(10, 20, 10)
        self.assertAlmostEqual(rating, 0.0, places=9)
        self.assertLess(low, 0.0)
        self.assertAlmostEqual(low, -high, places=9)

    def test_interval_of_thirty_twenty_ten(self):
        # 60 games, 40 points: score 2/3. Variance of one game's score:
        # (30 (1/3)^2 + 20 (1/6)^2 + 10 (2/3)^2) / 60 = 0.138889; standard
        # error sqrt(0.138889 / 60) = 0.048113, times 1.96 = 0.094300.
        # Scores 0.572367 and 0.760967 give +50.6 and +201.2 Elo, around +120.4.
        rating, low, high = elo.elo_interval(30, 20, 10)
        self.assertAlmostEqual(rating, 120.41, places=1)
        self.assertAlmostEqual(low, 50.6, places=1)
        self.assertAlmostEqual(high, 201.2, places=1)

    def test_a_clean_sweep_has_one_open_end(self):
        # 40 losses: the score with a 2.5% chance of them is 1 - 0.025^(1/40)
        # = 1 - exp(-3.68888 / 40) = 0.088098; 1/0.088098 - 1 = 10.3510, so
        # -400 log10(10.3510) = -406.0 Elo.
        rating, low, high = elo.elo_interval(0, 0, 40)
        self.assertEqual((rating, low), (-math.inf, -math.inf))
        self.assertAlmostEqual(high, -406.0, places=1)
        rating, low, high = elo.elo_interval(40, 0, 0)
        self.assertEqual((rating, high), (math.inf, math.inf))
        self.assertAlmostEqual(low, 406.0, places=1)

    def test_draws_narrow_the_interval(self):
        _, low_decisive, high_decisive = elo.elo_interval(20, 0, 20)
        _, low_drawn, high_drawn = elo.elo_interval(5, 30, 5)
        self.assertLess(high_drawn - low_drawn, high_decisive - low_decisive)


class Sprt(unittest.TestCase):
    def test_bounds_at_five_percent(self):
        lower, upper = elo.sprt_bounds(0.05, 0.05)
        self.assertAlmostEqual(upper, math.log(19), places=12)  # 2.944
        self.assertAlmostEqual(lower, -math.log(19), places=12)

    def test_llr_of_sixty_twenty_twenty(self):
        # s0 = 0.5 (Elo 0); s1 = 1 / (1 + 10^-0.025) = 0.514387 (Elo 10).
        # 100 games, score 0.7, variance (60 0.09 + 20 0.04 + 20 0.49) / 100 = 0.16.
        # LLR = 100 (s1 - s0) (2 0.7 - s0 - s1) / (2 0.16)
        #     = 100 0.014387 0.385613 / 0.32 = 1.7337
        llr = elo.sprt_llr(60, 20, 20, 0, 10)
        self.assertAlmostEqual(llr, 1.7337, places=3)
        self.assertIsNone(elo.sprt_verdict(llr))

    def test_equal_builds_lean_to_h0_and_a_clear_gain_to_h1(self):
        even = elo.sprt_llr(100, 200, 100, 0, 10)
        self.assertLess(even, 0.0)
        # 400 games at 50%: 400 0.014387 (1 - 1.014387) / (2 0.125) = -0.3312
        self.assertAlmostEqual(even, -0.3312, places=3)
        self.assertEqual(elo.sprt_verdict(elo.sprt_llr(1000, 2000, 1000, 0, 10)), "H0")
        self.assertEqual(elo.sprt_verdict(elo.sprt_llr(300, 200, 100, 0, 10)), "H1")

    def test_no_games_or_only_draws_give_zero_and_a_sweep_decides(self):
        self.assertEqual(elo.sprt_llr(0, 0, 0, 0, 10), 0.0)
        self.assertEqual(elo.sprt_llr(0, 7, 0, 0, 10), 0.0)
        # A sweep decides within a handful of games, and grows with them.
        self.assertGreater(elo.sprt_llr(8, 0, 0, 0, 10), elo.sprt_llr(4, 0, 0, 0, 10))
        self.assertEqual(elo.sprt_verdict(elo.sprt_llr(8, 0, 0, 0, 10)), "H1")
        self.assertEqual(elo.sprt_verdict(elo.sprt_llr(0, 0, 8, 0, 10)), "H0")


class Schedule(unittest.TestCase):
    def test_each_opening_twice_per_opponent_once_with_each_colour(self):
        plan = gauntlet.schedule(openings=3, opponents=2, games=6)
        self.assertEqual(len(plan), 12)
        for opponent in range(2):
            games = [(opening, white) for who, opening, white in plan if who == opponent]
            self.assertEqual(sorted(games), sorted((o, w) for o in (1, 2, 3) for w in (True, False)))
        # Opponents take turns: a run stopped early leaves them even.
        self.assertEqual([who for who, _, _ in plan[:4]], [0, 1, 0, 1])

    def test_more_games_than_openings_start_over(self):
        plan = gauntlet.schedule(openings=2, opponents=1, games=6)
        self.assertEqual([opening for _, opening, _ in plan], [1, 1, 2, 2, 1, 1])


class Endings(unittest.TestCase):
    def test_losses_on_time_and_abnormal_endings(self):
        tally = gauntlet.Tally()
        tally.add("0-1", "White's flag fell", first_is_white=True)  # ours
        tally.add("0-1", "White's flag fell", first_is_white=False)  # the opponent's
        tally.add("1-0", "Black wins on time", first_is_white=False)  # ours
        tally.add("1-0", "Xboard adjudication: Checkmate", first_is_white=True)
        tally.add("1/2-1/2", "Draw by repetition", first_is_white=True)
        tally.add("1/2-1/2", "Drawn game", first_is_white=False)  # a claim xboard tested
        tally.add("0-1", "Xboard: Forfeit due to illegal move: e1g1 (e1g1)", first_is_white=True)
        tally.add("*", "no game saved (xboard hung or failed)", first_is_white=True)
        self.assertEqual((tally.wins, tally.draws, tally.losses), (2, 2, 3))
        self.assertEqual(tally.time_losses, 2)
        self.assertEqual(tally.abnormal, 2)
        self.assertEqual(tally.games(), 7)


class Resume(unittest.TestCase):
    def test_earlier_games_count_from_the_new_builds_side(self):
        def game(white, black, result, ending):
            return ('[Event "Computer Chess Game"]\n[White "%s"]\n[Black "%s"]\n'
                    '[Result "%s"]\n\n1. e4 e5 {%s} %s\n' % (white, black, result, ending, result))
        games = [game("Marlek new", "Marlek base", "1-0", "Xboard adjudication: Checkmate"),
                 game("Marlek base", "Marlek new", "1-0", "Xboard adjudication: Checkmate"),
                 game("Marlek base", "Marlek new", "0-1", "White's flag fell"),
                 game("Marlek base", "Marlek new", "1/2-1/2", "Draw by repetition"),
                 game("Marlek", "fairymax", "1-0", "Xboard adjudication: Checkmate")]
        with tempfile.NamedTemporaryFile("w", suffix=".pgn") as pgn:
            pgn.write("\n".join(games))
            pgn.flush()
            tally = selfmatch.earlier_games(pgn.name)
        self.assertEqual((tally.wins, tally.draws, tally.losses), (2, 1, 1))
        self.assertEqual(selfmatch.earlier_games(pgn.name + ".gone").games(), 0)


if __name__ == "__main__":
    unittest.main()
