# Counts the moves of Velkor in an xboard PGN file that carry no comment; with -pgnExtendedInfo
# xboard writes {score/depth time} after every move whose thinking output it could read. The
# movetext of a game is joined first: xboard may wrap a comment across lines.
function countGame(   text, token, ply, pending, whiteMoved) {
    text = movetext
    while (match(text, /\{[^}]*\}|[^ \t{]+/)) {
        token = substr(text, RSTART, RLENGTH)
        text = substr(text, RSTART + RLENGTH)
        if (token ~ /^\{/) { pending = 0; continue }
        if (pending) missing++
        pending = 0
        if (token ~ /^[0-9]+\.+$/ || token ~ /^(1-0|0-1|1\/2-1\/2|\*)$/) continue
        whiteMoved = (ply % 2 == 0)
        ply++
        if (whiteMoved == velkorWhite) pending = 1
    }
    if (pending) missing++
    movetext = ""
}
/^\[Event / { countGame() }
/^\[White / { velkorWhite = ($0 ~ /"velkor/) }
/^\[/ { next }
{ movetext = movetext " " $0 }
END { countGame(); print missing + 0 }
