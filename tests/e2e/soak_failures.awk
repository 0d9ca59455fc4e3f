# Prints one line per game of an xboard PGN file that ended badly for Velkor's correctness: an
# illegal move (either side's, as the engine may have refused a legal one), a crash or broken
# pipe, a result claim xboard rejected, or a time forfeit by Velkor.
function check() {
    if (result == "") return
    bad = 0
    velkorLost = (velkorWhite && result == "0-1") || (!velkorWhite && result == "1-0")
    # A false claim loses for the side that made it: only Velkor's own counts (phalanx, for
    # one, ignores the en-passant square of a set-up position and calls that capture illegal).
    if (ending ~ /[Ff]alse/) bad = velkorLost
    else if (ending ~ /[Ii]llegal|exited|crash|Error writing|[Ii]nvalid/) bad = 1
    if (ending ~ /on time|[Ff]orfeit|flag/ && velkorLost) bad = 1
    if (bad) printf "game %d (%s - %s): %s %s\n", game, white, black, ending, result
    result = ""
}
/^\[Event / { check(); game++ }
/^\[White / { split($0, f, "\""); white = f[2]; velkorWhite = (white ~ /velkor/) }
/^\[Black / { split($0, f, "\""); black = f[2] }
/^\[Result / { split($0, f, "\""); result = f[2] }
/\{[^}]*\} *(1-0|0-1|1\/2-1\/2|\*) *$/ { match($0, /\{[^}]*\} *(1-0|0-1|1\/2-1\/2|\*) *$/); ending = substr($0, RSTART, RLENGTH) }
END { check() }
