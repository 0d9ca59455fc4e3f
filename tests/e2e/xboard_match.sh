#!/usr/bin/env bash
# Plays Velkor against fairymax (or OPPONENT) under a headless xboard referee and fails on any illegal move,
# time forfeit, crash or "tellusererror", and on a searched Velkor move whose thinking output
# xboard could not read (its PGN then lacks the {score/depth time} comment).
#   xboard_match.sh VELKOR_BINARY GAMES [TIME_CONTROL] [INCREMENT] [PONDER true|false] [uci]
# With "uci" xboard drives Velkor in UCI through polyglot (go ponder, ponderhit and stop when
# pondering). OPPONENT names another xboard engine than fairymax; OPPONENT_UCI=true makes it a
# UCI one ("gnuchess --uci"). Exit 77 (skipped) when xboard, xvfb-run, the opponent (or polyglot)
# is not installed.
set -u
engine=$(readlink -f "$1")
games=${2:-1}
control=${3:-0:05}
increment=${4:-0.1}
ponder=${5:-false}
protocol=${6:-xboard}
uci=()
[ "$protocol" = uci ] && uci=(-fUCI)
opponent=${OPPONENT:-fairymax}
opponentUci=()
[ "${OPPONENT_UCI:-false}" = true ] && opponentUci=(-sUCI)
export PATH="$PATH:/usr/games"
for tool in xboard xvfb-run "${opponent%% *}" ${uci:+polyglot}; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$tool not installed: skipped"; exit 77; }
done

here=$(dirname "$(readlink -f "$0")")
work=$(mktemp -d /tmp/velkor-match-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/play"
cp "$here/../../play/Velkor.book" "$work/play/"
cd "$work" || exit 1
timeout 1800 xvfb-run -a xboard -noGUI -popupExitMessage false -saveSettingsOnExit false \
    -soundMove "" -fcp "$engine" "${uci[@]}" -fd "$work/play" -scp "$opponent" "${opponentUci[@]}" -sd "$work" \
    -matchGames "$games" -matchPause 500 -timeControl "$control" -timeIncrement "$increment" \
    -autoCallFlag true -ponderNextMove "$ponder" -egtFormats "" \
    -saveGameFile "$work/games.pgn" -pgnExtendedInfo true \
    -debugMode true -nameOfDebugFile "$work/xboard.debug" \
    > "$work/xboard.out" 2>&1
status=$?

results=$(grep -c '^\[Result ' "$work/games.pgn" 2>/dev/null || echo 0)
problems=$(grep -E -i 'illegal move|on time|exited unexpectedly|Error writing|crash' "$work/games.pgn" 2>/dev/null)
velkorLost=$(grep -E -i 'velkor.*(forfeit|illegal)|(forfeit|illegal).*velkor' "$work/games.pgn" 2>/dev/null)
awk -F'"' '/^\[White /{w=$2} /^\[Black /{b=$2} /^\[Result /{print w " - " b ": " $2}' "$work/games.pgn" 2>/dev/null
grep -o '{[^}]*} *\(1-0\|0-1\|1/2-1/2\)$' "$work/games.pgn" 2>/dev/null | sort | uniq -c
if [ "$status" -ne 0 ]; then echo "xboard ended with status $status"; tail -20 "$work/xboard.out"; exit 1; fi
if [ "$results" -lt "$games" ]; then echo "only $results of $games games finished"; exit 1; fi
if [ -n "$problems" ]; then echo "problems:"; echo "$problems"; exit 1; fi
if [ -n "$velkorLost" ]; then echo "$velkorLost"; exit 1; fi
if grep -q tellusererror "$work/xboard.debug"; then echo "the engine told the user of an error:"; grep tellusererror "$work/xboard.debug"; exit 1; fi
# Every Velkor move without a comment must be a book move (under xboard; polyglot shows a book
# move's thinking line).
if [ "$protocol" = uci ]; then
    echo "$results games through polyglot, no illegal move, time forfeit, crash or error"
    exit 0
fi
uncommented=$(awk -f "$here/uncommented_moves.awk" "$work/games.pgn")
book=$(grep -c -- '-M: move(book): ' "$work/play/Velkor.log")
if [ "$uncommented" -ne "$book" ]; then
    echo "$uncommented Velkor moves without thinking output in the PGN, $book book moves"; exit 1
fi
echo "$results games, no illegal move, time forfeit, crash or error; $book book moves, every other move with its thinking output"
[ -n "${KEEP_PGN:-}" ] && cp "$work/games.pgn" "$KEEP_PGN"
exit 0
