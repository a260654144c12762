#!/usr/bin/env bash
# zaridi-probe printers against the private scheduler: the listing, the current printer's papers,
# sources and resolution, another printer by index, and the errors.
set -euo pipefail
probe=$1
if [ -z "${CUPS_SERVER:-}" ]; then
    echo "SKIP: CUPS_SERVER unset; start scripts/cups-sandbox (scripts/test does)"
    exit 0
fi
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
check() { # check JSON FILTER DESCRIPTION: the jq filter must yield true
    jq -e "$2" <<<"$1" >/dev/null || fail "$3: $(jq -c . <<<"$1")"
}

out=$("$probe" printers)
check "$out" '.printers == ["dotmatrix", "slip"]' "rejecting queue hidden, order kept"
check "$out" '.index == 1' "default destination is current"
check "$out" '(.ports | length) == (.ports | unique | length)' "ports once each"
check "$out" '.ports | any(endswith("/out/slip.prn"))' "slip port listed"
check "$out" '.ports | any(endswith("/out/rejecting.prn"))' "hidden queue's port listed"
check "$out" '.current.papers[0] == {"number": 256, "name": "10 x 4 in"}' "slip paper"
check "$out" '[.current.papers[].number] == [256, 257, 9]' "paper numbers"
check "$out" '.current.paperIndex == 0' "default paper"
check "$out" '[.current.bins[].name] == ["プリンタの既定", "Tractor Feed", "Manual Feed", "Front Tractor"]' \
    "sources, the printer's own setting first: the scheduler names no default for a driver"
check "$out" '[.current.bins[].number] == [0, 8, 4, 256]' "source numbers"
check "$out" '.current.binIndex == 0' "the printer's own source is current"
check "$out" '.current.resolution == [180, 180]' "slip resolution"
check "$out" '.current.scale == 100 and .current.fields == 66' "scale and fields"
check "$out" 'has("errors") | not' "no errors"

out=$("$probe" printers --index 0)
check "$out" '.index == 0' "--index 0 chosen"
check "$out" '[.current.papers[].number] == [1, 5, 9, 39]' "dot-matrix paper numbers"
check "$out" '.current.paperIndex == 2' "A4 is the queue default"
check "$out" '.current.resolution == [360, 360]' "dot-matrix resolution"
check "$out" '.current.bins == null and .current.binIndex == null' "no sources"
check "$out" '.errors.bins == "THqPrinter.GetBinNames: Bin is not Supported"' "bins error"
check "$out" '.errors.binIndex == "THqPrinter.GetBinIndex: Bin is not Supported"' "bin index error"

set +e
err=$("$probe" printers --index 2 2>&1 >/dev/null)
rc=$?
set -e
[ $rc -eq 1 ] || fail "--index 2 exit code $rc"
[ "$err" = "THqPrinter.SetIndex: Index is out of Range" ] || fail "--index 2 message: $err"
set +e
err=$("$probe" printers --index two 2>&1 >/dev/null)
rc=$?
set -e
[ $rc -eq 1 ] || fail "--index two exit code $rc"
[ "$err" = "'two' is not a valid integer value" ] || fail "--index two message: $err"

# A scheduler of our own for queues set up otherwise: the shared one must stay as the other tests know it.
own=$(mktemp -d)
trap 'bash "$sandbox" stop "$own" >/dev/null 2>&1; rm -rf "$own"' EXIT
sandbox=$(cd "$(dirname "$0")/../.." && pwd)/scripts/cups-sandbox
exports=$(bash "$sandbox" start "$own" 2>/dev/null) || fail "own scheduler did not start"
server=$(sed -n 's/^export CUPS_SERVER=//p' <<<"$exports")
# The driver feeds by hand unless told otherwise; the administrator's default names the front tractor.
CUPS_SERVER=$server lpadmin -p slip -o InputSlot=Manual 2>/dev/null
CUPS_SERVER=$server lpadmin -p rejecting -o media-source-default=front-tractor 2>/dev/null
CUPS_SERVER=$server cupsaccept rejecting
current() { jq -c '.current.bins[.current.binIndex]' <<<"$1"; }
out=$(CUPS_SERVER=$server HOME=$own "$probe" printers --index 2)
[ "$(current "$out")" = '{"number":0,"name":"プリンタの既定"}' ] || fail "driver's own source: $(current "$out")"
out=$(CUPS_SERVER=$server HOME=$own "$probe" printers --index 1)
[ "$(current "$out")" = '{"number":256,"name":"Front Tractor"}' ] || fail "administrator's source: $(current "$out")"
# The user's lpoptions, by keyword or by the driver's name, are the current source too.
mkdir -p "$own/.cups"
for preset in "media-source=manual" "InputSlot=Manual"; do
    echo "Dest slip $preset" >"$own/.cups/lpoptions"
    out=$(CUPS_SERVER=$server HOME=$own "$probe" printers --index 2)
    [ "$(current "$out")" = '{"number":4,"name":"Manual Feed"}' ] || fail "lpoptions $preset: $(current "$out")"
done

out=$(CUPS_SERVER=127.0.0.1:1 "$probe" printers)
check "$out" '.printers == null and .index == null and .ports == []' "no scheduler"
check "$out" '.errors.printers == "THqPrinter.CheckNoPrinter: No Printer"' "no printer error"
check "$out" '.current.resolution == null and .errors.resolution == "THqPrinter.CheckNoPrinter: No Printer"' \
    "no resolution"
echo "PASS"
