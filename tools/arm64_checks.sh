#!/usr/bin/env bash
# Checks the arm64 build under qemu-user, driving the binaries from here:
#
#   tools/arm64_checks.sh build-arm64
#
# 1. bench 4 prints the same signature as every other build;
# 2. the engine, started in the build folder, answers `go` after `new` with
#    a move and ends with status 0 on `quit`;
# 3. the Debian package made by cpack is for arm64 and holds the files of
#    the amd64 one, in the same places.
set -euo pipefail
build=${1:?usage: arm64_checks.sh BUILD_DIR}
qemu=$(command -v qemu-aarch64)
signature=9410102
fail() { echo "FAIL  $*"; exit 1; }

got=$("$qemu" "$build/bench" 4 | tail -n 1)
[[ $got == "signature $signature "* ]] || fail "bench 4 under qemu: $got"
echo "ok    bench 4: $got"

coproc engine { cd "$build" && exec "$qemu" ./marlek; }
pid=$engine_PID
printf 'xboard\nprotover 2\nnew\ngo\n' >&"${engine[1]}"
line=""
while read -r -t 60 line <&"${engine[0]}" && [[ $line != move\ * ]]; do :; done
[[ $line == move\ * ]] || fail "no move from the engine under qemu"
echo quit >&"${engine[1]}"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "quit ended the engine with status $status"
echo "ok    xboard session: $line, then quit"

deb=$(echo "$build"/marlek_*_arm64.deb)
[ -f "$deb" ] || fail "no arm64 package in $build (run cpack -G DEB there)"
[ "$(dpkg-deb --field "$deb" Architecture)" = arm64 ] || fail "$deb is not for arm64"
contents=$(dpkg-deb --contents "$deb")
for path in ./usr/games/marlek ./usr/share/games/marlek/marlekkeys.bin \
  ./usr/share/games/marlek/MarlekBook.txt ./usr/share/man/man6/marlek.6.gz \
  ./usr/share/games/plugins/xboard/marlek.eng; do
  grep -q " $path\$" <<<"$contents" || fail "$deb lacks $path"
done
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
# The ELF header's machine field (bytes 18-19) is 183 for AArch64.
[ "$(od -An -tu2 -j18 -N2 "$unpacked/usr/games/marlek" | tr -d ' ')" = 183 ] ||
  fail "the packaged engine is not an arm64 executable"
echo "ok    $(basename "$deb"): arm64, engine, data, man page and xboard registration"
