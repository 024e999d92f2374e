#!/usr/bin/env bash
# Mutation check of the engine and command-line tests: plants one fault at a time in
# a source tree, rebuilds, runs the tests and says whether they caught it. A trimmed
# test suite must catch every mutant the suite before it caught.
#
#   scripts/mutation-check.sh [--dry-run] TREE BUILD MUTANTS_FILE [ID...]
#
# TREE is a git work tree of Plyforge and BUILD its build folder (configured here
# when it has no CMakeCache.txt). Use a worktree of its own: each mutated file is
# restored with `git checkout -- FILE`, so the script refuses to touch a file that
# has changes not staged. With IDs, only those mutants run. --dry-run only checks
# that each mutant applies ("ID applies|bad"), building nothing.
#
# MUTANTS_FILE has one mutant a line, four fields separated by tabs:
#   ID <TAB> path in TREE <TAB> exact text <TAB> replacement text
# The text must occur exactly once in the file; fields are taken literally (no
# escapes), so a mutant is one line of code or part of one. Blank lines and lines
# starting with # are skipped.
#
# Prints "ID caught|survived|nocompile" a mutant, then
# "N mutants: C caught, S survived, X not compiled". A mutant that does not apply
# (text missing or repeated, unknown file, malformed line) counts as not compiled:
# it is a bad mutant, and the reason goes to standard error. The build and test
# output of each mutant, and the tests that failed, are kept in
# $MUTATION_LOG_DIR (default BUILD/mutation-logs).
set -uo pipefail

usage() {
    echo "usage: $0 [--dry-run] TREE BUILD MUTANTS_FILE [ID...]" >&2
    exit 2
}
die() {
    echo "mutation-check: $*" >&2
    exit 2
}
note() { echo "mutation-check: $*" >&2; }

dry_run=false
if [[ ${1:-} == --dry-run ]]; then
    dry_run=true
    shift
fi
[[ $# -ge 3 ]] || usage
tree=$(cd "$1" 2>/dev/null && pwd -P) || die "no such tree: $1"
build=$2
mutants_file=$3
shift 3
wanted=("$@")

top=$(git -C "$tree" rev-parse --show-toplevel 2>/dev/null) && top=$(cd "$top" && pwd -P)
[[ $top == "$tree" ]] || die "$tree is not the top of a git work tree"
[[ -r $mutants_file ]] || die "cannot read $mutants_file"
mkdir -p "$build" || die "cannot create $build"
build=$(cd "$build" && pwd -P)
log_dir=${MUTATION_LOG_DIR:-$build/mutation-logs}
mkdir -p "$log_dir" || die "cannot create $log_dir"

# One run per build folder: two would rebuild under each other's mutants.
exec 9>"$build/.mutation-check.lock"
flock -n 9 || die "another mutation check is running on $build"

# The machine is shared: two jobs at most, one build at a time.
targets=(engine_tests cli_tests plyforge-cli)
ctest_args=(--test-dir "$build" -R '^(engine|cli)\.' -j2 --timeout 120)

# --- reading the mutants -----------------------------------------------------

ids=() paths=() texts=() repls=() problems=()
declare -A seen_id=()
tab=$'\t'
line_number=0
while IFS= read -r line || [[ -n $line ]]; do
    line_number=$((line_number + 1))
    line=${line%$'\r'}
    [[ -z $line || $line == \#* ]] && continue
    tabs=${line//[^$tab]/}
    id=${line%%"$tab"*}
    problem=
    if [[ ${#tabs} -ne 3 ]]; then
        problem="line $line_number has ${#tabs} tabs, not 3"
        [[ -n $id && $id != "$line" ]] || id="line$line_number"
        path='' text='' repl=''
    else
        rest=${line#*"$tab"}
        path=${rest%%"$tab"*}
        rest=${rest#*"$tab"}
        text=${rest%%"$tab"*}
        repl=${rest#*"$tab"}
        if [[ -z $id ]]; then
            id="line$line_number"
            problem="line $line_number has no ID"
        elif [[ -z $text ]]; then
            problem="the text to replace is empty"
        elif [[ $text == "$repl" ]]; then
            problem="the replacement is the text itself"
        elif [[ $path == /* || $path == *..* || ! -f $tree/$path ]]; then
            problem="no file $path in the tree"
        fi
    fi
    if [[ -n ${seen_id[$id]:-} ]]; then
        problem="${problem:+$problem; }ID used twice (line ${seen_id[$id]})"
    fi
    seen_id[$id]=$line_number
    if [[ ${#wanted[@]} -gt 0 && " ${wanted[*]} " != *" $id "* ]]; then
        continue
    fi
    ids+=("$id") paths+=("$path") texts+=("$text") repls+=("$repl") problems+=("$problem")
done <"$mutants_file"

[[ ${#ids[@]} -gt 0 ]] || die "no mutants to run"

# Restoring with git checkout would throw away someone's edits: refuse first.
declare -A checked=()
for i in "${!ids[@]}"; do
    path=${paths[i]}
    [[ -n ${problems[i]} || -n ${checked[$path]:-} ]] && continue
    checked[$path]=1
    git -C "$tree" ls-files --error-unmatch -- "$path" >/dev/null 2>&1 ||
        die "$path is not tracked by git in $tree, so it could not be restored"
    git -C "$tree" diff --quiet -- "$path" ||
        die "$path has changes not staged in $tree; commit, stage or stash them first"
done

# --- applying and restoring ----------------------------------------------------

mutated=    # the file that holds a mutant right now
child=      # the build or test run in progress

restore() {
    if [[ -n $mutated ]]; then
        git -C "$tree" checkout -- "$mutated" || note "could not restore $tree/$mutated"
        mutated=
    fi
}

on_signal() {
    trap - INT TERM HUP
    if [[ -n $child ]]; then
        kill -TERM "$child" 2>/dev/null
        wait "$child" 2>/dev/null
    fi
    local file=$mutated
    restore
    note "interrupted${file:+; $file restored}"
    exit 130
}
trap on_signal INT TERM HUP
trap restore EXIT

# Runs a command with its output in a log, in the background so that a signal
# reaches the trap at once rather than after the command.
run_logged() {
    local log=$1
    shift
    "$@" >"$log" 2>&1 &
    child=$!
    wait "$child"
    local status=$?
    child=
    return "$status"
}

# Puts mutant i in its file; on failure sets apply_error and leaves the file alone.
apply_mutant() {
    local i=$1
    local file=$tree/${paths[i]} content prefix rest
    # Byte offsets, whatever the user's locale; the tests still run in theirs.
    local LC_ALL=C
    apply_error=
    # -d '': the whole file, its final line break included.
    IFS= read -r -d '' content <"$file"
    if [[ $content != *"${texts[i]}"* ]]; then
        apply_error="the text does not occur in ${paths[i]}"
        return 1
    fi
    prefix=${content%%"${texts[i]}"*}
    # Overlapping occurrences count too: look again one character later.
    rest=${content:${#prefix}+1}
    if [[ $rest == *"${texts[i]}"* ]]; then
        apply_error="the text occurs more than once in ${paths[i]}"
        return 1
    fi
    mutated=${paths[i]}
    printf '%s' "$prefix${repls[i]}${content:${#prefix}+${#texts[i]}}" >"$file"
}

build_targets() { run_logged "$1" cmake --build "$build" --target "${targets[@]}" -j 2; }

test_count() { sed -n 's/.* tests failed out of \([0-9][0-9]*\).*/\1/p' "$1" | tail -n 1; }

if $dry_run; then
    bad=0
    for i in "${!ids[@]}"; do
        if [[ -n ${problems[i]} ]] || ! apply_mutant "$i"; then
            echo "${ids[i]} bad: ${problems[i]:-$apply_error}"
            bad=$((bad + 1))
        else
            restore
            echo "${ids[i]} applies"
        fi
    done
    echo "${#ids[@]} mutants: $((${#ids[@]} - bad)) apply, $bad bad"
    exit 0
fi

# --- the unmutated tree must build and pass --------------------------------------

start=$SECONDS
if [[ ! -f $build/CMakeCache.txt ]]; then
    note "configuring $build"
    run_logged "$log_dir/configure.log" cmake -S "$tree" -B "$build" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLYFORGE_BUILD_GUI=OFF -DPLYFORGE_BUILD_BENCH=OFF \
        -DPLYFORGE_WERROR=OFF || die "configuring failed, see $log_dir/configure.log"
fi
note "building and testing the unmutated tree"
build_targets "$log_dir/baseline.build.log" || die "the unmutated tree does not build, see $log_dir/baseline.build.log"
run_logged "$log_dir/baseline.test.log" ctest "${ctest_args[@]}" ||
    die "the unmutated tree fails its tests, see $log_dir/baseline.test.log"
baseline_tests=$(test_count "$log_dir/baseline.test.log")
[[ -n $baseline_tests && $baseline_tests -gt 0 ]] || die "the tests ran no test, see $log_dir/baseline.test.log"
note "baseline: $baseline_tests tests pass ($((SECONDS - start)) s)"

# --- the mutants -------------------------------------------------------------------

results=$log_dir/results.txt
: >"$results"
caught=0 survived=0 nocompile=0 bad=0
report() {
    echo "$1 $2"
    echo "$1 $2" >>"$results"
}

for i in "${!ids[@]}"; do
    id=${ids[i]}
    mutant_start=$SECONDS
    safe_id=${id//[^A-Za-z0-9_.-]/_}
    rm -f "$log_dir/$safe_id".{build.log,test.log,failed}
    if [[ -n ${problems[i]} ]] || ! apply_mutant "$i"; then
        note "$id: bad mutant: ${problems[i]:-$apply_error}"
        bad=$((bad + 1)) nocompile=$((nocompile + 1))
        report "$id" nocompile
        continue
    fi
    if ! build_targets "$log_dir/$safe_id.build.log"; then
        status=nocompile
        nocompile=$((nocompile + 1))
    elif run_logged "$log_dir/$safe_id.test.log" ctest "${ctest_args[@]}"; then
        status=survived
        survived=$((survived + 1))
    else
        status=caught
        caught=$((caught + 1))
        # The failing tests, for comparing suites mutant by mutant.
        sed -n 's/^[[:space:]]*[0-9][0-9]* - \([^ ]*\).*/\1/p' "$log_dir/$safe_id.test.log" >"$log_dir/$safe_id.failed"
    fi
    if [[ $status != nocompile ]]; then
        count=$(test_count "$log_dir/$safe_id.test.log")
        [[ $count == "$baseline_tests" ]] ||
            note "$id: ran ${count:-no} tests where the unmutated tree ran $baseline_tests"
    fi
    restore
    report "$id" "$status"
    note "$id: $status ($((SECONDS - mutant_start)) s)"
done

# Leave the build matching the restored tree, ready for the next run.
build_targets "$log_dir/final.build.log" || note "the restored tree did not build, see $log_dir/final.build.log"

summary="${#ids[@]} mutants: $caught caught, $survived survived, $nocompile not compiled"
echo "$summary"
echo "$summary" >>"$results"
[[ $bad -eq 0 ]] || note "$bad of the not compiled mutants did not apply (bad mutants)"
note "done in $((SECONDS - start)) s; logs in $log_dir"
