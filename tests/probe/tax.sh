#!/usr/bin/env bash
# zaridi-probe tax: the contained tax shown for an amount, checked from outside.
set -u
probe=$1
fails=0
expect() { # amount expected
    local got
    got=$("$probe" tax "$1")
    if [ "$got" != "$2" ]; then
        echo "FAIL tax $1: expected [$2] got [$got]"
        fails=$((fails + 1))
    fi
}
expect 10000 476
expect 20 0
expect 21 1
expect 1050 50
expect -100 -4
expect 9999999 476190
expect abc 0
expect "" 0
expect 20.99 0
"$probe" tax >/dev/null 2>&1
[ $? -eq 2 ] || { echo "FAIL tax without an amount is not a usage error"; fails=$((fails + 1)); }
[ $fails -eq 0 ] && echo "tax probe: all passed"
exit $fails
