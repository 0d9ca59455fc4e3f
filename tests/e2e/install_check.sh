#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR, checks the layout Debian uses for games, then starts
# the installed engine as an unprivileged user in a folder it cannot write, as PyChess starts an
# installed engine in /usr/games: it must answer the handshake, find its book, play a book move,
# tell no error, and leave nothing behind there. Its log then goes to the user's state folder.
#   install_check.sh BUILD_DIR        (skipped, status 77, unless run as root with setpriv)
set -u
build=$(readlink -f "$1")
[ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null && id nobody >/dev/null 2>&1 || { echo "needs root and setpriv"; exit 77; }
work=$(mktemp -d /tmp/velkor-install-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

DESTDIR="$work/root" cmake --install "$build" --prefix /usr/local > "$work/install.out" || fail "cmake --install"
prefix="$work/root/usr/local"
for file in games/velkor games/velkor-tool share/games/velkor/Velkor.book share/man/man6/velkor.6.gz \
            share/man/man6/velkor-tool.6.gz share/games/plugins/xboard/velkor.eng share/doc/velkor/copyright \
            share/doc/velkor/changelog.gz; do
    [ -f "$prefix/$file" ] || fail "missing $file"
done
[ -x "$prefix/games/velkor" ] || fail "games/velkor is not executable"
printf 'plugin spec 0.0\nvelkor\nchess\n' | cmp -s - "$prefix/share/games/plugins/xboard/velkor.eng" || fail "velkor.eng bytes"
zcat "$prefix/share/man/man6/velkor.6.gz" | grep -q '^\.SH SEE ALSO' || fail "the man page has no SEE ALSO"

chmod -R a+rX "$work"
mkdir "$work/readonly" "$work/state"
chmod 555 "$work/readonly"
chown nobody "$work/state"
run() { # the installed engine as nobody in the read-only folder, with the given environment
    (printf 'xboard\nprotover 2\nnew\nhard\ntime 6000\notim 6000\ne2e4\n'; sleep 2; printf 'quit\n') |
        (cd "$work/readonly" && setpriv --reuid=nobody --regid=nogroup --clear-groups env -i PATH=/usr/bin:/bin "$@" \
            timeout 20 "$prefix/games/velkor") > "$work/out" 2>&1
}
run HOME=/nonexistent || fail "the engine ended with status $?"
grep -q '^feature done=1$' "$work/out" || fail "no handshake: $(cat "$work/out")"
grep -q '^move [a-h][1-8][a-h][1-8]$' "$work/out" || fail "no move: $(cat "$work/out")"
grep -q tellusererror "$work/out" && fail "an error was told: $(cat "$work/out")"
[ -z "$(ls -A "$work/readonly")" ] || fail "files left behind: $(ls -A "$work/readonly")"

run HOME=/nonexistent XDG_STATE_HOME="$work/state" || fail "the engine ended with status $?"
grep -q -- '-M: move(book): ' "$work/state/velkor/Velkor.log" 2>/dev/null || fail "no book move in the state folder's log"
echo "install check passed"
