#!/usr/bin/env python3
"""Checks that the source folders stay layered.

Each folder under src/ is a layer, and a file may include only from its own
folder and the folders below it in LAYERS, lowest first. Folders that share
a rank are peers (the two protocol front ends): each stands on everything
below it, and neither may include the other. The check fails on an
#include "folder/file.h" that reaches up to a higher layer or across to a
peer, on a quoted include that names no file under src/, and on a folder
under src/ that is not in the order at all, so that a new folder has to be
given its place. A folder of the order that does not exist (yet) is fine.

Usage: tools/check_layers.py [SRC_DIR]   (default: src beside this folder)
Exit status 0 when everything is in order, 1 with one line per fault.
"""
import pathlib
import re
import sys

# The layers, lowest first; a tuple is a rank of peers. The one list of
# them: .ci/run and the README refer here.
RANKS = ["base", "board", "threads", "eval", "search", "game", "book", "engine", ("uci", "xboard"),
         "entry"]
# Each folder's rank: its place in the order.
RANK_OF = {folder: rank for rank, entry in enumerate(RANKS)
           for folder in (entry if isinstance(entry, tuple) else (entry,))}
LAYERS = list(RANK_OF)


def describe_order():
    """The order as one line, peers joined by a slash."""
    return " < ".join("/".join(e) if isinstance(e, tuple) else e for e in RANKS)

QUOTED_INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc"}


def folder_faults(src):
    """Folders under src that the order does not know."""
    return [
        f"{src.name}/{entry.name}/: folder not in the layer order {describe_order()}"
        for entry in sorted(src.iterdir())
        if entry.is_dir() and entry.name not in LAYERS
    ]


def include_faults(src, path):
    """The faults of one file's quoted includes."""
    own = path.relative_to(src).parts[0]
    if own not in LAYERS:
        return []  # reported once for its folder
    faults = []
    lines = path.read_text(encoding="utf-8", errors="replace").splitlines()
    for number, line in enumerate(lines, start=1):
        match = QUOTED_INCLUDE.match(line)
        if not match:
            continue
        target = match.group(1)
        where = f"{path.relative_to(src.parent)}:{number}"
        if not (src / target).is_file():
            faults.append(f'{where}: #include "{target}" names no file under {src.name}/')
            continue
        layer = pathlib.PurePosixPath(target).parts[0]
        if layer not in RANK_OF or layer == own:
            continue
        if RANK_OF[layer] > RANK_OF[own]:
            faults.append(f'{where}: #include "{target}": {own} may not include from {layer}, '
                          f"a higher layer")
        elif RANK_OF[layer] == RANK_OF[own]:
            faults.append(f'{where}: #include "{target}": {own} may not include from {layer}, '
                          f"its peer")
    return faults


def main(argv):
    src = pathlib.Path(argv[1]) if len(argv) > 1 else pathlib.Path(__file__).parent.parent / "src"
    if not src.is_dir():
        print(f"check_layers: no folder {src}")
        return 1
    faults = folder_faults(src)
    files = sorted(p for p in src.rglob("*") if p.is_file() and p.suffix in SOURCE_SUFFIXES)
    for path in files:
        faults += include_faults(src, path)
    for fault in faults:
        print(fault)
    if faults:
        return 1
    print(f"layers in order: {len(files)} files, {describe_order()}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
