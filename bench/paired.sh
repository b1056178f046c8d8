#!/usr/bin/env bash
# Times a product command against its floor in alternating rounds: each round is one hyperfine
# run of both (the order swapped every round), so a machine that others load at the same time
# slows both alike. Prints each command's median of round medians with its range, and the
# ratio product / floor as the median of the rounds' ratios with their range.
# Usage: bench/paired.sh "PRODUCT COMMAND" "FLOOR COMMAND"
#   ROUNDS (default 10) rounds of RUNS (default 5) runs each, after one warm-up run.
set -euo pipefail

product=${1:?product command}
floor=${2:?floor command}
rounds=${ROUNDS:-10}
runs=${RUNS:-5}
command -v hyperfine >/dev/null || { echo "missing: hyperfine" >&2; exit 2; }
csv=$(mktemp)
trap 'rm -f "$csv"' EXIT

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
results=()
for round in $(seq "$rounds"); do
    if [ $((round % 2)) -eq 1 ]; then
        order=("$product" "$floor")
    else
        order=("$floor" "$product")
    fi
    hyperfine -N --style none --warmup 1 --runs "$runs" --export-csv "$csv" "${order[@]}" \
        >/dev/null
    # Columns: command, mean, stddev, median, user, system, min, max (seconds).
    p=$(awk -F, -v c="$product" 'NR > 1 && $1 == c { print $4 * 1000 }' "$csv")
    f=$(awk -F, -v c="$floor" 'NR > 1 && $1 == c { print $4 * 1000 }' "$csv")
    results+=("$p $f")
done
echo "load after:  $(cut -d' ' -f1-3 /proc/loadavg)"

printf '%s\n' "${results[@]}" | awk -v n="$rounds" '
    function median(a, count,   i, j, t) {
        for (i = 2; i <= count; i++) {
            t = a[i]
            for (j = i - 1; j >= 1 && a[j] > t; j--) a[j + 1] = a[j]
            a[j + 1] = t
        }
        return count % 2 ? a[(count + 1) / 2] : (a[count / 2] + a[count / 2 + 1]) / 2
    }
    { p[NR] = $1; f[NR] = $2; r[NR] = $1 / $2 }
    END {
        mp = median(p, n); mf = median(f, n); mr = median(r, n)
        printf "product  median %7.1f ms  (rounds %.1f .. %.1f)\n", mp, p[1], p[n]
        printf "floor    median %7.1f ms  (rounds %.1f .. %.1f)\n", mf, f[1], f[n]
        printf "ratio    median %7.3f     (rounds %.3f .. %.3f)\n", mr, r[1], r[n]
    }'
