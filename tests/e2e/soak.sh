#!/usr/bin/env bash
# A long soak under the headless xboard referee: series of games against fairymax and phalanx,
# pondering on and off, fast clocks (0:05 + 0.05, 0:10 + 0.1, 40 moves in 0:20, st 1), from the
# start and from FEN positions with castling rights and en-passant squares, both colours; then
# UCI series against the installed Debian UCI engines (fastchess, and xboard through polyglot).
#   soak.sh [GAMES] [VELKOR_BINARY]     (default 200 games, build/velkor)
# Fails on any illegal move, time forfeit, crash, hang, tellusererror or result claim that
# xboard rejects; prints the score per opponent and, per failure, a line and the game's PGN.
# Not part of `make test`: 200 games take about an hour and a half. Needs xboard, xvfb, fairymax and phalanx.
set -u
total=${1:-200}
here=$(dirname "$(readlink -f "$0")")
engine=$(readlink -f "${2:-$here/../../build/velkor}")
export PATH="$PATH:/usr/games"
for tool in xboard xvfb-run fairymax phalanx; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$tool not installed"; exit 2; }
done

# opponent | time control | increment | moves per session | seconds per move | ponder | positions
series=(
    "fairymax|0:05|0.05|0|0|false|yes"
    "phalanx|0:10|0.1|0|0|false|yes"
    "fairymax|0:20|-1|40|0|true|no"
    "phalanx|0:05|0.05|0|0|true|yes"
    "fairymax|0:10|0.1|0|0|true|yes"
    "phalanx|0:20|-1|40|0|false|no"
    "fairymax|0:10|-1|0|1|true|yes"
    "phalanx|0:10|-1|0|1|false|yes"
)
perSeries=4

root=$(mktemp -d /tmp/velkor-soak-XXXXXX)
echo "soak: $total games, work in $root"
played=0 index=0 failures=0
: > "$root/all.pgn"
while [ "$played" -lt "$total" ]; do
    IFS='|' read -r opponent tc inc mps st ponder positions <<< "${series[$((index % ${#series[@]}))]}"
    games=$(( total - played < perSeries ? total - played : perSeries ))
    work="$root/series-$index"
    mkdir -p "$work/play"
    cp "$here/../../play/Velkor.book" "$work/play/"
    options=(-timeControl "$tc")
    [ "$inc" != "-1" ] && options+=(-timeIncrement "$inc")
    [ "$mps" != "0" ] && options+=(-movesPerSession "$mps")
    [ "$st" != "0" ] && options=(-searchTime "0:0$st")
    if [ "$positions" = yes ]; then
        # Each position twice, the engines swapping colours; every series starts further on.
        count=$(wc -l < "$here/soak-positions.fen")
        shift=$(( (index * games / 2) % count ))
        { tail -n +$((shift + 1)) "$here/soak-positions.fen"; head -n "$shift" "$here/soak-positions.fen"; } > "$work/positions.fen"
        options+=(-loadPositionFile "$work/positions.fen" -loadPositionIndex -2)
    fi
    ( cd "$work" && timeout $(( games * 400 )) xvfb-run -a xboard -noGUI -popupExitMessage false \
        -saveSettingsOnExit false -soundMove "" -fcp "$engine" -fd "$work/play" -scp "$opponent" -sd "$work" \
        -matchGames "$games" -matchPause 500 "${options[@]}" -autoCallFlag true -testClaims true \
        -ponderNextMove "$ponder" -egtFormats "" -saveGameFile "$work/games.pgn" -pgnExtendedInfo true \
        -debugMode true -nameOfDebugFile "$work/xboard.debug" > "$work/xboard.out" 2>&1 )
    status=$?
    finished=$(grep -c '^\[Result ' "$work/games.pgn" 2>/dev/null || true)
    cat "$work/games.pgn" >> "$root/all.pgn" 2>/dev/null
    label="series $index: $opponent $tc+$inc mps=$mps st=$st ponder=$ponder positions=$positions"
    problem=""
    if [ "$status" -eq 124 ]; then
        # Name the engine that spoke last: phalanx, pondering under "st", can search on forever.
        last=$(grep -o '^[0-9]* <\(first\|second\)' "$work/xboard.debug" 2>/dev/null | tail -1 | grep -o 'first\|second')
        [ "$last" = second ] && last=$opponent || last=Velkor
        problem="hang (xboard killed after $(( games * 400 )) s; the last engine to speak was $last)"
    fi
    [ -z "$problem" ] && [ "$status" -ne 0 ] && problem="xboard ended with status $status"
    [ -z "$problem" ] && [ "${finished:-0}" -lt "$games" ] && problem="only ${finished:-0} of $games games finished"
    grep -q tellusererror "$work/xboard.debug" 2>/dev/null && problem="${problem:+$problem; }tellusererror: $(grep -m1 tellusererror "$work/xboard.debug")"
    bad=$(awk -f "$here/soak_failures.awk" "$work/games.pgn" 2>/dev/null)
    [ -n "$bad" ] && problem="${problem:+$problem; }$bad"
    if [ -n "$problem" ]; then
        failures=$((failures + 1))
        echo "FAIL $label: $problem"
        cat "$work/games.pgn" 2>/dev/null | tail -40
    else
        echo "ok   $label: $finished games"
    fi
    played=$((played + games))
    index=$((index + 1))
done

# UCI series against the Debian UCI engines that are installed: under fastchess (when it is at
# hand: FASTCHESS, or ../shared/tools/fastchess) without pondering, and with pondering under
# xboard through polyglot, since the fastchess build we test with cannot ponder.
fastchess=${FASTCHESS:-$here/../../../shared/tools/fastchess}
[ -x "$fastchess" ] || echo "fastchess not found: no UCI series under fastchess"
for opponent in "/usr/games/gnuchess --uci" /usr/games/glaurung /usr/games/toga2; do
    [ -x "${opponent%% *}" ] || continue
    if [ -x "$fastchess" ]; then
        if "$here/uci_match.sh" "$engine" "$fastchess" 10 10+0.1 false $opponent > "$root/uci.out" 2>&1; then
            echo "ok   uci: $(head -1 "$root/uci.out")"
        else
            failures=$((failures + 1))
            echo "FAIL uci:"; cat "$root/uci.out"
        fi
    fi
    if OPPONENT="$opponent" OPPONENT_UCI=true "$here/xboard_match.sh" "$engine" 10 0:10 0.1 true uci \
        > "$root/uci.out" 2>&1; then
        echo "ok   uci pondering through polyglot against $opponent: $(tail -1 "$root/uci.out")"
    elif [ $? -ne 77 ]; then
        failures=$((failures + 1))
        echo "FAIL uci pondering through polyglot against $opponent:"; cat "$root/uci.out"
    fi
done

echo "--- score (Velkor's points per opponent)"
awk -F'"' '
    /^\[White /{w=$2} /^\[Black /{b=$2}
    /^\[Result /{
        r=$2; opp=(w ~ /velkor/) ? b : w; white=(w ~ /velkor/)
        pts=(r=="1/2-1/2") ? 0.5 : ((r=="1-0") == white ? 1 : 0)
        if (r=="*") next
        score[opp]+=pts; games[opp]++
    }
    END { for (o in score) printf "%s: %.1f / %d\n", o, score[o], games[o] }' "$root/all.pgn"
echo "--- endings"
grep -o '{[^}]*} *\(1-0\|0-1\|1/2-1/2\)$' "$root/all.pgn" | sed 's/ *\(1-0\|0-1\|1\/2-1\/2\)$//' | sort | uniq -c | sort -rn
echo "$played games in $index series, $failures failing series; PGN: $root/all.pgn"
[ "$failures" -eq 0 ]
