#!/usr/bin/env bash
# Checks that the searches of a built binary still hold their prefetches. GCC may judge a function
# holding nothing but prefetches free of effects and drop its calls; nothing else would notice but
# the bench time, a quarter longer.
#   prefetch_check.sh BINARY
set -eu
binary=$1
command -v objdump > /dev/null || { echo "objdump missing: skipped"; exit 77; }

listing=$(objdump -d -C --no-show-raw-insn "$binary")
status=0
# Each child's bucket takes two prefetches, as a bucket may straddle two cache lines; the main
# search also loads the bucket of each child's null move.
for check in QSearch:2 Search:4; do
    function=${check%%:*} least=${check##*:}
    count=$(echo "$listing" |
            awk -v name="<velkor::$function(" 'index($0, name) && /:$/ { inside = 1; next } inside && /^$/ { inside = 0 } inside' |
            grep -c prefetch || true)
    if [ "$count" -lt "$least" ]; then
        echo "$function holds $count prefetch instructions, expected at least $least"
        status=1
    else
        echo "$function: $count prefetch instructions"
    fi
done
exit $status
