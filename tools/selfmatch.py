#!/usr/bin/env python3
"""Plays two builds of Marlek against each other until a sequential
probability ratio test (SPRT) decides, or a games limit is reached: the
check that a change meant to alter the search passes before it lands.

    tools/selfmatch.py --new build --base ../main/build --tc 0:10 --inc 0.1
    tools/selfmatch.py --new HEAD --base main --elo0 0 --elo1 10 --games 2000

--new and --base each name a folder holding a built marlek (with its data
files) or a git revision of this repository, which is then exported and
built in a temporary folder; --new-options and --base-options set options
of either, as NAME=VALUE,... (`--new-options cores=2` plays two threads
against one). H0: the new build is elo0 stronger; H1: it is
elo1 stronger (defaults 0 and 10, alpha = beta = 0.05). The match stops when
the log-likelihood ratio (LLR) of the games reaches a bound: "H1 accepted"
means the change gains, "H0 accepted" that it does not gain elo1. Openings
and colours as in tools/gauntlet.py; all games go into one PGN.

With --resume the games already in that PGN count as the first games of
the match, and play goes on from the next one in the schedule, so that a
test that needs hundreds of games can be spread over several runs (with
the same builds, options, control and bounds each time).

Exit status: 0 when H1 was accepted, 1 when H0 was, 2 without a decision
(games limit), 130 when stopped by Ctrl-C.
"""

import argparse
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import elo  # noqa: E402
import gauntlet  # noqa: E402
import match  # noqa: E402

REPO = os.path.dirname(gauntlet.TOOLS)


def parse_args(argv):
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    p.add_argument("--new", required=True, help="folder of the changed build, or a git revision")
    p.add_argument("--base", required=True, help="folder of the reference build, or a git revision")
    p.add_argument("--elo0", type=float, default=0.0)
    p.add_argument("--elo1", type=float, default=10.0)
    p.add_argument("--alpha", type=float, default=0.05)
    p.add_argument("--beta", type=float, default=0.05)
    p.add_argument("--games", type=int, default=1000, help="games limit")
    p.add_argument("--new-options", default="", help="the new build's options, NAME=VALUE,...")
    p.add_argument("--base-options", default="", help="the base build's options, NAME=VALUE,...")
    p.add_argument("--resume", action="store_true",
                   help="count the games already in --pgn and play on from there")
    gauntlet.common_arguments(p)
    return p.parse_args(argv)


def earlier_games(pgn_path):
    """The tally, from the new build's side, of the self-match games already
    in `pgn_path` (none when there is no such file)."""
    tally = gauntlet.Tally()
    if not os.path.exists(pgn_path):
        return tally
    with open(pgn_path) as f:
        for game in match.split_games(f.read()):
            result, ending, white, black = match.game_outcome(game)
            if {white, black} == {"Marlek new", "Marlek base"}:
                tally.add(result, ending, white == "Marlek new")
    return tally


def build_folder(given, work):
    """The folder of a built marlek: `given` itself when it holds one, or the
    build of git revision `given` made in `work`."""
    if os.path.isfile(os.path.join(given, "marlek")):
        return given
    revision = subprocess.run(["git", "-C", REPO, "rev-parse", "--verify", given + "^{commit}"],
                              capture_output=True, text=True)
    if revision.returncode != 0:
        raise SystemExit("%s is neither a folder holding marlek nor a git revision" % given)
    commit = revision.stdout.strip()
    source = os.path.join(work, "src-" + commit[:12])
    build = os.path.join(source, "build")
    if not os.path.isfile(os.path.join(build, "marlek")):
        os.makedirs(source, exist_ok=True)
        print("building %s in %s" % (commit[:12], build), flush=True)
        archive = subprocess.Popen(["git", "-C", REPO, "archive", commit], stdout=subprocess.PIPE)
        subprocess.run(["tar", "-x", "-C", source], stdin=archive.stdout, check=True)
        archive.wait()
        subprocess.run(["cmake", "-S", source, "-B", build, "-DCMAKE_BUILD_TYPE=Release"],
                       check=True, stdout=subprocess.DEVNULL)
        subprocess.run(["cmake", "--build", build, "-j2", "--target", "marlek"],
                       check=True, stdout=subprocess.DEVNULL)
    return build


def main(argv=None):
    args = parse_args(argv)
    gauntlet.check_tools()
    gauntlet.stop_on_signals()
    work = args.work or tempfile.mkdtemp(prefix="marlek-selfmatch-")
    os.makedirs(work, exist_ok=True)
    names = gauntlet.opening_names(args.openings)
    new = gauntlet.marlek_player("Marlek new", build_folder(args.new, work), work, args.new_options)
    base = gauntlet.marlek_player("Marlek base", build_folder(args.base, work), work,
                                  args.base_options)
    lower, upper = elo.sprt_bounds(args.alpha, args.beta)
    title = ("Marlek self-match, %s: new %s against base %s, SPRT elo0 %g elo1 %g, "
             "LLR bounds [%.3f, %.3f]" % (gauntlet.describe_control(args.tc, args.inc),
                                          new.folder, base.folder,
                                          args.elo0, args.elo1, lower, upper))
    print(title + "; logs in " + work, flush=True)
    tally = earlier_games(args.pgn) if args.resume else gauntlet.Tally()
    done = tally.games()
    if done:
        print("resuming after the %d games in %s" % (done, args.pgn), flush=True)
    seen_exits = {}
    verdict = None
    stopped = False
    plan = gauntlet.schedule(len(names), 1, args.games)
    for number, (_, opening, new_white) in enumerate(plan[done:], done + 1):
        white, black = (new, base) if new_white else (base, new)
        played = gauntlet.play_game(white, black, opening, args, work)
        if played is None:
            stopped = True
            break
        result, ending, game, (used, given) = played
        tally.add(result, ending, new_white)
        tally.clock_used += used
        tally.clock_given += given
        tally.abnormal += gauntlet.count_crashes([new, base], seen_exits)
        if game:
            with open(args.pgn, "a") as f:
                f.write(game.strip() + "\n\n")
        llr = elo.sprt_llr(tally.wins, tally.draws, tally.losses, args.elo0, args.elo1)
        print("game %d: %s - %s (%s) %s {%s} | new +%d =%d -%d | LLR %.3f [%.3f, %.3f]"
              % (number, white.label, black.label, names[opening - 1], result, ending,
                 tally.wins, tally.draws, tally.losses, llr, lower, upper), flush=True)
        verdict = elo.sprt_verdict(llr, args.alpha, args.beta)
        if verdict:
            break
    if stopped:
        print("stopped: the game in progress is dropped, the games played are kept in %s" % args.pgn)
    gauntlet.print_table(title, {"new vs base": tally})
    llr = elo.sprt_llr(tally.wins, tally.draws, tally.losses, args.elo0, args.elo1)
    if verdict == "H1":
        print("H1 accepted (LLR %.3f >= %.3f): the new build gains" % (llr, upper))
        return 0
    if verdict == "H0":
        print("H0 accepted (LLR %.3f <= %.3f): no gain of %g Elo" % (llr, lower, args.elo1))
        return 1
    print("no decision after %d games (LLR %.3f within [%.3f, %.3f]): no gain shown"
          % (tally.games(), llr, lower, upper))
    return 130 if stopped else 2


if __name__ == "__main__":
    sys.exit(main())
