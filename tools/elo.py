"""Elo arithmetic of match results: the Elo difference of a score with its
95% interval, and the log-likelihood ratio of a sequential probability ratio
test (SPRT). Both use the logistic model, E(d) = 1 / (1 + 10^(-d/400)), and
the trinomial counts of the games (wins, draws, losses); the SPRT uses the
normal approximation of the log-likelihood ratio with the variance of the
observed game scores.
"""

import math

# Two-sided 95% quantile of the normal distribution.
Z95 = 1.959963984540054
# The chance left in each tail of a 95% interval.
TAIL = 0.025


def expected_score(elo):
    """Score expected by the player who is `elo` points stronger."""
    return 1.0 / (1.0 + 10.0 ** (-elo / 400.0))


def elo_of_score(score):
    """Elo difference that gives `score` (0..1); +-inf at the ends."""
    if score <= 0.0:
        return -math.inf
    if score >= 1.0:
        return math.inf
    return -400.0 * math.log10(1.0 / score - 1.0)


def score_and_variance(wins, draws, losses):
    """Mean score per game and the variance of one game's score."""
    games = wins + draws + losses
    if games == 0:
        raise ValueError("no games")
    score = (wins + 0.5 * draws) / games
    variance = (wins * (1.0 - score) ** 2 + draws * (0.5 - score) ** 2
                + losses * score ** 2) / games
    return score, variance


def elo_interval(wins, draws, losses):
    """(elo, low, high): the Elo difference and its 95% interval, the score's
    interval mapped through the logistic model. When every game was lost (or
    won) the spread is nil; the open end is then the score that would make so
    many losses in a row a 2.5% chance: 1 - 0.025^(1/games)."""
    score, variance = score_and_variance(wins, draws, losses)
    games = wins + draws + losses
    if score == 0.0 or score == 1.0:
        bound = 1.0 - TAIL ** (1.0 / games)
        if score == 0.0:
            return -math.inf, -math.inf, elo_of_score(bound)
        return math.inf, elo_of_score(1.0 - bound), math.inf
    margin = Z95 * math.sqrt(variance / games)
    return elo_of_score(score), elo_of_score(score - margin), elo_of_score(score + margin)


def sprt_bounds(alpha=0.05, beta=0.05):
    """(lower, upper) bounds of the log-likelihood ratio: H0 is accepted at
    or below the lower one, H1 at or above the upper one."""
    return math.log(beta / (1.0 - alpha)), math.log((1.0 - beta) / alpha)


def sprt_llr(wins, draws, losses, elo0, elo1):
    """Log-likelihood ratio of H1 (the difference is elo1) against H0 (elo0),
    from the games played so far. When every game was won, or every one
    lost, the scores do not vary and the approximation has nothing to go
    on, though a clean sweep is the strongest evidence there is: half a
    draw is counted beside them, so that the ratio grows with the sweep. 0
    while every game was drawn."""
    games = wins + draws + losses
    if games == 0:
        return 0.0
    score, variance = score_and_variance(wins, draws, losses)
    if variance == 0.0 and draws == 0:
        games += 0.5
        score, variance = score_and_variance(wins, 0.5, losses)
    if variance == 0.0:
        return 0.0
    s0, s1 = expected_score(elo0), expected_score(elo1)
    return games * (s1 - s0) * (2.0 * score - s0 - s1) / (2.0 * variance)


def sprt_verdict(llr, alpha=0.05, beta=0.05):
    """'H1' (the gain is there), 'H0' (it is not) or None (play on)."""
    lower, upper = sprt_bounds(alpha, beta)
    if llr >= upper:
        return "H1"
    if llr <= lower:
        return "H0"
    return None


def format_elo(elo):
    if math.isinf(elo):
        return "+inf" if elo > 0 else "-inf"
    return "%+.0f" % elo
