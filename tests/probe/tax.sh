#!/usr/bin/env bash
# zaridi-probe tax: the contained tax shown for an amount, checked from outside.
set -u
probe=$1
fails=0
expect() { # expected amount [rate]
    local got
    got=$("$probe" tax "${@:2}")
    if [ "$got" != "$1" ]; then
        echo "FAIL tax ${*:2}: expected [$1] got [$got]"
        fails=$((fails + 1))
    fi
}
# The standard 10 % unless a rate is given; 8 % for food; 5 % as older slips had it.
expect 909 10000
expect 490 5400
expect 1 11
expect 80 1080 8
expect 476 10000 5
expect 476190 9999999 5
expect -1 -11
expect 0 abc
expect 0 ""
expect 0 10.99
"$probe" tax >/dev/null 2>&1
[ $? -eq 2 ] || { echo "FAIL tax without an amount is not a usage error"; fails=$((fails + 1)); }
"$probe" tax 100 8.5 >/dev/null 2>&1
[ $? -eq 2 ] || { echo "FAIL tax with a rate that is not a whole percent is not a usage error"; fails=$((fails + 1)); }
[ $fails -eq 0 ] && echo "tax probe: all passed"
exit $fails
