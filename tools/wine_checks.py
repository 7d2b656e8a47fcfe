#!/usr/bin/env python3
"""Checks the Windows build under Wine, driving the .exe files from Linux.

    tools/wine_checks.py --build build-win [--zip marlek-4.4.6-win64.zip]

1. marlek.exe imports nothing but Windows' own DLLs (the runtime is linked
   in statically).
2. perft.exe gives every count of tests/data/perft.txt up to one million
   nodes (the deepest such depth of each position).
3. bench.exe 4 prints the same signature as the Linux build.
4. The zip holds the engine and its files, and the unzipped marlek.exe,
   started in its own folder, plays a protocol session over its standard
   input and output (without --zip: marlek.exe in the build folder).

Exit status: 0 when every check passed, 1 otherwise.
"""

import argparse
import concurrent.futures
import os
import re
import select
import subprocess
import sys
import tempfile
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PERFT_FILE = os.path.join(ROOT, "tests", "data", "perft.txt")
PERFT_LIMIT = 1_000_000
BENCH_SIGNATURE = "9410102"
WAIT = 30  # seconds for any one answer: Wine starts slowly on a busy machine

# Windows' own DLLs; anything else (libstdc++-6.dll, libwinpthread-1.dll,
# libgcc_s_seh-1.dll) would have to ship beside marlek.exe.
SYSTEM_DLLS = {"kernel32.dll", "msvcrt.dll", "advapi32.dll", "user32.dll", "ws2_32.dll",
               "ucrtbase.dll"}
ZIP_FILES = {"marlek.exe", "marlekkeys.bin", "MarlekBook.txt", "README.txt"}

# The engine's opening lines as the Windows runtime writes them: every "\n"
# leaves the process as CR LF. Further feature lines may follow them, each
# ended the same way, up to "feature done=1".
OPENING = b"".join(line + b"\r\n" for line in [
    b"", b"feature done=0", b'feature myname="Marlek 4.4.6"',
    b"feature usermove=1 ping=1 setboard=1 colors=0", b"feature playother=1 analyze=1",
    b'feature variants="normal"'])
MIDDLEGAME = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N2N2/PP2BPPP/R1BQ1RK1 w - - 0 9"

failures = []


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what, flush=True)
    if not ok:
        failures.append(what)


def wine(exe, *args, cwd):
    return subprocess.run(["wine", exe, *args], cwd=cwd, capture_output=True, text=True,
                          timeout=300)


def check_imports(build):
    dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", os.path.join(build, "marlek.exe")],
                          capture_output=True, text=True, check=True).stdout
    dlls = {name.lower() for name in re.findall(r"DLL Name: (\S+)", dump)}
    check(dlls and dlls <= SYSTEM_DLLS, "marlek.exe imports only system DLLs: " + ", ".join(sorted(dlls)))


def perft_cases():
    for line in open(PERFT_FILE):
        if line.startswith("#") or not line.strip():
            continue
        fen, *counts = line.split(";")
        depths = [(int(d[1:]), int(n)) for d, n in (c.split() for c in counts)]
        small = [dn for dn in depths if dn[1] <= PERFT_LIMIT]
        if small:
            yield fen.strip(), max(small)


def check_perft(build):
    def run(case):
        fen, (depth, count) = case
        out = wine("perft.exe", str(depth), fen, cwd=build).stdout
        got = re.search(r"nodes (\d+)", out)
        return fen, depth, count, int(got.group(1)) if got else None

    cases = list(perft_cases())
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        results = list(pool.map(run, cases))
    wrong = [r for r in results if r[2] != r[3]]
    for fen, depth, count, got in wrong:
        print(f"      {fen} depth {depth}: expected {count}, got {got}")
    nodes = sum(r[2] for r in results)
    check(not wrong, f"perft.exe: {len(results)} positions, {nodes} nodes, every count matches")


def check_bench(build):
    out = wine("bench.exe", "4", cwd=build).stdout
    last = out.strip().splitlines()[-1] if out.strip() else ""
    print("      " + last)
    check(last.split()[:2] == ["signature", BENCH_SIGNATURE], "bench.exe 4 signature " + BENCH_SIGNATURE)


def legal_moves(build, fen):
    out = wine("perft.exe", "--divide", "1", fen, cwd=build).stdout
    return {line.split()[0] for line in out.splitlines() if not line.startswith("nodes")}


class session:
    """marlek.exe under Wine with pipes on its standard input and output."""

    def __init__(self, folder):
        self.proc = subprocess.Popen(["wine", "marlek.exe"], cwd=folder, stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE, bufsize=0)

    def send(self, raw):
        self.proc.stdin.write(raw)
        self.proc.stdin.flush()

    def read_through(self, prefix):
        """Raw lines up to and including the first that starts with prefix."""
        lines = []
        while True:
            ready, _, _ = select.select([self.proc.stdout], [], [], WAIT)
            if not ready:
                return lines
            line = self.proc.stdout.readline()
            if not line:
                return lines
            lines.append(line)
            if line.startswith(prefix):
                return lines


def check_session(folder, build):
    engine = session(folder)
    lines = engine.read_through(b"feature done=1")
    startup = b"".join(lines)
    exact = (startup.startswith(OPENING) and lines[-1] == b"feature done=1\r\n" and
             all(l.endswith(b"\r\n") and l.count(b"\n") == 1 and
                 (l.startswith(b"feature ") or l == b"\r\n") for l in lines))
    check(exact, "start-up bytes exact, CR LF line ends")
    if not exact:
        print("      got " + repr(startup))
    engine.send(b"ping 1\n")
    check(engine.read_through(b"pong") == [b"pong 1\r\n"], "ping 1 answered by pong 1")
    engine.send(b"new\nforce\nusermove e2e5\nping 2\n")
    check(engine.read_through(b"pong") == [b"Illegal move: e2e5\r\n", b"pong 2\r\n"],
          "illegal move refused")
    # A GUI on Windows ends its lines with CR LF; the runtime reads them as LF.
    engine.send(b"usermove e2e4\r\nping 3\r\n")
    check(engine.read_through(b"pong") == [b"pong 3\r\n"], "CR LF lines read as plain lines")
    engine.send(f"setboard {MIDDLEGAME}\nlevel 0 1 0\ntime 500\notim 500\ngo\n".encode())
    answer = engine.read_through(b"move ")
    move = answer[-1].split()[1].decode() if answer and answer[-1].startswith(b"move ") else None
    legal = legal_moves(build, MIDDLEGAME)
    check(move in legal, f"setboard and go answered with a legal move: {move}")
    engine.send(b"quit\n")
    try:
        rest, errors = engine.proc.communicate(timeout=WAIT)
    except subprocess.TimeoutExpired:
        engine.proc.kill()
        rest, errors = engine.proc.communicate()
    check(engine.proc.returncode == 0, f"quit ends with status {engine.proc.returncode}")
    check(errors == b"", "nothing on standard error " + repr(errors[:200]))


def check_zip(path, build):
    with tempfile.TemporaryDirectory() as folder:
        with zipfile.ZipFile(path) as archive:
            names = {os.path.basename(n) for n in archive.namelist() if not n.endswith("/")}
            check(ZIP_FILES <= names, f"{os.path.basename(path)} holds " + ", ".join(sorted(names)))
            archive.extractall(folder)
        exe = [root for root, _, files in os.walk(folder) if "marlek.exe" in files]
        if exe:
            check_session(exe[0], build)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True, help="the cross-build folder")
    parser.add_argument("--zip", help="the Windows zip to unpack and play")
    args = parser.parse_args()
    os.environ.setdefault("WINEDEBUG", "-all")
    build = os.path.abspath(args.build)
    check_imports(build)
    check_perft(build)
    check_bench(build)
    if args.zip:
        check_zip(os.path.abspath(args.zip), build)
    else:
        check_session(build, build)
    print("wine checks: " + ("all passed" if not failures else
                             f"{len(failures)} failed: " + "; ".join(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
