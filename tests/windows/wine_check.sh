#!/usr/bin/env bash
# The Windows build under Wine, checked against the Linux build: the xboard handshake bytes (CR LF
# input), a game with "?", pondering and a ponder hit, "quit" and the end of input, perft and the
# classic perft suite, the bench signature, the game-file tools byte for byte, and UCI with
# "go infinite", "isready" and "stop".
#   wine_check.sh WINDOWS_BUILD_DIR LINUX_BUILD_DIR     (exit 77 when Wine is not installed)
set -u
windows=$(readlink -f "$1") linux=$(readlink -f "$2")
here=$(dirname "$(readlink -f "$0")")
data="$here/../data"
wine=${WINE:-/usr/lib/wine/wine64}
[ -x "$wine" ] || { echo "wine64 not installed: skipped"; exit 77; }
export WINEDEBUG=-all WINEPREFIX=${WINEPREFIX:-$HOME/.wine-velkor}
work=$(mktemp -d /tmp/velkor-wine-XXXXXX)
trap 'kill %% 2>/dev/null; rm -rf "$work"' EXIT
failures=0
pass() { echo "ok   $*"; }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
engine() { "$wine" "$windows/velkor.exe"; }
tool() { "$wine" "$windows/velkor-tool.exe" "$@"; }
"$wine" wineboot --init > /dev/null 2>&1 # the prefix, once, so that no check waits for it

# True when MOVE is legal after MOVES from the start position, by the Linux engine's board.
legal() {
    local moves=$1 move=$2
    printf 'xboard\nnew\nforce\n%s\n%s\nquit\n' "$(echo $moves | tr ' ' '\n')" "$move" | (cd "$work/linux" && "$linux/velkor") |
        grep -q 'Illegal move' && return 1
    return 0
}

# ---- xboard
mkdir "$work/linux" # the Linux engine's log must not take the place of the Windows engine's
cd "$work" || exit 1
expected=$'\nfeature done=0\nfeature setboard=1\nfeature done=1\n'
[ "$(printf 'xboard\r\nprotover 2\r\nquit\r\n' | engine; echo x)" = "${expected}x" ] && pass "xboard handshake bytes" || fail "xboard handshake bytes"

# A game: the engine answers e2e4 (a budget of 7 s, "?" brings it at once), ponders, and a hit
# on the move it expects is answered too; the output is read as it comes.
mkfifo "$work/in" "$work/out"
engine < "$work/in" > "$work/out" &
exec 3> "$work/in" 4< "$work/out"
next_move() { # reads up to the next "move" line, at most $1 seconds
    local line
    while IFS= read -r -t "$1" -u 4 line; do
        [[ $line == move\ * ]] && { echo "${line#move }"; return 0; }
    done
    return 1
}
printf 'xboard\nprotover 2\nnew\nhard\npost\nlevel 40 5 0\ntime 30000\notim 30000\ngo\n' >&3
sleep 1
printf 'post\n?\n' >&3
white=$(next_move 5) && legal "" "$white" && pass "go, then move now ($white)" || fail "go and move now"
printf 'time 29500\notim 29500\nd7d5\n' >&3
sleep 1
printf '?\n' >&3
first=$(next_move 5) && legal "$white d7d5" "$first" && pass "a reply, move now ($first)" || fail "move now"
ponder="" # the reply the engine ponders on after its second move (its second ponder line)
for _ in 1 2 3 4 5 6 7 8 9 10; do
    ponder=$(grep -a -- '-ponder move: ' Velkor.log 2>/dev/null | sed -n 2p | sed 's/.*: //' | tr -d '\r')
    [ -n "$ponder" ] && break
    sleep 0.3
done
if [ -n "$ponder" ]; then
    printf 'time 29000\notim 29000\n%s\n?\n' "$ponder" >&3
    second=$(next_move 5) && legal "$white d7d5 $first $ponder" "$second" && pass "ponder hit on $ponder ($second)" ||
        fail "ponder hit on $ponder"
else
    fail "no ponder move in the log"
fi
grep -aq -- '-GOOD PONDER' Velkor.log && pass "the hit was a hit" || fail "no GOOD PONDER in the log"
started=$(date +%s%N)
printf 'quit\n' >&3
exec 3>&- 4<&-
wait
(( ($(date +%s%N) - started) / 1000000 < 5000 )) && pass "quit" || fail "quit took too long"
(printf 'xboard\nnew\nlevel 40 5 0\ntime 30000\notim 30000\ne2e4\n'; sleep 1) | timeout 10 "$wine" "$windows/velkor.exe" > /dev/null &&
    pass "end of input while thinking" || fail "end of input while thinking"

# Folders with blanks and non-ASCII letters: the book in the working folder, and beside the
# executable (where Windows users unpack an engine) when the interface starts it elsewhere.
odd="$work/Échecs et mat ü"
mkdir -p "$odd/engine" "$odd/elsewhere"
cp "$here/../../play/Velkor.book" "$odd/"
(cd "$odd" && printf 'xboard\nnew\nquit\n' | engine) | grep -q 'BOOK ERROR' && fail "book in a working folder named $odd" ||
    pass "book in a working folder with blanks and accents"
cp "$windows/velkor.exe" "$here/../../play/Velkor.book" "$odd/engine/"
(cd "$odd/elsewhere" && printf 'xboard\nnew\nquit\n' | "$wine" "$odd/engine/velkor.exe") | grep -q 'BOOK ERROR' &&
    fail "book beside the executable" || pass "book beside the executable, started from another folder"
[ -s "$odd/elsewhere/Velkor.log" ] && pass "log in that folder" || fail "no log in $odd/elsewhere"

# ---- perft and bench
[ "$(tool perft 5 | awk '$1 == "nodes" {print $2}')" = 4865609 ] && pass "perft 5" || fail "perft 5"
suite=$(tool perftsuite "$data/perft/perftsuite.epd" 5 | tail -1 | tr -d '\r')
[[ $suite == *" passed, 0 failed" ]] && pass "perft suite to depth 5: $suite" || fail "perft suite: $suite"
nodes=$(tool bench 5 | awk '$1 == "nodes" {print $2}')
[ "$nodes" = "$("$linux/velkor-tool" bench 5 | awk '$1 == "nodes" {print $2}')" ] && pass "bench 5 nodes $nodes" || fail "bench 5 nodes $nodes"

# ---- game files, byte for byte
same=true
for pgn in "$data"/pgn/*.pgn; do
    name=$(basename "$pgn" .pgn)
    tool pgn2game "$pgn" "w-$name.game" > "w-$name.msg"
    "$linux/velkor-tool" pgn2game "$pgn" "l-$name.game" > "l-$name.msg"
    tool game2pgn "w-$name.game" "w-$name.pgn" > /dev/null
    "$linux/velkor-tool" game2pgn "l-$name.game" "l-$name.pgn" > /dev/null
    tool game2pos "w-$name.game" - > "w-$name.tsv" 2> /dev/null
    "$linux/velkor-tool" game2pos "l-$name.game" - > "l-$name.tsv" 2> /dev/null
    for kind in game pgn tsv; do cmp -s "w-$name.$kind" "l-$name.$kind" || { same=false; echo "  $name.$kind differs"; }; done
    sed 's/w-/l-/' "w-$name.msg" | cmp -s - "l-$name.msg" || { same=false; echo "  $name messages differ"; }
done
$same && pass "pgn2game, game2pgn and game2pos byte for byte" || fail "game files"

# ---- UCI
mkfifo "$work/uin" "$work/uout"
engine < "$work/uin" > "$work/uout" &
exec 3> "$work/uin" 4< "$work/uout"
await() { # reads up to a line that starts with $1, at most $2 seconds; prints it
    local line
    while IFS= read -r -t "$2" -u 4 line; do [[ $line == "$1"* ]] && { echo "$line"; return 0; }; done
    return 1
}
printf 'uci\n' >&3
await uciok 5 > /dev/null && pass "uci handshake" || fail "uci handshake"
printf 'position startpos moves e2e4\ngo infinite\n' >&3
sleep 1
printf 'isready\n' >&3
await readyok 3 > /dev/null && pass "isready during go infinite" || fail "isready during go infinite"
printf 'stop\n' >&3
best=$(await bestmove 3) && legal "e2e4" "$(echo "$best" | awk '{print $2}')" && pass "stop: $best" || fail "stop: $best"
printf 'quit\n' >&3
exec 3>&- 4<&-
wait

echo "$failures failed"
[ "$failures" -eq 0 ]
