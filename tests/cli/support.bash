# Sourced by the command-line tests: the program and its version from the arguments, a sandbox folder
# removed at the end (locked folders included) and a failure count.
set -u
program=$(realpath "$1")
version=$2
fails=0
sandbox=$(mktemp -d)
trap 'chmod -R u+rwx "$sandbox"; rm -rf "$sandbox"' EXIT

fail() {
    echo "FAIL $*"
    fails=$((fails + 1))
}
