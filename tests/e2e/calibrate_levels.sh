#!/usr/bin/env bash
# Measures Velkor's strength levels on Stockfish's Elo scale under fastchess and prints a table.
#   calibrate_levels.sh VELKOR FASTCHESS GAMES TC ELO...
# e.g. calibrate_levels.sh build/velkor ../shared/tools/fastchess 100 10+0.1 2000 1700 1350 1150 950 800
# ELO at or above Stockfish's floor (1350): Velkor at UCI_Elo ELO against Stockfish limited to the
# same Elo, so a true level scores 50 %. Below it the levels are chained: each plays Velkor at the
# level listed before it, and the table gives the Elo that measures. ELO "full": Velkor at full
# strength against Stockfish at FULL_OPPONENT_ELO (default 1900); the measured Elo is its own.
# ELO=MEASURED: a level measured before, which a chain below it starts from without a match.
# ELO "skillN": Skill Level N (0 to 20, for the levels under UCI_Elo's floor), chained like those
# below 1350.
# STOCKFISH names the opponent (default /usr/games/stockfish). Openings: tests/e2e/openings.epd
# in random order, each with both colours; pondering off; a game is given up when both engines
# see one side 6 pawns ahead three moves running, and drawn when after move 40 both see it within
# 0.1 pawn for eight moves. A time loss, illegal move, stall or
# crash of either side fails the run.
set -u
here=$(dirname "$(readlink -f "$0")")
velkor=$(readlink -f "$1") fastchess=$(readlink -f "$2") games=$3 tc=$4
shift 4
stockfish=${STOCKFISH:-/usr/games/stockfish}
floor=1350
work=$(mktemp -d /tmp/velkor-levels-XXXXXX)
mkdir -p "$work/play"
cp "$here/../../play/Velkor.book" "$work/play/" 2>/dev/null

velkorAt() { # sets the array named $1 to the fastchess arguments of Velkor at a level
    local -n args=$1
    local level=$2
    args=(cmd="$velkor" name="velkor-$level" dir="$work/play")
    if [[ $level =~ ^skill([0-9]+)$ ]]; then args+=("option.Skill Level=${BASH_REMATCH[1]}")
    elif [ "$level" != full ]; then args+=(option.UCI_LimitStrength=true option.UCI_Elo="$level"); fi
}

status=0
previous=
printf '%-6s %-22s %6s %8s %16s %10s\n' level opponent games score "Elo difference" measured
for elo in "$@"; do
    if [[ $elo =~ ^([0-9]+)=([0-9]+)$ ]]; then # a level measured before: the chain goes on from it
        previous=${BASH_REMATCH[1]} previousMeasured=${BASH_REMATCH[2]}
        printf '%-6s %-22s %6s %8s %16s %10s\n' "$previous" "(measured before)" - - - "$previousMeasured"
        continue
    fi
    if [ "$elo" = full ]; then
        against=${FULL_OPPONENT_ELO:-1900}
        opponent=(cmd="$stockfish" name="stockfish-$against" option.UCI_LimitStrength=true option.UCI_Elo="$against")
    elif [[ $elo =~ ^[0-9]+$ ]] && [ "$elo" -ge "$floor" ]; then
        against=$elo
        opponent=(cmd="$stockfish" name="stockfish-$elo" option.UCI_LimitStrength=true option.UCI_Elo="$elo")
    elif [ -n "$previous" ]; then
        against=$previousMeasured
        velkorAt opponent "$previous"
    else
        echo "level $elo below $floor needs a level above it listed first" >&2
        exit 2
    fi
    velkorAt engine "$elo"
    out="$work/$elo"
    ( cd "$work" && "$fastchess" -engine "${engine[@]}" -engine "${opponent[@]}" \
        -each tc="$tc" -rounds $(( (games + 1) / 2 )) -repeat \
        -resign movecount=3 score=600 twosided=true -draw movenumber=40 movecount=8 score=10 \
        -openings file="$here/openings.epd" format=epd order=random \
        -pgnout file="$out.pgn" -log file="$out.log" level=warn -recover > "$out.out" 2>&1 ) || status=1
    result=$(grep -E "^Games:" "$out.out" | tail -1)
    played=$(echo "$result" | sed -E 's/^Games: ([0-9]+).*/\1/')
    score=$(echo "$result" | sed -E 's/.*\(([0-9.]+) ?%\).*/\1/')
    difference=$(grep -E "^Elo:" "$out.out" | tail -1 | sed -E 's/^Elo: ([-0-9.]+|-?inf) \+\/- ([0-9.]+|-?nan|inf).*/\1 +\/- \2/')
    measured=$(awk -v a="$against" -v d="${difference%% *}" 'BEGIN { printf "%d", a + d }')
    failures=$(grep -o '{[^}]*}' "$out.pgn" 2>/dev/null | grep -ciE 'time|illegal|disconnect|stall|crash')
    [ "$failures" -eq 0 ] || { status=1; echo "level $elo: $failures forfeits, see $out.pgn" >&2; }
    printf '%-6s %-22s %6s %7s%% %16s %10s\n' "$elo" "${opponent[1]#name=}" "${played:-?}" "${score:-?}" "${difference:-?}" "$measured"
    previous=$elo
    previousMeasured=$measured
done
echo "games, logs and PGNs in $work"
exit $status
