#!/bin/sh
# qel.exe as a Windows user meets it, under Wine, on the display this runs on (xvfb-run gives
# one), in a Wine prefix of its own beside the tests' one (Windows 10), whose programs end
# with the test:
#   desktop_test.sh opens BUILD WINE WINESERVER
#       qel.exe opens the channel list named on its command line: its window comes up with
#       the list's name in its title
#   desktop_test.sh download BUILD WINE WINESERVER SIMULATOR
#       the serial window downloads the list from qel-receiver-sim at the line's pace
#       through Wine's COM9
#   desktop_test.sh installer BUILD WINE WINESERVER
#       the installer installs silently into Program Files\QEL, .dvb and .g98 open with
#       qel.exe, the installed qel.exe opens a list; the uninstaller takes it all back
#   desktop_test.sh portable BUILD WINE WINESERVER
#       the portable zip unpacked in any folder holds the programs with their help and texts,
#       and its qel.exe opens a list
set -eu
mode=$1
build=$2
wine=$3
wineserver=$4

export WINEPREFIX="$build/wine-desktop" WINEDEBUG=-all
work=$(mktemp -d)
finish() {
    "$wineserver" -k >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap finish EXIT
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# The installer starts from a prefix where QEL was never installed.
if [ "$mode" = installer ]; then
    rm -rf "$WINEPREFIX"
fi
if [ ! -f "$WINEPREFIX/qel-ready" ]; then
    # Made away from the display and without Wine's .NET and HTML engines, whose installers
    # would otherwise wait on the screen for a click.
    rm -rf "$WINEPREFIX"
    (
        unset DISPLAY
        export WINEDLLOVERRIDES="mscoree,mshtml="
        "$wine" wineboot -i </dev/null >/dev/null 2>&1
        # Wine's own default, Windows 7, gives Qt's windows platform no windows.
        "$wine" winecfg /v win10 </dev/null >/dev/null 2>&1
        "$wineserver" -w
    )
    touch "$WINEPREFIX/qel-ready"
fi

windows_path() {
    "$wine" winepath -w "$1" 2>/dev/null | tr -d '\r'
}

# A DVB98 list to open, from qel-tool.exe's sample.
list=$work/Sample\ list.dvb
"$wine" "$build/bin/qel-tool.exe" sample "$(windows_path "$list")" >/dev/null 2>&1 ||
    fail "qel-tool.exe made no sample list"
[ -s "$list" ] || fail "qel-tool.exe made no sample list"

# Starts qel.exe ($1), with the file $2 when given.
start_qel() {
    # A lock a failed run of this test left behind.
    find "$WINEPREFIX/drive_c/users" -name qel.lock -delete 2>/dev/null || true
    if [ -n "${2:-}" ]; then
        "$wine" "$1" "$(windows_path "$2")" </dev/null >"$work/qel.log" 2>&1 &
    else
        "$wine" "$1" </dev/null >"$work/qel.log" 2>&1 &
    fi
    pid=$!
    clicked=""
}

# The user's part on the way to the list: a click on the start picture, OK on a message the
# first start gives (AntPos.txt made anew).
users_part() {
    for id in $(xdotool search --onlyvisible --name '^QEL$' 2>/dev/null); do
        width=$(xdotool getwindowgeometry "$id" 2>/dev/null |
            sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
        if [ "${width:-0}" -lt 500 ]; then
            xdotool windowfocus --sync "$id" key Return >/dev/null 2>&1 || true
        elif ! echo "$clicked" | grep -qw "$id"; then
            xdotool mousemove --window "$id" 300 300 click 1 >/dev/null 2>&1 || true
            clicked="$clicked $id"
        fi
    done
}

# Waits up to two minutes (a new Wine prefix is slow the first time) for a window titled $1,
# doing the user's part on the way.
wait_for_title() {
    tries=0
    while [ $tries -lt 240 ]; do
        xdotool search --name "$1" >/dev/null 2>&1 && return 0
        if ! kill -0 "$pid" 2>/dev/null; then
            cat "$work/qel.log" >&2
            fail "qel.exe ended before a window titled $1 showed"
        fi
        [ $((tries % 6)) -eq 5 ] && users_part
        sleep 0.5
        tries=$((tries + 1))
    done
    echo "windows on the display:" >&2
    xdotool search --name '.' getwindowname %@ >&2 2>/dev/null || true
    fail "no window titled $1 within two minutes"
}

# Closes qel.exe as Windows closes a program (WM_CLOSE), so that it lets go of its
# single-instance lock (Wine hands out the same process numbers again, and a lock left by a
# killed QEL would name the next one's); one that asks first is ended.
close_qel() {
    "$wine" taskkill /im qel.exe </dev/null >/dev/null 2>&1 || true
    waited=0
    while kill -0 "$pid" 2>/dev/null && [ $waited -lt 20 ]; do
        sleep 0.5
        waited=$((waited + 1))
    done
    [ "${1:-}" = force ] || ! kill -0 "$pid" 2>/dev/null || fail "qel.exe did not close when asked"
    "$wineserver" -k >/dev/null 2>&1 || true
    find "$WINEPREFIX/drive_c/users" -name qel.lock -delete 2>/dev/null || true
}

# qel.exe ($1) shows the sample list named on its command line.
opens_list() {
    start_qel "$1" "$list"
    wait_for_title '^Sample list\.dvb - QEL$'
    close_qel
}

# The package the build's CPack configuration makes, in a folder of the test's own.
make_package() {
    (cd "$work" && cpack -G "$1" --config "$build/CPackConfig.cmake" -B "$work/package" \
        >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; fail "cpack -G $1 failed"; }
    find "$work/package" -maxdepth 1 -name "QEL-*-win64-$2" | head -n 1
}

# The value a registry key holds unnamed, or nothing.
registry_value() {
    "$wine" reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p'
}

case $mode in
opens)
    opens_list "$build/bin/qel.exe"
    ;;
download)
    # The serial window downloads from qel-receiver-sim (the Linux build's, $5) at the line's
    # pace, through a COM port of Wine's on the simulator's pseudo-terminal, driven as a user
    # does: the "Menu" button at the main window's bottom left and "Serial functions" in the
    # menu it opens (the window is 640x480 always), then "Vandu --> PC" (Alt+V).
    sim=$5
    [ -x "$sim" ] || fail "no simulator at $sim"
    "$sim" --pace --channels "$list" --link "$work/receiver" >"$work/sim.log" 2>&1 &
    sim_pid=$!
    waited=0
    while [ ! -e "$work/receiver" ] && [ $waited -lt 20 ]; do
        sleep 0.25
        waited=$((waited + 1))
    done
    [ -e "$work/receiver" ] || fail "the simulator did not start"
    ln -sfn "$work/receiver" "$WINEPREFIX/dosdevices/com9"
    "$wine" reg add 'HKCU\Software\VB and VBA Program Settings\QEL\Serial port' /v ComPort \
        /d 9 /f </dev/null >/dev/null 2>&1 || fail "the port could not be chosen"
    start_qel "$build/bin/qel.exe"
    wait_for_title '^QEL$'
    for step in 1 2 3 4; do
        sleep 1.5
        users_part
    done
    frame=$(xdotool search --onlyvisible --name '^QEL$' | head -n 1)
    xdotool mousemove --window "$frame" 45 458 click 1 >/dev/null 2>&1
    sleep 1
    xdotool mousemove --window "$frame" 84 626 click 1 >/dev/null 2>&1
    wait_for_title '^QEL 8\.5 Serial module'
    sleep 1
    serial=$(xdotool search --onlyvisible --name '^QEL 8\.5 Serial module' | head -n 1)
    started=$(date +%s)
    xdotool windowfocus --sync "$serial" key alt+v >/dev/null 2>&1
    wait_for_title '^Download\.dvb - QEL$'
    echo "downloaded in $(($(date +%s) - started)) s"
    close_qel force
    kill "$sim_pid" 2>/dev/null || true
    rm -f "$WINEPREFIX/dosdevices/com9"
    ;;
installer)
    setup=$(make_package NSIS setup.exe)
    [ -n "$setup" ] || fail "no QEL-<version>-win64-setup.exe"
    "$wine" "$setup" /S </dev/null >/dev/null 2>&1 || fail "the silent installation failed"
    folder="$WINEPREFIX/drive_c/Program Files/QEL"
    for f in qel.exe qel-tool.exe help/index.html help/it/index.html translations/qel_it.qm \
        translations/qtbase_it.qm LICENSE.txt Uninstall.exe; do
        [ -f "$folder/$f" ] || fail "the installation lacks $f"
    done
    [ "$(registry_value 'HKLM\Software\Classes\.dvb')" = QEL.ChannelList ] ||
        fail ".dvb is not QEL's"
    [ "$(registry_value 'HKLM\Software\Classes\.g98')" = QEL.Settings ] || fail ".g98 is not QEL's"
    command=$(registry_value 'HKLM\Software\Classes\QEL.ChannelList\shell\open\command')
    [ "$command" = '"C:\Program Files\QEL\qel.exe" "%1"' ] ||
        fail "a .dvb opens with [$command]"
    menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/QEL"
    [ -f "$menu/QEL.lnk" ] || fail "no Start-menu entry QEL"
    opens_list "$folder/qel.exe"
    # The uninstaller goes on from a copy of itself: done once Wine has nothing left to run.
    "$wine" "$folder/Uninstall.exe" /S </dev/null >/dev/null 2>&1 ||
        fail "the silent uninstallation failed"
    "$wineserver" -w
    [ ! -e "$folder/qel.exe" ] || fail "the uninstaller left qel.exe"
    [ ! -e "$menu" ] || fail "the uninstaller left the Start-menu entry"
    [ -z "$(registry_value 'HKLM\Software\Classes\.dvb')" ] || fail "the uninstaller left .dvb"
    [ -z "$(registry_value 'HKLM\Software\Classes\QEL.Settings')" ] ||
        fail "the uninstaller left QEL.Settings"
    ;;
portable)
    zip=$(make_package ZIP portable.zip)
    [ -n "$zip" ] || fail "no QEL-<version>-win64-portable.zip"
    mkdir "$work/any folder"
    (cd "$work/any folder" && unzip -q "$zip") || fail "the zip does not unpack"
    folder=$(find "$work/any folder" -name qel.exe -exec dirname {} \; | head -n 1)
    [ -n "$folder" ] || fail "the zip holds no qel.exe"
    for f in qel-tool.exe help/index.html translations/qel_it.qm LICENSE.txt; do
        [ -f "$folder/$f" ] || fail "the zip lacks $f beside qel.exe"
    done
    [ -z "$(find "$work/any folder" -name '*.dll')" ] || fail "the zip holds DLLs"
    opens_list "$folder/qel.exe"
    ;;
*)
    fail "unknown mode $mode"
    ;;
esac
echo "$mode: passed"
