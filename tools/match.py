#!/usr/bin/env python3
"""Plays games between Marlek and another engine through xboard, without a
window, and reports every game that did not end normally.

    tools/match.py --games 10 --opponent /usr/games/fairymax --tc 0:30 --inc 1
    tools/match.py --games 1 --st 0:02      (two seconds per move)
    tools/match.py --games 2 --uci          (Marlek as a UCI engine, through polyglot)

xboard runs in its -noGUI mode on a private Xvfb display (xvfb-run). Flag
falls and false claims are judged by xboard (-autoCallFlag, -testClaims);
xboard does not notice an engine that died, so each Marlek process runs
under a small wrapper that logs how it ended, and the match counts any exit
other than a clean one as a crash. The script watches Marlek's resident size
too, so that a leak across games shows. With --uci, xboard drives Marlek
through polyglot (Debian's `polyglot`), which speaks UCI to it, as any UCI
GUI would.

Exit status: 0 when every game ended normally, 1 otherwise.
"""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# Endings that a game between two sound engines may have. Anything else (a
# time forfeit, an illegal move, a false claim, a disconnection) is abnormal.
NORMAL_ENDINGS = [
    r"^Xboard adjudication: (Checkmate|Stalemate|Insufficient mating material|"
    r"3-fold repetition|50-move rule|Draw by repetition|.*trivial.*|.*mate.*)",
    r"^(White|Black) mates$",
    r"^Stalemate$",
    r"^Draw by repetition$",
    r"^50 move rule$",
    r"^(White|Black) resigns$",
    r"^Insufficient mating material$",
    r"^(Draw by )?(3-fold|threefold) repetition$",
    r"^3 repetitions$",
    r"^(Draw by )?(fifty|50)[- ]move rule$",
    r"^Draw agreed$",
    r"^Checkmate$",
    # An engine's own draw claim ("1/2-1/2 {Drawn game}"), e.g. Phalanx's on
    # a threefold repetition; -testClaims has xboard forfeit a false one.
    r"^Drawn game$",
]

# A GUI of protocol version 1 ignores the engine's feature lines, as the
# protocol has it; xboard reads them even then and switches to usermove and
# setboard once it sees them. Hidden from xboard, they leave it speaking
# version 1 for the whole game: bare moves, edit, white and black.
HIDE_FEATURES = "> >(grep --line-buffered -v '^feature ') "

WRAPPER = """#!/bin/bash
# Runs Marlek and logs how it ended. SIGINT is ignored here as in the engine.
trap '' INT
"{engine}" <&0 {output}&
child=$!
trap 'kill -TERM $child 2>/dev/null' TERM
wait $child
status=$?
echo "$(date +%s) pid $child exit $status" >> "{log}"
"""


def parse_args():
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    p.add_argument("--games", type=int, default=2)
    p.add_argument("--opponent", default="/usr/games/fairymax")
    p.add_argument("--tc", default="1", help="base time, minutes[:seconds] (xboard -tc)")
    p.add_argument("--inc", type=int, default=None, help="increment in seconds")
    p.add_argument("--mps", type=int, default=None, help="moves per session (level N ...)")
    p.add_argument("--st", default=None,
                   help="fixed time per move, minutes[:seconds] as xboard -st reads it; "
                        "the match then also fails when Marlek's average time per move "
                        "out of its book exceeds it")
    p.add_argument("--depth", type=int, default=None, help="depth limit in plies (xboard -depth)")
    p.add_argument("--ponder", action="store_true", help="let both engines ponder")
    p.add_argument("--engine-dir", default=os.path.join(os.path.dirname(__file__), "..", "build"),
                   help="folder holding marlek, marlekkeys.bin and MarlekBook.txt")
    p.add_argument("--installed", action="store_true",
                   help="run the installed engine as a player does, by name (-fcp marlek, no -fd);"
                        " a crash then shows only as an abnormal ending")
    p.add_argument("--protocol", type=int, choices=(1, 2), default=2,
                   help="protocol version xboard speaks to Marlek; with 1 it sends no protover,"
                        " bare moves, and positions through edit")
    p.add_argument("--variant", default=None,
                   help="the variant xboard plays, e.g. fischerandom (xboard -variant)")
    p.add_argument("--position-file", default=None,
                   help="FEN file each game starts from (xboard -lpf)")
    p.add_argument("--uci", action="store_true",
                   help="run Marlek as a UCI engine through polyglot (polyglot -noini -ec ...)")
    p.add_argument("--polyglot", default="/usr/games/polyglot", help="the polyglot adapter")
    p.add_argument("--out", default=None, help="folder for the PGN and logs (kept)")
    return p.parse_args()


def base_seconds(tc):
    minutes, _, seconds = tc.partition(":")
    return int(minutes) * 60 + (int(seconds) if seconds else 0)


def move_times(debug_path, engine="first"):
    """An engine's moves as xboard's debug log shows them: for each, the
    milliseconds from the command that put it on move (usermove or go) to
    its move line, and the depths of the thinking lines in between (none
    for a book move). `engine` is "first" or "second"; in a match Marlek is
    always xboard's first engine."""
    moves, start, depths = [], None, []
    with open(debug_path, errors="replace") as log:
        for line in log:
            stamp = re.match(r"^(\d+) ([<>])%s : (.*)" % engine, line)
            if not stamp:
                continue
            ms, direction, text = int(stamp.group(1)), stamp.group(2), stamp.group(3)
            if direction == ">" and re.match(r"(usermove|go)\b", text):
                start, depths = ms, []
            elif direction == "<" and re.match(r"\d+\t", text):
                depths.append(int(text.split("\t")[0]))
            elif direction == "<" and text.startswith("move ") and start is not None:
                moves.append((ms - start, depths))
                start = None
    return moves


def check_limits(args, debug_path):
    """Problems with Marlek's use of a fixed time per move or a depth limit."""
    problems = []
    moves = move_times(debug_path) if os.path.exists(debug_path) else []
    thought = [(ms, depths) for ms, depths in moves if depths]
    if args.st is not None and thought:
        limit = base_seconds(args.st) * 1000
        times = [ms for ms, _ in thought]
        average = sum(times) / len(times)
        print("Marlek, %d moves out of book: %.0f ms on average per move, longest %d ms (st %d ms)"
              % (len(times), average, max(times), limit))
        if average > limit:
            problems.append("Marlek took %.0f ms per move on average, over st" % average)
    if args.depth is not None:
        deepest = max((max(depths) for _, depths in thought), default=0)
        print("Marlek's deepest thinking line: %d (depth limit %d)" % (deepest, args.depth))
        if deepest > args.depth:
            problems.append("Marlek thought to depth %d, over the limit" % deepest)
    return problems


def split_games(pgn):
    games = re.split(r"\n(?=\[Event )", pgn.strip())
    return [g for g in games if g.strip()]


def game_outcome(game):
    """(result, ending text, white, black) of one PGN game."""
    tag = lambda name: (re.search(r'\[%s "([^"]*)"\]' % name, game) or [None, "?"])[1]
    body = game.split("\n\n", 1)[-1].strip()
    ending = re.search(r"\{([^{}]*)\}\s*(1-0|0-1|1/2-1/2|\*)\s*$", body)
    return tag("Result"), (ending.group(1).strip() if ending else ""), tag("White"), tag("Black")


def is_normal(ending, result):
    if result == "*":
        return False
    return any(re.search(pattern, ending) for pattern in NORMAL_ENDINGS)


def session_of(pid):
    with open("/proc/%s/stat" % pid) as stat:
        # The command name (field 2) may hold spaces; the fields after it don't.
        return int(stat.read().rsplit(")", 1)[1].split()[3])


def marlek_processes(engine_path, session):
    """pid -> resident kilobytes of every Marlek of this match (its session:
    other matches may run the same binary at the same time)."""
    found = {}
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            if os.readlink("/proc/%s/exe" % pid) != engine_path or session_of(pid) != session:
                continue
            with open("/proc/%s/status" % pid) as status:
                for line in status:
                    if line.startswith("VmRSS:"):
                        found[int(pid)] = int(line.split()[1])
        except OSError:
            continue
    return found


def xboard_command(args, work, wrapper, pgn):
    engine_dir = os.path.abspath(args.engine_dir)
    if args.uci:
        # polyglot starts the engine plain: the first command, `uci`, makes
        # Marlek a UCI engine.
        engine = "marlek" if args.installed else wrapper
        first = ["-fcp", "%s -noini -ec %s -ed %s" % (args.polyglot, engine, engine_dir), "-fd", work]
    elif args.installed:
        first = ["-fcp", "marlek"]
    else:
        first = ["-fcp", wrapper, "-fd", engine_dir]
    opponent_dir = os.path.dirname(args.opponent) or "."
    command = [
        "xvfb-run", "-a", "xboard", "-noGUI", *first,
        "-scp", args.opponent, "-sd", opponent_dir,
        "-mg", str(args.games), "-tc", args.tc,
        "-sgf", pgn, "-popupExitMessage", "false", "-matchPause", "1000",
        "-autoCallFlag", "true", "-testClaims", "true",
        "-saveSettingsOnExit", "false", "-soundProgram", "",
        "-debug", "-nameOfDebugFile", os.path.join(work, "xboard.debug"),
        "-ponder" if args.ponder else "-xponder",
    ]
    if args.st is not None:
        command += ["-st", args.st]
    if args.depth is not None:
        command += ["-depth", str(args.depth)]
    if args.protocol == 1:
        command += ["-firstProtocolVersion", "1"]
    if args.variant:
        command += ["-variant", args.variant]
    if args.position_file:
        command += ["-lpf", os.path.abspath(args.position_file)]
    if args.inc is not None:
        command += ["-inc", str(args.inc)]
    elif args.mps is not None:
        command += ["-mps", str(args.mps)]
    else:
        command += ["-inc", "0"]
    return command


def write_wrapper(path, engine, exits_log, hide_features=False):
    """Writes the script that runs `engine` and logs how it ended."""
    with open(path, "w") as f:
        output = HIDE_FEATURES if hide_features else ""
        f.write(WRAPPER.format(engine=engine, log=exits_log, output=output))
    os.chmod(path, 0o755)


def run_match(args, work):
    env = dict(os.environ, PATH=os.environ.get("PATH", "") + ":/usr/games", HOME=work)
    if args.installed:
        engine = os.path.realpath(shutil.which("marlek", path=env["PATH"]) or "marlek")
    else:
        engine = os.path.realpath(os.path.join(args.engine_dir, "marlek"))
    exits_log = os.path.join(work, "marlek-exits.log")
    wrapper = os.path.join(work, "marlek-wrapper.sh")
    write_wrapper(wrapper, engine, exits_log, hide_features=args.protocol == 1)
    pgn = os.path.join(work, "games.pgn")

    # Generous bound: both clocks, plus increments for a long game, plus pauses;
    # with a time per move, 150 moves of each side.
    if args.st is not None:
        per_game = 2 * 150 * base_seconds(args.st) + 60
    else:
        per_game = 2 * base_seconds(args.tc) + 2 * 150 * (args.inc or 0) + 60
    deadline = time.time() + args.games * per_game + 60
    xboard = subprocess.Popen(xboard_command(args, work, wrapper, pgn), cwd=work, env=env,
                              stdout=open(os.path.join(work, "xboard.out"), "w"),
                              stderr=subprocess.STDOUT, start_new_session=True)
    peak_rss = {}
    rss_after_game = []  # Marlek's resident size as each game ends
    hung = False
    while xboard.poll() is None:
        running = marlek_processes(engine, xboard.pid)
        for pid, rss in running.items():
            peak_rss[pid] = max(rss, peak_rss.get(pid, 0))
        if running and games_saved(pgn) > len(rss_after_game):
            rss_after_game.append(max(running.values()))
        if time.time() > deadline:
            hung = True
            break
        time.sleep(0.5)
    # Nothing of the match may outlive it.
    try:
        os.killpg(xboard.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    xboard.wait()
    for pid in marlek_processes(engine, xboard.pid):
        os.kill(pid, signal.SIGKILL)
    return pgn, exits_log, peak_rss, rss_after_game, hung


def games_saved(pgn_path):
    try:
        with open(pgn_path) as f:
            return f.read().count("[Result ")
    except OSError:
        return 0


def protocol_one_problems(debug_path):
    """Whatever shows that xboard did not speak version 1 to Marlek: it must
    have set the position up with edit and sent bare moves, and never sent
    protover, usermove or setboard."""
    try:
        with open(debug_path, errors="replace") as f:
            sent = [line.split(">first : ", 1)[1].strip() for line in f if ">first : " in line]
    except OSError:
        return ["no xboard debug file"]
    problems = []
    if "edit" not in sent:
        problems.append("xboard sent Marlek no edit")
    if not any(re.fullmatch(r"[a-h][1-8][a-h][1-8][qrbn]?", line) for line in sent):
        problems.append("xboard sent Marlek no bare move")
    for word in ("protover", "usermove", "setboard"):
        if any(line.startswith(word) for line in sent):
            problems.append("xboard sent Marlek " + word)
    return problems


def report(args, pgn_path, exits_log, peak_rss, rss_after_game, hung):
    problems = []
    if args.protocol == 1:
        problems += protocol_one_problems(os.path.join(os.path.dirname(pgn_path), "xboard.debug"))
    pgn = open(pgn_path).read() if os.path.exists(pgn_path) else ""
    print(pgn)
    games = split_games(pgn)
    score = {"win": 0, "draw": 0, "loss": 0}
    for number, game in enumerate(games, 1):
        result, ending, white, black = game_outcome(game)
        marlek_white = white.startswith("Marlek")
        if result == "1/2-1/2":
            score["draw"] += 1
        elif result in ("1-0", "0-1"):
            score["win" if (result == "1-0") == marlek_white else "loss"] += 1
        if not is_normal(ending, result):
            problems.append("game %d (%s vs %s): abnormal ending {%s} %s"
                            % (number, white, black, ending, result))
    if len(games) != args.games:
        problems.append("%d of %d games were played" % (len(games), args.games))
    if hung:
        problems.append("the match did not finish in time (hang)")
    problems += check_limits(args, os.path.join(os.path.dirname(pgn_path), "xboard.debug"))
    exits = open(exits_log).read().split("\n") if os.path.exists(exits_log) else []
    for line in filter(None, exits):
        # xboard sends "quit" and, right after it, SIGTERM (143): both are a
        # clean end. Anything else (an abort, a segmentation fault) is a crash.
        if not (line.endswith(" exit 0") or line.endswith(" exit 143")):
            problems.append("Marlek ended abnormally: " + line)
    print("Marlek: %(win)d wins, %(draw)d draws, %(loss)d losses" % score)
    if peak_rss:
        print("Marlek peak resident size per process (kB): %s"
              % ", ".join(str(v) for v in peak_rss.values()))
    if rss_after_game:
        print("Marlek resident size after each game (kB): %s"
              % " ".join(str(v) for v in rss_after_game))
    for problem in problems:
        print("PROBLEM: " + problem)
    print("abnormal endings: %d" % len(problems))
    return not problems


def main():
    args = parse_args()
    if not shutil.which("xvfb-run") or not shutil.which("xboard", path="/usr/bin:/usr/games"):
        print("xboard and xvfb-run are needed (apt-get install xboard xvfb)")
        return 1
    work = args.out or tempfile.mkdtemp(prefix="marlek-match-")
    os.makedirs(work, exist_ok=True)
    ok = report(args, *run_match(args, work))
    print("logs in " + work)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
