#!/usr/bin/env bash
# qel's command line from the build folder: --version and --help answer without a screen,
# an unknown option is refused, and a data file is looked for in the per-user data folder
# first.
#   check_command_line.sh QEL VERSION
set -euo pipefail
qel=$1
version=$2

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() {
    echo "check_command_line: $*" >&2
    exit 1
}

export HOME="$root/home" XDG_CONFIG_HOME="$root/home/.config"
export XDG_DATA_HOME="$root/home/.local/share" XDG_RUNTIME_DIR="$root/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# No display and no platform named: the answers need none.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$qel" --version) ||
    fail "--version without a screen failed"
[[ "$out" == "QEL $version" ]] || fail "--version printed '$out', not 'QEL $version'"
out=$("$qel" -platform offscreen -v)
[[ "$out" == "QEL $version" ]] || fail "-v printed '$out'"

help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$qel" --help) ||
    fail "--help without a screen failed"
for expected in "Usage: " "[file]" "--version" "--help" ".dvb"; do
    [[ "$help" == *"$expected"* ]] || fail "--help lacks '$expected': $help"
done
[[ "$help" != *find-data* ]] || fail "--help shows the hidden --find-data"

if err=$("$qel" -platform offscreen --no-such-option 2>&1); then
    fail "an unknown option was accepted"
fi
[[ "$err" == *"no-such-option"* ]] || fail "an unknown option is not named: $err"

# Not in the build folder, nor in the per-user data folder yet.
if out=$("$qel" -platform offscreen --find-data help/nowhere.html 2>&1); then
    fail "--find-data found a file that does not exist: $out"
fi
[[ "$out" == *"help/nowhere.html: not found"* ]] || fail "--find-data said '$out'"
mine="$XDG_DATA_HOME/QEL/QEL/help/index.html"
mkdir -p "$(dirname "$mine")"
echo "<p>mine</p>" >"$mine"
out=$("$qel" -platform offscreen --find-data help/index.html)
[[ "$(readlink -f "$out")" == "$(readlink -f "$mine")" ]] ||
    fail "--find-data did not find the per-user copy first: '$out'"
echo "check_command_line: ok"
