#!/usr/bin/env bash
# Installs the build into a temporary folder as the Debian package does (prefix /usr),
# runs the installed programs there, and checks the desktop entry, the AppStream metadata
# and the file types with the freedesktop tools that scripts/setup installs.
#   check_install.sh BUILD_DIR SOURCE_DIR VERSION GUI(0|1)
set -euo pipefail
build=$1
source=$2
version=$3
gui=$4
id=io.github.qel.Qel

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() {
    echo "check_install: $*" >&2
    exit 1
}
for tool in desktop-file-validate appstreamcli xmllint update-mime-database readelf; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup installs it)"
done

DESTDIR="$root/dest" cmake --install "$build" --prefix /usr >"$root/install.log" ||
    fail "cmake --install failed: $(cat "$root/install.log")"
usr="$root/dest/usr"
[[ "$(ls -A "$root/dest")" == usr ]] || fail "installed outside the prefix: $(ls -A "$root/dest")"

# Everything in its place.
files=(
    bin/qel-tool bin/qel-receiver-sim
    share/man/man1/qel-tool.1.gz share/man/man1/qel-receiver-sim.1.gz
    "share/mime/packages/$id.xml" share/doc/qel/copyright
)
if [[ $gui == 1 ]]; then
    files+=(
        bin/qel share/man/man1/qel.1.gz
        share/qel/help/index.html share/qel/help/it/index.html share/qel/help/style.css
        share/qel/translations/qel_it.qm
        "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml"
        "share/icons/hicolor/scalable/apps/$id.svg" "share/icons/hicolor/256x256/apps/$id.png"
    )
fi
for f in "${files[@]}"; do
    [[ -f "$usr/$f" ]] || fail "$f is not installed"
done
[[ -d "$usr/share/qel" ]] || fail "the data folder share/qel is not installed"
for program in "$usr"/bin/*; do
    [[ -x "$program" ]] || fail "$program is not executable"
    # Nothing points back into the build: no run path, no build folder among its constants.
    if readelf -d "$program" | grep -qE 'RPATH|RUNPATH'; then
        fail "$program keeps a run path: $(readelf -d "$program" | grep -E 'RPATH|RUNPATH')"
    fi
    if readelf -p .rodata "$program" | grep -qF "$(readlink -f "$build")"; then
        fail "$program names the build folder"
    fi
done

# Manual pages: compressed, of this version, every placeholder filled in.
for page in "$usr"/share/man/man1/*.1.gz; do
    gzip -dc "$page" >"$root/page" || fail "$page is not a valid gzip file"
    head=$(grep -m1 '^\.TH' "$root/page")
    [[ "$head" == *"\"QEL $version\""* ]] || fail "$page: '$head' is not of version $version"
    ! grep -q '@[A-Z_]*@' "$root/page" || fail "$page has a placeholder left"
done
grep -q "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
    "$usr/share/doc/qel/copyright" || fail "the copyright file is not machine-readable"
head -n1 "$source/packaging/debian/changelog.in" | grep -qF "qel ($version-" ||
    fail "packaging/debian/changelog.in does not begin with version $version"

# The installed programs, run where they were installed.
export HOME="$root/home" XDG_CONFIG_HOME="$root/home/.config"
export XDG_DATA_HOME="$root/home/.local/share" XDG_RUNTIME_DIR="$root/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
out=$("$usr/bin/qel-tool" --version)
[[ "$out" == "qel-tool $version" ]] || fail "qel-tool --version printed '$out'"
"$usr/bin/qel-tool" sample "$root/sample.dvb"
[[ "$(head -c4 "$root/sample.dvb")" == DVSO ]] || fail "the sample list does not begin with DVSO"
out=$("$usr/bin/qel-tool" dump "$root/sample.dvb")
[[ "$out" == '{"file_type":"DVB","tv":[{'* ]] || fail "qel-tool dump printed '${out:0:80}'"
"$usr/bin/qel-tool" convert "$root/sample.dvb" "$root/sample.csv"
"$usr/bin/qel-tool" convert "$root/sample.csv" "$root/again.dvb"
cmp -s "$root/sample.dvb" "$root/again.dvb" || fail "the list did not come back from CSV whole"
if "$usr/bin/qel-receiver-sim" --no-such-option 2>/dev/null; then
    fail "qel-receiver-sim accepted a wrong option"
fi

if [[ $gui == 1 ]]; then
    out=$("$usr/bin/qel" -platform offscreen --version)
    [[ "$out" == "QEL $version" ]] || fail "qel --version printed '$out'"
    # The installed program finds its data in the installed data folder.
    for data in help/index.html help/it/index.html translations/qel_it.qm; do
        out=$("$usr/bin/qel" -platform offscreen --find-data "$data") ||
            fail "the installed qel does not find $data"
        [[ "$(readlink -f "$out")" == "$(readlink -f "$usr/share/qel/$data")" ]] ||
            fail "the installed qel finds $data at '$out'"
    done
    # Laid out as the Windows installation is, with its data beside the program.
    beside="$root/beside"
    mkdir -p "$beside"
    cp "$usr/bin/qel" "$beside/"
    cp -r "$usr/share/qel/help" "$usr/share/qel/translations" "$beside/"
    for data in help/it/index.html translations/qel_it.qm; do
        out=$("$beside/qel" -platform offscreen --find-data "$data") ||
            fail "qel does not find $data beside itself"
        [[ "$out" == "$beside/$data" ]] || fail "qel beside its data finds $data at '$out'"
    done

    # The 256-pixel icon is a PNG of 256 x 256 pixels.
    png="$usr/share/icons/hicolor/256x256/apps/$id.png"
    [[ "$(od -An -tx1 -N8 "$png" | tr -d ' \n')" == 89504e470d0a1a0a ]] || fail "$png is no PNG"
    [[ "$(od -An -tu4 --endian=big -j16 -N8 "$png" | xargs)" == "256 256" ]] ||
        fail "$png is not 256 x 256 pixels"

    desktop="$usr/share/applications/$id.desktop"
    desktop-file-validate "$desktop" || fail "desktop-file-validate refused $desktop"
    grep -qx "Exec=qel %f" "$desktop" || fail "$desktop does not start qel with its files"
    grep -qx "Icon=$id" "$desktop" || fail "$desktop does not name the icon $id"
    metainfo="$usr/share/metainfo/$id.metainfo.xml"
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli refused $metainfo"
    # The metadata with the desktop entry and the icons it names, as installed together.
    appstreamcli validate-tree --no-net "$root/dest" || fail "appstreamcli refused the tree"
    grep -q "<id>$id</id>" "$metainfo" || fail "$metainfo is not of $id"
    newest=$(grep -m1 -o '<release version="[^"]*"' "$metainfo" | cut -d'"' -f2)
    [[ "$newest" == "$version" ]] || fail "the newest release in $metainfo is $newest, not $version"
    # Addresses only as the build was given them: none unless configured.
    homepage=$(sed -n 's/^QEL_HOMEPAGE:[A-Z]*=//p' "$build/CMakeCache.txt")
    screenshot=$(sed -n 's/^QEL_SCREENSHOT_URL:[A-Z]*=//p' "$build/CMakeCache.txt")
    expected=$(printf '%s\n' $homepage $screenshot | grep -c . || true)
    found=$(grep -oE 'https?://[^<"]*' "$metainfo" | grep -vc '^http://www.freedesktop' || true)
    [[ "$found" == "$expected" ]] ||
        fail "$metainfo names $found addresses, $expected configured: $(grep -oE 'https?://[^<"]*' "$metainfo")"
fi

# The file types: well-formed, and the MIME database built from them knows each type, its
# name and, for the files with the receiver's tag, the tag.
mime="$usr/share/mime/packages/$id.xml"
xmllint --noout "$mime" || fail "$mime is not well-formed XML"
mkdir -p "$root/mime/packages"
cp "$mime" "$root/mime/packages/"
XDG_DATA_DIRS="$root" update-mime-database "$root/mime" || fail "update-mime-database refused $mime"
for entry in dvb:dvb g98:g98 fos:fos oc1:oc1 oc2:oc2; do
    type=application/x-qel-${entry%%:*}
    grep -qx "$type" "$root/mime/types" || fail "the MIME database lacks $type"
    grep -q ":$type:\*\.${entry#*:}$" "$root/mime/globs2" || fail "$type is not given *.${entry#*:}"
done
grep -qa DVSO "$root/mime/magic" || fail "the MIME database has no DVSO tag"
if [[ $gui == 1 ]]; then
    types=$(grep '^MimeType=' "$desktop" | cut -d= -f2 | tr ';' ' ')
    [[ -n "$types" ]] || fail "$desktop names no file types"
    for type in $types; do
        grep -qx "$type" "$root/mime/types" || fail "$desktop names $type, which is not defined"
    done
    # The program opens every type the package defines.
    for entry in dvb g98 fos oc1 oc2; do
        [[ " $types " == *" application/x-qel-$entry "* ]] ||
            fail "$desktop does not open application/x-qel-$entry"
    done
fi
echo "check_install: ok"
