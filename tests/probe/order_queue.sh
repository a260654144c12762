#!/usr/bin/env bash
# zaridi-probe orders load|claim|done|status: the shared order queue from outside, on an SQLite file and
# on the private PostgreSQL server (ZARIDI_PG_DIR, started by ctest), with desks as probe processes.
source "$(dirname "$0")/support.bash"

data=$(cd "$(dirname "$0")/../unit/orders/data" && pwd)
dbs=("$dir/tavo_Zaridi2.db")
if [ -n "${ZARIDI_PG_DIR:-}" ]; then
    name=queue_$$
    psql -q -X "postgresql://zaridi@/postgres?host=$ZARIDI_PG_DIR&port=5432" -c "CREATE DATABASE $name" ||
        fails=$((fails + 1))
    dbs+=("postgresql://zaridi@/$name?host=$ZARIDI_PG_DIR&port=5432")
else
    echo "FAIL ZARIDI_PG_DIR is not set (run under ctest)"
    fails=$((fails + 1))
fi

# until FILE: waits (up to 10 s) for a background probe's first line.
until_written() {
    for _ in $(seq 100); do
        [ -s "$1" ] && return
        sleep 0.1
    done
}

for db in "${dbs[@]}"; do
    on=${db%%\?*}
    # An order the history has already (printed before the queue) starts held.
    echo '{"time": "2024-05-01T09:00:00+09:00", "order": "100001-20240501-0003"}' |
        "$probe" history record --db "$db" >/dev/null
    expect "$on: load" '{"added": 3, "already": 0}' "$("$probe" orders load --db "$db" "$data/mall_cp932.csv")"
    expect "$on: load again" '{"added": 0, "already": 3}' "$("$probe" orders load --db "$db" "$data/mall_cp932.csv")"
    expect "$on: status" '{"open": 2, "claimed": 0, "printed": 0, "held": 1}' "$("$probe" orders status --db "$db")"

    # A claim held by one process; done from another process of the same desk, not of another desk.
    "$probe" orders claim --db "$db" --desk 作業台1 --hold 30 >"$dir/held.json" &
    holder=$!
    until_written "$dir/held.json"
    id=$(jq .id "$dir/held.json")
    expect "$on: the import's shape with the id, keys in byte order" \
        "$("$probe" orders import "$data/mall_cp932.csv" | jq -cS '.[0] | .id = 1')" "$(cat "$dir/held.json")"
    expect "$on: status while held" '{"open": 1, "claimed": 1, "printed": 0, "held": 1}' \
        "$("$probe" orders status --db "$db")"
    "$probe" orders done --db "$db" --desk 作業台2 "$id" --tracking 512547514334 >/dev/null 2>"$dir/err"
    expect "$on: done by another desk" "1 yes" "$? $([ -s "$dir/err" ] && echo yes)"
    "$probe" orders done --db "$db" --desk 作業台1 "$id" --tracking 512547514334 >/dev/null
    expect "$on: done" 0 $?
    "$probe" orders done --db "$db" --desk 作業台1 "$id" --tracking 512547514334 >/dev/null 2>&1
    expect "$on: done twice" 1 $?
    kill "$holder"
    wait "$holder" 2>/dev/null
    expect "$on: the slip, as history record stores it" '["佐藤　花子","512547514334","100001-20240501-0001","rakuten"]' \
        "$("$probe" history list --db "$db" | jq -c '.[-1] | [.Edit_Custo1, .tracking, .order, .platform]')"

    # A claim ends with its process: at once after a claim without --hold, and when it is killed.
    next=$("$probe" orders claim --db "$db" --desk 作業台1 | jq .id)
    "$probe" orders done --db "$db" --desk 作業台1 "$next" --tracking 512547514345 >/dev/null 2>&1
    expect "$on: done after the claim ended" 1 $?
    "$probe" orders claim --db "$db" --desk 作業台1 --hold 30 >"$dir/killed.json" &
    killed=$!
    until_written "$dir/killed.json"
    expect "$on: nothing else is open" null "$("$probe" orders claim --db "$db" --desk 作業台2)"
    kill -9 $killed
    wait $killed 2>/dev/null
    again=null
    for _ in $(seq 50); do # a server ends the killed desk's session a moment later
        again=$("$probe" orders claim --db "$db" --desk 作業台2 | jq .id)
        [ "$again" != null ] && break
        sleep 0.1
    done
    expect "$on: a killed desk's order is open again" "$next $next" "$(jq .id "$dir/killed.json") $again"
    expect "$on: status at the end" '{"open": 1, "claimed": 0, "printed": 1, "held": 1}' \
        "$("$probe" orders status --db "$db")"
done

"$probe" orders claim --db "${dbs[0]}" >/dev/null 2>&1
expect "claim without a desk" 2 $?

finish order_queue
