#!/usr/bin/env bash
# zaridi-probe tracking: the check of slip numbers and the numbers of a pre-printed stack, to the byte.
source "$(dirname "$0")/support.bash"

# Published numbers, the same folded several ways, misreads and shapes we do not know.
out=$("$probe" tracking check <<'IN'
444413758703
5125-4751-4334
５１２５－４７５１－４３３４
4000 1234 5672
4000123456
131-12-38385-2
13112383853
ee473124829jp
ＥＢ０００７１７５９４ＨＫ

512547514334。
5125ー4751ー4334
1Z999AA10123456784
IN
)
expect "check exit code" 0 $?
expect check '{"number": "444413758703", "kind": "domestic", "valid": true}
{"number": "512547514334", "kind": "domestic", "valid": true}
{"number": "512547514334", "kind": "domestic", "valid": true}
{"number": "400012345672", "kind": "domestic", "valid": false}
{"number": null, "kind": null, "valid": false}
{"number": "13112383852", "kind": "registered", "valid": true}
{"number": "13112383853", "kind": "registered", "valid": false}
{"number": "EE473124829JP", "kind": "international", "valid": true}
{"number": "EB000717594HK", "kind": "international", "valid": false}
{"number": null, "kind": null, "valid": false}
{"number": null, "kind": null, "valid": false}
{"number": null, "kind": null, "valid": false}
{"number": null, "kind": null, "valid": false}' "$out"
expect "check: CRLF lines" '{"number": "405548424886", "kind": "domestic", "valid": true}' \
    "$(printf '405548424886\r\n' | "$probe" tracking check)"
expect "check: nothing in, nothing out" "" "$("$probe" tracking check </dev/null)"

expect next "512547514345" "$("$probe" tracking next 512547514334)"
expect "next COUNT" "512547514345 512547514356 512547514360 512547514371" \
    "$("$probe" tracking next 5125-4751-4334 4 | tr '\n' ' ' | sed 's/ $//')"
expect "next across a carry" "000000000103" "$("$probe" tracking next 000000000092)"

# refused NUMBER: a message on stderr, nothing on stdout, exit 1
refused() { # name NUMBER [COUNT]
    local name=$1
    shift
    "$probe" tracking next "$@" >"$dir/out" 2>"$dir/err"
    expect "$name: exit code" 1 $?
    expect "$name: stdout" "" "$(cat "$dir/out")"
    [ -s "$dir/err" ] || expect "$name: a message on stderr" "a message" ""
}
refused "wrong check digit" 512547514335
refused "registered" 13112383852
refused "international" EE473124829JP
refused "ten digits" 4000123456
refused "the stack ends" 999999999983 2
expect "the range's last" "999999999994" "$("$probe" tracking next 999999999983)"

for args in "tracking" "tracking next" "tracking next 512547514334 many" "tracking next 512547514334 1 2" \
    "tracking check extra"; do
    # shellcheck disable=SC2086
    "$probe" $args </dev/null >/dev/null 2>&1
    expect "usage: $args" 2 $?
done

finish tracking
