#!/usr/bin/env bash
# zaridi-probe history: the store checked from outside, on an SQLite file and on the private
# PostgreSQL server (ZARIDI_PG_DIR, started by ctest), with several probes writing at once.
source "$(dirname "$0")/support.bash"

db=$dir/tavo_Zaridi2.db
cat >"$dir/slips.json" <<'JSON'
[{"time": "2024-05-02T08:00:00+09:00", "printer": "slip", "resolution": [180, 180], "margins": [-7, 14],
  "ComboBox_SEL": "手差し", "Edit_Zip": "100-0001", "Edit_Add1": "東京都千代田区", "Edit_Custo1": "髙橋 ①",
  "Edit_tel": "03-1234-5678", "KyNumEdit_KOSUU": "2", "CheckBox_p3": true, "CheckBox_My": false,
  "CheckBox_Date_1": true, "DateTimePicker_1": "2024/05/02", "order": "A-1",
  "platform": "rakuten", "refs": {"商品明細ID": "200000001,200000002", "送付先ID": "1001"}},
 {"time": "2024-04-30T17:00:00+09:00", "Edit_Custo1": "older", "void": true},
 {"time": "2024-05-03T09:00:00+09:00", "Edit_Custo1": "reprint", "reprint_of": 1, "tracking": "123456789012"}]
JSON
expect "record prints the ids" "1 2 3" "$("$probe" history record --db "$db" <"$dir/slips.json" | tr '\n' ' ' | sed 's/ $//')"
list=$("$probe" history list --db "$db")
expect "keys in order" \
    '["id","time","printer","resolution","margins","ComboBox_SEL","Edit_Zip","Edit_Add1","Edit_Add2","Edit_Add3","Edit_Custo1","Edit_tel","Edit_G1","Edit_G2","Edit_G3","KyNumEdit_KOSUU","KyNumEdit_PriceSub","KyNumEdit_TaxSub","CheckBox_p1","CheckBox_p2","CheckBox_p3","CheckBox_My","Edit_MyZip","Edit_MyADD1","Edit_MyADD2","Edit_My","Edit_MyTEL","CheckBox_Date_1","DateTimePicker_1","tracking","order","platform","refs","void","reprint_of"]' \
    "$(jq -c '.[0] | keys_unsorted' <<<"$list")"
expect "oldest first" '["older","髙橋 ①","reprint"]' "$(jq -c 'map(.Edit_Custo1)' <<<"$list")"
expect "values of the first printing" \
    '[1,"2024-05-02T08:00:00+09:00","slip",[180,180],[-7,14],"手差し","03-1234-5678","2",true,false,"2024/05/02",null,"A-1",null]' \
    "$(jq -c '.[1] | [.id,.time,.printer,.resolution,.margins,.ComboBox_SEL,.Edit_tel,.KyNumEdit_KOSUU,.CheckBox_p3,.CheckBox_My,.DateTimePicker_1,.tracking,.order,.reprint_of]' <<<"$list")"
expect "the reprint points to it and ships its order" '[1,"A-1","123456789012"]' \
    "$(jq -c '.[2] | [.reprint_of,.order,.tracking]' <<<"$list")"
expect "platform, IDs and void mark as given; none on a slip typed by hand" \
    '[["rakuten",{"商品明細ID":"200000001,200000002","送付先ID":"1001"},false],[null,{},true]]' \
    "$(jq -c '[.[1], .[0]] | map([.platform, .refs, .void])' <<<"$list")"
expect "the reprint ships the order's platform and IDs" '["rakuten","1001",false]' \
    "$(jq -c '.[2] | [.platform, .refs."送付先ID", .void]' <<<"$list")"
expect "--since" '[1,3]' "$("$probe" history list --db "$db" --since 2024-05-01 | jq -c 'map(.id)')"
printf 'somebody else'"'"'s notes\n' >"$dir/notes.db"
err=$("$probe" history list --db "$dir/notes.db" 2>&1 >/dev/null)
expect "foreign file exit code" "1" "$?"
case $err in *"$dir/notes.db"*) ;; *) expect "foreign file message names it" "$dir/notes.db" "$err" ;; esac
expect "foreign file untouched" "somebody else's notes" "$(cat "$dir/notes.db")"

# Four probes at once, each recording 25 slips, on one PostgreSQL database created here.
if [ -n "${ZARIDI_PG_DIR:-}" ]; then
    name=probe_$$
    psql -q -X "postgresql://zaridi@/postgres?host=$ZARIDI_PG_DIR&port=5432" -c "CREATE DATABASE $name" ||
        fails=$((fails + 1))
    url="postgresql://zaridi@/$name?host=$ZARIDI_PG_DIR&port=5432"
    jq -c '[range(25) as $i | {time: "2024-05-01T09:00:00+09:00", Edit_Custo1: "作業台 \($i)"}]' <<<'null' \
        >"$dir/batch.json"
    for desk in 1 2 3 4; do
        "$probe" history record --db "$url" <"$dir/batch.json" >"$dir/ids.$desk" &
    done
    wait
    expect "every id once" "100" "$(cat "$dir"/ids.* | sort -u | wc -l)"
    expect "every record once" "100 100" "$("$probe" history list --db "$url" | jq -r '"\(length) \(map(.id) | unique | length)"')"
    expect "values as UTF-8" "25 作業台 0" \
        "$("$probe" history list --db "$url" | jq -r 'map(.Edit_Custo1) | unique | "\(length) \(.[0])"')"
else
    echo "FAIL ZARIDI_PG_DIR is not set (run under ctest)"
    fails=$((fails + 1))
fi

# In a folder that cannot be written the history is listed as it is, and a record is refused.
if unshare -rm true 2>/dev/null; then
    mkdir "$dir/ro" && cp "$db" "$dir/ro/"
    got=$(unshare -rm sh -c 'mount --bind "$1" "$1" && mount -o remount,ro,bind "$1" &&
        "$2" history list --db "$1/tavo_Zaridi2.db" | jq -c "map(.id)" &&
        ! "$2" history record --db "$1/tavo_Zaridi2.db" <"$3" >/dev/null 2>&1' sh "$dir/ro" "$probe" "$dir/slips.json")
    expect "read-only folder: listed, not written" "[2,1,3]" "$got"
else
    echo "history probe: no private mounts for this user, the read-only folder skipped"
fi

# A server that stops answering (SIGSTOP, on a server of this test's own): the probe gives up within
# 15 s, whether the server stopped before it connected or after.
sandbox=$(cd "$(dirname "$0")/../.." && pwd)/scripts/pg-sandbox
chmod 711 "$dir" # the server runs as another user under root
if "$sandbox" start "$dir/pg" >/dev/null; then
    own="postgresql://zaridi@/postgres?host=$dir/pg&port=5432"
    server() { # STOP|CONT: the server and every process it started
        local main
        main=$(head -n 1 "$dir/pg/data/postmaster.pid")
        kill -"$1" "$main" $(pgrep -P "$main")
    }
    seconds() { # command...: runs it, prints "exit-code seconds"
        local start=$EPOCHREALTIME code
        "$@" >/dev/null 2>"$dir/stalled.err"
        code=$?
        echo "$code $(bc <<<"($EPOCHREALTIME - $start) / 1")"
    }
    trap 'server CONT 2>/dev/null; "$sandbox" stop "$dir/pg" >/dev/null 2>&1; rm -rf "$dir"' EXIT
    one='{"time": "2024-05-01T09:00:00+09:00", "Edit_Custo1": "stalled"}'
    "$probe" history record --db "$own" <<<"$one" >/dev/null || fails=$((fails + 1))
    server STOP
    read -r code took < <(seconds timeout 60 "$probe" history record --db "$own" <<<"$one")
    [ "$code" != 0 ] && [ "$code" != 124 ] && [ "$took" -lt 15 ] ||
        expect "stopped before connecting: exit, seconds" "not 0, < 15" "$code $took"
    server CONT
    mkfifo "$dir/later"
    (seconds timeout 60 "$probe" history record --db "$own" <"$dir/later" >"$dir/stalled.took") &
    exec 3>"$dir/later"
    for _ in $(seq 50); do # connected: its session is listed
        [ "$(psql -X -At "$own" -c "SELECT count(*) FROM pg_stat_activity WHERE application_name = 'tavo_Zaridi2'")" = 1 ] && break
        sleep 0.1
    done
    server STOP
    echo "$one" >&3
    exec 3>&-
    wait
    read -r code took <"$dir/stalled.took"
    [ "$code" != 0 ] && [ "$code" != 124 ] && [ "$took" -lt 15 ] ||
        expect "stopped after connecting: exit, seconds" "not 0, < 15" "$code $took"
    grep -q "no answer" "$dir/stalled.err" || expect "stopped after connecting: message" "no answer" "$(cat "$dir/stalled.err")"
    server CONT
    expect "answering again" '["stalled"]' "$("$probe" history list --db "$own" | jq -c 'map(.Edit_Custo1) | unique')"
else
    echo "FAIL no server of its own"
    fails=$((fails + 1))
fi

finish history
