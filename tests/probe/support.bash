# Sourced by the probe tests: the probe from the first argument, a scratch folder removed at the end,
# a failure count and the comparison most checks use.
set -u
probe=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fails=0

expect() { # name expected actual
    if [ "$2" != "$3" ]; then
        echo "FAIL $1:"
        echo "  expected [$2]"
        echo "  got      [$3]"
        fails=$((fails + 1))
    fi
}

finish() { # what was checked
    [ $fails -eq 0 ] && echo "$1 probe: all passed"
    exit $fails
}
