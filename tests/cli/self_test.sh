#!/usr/bin/env bash
# --self-test: the window shows and paints, the folder's files are left exactly as they were, boxes of
# the start-up do not hold it up, and the launcher's --user-dir makes the private data folder.
source "$(dirname "$0")/support.bash"

snapshot() { # names, sizes, times and contents of the folder's files
    (cd "$1" && find . -printf '%p %s %T@\n' | sort && find . -type f -exec md5sum {} + | sort)
}

# run_self_test FOLDER [ENV...]: passes with its line on stdout
run_self_test() {
    local folder=$1
    shift
    (cd "$folder" && env "$@" timeout 60 "$program" --self-test >"$sandbox/out" 2>"$sandbox/err")
    local code=$?
    [ $code -eq 0 ] || fail "--self-test in $folder: exit $code: $(cat "$sandbox/err")"
    grep -qx "tavo_Zaridi2 $version: self-test passed" "$sandbox/out" || fail "no pass line: $(cat "$sandbox/out")"
}

# An empty folder stays empty.
mkdir "$sandbox/empty"
run_self_test "$sandbox/empty"
[ -z "$(ls -A "$sandbox/empty")" ] || fail "the self-test wrote $(ls -A "$sandbox/empty")"

# A folder in use: a settings file that a save would rewrite whole (it names one key only) and a sender.
mkdir "$sandbox/used"
printf '[tavo_Zaridi2]\r\nOP001Zip=100-0001\r\n' >"$sandbox/used/tavo_Zaridi2.ini"
printf '530-0001\r\nOsaka\r\n\r\nShop\r\n06-0000-0000\r\n' >"$sandbox/used/my0.txt"
before=$(snapshot "$sandbox/used")
sleep 0.01
run_self_test "$sandbox/used"
[ "$before" = "$(snapshot "$sandbox/used")" ] || fail "the self-test changed the folder's files"

# No scheduler: the missing printer is said on the status line, without a box, and the check still passes.
mkdir "$sandbox/offline"
run_self_test "$sandbox/offline" CUPS_SERVER="$sandbox/no-scheduler.sock"
grep -q "the status line said: 印刷できるプリンタがありません" "$sandbox/err" ||
    fail "the missing printer was not said: $(cat "$sandbox/err")"
! grep -q "a box said:" "$sandbox/err" || fail "a box stood in the way: $(cat "$sandbox/err")"

# A copy of the program without the libraries loaded late fails the check and says where it looked;
# with them in the private folder it names (where the package puts them), it passes.
mkdir -p "$sandbox/copy/bin" "$sandbox/copy/run"
cp "$program" "$sandbox/copy/bin/"
(cd "$sandbox/copy/run" && timeout 60 "$sandbox/copy/bin/tavo_Zaridi2" --self-test >/dev/null 2>"$sandbox/err") &&
    fail "--self-test passed without the libraries loaded late"
for lib in libzaridi_cups.so libzaridi_pq.so libzaridi_zip.so; do
    grep -q "^$lib: neither in " "$sandbox/err" || fail "--self-test did not name $lib: $(cat "$sandbox/err")"
done
private=$(sed -n 's/^libzaridi_cups.so: neither in .* nor in //p' "$sandbox/err" | head -n 1)
mkdir -p "$private" && cp "$(dirname "$program")"/libzaridi_*.so "$private/"
program="$sandbox/copy/bin/tavo_Zaridi2" run_self_test "$sandbox/copy/run"

# The launcher's start: the data folder is made, private to the user, and becomes the current folder.
(cd "$sandbox" && XDG_DATA_HOME="$sandbox/data" timeout 60 "$program" --user-dir --self-test >/dev/null 2>&1) ||
    fail "--user-dir --self-test failed"
[ "$(stat -c %a "$sandbox/data/tavo_Zaridi2" 2>/dev/null)" = 700 ] || fail "--user-dir did not make a 0700 folder"
# One that others can read (made by hand or an older program) is left as it is, and said so.
chmod 755 "$sandbox/data/tavo_Zaridi2"
(cd "$sandbox" && XDG_DATA_HOME="$sandbox/data" timeout 60 "$program" --user-dir --self-test >/dev/null 2>"$sandbox/err") ||
    fail "--user-dir --self-test failed in an open folder"
grep -q "other users can read $sandbox/data/tavo_Zaridi2" "$sandbox/err" || fail "an open data folder went unsaid: $(cat "$sandbox/err")"
[ "$(stat -c %a "$sandbox/data/tavo_Zaridi2")" = 755 ] || fail "the open data folder was changed"

[ $fails -eq 0 ] && echo "self-test: all passed"
exit $fails
