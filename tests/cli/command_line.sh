#!/usr/bin/env bash
# The command line from outside: help, version and bad input. Bad input exits 2 with a message and
# creates nothing, neither in the folder it was started in nor where the option pointed.
source "$(dirname "$0")/support.bash"
chmod 755 "$sandbox" # the unreadable case runs as another user when this one is root
mkdir "$sandbox/locked" && chmod 000 "$sandbox/locked"
: >"$sandbox/plain-file"

# expect CODE STREAM TEXT ARGS...: exit code, and TEXT found on stdout or stderr
expect() {
    local code=$1 stream=$2 text=$3
    shift 3
    local start out err got
    start=$(mktemp -d "$sandbox/start.XXXX")
    chmod 755 "$start"
    (cd "$start" && XDG_DATA_HOME="$sandbox/data" timeout 30 "$program" "$@" >"$sandbox/out" 2>"$sandbox/err")
    got=$?
    out=$(cat "$sandbox/out")
    err=$(cat "$sandbox/err")
    [ "$got" -eq "$code" ] || fail "$*: exit $got, expected $code (stderr: $err)"
    if [ "$stream" = out ]; then
        [[ "$out" == *"$text"* ]] || fail "$*: stdout lacks [$text]: $out"
    else
        [[ "$err" == *"$text"* ]] || fail "$*: stderr lacks [$text]: $err"
    fi
    [ -z "$(ls -A "$start")" ] || fail "$*: created $(ls -A "$start") in the starting folder"
    rm -rf "$start"
}

expect 0 out "tavo_Zaridi2 $version" --version
expect 0 out "--self-test" --help
expect 0 out "-C, --dir <DIR>" -h
expect 2 err "Unknown option 'bogus'" --bogus
expect 2 err "Usage: tavo_Zaridi2" --bogus
expect 2 err "Missing value after '--dir'" --dir
expect 2 err "unexpected argument 'stray'" stray
expect 2 err "--import-postcodes needs at least one FILE" --import-postcodes
expect 2 err "cannot be used together" --import-postcodes a.csv --self-test
expect 2 err "cannot be used together" --dir "$sandbox" --user-dir
expect 2 err "--dir: folder not found: $sandbox/missing" --dir "$sandbox/missing"
expect 2 err "--dir: folder not found: $sandbox/missing" -C "$sandbox/missing" --self-test
expect 2 err "--dir: not a folder: $sandbox/plain-file" -C "$sandbox/plain-file"
[ ! -e "$sandbox/missing" ] || fail "--dir created the missing folder"
[ ! -e "$sandbox/data" ] || fail "a refused start created the data folder"

# A folder this user may not read. root reads everything, so it checks as nobody.
if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
else
    as_user=()
fi
if ! (cd / && "${as_user[@]}" "$program" --version >/dev/null 2>&1); then
    echo "skipped: the unreadable folder (the program cannot be run as another user from here)"
else
    err=$(cd / && "${as_user[@]}" "$program" --dir "$sandbox/locked" 2>&1 >/dev/null)
    code=$?
    [ $code -eq 2 ] || fail "unreadable --dir: exit $code, expected 2"
    [[ "$err" == *"--dir: folder cannot be read: $sandbox/locked"* ]] || fail "unreadable --dir: stderr: $err"
fi

# --user-dir under a data home that is a file: refused, nothing made.
err=$(cd "$sandbox" && XDG_DATA_HOME="$sandbox/plain-file" "$program" --user-dir --self-test 2>&1 >/dev/null)
code=$?
[ $code -eq 2 ] || fail "--user-dir on a file: exit $code, expected 2"
[[ "$err" == *"--user-dir: cannot create the folder $sandbox/plain-file"* ]] || fail "--user-dir on a file: $err"

[ $fails -eq 0 ] && echo "command line: all passed"
exit $fails
