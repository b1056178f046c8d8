#!/usr/bin/env bash
# Mutation test of the test suite: applies a fixed sample of small mutations of src/ one at a
# time, builds, runs the tests of the part the mutation touches (tests/<part> for src/<part>)
# and, if they pass, the rest of the suite. Prints per mutation whether a test failed, then the
# score: killed / (killed + survived). Not part of ./test. Usage (the machine is shared):
#
#   nice -n 10 scripts/mutants.sh [--list FILE | --seed N --count N] [--only ID...] [-j N]
#
#   --list FILE   the sample to apply (default scripts/mutants/sample.txt)
#   --seed N, --count N   draw a new sample (default 19, 100) into build/mutants/sample.txt
#   --only ID...  only these mutations of the sample
#   -j N          build and test jobs (default 2)
#
# scripts/mutants/equivalent.txt lists mutations that leave behaviour unchanged, each with why;
# they are not run. Mutants that do not compile are listed and, like those, left out of the
# score. A test run over its time limit (a hang) counts as a kill.
set -euo pipefail
cd "$(dirname "$0")/.."

here=scripts/mutants
build=${ZANDREL_MUTANTS_BUILD:-build/mutants}
list=$here/sample.txt seed="" count="" jobs=2 only=()
while [ $# -gt 0 ]; do
    case $1 in
        --list) list=$2; shift 2 ;;
        --seed) seed=$2; shift 2 ;;
        --count) count=$2; shift 2 ;;
        --only) shift; while [ $# -gt 0 ] && [[ $1 != -* ]]; do only+=("$1"); shift; done ;;
        -j) jobs=$2; shift 2 ;;
        -j*) jobs=${1#-j}; shift ;;
        -h | --help) sed -n '2,/^set/{/^#/s/^# \{0,1\}//p}' "$0"; exit 0 ;;
        *) echo "mutants.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
mkdir -p "$build/logs"
if [ -n "$seed$count" ]; then
    list=$build/sample.txt
    python3 $here/mutants.py generate --seed "${seed:-19}" --count "${count:-100}" >"$list"
    echo "Sample written to $list (re-apply it with --list)"
fi
mutants=$(python3 $here/mutants.py show "$list" "${only[@]}")

# The file under mutation is copied here first, so that any exit, or the next run after a
# kill, puts it back.
saved=$build/pristine
restore() {
    if [ -f "$saved.path" ]; then
        cat "$saved.copy" >"$(cat "$saved.path")"
        rm -f "$saved.path" "$saved.copy"
    fi
}
running=""
stop() {
    [ -z "$running" ] || kill -TERM "$running" 2>/dev/null || true
    wait || true
    restore
    exit 130
}
trap stop INT TERM
trap restore EXIT
restore

echo "Configuring and building $build (Debug -O1, no sanitizers)"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O1 \
    -DCMAKE_C_FLAGS_DEBUG=-O1 -DZANDREL_SANITIZE=OFF -DZANDREL_WERROR=OFF \
    -DZANDREL_BUILD_BENCH=OFF -DZANDREL_FUZZ=OFF >"$build/logs/configure.log"
cmake --build "$build" -j"$jobs" >"$build/logs/build.log" 2>&1 ||
    { echo "The unmutated tree does not build: see $build/logs/build.log" >&2; exit 1; }

# One test folder of the build: 0 passed, 1 a test failed, 2 over the time limit.
run_tests() { # folder, seconds, log
    timeout -k 10 "$2" ctest --test-dir "$build/$1" -j"$jobs" -LE install --output-on-failure \
        >"$3" 2>&1 &
    running=$!
    local rc=0
    wait "$running" || rc=$?
    running=""
    case $rc in 0) return 0 ;; 124 | 137) return 2 ;; *) return 1 ;; esac
}

# The folders holding tests, what each takes unmutated (its limit is five times that plus a
# minute) and the executables its tests run, which are all a mutant of its part needs built.
declare -A limit targets
folders=()
started=$SECONDS
for dir in tests/* fuzz; do
    json=$(ctest --test-dir "$build/$dir" -LE install --show-only=json-v1 2>/dev/null) || continue
    names=$(python3 -c '
import json, os, sys
tests = json.load(sys.stdin)["tests"]
print(" ".join(sorted({os.path.basename(a) for t in tests for a in t.get("command") or []
                       if os.path.isfile(a) and os.access(a, os.X_OK) and sys.argv[1] in a})))
' "$(realpath "$build")/" <<<"$json")
    [ -n "$names" ] || continue
    # Executables named apart from their target (OUTPUT_NAME zdmtool-render) by the target name.
    names=${names//-/_}
    begin=$SECONDS
    run_tests "$dir" 1800 "$build/logs/baseline-${dir//\//-}.log" ||
        { echo "Tests in $dir fail without mutations: see $build/logs" >&2; exit 1; }
    folders+=("$dir")
    limit[$dir]=$((5 * (SECONDS - begin) + 60))
    targets[$dir]=$names
done
echo "Unmutated suite passes in $((SECONDS - started)) s; ${#folders[@]} test folders"

declare -A equivalent
while read -r id reason; do
    [[ -z $id || $id == \#* ]] || equivalent[$id]=$reason
done <$here/equivalent.txt

# A mutant's fate, in $status: KILLED(part) or KILLED(rest: folder) for the level whose tests
# failed. Runs in this shell, not a subshell, so that Ctrl+C reaches the test run under way.
judge() { # id, file
    local id=$1 part log=$build/logs/$1 dir rc
    part=tests/$(cut -d/ -f2 <<<"$2")
    [ -n "${targets[$part]:-}" ] || part=""
    if [ -n "$part" ]; then
        # shellcheck disable=SC2086  # a list of targets
        cmake --build "$build" -j"$jobs" --target ${targets[$part]} >"$log.build" 2>&1 ||
            { status=NOCOMPILE; return; }
        rc=0; run_tests "$part" "${limit[$part]}" "$log.part" || rc=$?
        case $rc in
            1) status="KILLED(part)"; return ;;
            2) status="KILLED(part, hang)"; return ;;
        esac
    fi
    cmake --build "$build" -j"$jobs" >"$log.build" 2>&1 || { status=NOCOMPILE; return; }
    for dir in "${folders[@]}"; do
        [ "$dir" != "$part" ] || continue
        rc=0; run_tests "$dir" "${limit[$dir]}" "$log.rest" || rc=$?
        case $rc in
            1) status="KILLED(rest: $dir)"; return ;;
            2) status="KILLED(rest: $dir, hang)"; return ;;
        esac
    done
    status=SURVIVED
}

declare -A counts=([KILLED]=0 [SURVIVED]=0 [NOCOMPILE]=0 [EQUIVALENT]=0 [GONE]=0)
results=$build/results.txt
: >"$results"
started=$SECONDS
while IFS=$'\t' read -r id file line change; do
    [ -n "$id" ] || continue
    if [ -n "${equivalent[$id]:-}" ]; then
        status="EQUIVALENT (${equivalent[$id]})"
    elif [ ! -f "$file" ]; then
        status=GONE
    else
        cp "$file" "$saved.copy"
        echo "$file" >"$saved.path"
        rc=0; where=$(python3 $here/mutants.py apply "$list" "$id") || rc=$?
        case $rc in
            0) line=${where##*:}; judge "$id" "$file" ;;
            3) status=GONE ;;
            *) echo "mutants.sh: applying $id failed" >&2; exit 1 ;;
        esac
        restore
    fi
    key=${status%%[^A-Z]*}
    counts[$key]=$((counts[$key] + 1))
    printf '%s  %s:%s  %s  %s\n' "$id" "$file" "$line" "$change" "$status" | tee -a "$results"
done <<<"$mutants"

killed=${counts[KILLED]} survived=${counts[SURVIVED]}
echo
if [ $((killed + survived)) -gt 0 ]; then
    echo "Score: $killed / $((killed + survived)) = $((1000 * killed / (killed + survived) / 10)).$((1000 * killed / (killed + survived) % 10)) %"
fi
echo "Killed $killed, survived $survived, not compiling ${counts[NOCOMPILE]}," \
    "equivalent ${counts[EQUIVALENT]}, gone ${counts[GONE]}; $((SECONDS - started)) s" |
    tee -a "$results"
