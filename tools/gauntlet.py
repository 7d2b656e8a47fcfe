#!/usr/bin/env python3
"""Plays Marlek against a list of engines through xboard, without a window,
and prints per opponent the games, wins, draws, losses, score and the Elo
difference with its 95% interval.

    tools/gauntlet.py --tc 1 --opponents fairymax phalanx hoichess sjeng
    tools/gauntlet.py --tc 0:30 --inc 0.5 --opponents uci:toga2 --games 20
    tools/gauntlet.py --tc 0:10 --inc 0.1 --marlek-options UCI_LimitStrength=1,UCI_Elo=1400 \
        --opponents uci:stockfish,UCI_LimitStrength=1,UCI_Elo=1400

Each opening of the openings file (a PGN of short lines, default
tools/openings.pgn) is played twice against each opponent, once with each
colour; the opponents take turns game by game, so that a run stopped early
leaves them with about as many games each. An opponent is a program name
(looked up in PATH and /usr/games) or a path; `uci:NAME` runs a UCI engine
through xboard's adapter (polyglot). Options for an engine follow its name
after commas, as NAME=VALUE (a check takes 1 or 0); xboard sets them at the
start of every game, and an opponent's label in the PGN and the table
carries them. Every game is one xboard run in -noGUI
mode on a private Xvfb display; all games go into one PGN (--pgn), and a
progress line after each game gives the running score.

Ctrl-C (or SIGTERM) ends the game in progress and the processes of this run
only, keeps the games already played, and prints the table of them.
Marlek's time forfeits and the abnormal endings (a crash, an illegal move, a
false claim, a game that hung) are counted in the table, and so is the share
of its clock it used: the time it spent on its moves, from xboard's debug
log, over what the control gave it for them (the base, and the increment
once per move). `--table PGN...`
prints the table of games already played, e.g. of runs made in parallel.

Exit status: 0 when every game ended normally (time forfeits included), 1
when one did not, 130 when stopped by Ctrl-C or SIGTERM.
"""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import elo  # noqa: E402
import match  # noqa: E402

TOOLS = os.path.dirname(os.path.abspath(__file__))
SEARCH_PATH = os.environ.get("PATH", "") + ":/usr/games"
# Set by Ctrl-C (SIGINT) or SIGTERM: the game in progress is ended, no other starts.
STOP = threading.Event()
# xboard's endings of a game lost on time ("White's flag fell", "Black wins on time").
TIME_LOSS = re.compile(r"flag fell|wins on time")


class Player:
    """One engine of a game: its label in the PGN, the command xboard starts,
    the folder it starts in, and whether it speaks UCI."""

    def __init__(self, label, command, folder, uci=False, exits_log=None, options=""):
        self.label = label
        self.command = command
        self.folder = folder
        self.uci = uci
        self.exits_log = exits_log  # set for a Marlek that runs under the wrapper
        self.options = options  # "NAME=VALUE,..." that xboard sets, or ""
        self.init = None  # the commands that start each game, when not xboard's own

    def exits(self):
        """Lines of the wrapper's log: how each process of this player ended."""
        if not self.exits_log or not os.path.exists(self.exits_log):
            return []
        with open(self.exits_log) as f:
            return [line for line in f.read().split("\n") if line]


def marlek_player(label, engine_dir, work, options=""):
    """Marlek of `engine_dir`, run under match.py's wrapper, which logs how
    each of its processes ended (xboard does not notice a dead engine), with
    the options "NAME=VALUE,..." set. `cores=N` among them is xboard's
    command `cores N` (the search threads), which xboard itself sends only
    to both engines alike: it goes into the commands of each new game."""
    engine = os.path.realpath(os.path.join(engine_dir, "marlek"))
    if not os.access(engine, os.X_OK):
        raise SystemExit("no engine at %s (build it first)" % engine)
    stem = os.path.join(work, re.sub(r"\W+", "_", label))
    wrapper = stem + "-wrapper.sh"
    match.write_wrapper(wrapper, engine, stem + "-exits.log")
    settings = [o for o in options.split(",") if o]
    cores = [o.split("=", 1)[1] for o in settings if o.startswith("cores=")]
    player = Player(label, wrapper, os.path.realpath(engine_dir), exits_log=stem + "-exits.log",
                    options=",".join(o for o in settings if not o.startswith("cores=")))
    if cores:
        player.init = "new\nrandom\ncores %s\n" % cores[-1]
    return player


def opponent_player(given):
    """An opponent from `[uci:]NAME[,OPTION=VALUE...]`."""
    uci = given.startswith("uci:")
    name, _, options = (given[4:] if uci else given).partition(",")
    path = shutil.which(name, path=SEARCH_PATH)
    if not path:
        raise SystemExit("opponent not found: %s" % name)
    label = os.path.basename(name) + ("(%s)" % options if options else "")
    return Player(label, os.path.abspath(path), os.path.dirname(os.path.abspath(path)), uci,
                  options=options)


def opening_names(path):
    """Names (Event tags) of the openings, in file order."""
    with open(path) as f:
        names = re.findall(r'^\[Event "([^"]*)"\]', f.read(), re.MULTILINE)
    if not names:
        raise SystemExit("no openings in %s" % path)
    return names


def base_seconds(tc):
    minutes, _, seconds = tc.partition(":")
    return int(minutes) * 60 + (int(seconds) if seconds else 0)


def describe_control(tc, inc):
    """"1 min + 0 s", "10 s + 0.1 s"."""
    seconds = base_seconds(tc)
    base = "%d min" % (seconds // 60) if seconds % 60 == 0 else "%d s" % seconds
    return "%s + %s s" % (base, inc)


def xboard_command(white, black, opening_index, args, work, pgn):
    command = ["xvfb-run", "-a", "xboard", "-noGUI",
               "-fcp", white.command, "-fd", white.folder,
               "-scp", black.command, "-sd", black.folder,
               "-mg", "1", "-tc", args.tc, "-inc", args.inc,
               "-lgf", os.path.abspath(args.openings), "-lgi", str(opening_index),
               "-sgf", pgn, "-popupExitMessage", "false",
               "-autoCallFlag", "true", "-testClaims", "true",
               "-saveSettingsOnExit", "false", "-soundProgram", "", "-xponder",
               "-debug", "-nameOfDebugFile", os.path.join(work, "xboard.debug")]
    if white.uci:
        command.append("-fUCI")
    if black.uci:
        command.append("-sUCI")
    if white.options:
        command += ["-firstOptions", white.options]
    if black.options:
        command += ["-secondOptions", black.options]
    if white.init:
        command += ["-firstInitString", white.init]
    if black.init:
        command += ["-secondInitString", black.init]
    return command


def session_processes(session):
    """Pids of the processes of a session (those this tool started)."""
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            if match.session_of(pid) == session:
                found.append(int(pid))
        except (OSError, ValueError, IndexError):
            continue
    return found


def end_session(session):
    """Ends xboard, Xvfb and the engines of one game: the process group that
    xvfb-run leads, then anything left in its session."""
    try:
        os.killpg(session, signal.SIGTERM)
    except ProcessLookupError:
        pass
    deadline = time.time() + 2
    while session_processes(session) and time.time() < deadline:
        time.sleep(0.1)
    for pid in session_processes(session):
        try:
            os.kill(pid, signal.SIGKILL)
        except ProcessLookupError:
            pass


def clock_use(debug_path, engine, args):
    """(used, available) milliseconds of an engine's clock in the game that
    xboard's debug log shows: the time it spent on its moves, and what the
    control gave it for them, the base and an increment per move."""
    if not os.path.exists(debug_path):
        return 0, 0
    moves = match.move_times(debug_path, engine)
    used = sum(ms for ms, _ in moves)
    return used, 1000 * base_seconds(args.tc) + round(1000 * float(args.inc)) * len(moves)


def play_game(white, black, opening_index, args, work):
    """Plays one game; returns (result, ending, pgn text with our labels,
    Marlek's clock use), or None when a stop was asked for before it
    ended."""
    if STOP.is_set():
        return None
    pgn = os.path.join(work, "game.pgn")
    if os.path.exists(pgn):
        os.remove(pgn)
    env = dict(os.environ, PATH=SEARCH_PATH, HOME=work)
    inc = float(args.inc)
    limit = 2 * base_seconds(args.tc) + 2 * 200 * inc + 120
    with open(os.path.join(work, "xboard.out"), "a") as out:
        xboard = subprocess.Popen(xboard_command(white, black, opening_index, args, work, pgn),
                                  cwd=work, env=env, stdout=out, stderr=subprocess.STDOUT,
                                  start_new_session=True)
    deadline = time.time() + limit
    while xboard.poll() is None and time.time() < deadline and not STOP.is_set():
        STOP.wait(0.2)
    finished = xboard.poll() is not None
    # Nothing of the game outlives it: a hang, a stop, or xboard's leftovers.
    end_session(xboard.pid)
    xboard.wait()
    if STOP.is_set() and not finished:
        return None
    use = clock_use(os.path.join(work, "xboard.debug"),
                    "first" if white.exits_log else "second", args)
    text = open(pgn).read() if os.path.exists(pgn) else ""
    games = match.split_games(text)
    if not games:
        return "*", "no game saved (xboard hung or failed)", "", use
    game = games[0]
    result, ending, _, _ = match.game_outcome(game)
    game = re.sub(r'\[White "[^"]*"\]', '[White "%s"]' % white.label, game, count=1)
    game = re.sub(r'\[Black "[^"]*"\]', '[Black "%s"]' % black.label, game, count=1)
    return result, ending, game, use


class Tally:
    """The games of one pairing, from the first player's side."""

    def __init__(self):
        self.wins = self.draws = self.losses = 0
        self.time_losses = 0  # the first player's losses on time
        self.abnormal = 0  # games that ended neither normally nor on time, or a crash
        # The first player's clock: milliseconds spent, and given by the control.
        self.clock_used = self.clock_given = 0

    def games(self):
        return self.wins + self.draws + self.losses

    def points(self):
        return self.wins + 0.5 * self.draws

    def add(self, result, ending, first_is_white):
        if result == "1/2-1/2":
            self.draws += 1
        elif result in ("1-0", "0-1"):
            won = (result == "1-0") == first_is_white
            if won:
                self.wins += 1
            else:
                self.losses += 1
                if TIME_LOSS.search(ending):
                    self.time_losses += 1
        if not match.is_normal(ending, result) and not (result != "*" and TIME_LOSS.search(ending)):
            self.abnormal += 1

    def clock_share(self):
        """The share of its clock the first player used, or "-" unknown."""
        if self.clock_given == 0:
            return "-"
        return "%.0f%%" % (100.0 * self.clock_used / self.clock_given)

    def row(self, name, width=16):
        games = self.games()
        name = name.ljust(width)
        if games == 0:
            return "%s %5d" % (name, 0)
        rating, low, high = elo.elo_interval(self.wins, self.draws, self.losses)
        return "%s %5d %4d %4d %4d %6.1f%% %6s  [%s, %s] %6d %8d %6s" % (
            name, games, self.wins, self.draws, self.losses, 100.0 * self.points() / games,
            elo.format_elo(rating), elo.format_elo(low), elo.format_elo(high),
            self.time_losses, self.abnormal, self.clock_share())


def table_head(width):
    return "%s %5s %4s %4s %4s %7s %6s  %-13s %6s %8s %6s" % (
        "opponent".ljust(width), "games", "W", "D", "L", "score", "Elo", "95% interval", "time",
        "abnormal", "clock")


def print_table(title, tallies, out=sys.stdout):
    print(title, file=out)
    width = max([16] + [len(name) for name in tallies])
    print(table_head(width), file=out)
    total = Tally()
    for name, tally in tallies.items():
        print(tally.row(name, width), file=out)
        for field in ("wins", "draws", "losses", "time_losses", "abnormal", "clock_used",
                      "clock_given"):
            setattr(total, field, getattr(total, field) + getattr(tally, field))
    if len(tallies) > 1:
        print(total.row("all", width), file=out)
    out.flush()


def count_crashes(players, seen):
    """New abnormal process exits of the wrapped players since the last call."""
    crashes = 0
    for player in players:
        lines = player.exits()
        for line in lines[seen.get(player.label, 0):]:
            # "quit" followed by xboard's SIGTERM (143) is a clean end.
            if not (line.endswith(" exit 0") or line.endswith(" exit 143")):
                crashes += 1
                print("PROBLEM: %s ended abnormally: %s" % (player.label, line), flush=True)
        seen[player.label] = len(lines)
    return crashes


def stop_on_signals():
    """Ctrl-C and SIGTERM ask for a stop, which play_game heeds."""
    def handler(signum, frame):
        STOP.set()
    signal.signal(signal.SIGINT, handler)
    signal.signal(signal.SIGTERM, handler)


def check_tools():
    if not shutil.which("xvfb-run") or not shutil.which("xboard", path=SEARCH_PATH):
        raise SystemExit("xboard and xvfb-run are needed (apt-get install xboard xvfb)")


def common_arguments(p):
    p.add_argument("--tc", default="1", help="base time, minutes[:seconds] (xboard -tc)")
    p.add_argument("--inc", default="0", help="increment in seconds, may be fractional (xboard -inc)")
    p.add_argument("--openings", default=os.path.join(TOOLS, "openings.pgn"),
                   help="PGN of opening lines; each is played with both colours")
    p.add_argument("--pgn", default="games.pgn", help="PGN file the games are appended to")
    p.add_argument("--work", default=None, help="folder for xboard's logs (default: a new temporary one)")


def parse_args(argv):
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    p.add_argument("--opponents", nargs="+", default=["fairymax", "phalanx", "hoichess", "sjeng"])
    p.add_argument("--games", type=int, default=None,
                   help="games per opponent (default: two per opening)")
    p.add_argument("--engine-dir", default=os.path.join(TOOLS, "..", "build"),
                   help="folder holding marlek and its data files")
    p.add_argument("--marlek-options", default="",
                   help="Marlek's options, NAME=VALUE,... (e.g. UCI_LimitStrength=1,UCI_Elo=1400)")
    p.add_argument("--table", nargs="+", metavar="PGN",
                   help="play nothing: print the table of the games of these PGN files")
    common_arguments(p)
    return p.parse_args(argv)


def schedule(openings, opponents, games):
    """(opponent index, opening index (1-based), Marlek plays white) in the
    order of play: opening by opening, both colours, opponents in turn."""
    order = []
    for game in range(games):
        opening, marlek_black = divmod(game, 2)
        for which in range(opponents):
            order.append((which, opening % openings + 1, not marlek_black))
    return order


def tally_pgn(texts):
    """Tallies per opponent of Marlek's games in PGN texts (as this tool
    writes them: Marlek's label starts with "Marlek")."""
    tallies = {}
    for text in texts:
        for game in match.split_games(text):
            result, ending, white, black = match.game_outcome(game)
            marlek_white = white.startswith("Marlek")
            if marlek_white == black.startswith("Marlek"):
                continue  # not a gauntlet game
            opponent = black if marlek_white else white
            tallies.setdefault(opponent, Tally()).add(result, ending, marlek_white)
    return tallies


def main(argv=None):
    args = parse_args(argv)
    if args.table:
        texts = [open(path).read() for path in args.table]
        print_table("Marlek's games in " + ", ".join(args.table), tally_pgn(texts))
        return 0
    check_tools()
    stop_on_signals()
    work = args.work or tempfile.mkdtemp(prefix="marlek-gauntlet-")
    os.makedirs(work, exist_ok=True)
    names = opening_names(args.openings)
    marlek = marlek_player("Marlek", args.engine_dir, work, args.marlek_options)
    opponents = [opponent_player(given) for given in args.opponents]
    tallies = {o.label: Tally() for o in opponents}
    games = args.games if args.games is not None else 2 * len(names)
    plan = schedule(len(names), len(opponents), games)
    title = "Marlek%s gauntlet, %s, openings %s" % (
        " (%s)" % args.marlek_options if args.marlek_options else "",
        describe_control(args.tc, args.inc), os.path.basename(args.openings))
    print("%s: %d games; logs in %s" % (title, len(plan), work), flush=True)
    seen_exits = {}
    stopped = False
    for number, (which, opening, marlek_white) in enumerate(plan, 1):
        opponent = opponents[which]
        white, black = (marlek, opponent) if marlek_white else (opponent, marlek)
        played = play_game(white, black, opening, args, work)
        if played is None:
            stopped = True
            break
        result, ending, game, (used, given) = played
        tally = tallies[opponent.label]
        tally.add(result, ending, marlek_white)
        tally.clock_used += used
        tally.clock_given += given
        tally.abnormal += count_crashes([marlek], seen_exits)
        if game:
            with open(args.pgn, "a") as f:
                f.write(game.strip() + "\n\n")
        done = sum(t.games() for t in tallies.values())
        points = sum(t.points() for t in tallies.values())
        print("game %d/%d: %s - %s (%s) %s {%s} | vs %s +%d =%d -%d | Marlek %.1f/%d"
              % (number, len(plan), white.label, black.label, names[opening - 1], result, ending,
                 opponent.label, tally.wins, tally.draws, tally.losses, points, done), flush=True)
    if stopped:
        print("stopped: the game in progress is dropped, the games played are kept in %s" % args.pgn)
    print_table(title, tallies)
    if stopped:
        return 130
    return 1 if any(t.abnormal for t in tallies.values()) else 0


if __name__ == "__main__":
    sys.exit(main())
