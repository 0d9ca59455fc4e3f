#!/usr/bin/env bash
# Builds BUILD with profile feedback: an instrumented build of the engine and the tools in PGO_DIR,
# a short training run (bench, perft and a UCI search, a minute or less), then BUILD optimised
# with the profile. The training runs again only when the instrumented programs have changed.
# Wherever a step fails (another compiler, no room to write), BUILD is the plain Release build,
# with one line saying so.
#   pgo_build.sh BUILD PGO_DIR JOBS [CMAKE_ARGUMENTS...]
set -u
build=$1 pgo=$2 jobs=$3
shift 3
cmakeArguments=("$@")
profile=$(mkdir -p "$pgo" 2>/dev/null && cd "$pgo" && pwd)/profile
stamp=$pgo/profile.stamp

plain() {
    echo "velkor: $1; building without profile feedback"
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELKOR_PGO_USE= "${cmakeArguments[@]}" &&
        cmake --build "$build" -j "$jobs"
    exit
}

train() {
    rm -rf "$profile" "$stamp"
    "$pgo/velkor-tool" bench 8 >/dev/null &&
        "$pgo/velkor-tool" perft 5 >/dev/null &&
        { printf 'uci\nposition startpos moves e2e4 c7c5 g1f3\ngo depth 9\n'; sleep 3; printf 'quit\n'; } |
        (cd "$pgo" && ./velkor >/dev/null) &&
        ls "$profile"/*.gcda >/dev/null 2>&1 && touch "$stamp"
}

cmake -S . -B "$pgo" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVELKOR_PGO_GENERATE="$profile" >"$pgo/instrumented-build.log" 2>&1 &&
    cmake --build "$pgo" -j "$jobs" --target velkor velkor-tool >>"$pgo/instrumented-build.log" 2>&1 ||
    plain "the instrumented build failed (see $pgo/instrumented-build.log)"
if [ ! -e "$stamp" ] || [ "$pgo/velkor" -nt "$stamp" ] || [ "$pgo/velkor-tool" -nt "$stamp" ]; then
    echo "velkor: training the profile (bench, perft and a search, under a minute)"
    train || plain "the training run failed"
fi
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELKOR_PGO_USE="$profile" "${cmakeArguments[@]}" &&
    cmake --build "$build" -j "$jobs" || plain "the build with the profile failed"
