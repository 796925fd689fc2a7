#!/usr/bin/env bash
# Builds the Debian package with cpack, unpacks it into a scratch folder and checks that every
# file is where a Debian desktop looks for it: the program, its desktop entry, icons, help,
# metainfo and MIME type, that each of them passes its validator, that file managers would map
# *.DF and *.df files to Tabulet, and that the unpacked program starts.
set -euo pipefail

while [[ $# -gt 0 ]]; do
    case "$1" in
    --build-dir) build_dir=$2 ;;
    --cpack) cpack=$2 ;;
    --prefix) prefix=$2 ;;
    --help-dir) help_dir=$2 ;;
    --version) version=$2 ;;
    --mime-probe) mime_probe=$2 ;;
    --scratch) scratch=$2 ;;
    *) echo "check_deb: unknown argument $1" >&2; exit 2 ;;
    esac
    shift 2
done

app_id=io.github.tabulet.Tabulet
mime_type=application/x-ledra-datafile
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

rm -rf "$scratch"
mkdir -p "$scratch/out" "$scratch/root"

echo "== cpack"
"$cpack" -G DEB -B "$scratch/out" --config "$build_dir/CPackConfig.cmake" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; echo "FAIL: cpack failed" >&2; exit 1; }
shopt -s nullglob
debs=("$scratch/out"/*.deb)
[[ ${#debs[@]} -eq 1 ]] || { echo "FAIL: expected one .deb, found ${#debs[@]}" >&2; exit 1; }
deb=${debs[0]}
arch=$(dpkg --print-architecture)
[[ $(basename "$deb") == "tabulet_${version}_${arch}.deb" ]] || fail "package file named $(basename "$deb")"

echo "== control fields"
field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == tabulet ]] || fail "Package is '$(field Package)'"
[[ $(field Version) == "$version" ]] || fail "Version is '$(field Version)'"
[[ $(field Architecture) == "$arch" ]] || fail "Architecture is '$(field Architecture)'"
[[ $(field Maintainer) == "Tabulet developers" ]] || fail "Maintainer is '$(field Maintainer)'"
[[ $(field Section) == editors ]] || fail "Section is '$(field Section)'"
[[ -n $(field Description) ]] || fail "no Description"
# The names alone, without their version constraints.
depends=$(field Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//')
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    grep -qxF "$library" <<<"$depends" || fail "Depends lacks $library: $(field Depends)"
done

echo "== files"
dpkg-deb -x "$deb" "$scratch/root"
root=$scratch/root
share=${prefix#/}/share
expected=(
    "${prefix#/}/bin/tabulet"
    "$share/applications/$app_id.desktop"
    "$share/metainfo/$app_id.metainfo.xml"
    "$share/mime/packages/$app_id.xml"
    "$share/icons/hicolor/scalable/apps/$app_id.svg"
    "${help_dir#/}/help.html"
)
for size in 16 32 48 64 128 256; do
    expected+=("$share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$root" && find . -type f -printf '%P\n' | sort) >"$scratch/files.diff" ||
    fail "files in the package differ from the expected list (< expected, > packaged):
$(cat "$scratch/files.diff")"

binary=$root/${prefix#/}/bin/tabulet
[[ -x $binary ]] || fail "the program is not executable"

echo "== icons"
for size in 16 32 48 64 128 256; do
    icon=$root/$share/icons/hicolor/${size}x${size}/apps/$app_id.png
    [[ -f $icon ]] || continue
    file -b "$icon" | grep -q "PNG image data, $size x $size," || fail "$icon is not a $size x $size PNG: $(file -b "$icon")"
done
svg=$root/$share/icons/hicolor/scalable/apps/$app_id.svg
[[ ! -f $svg ]] || file -b "$svg" | grep -q 'SVG' || fail "$svg is not an SVG image"

echo "== desktop entry"
desktop=$root/$share/applications/$app_id.desktop
if [[ -f $desktop ]]; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
    entry() { sed -n "s/^$1=//p" "$desktop"; }
    [[ $(entry Exec) == "tabulet %f" ]] || fail "Exec is '$(entry Exec)'"
    [[ $(entry Icon) == "$app_id" ]] || fail "Icon is '$(entry Icon)'"
    [[ ";$(entry MimeType)" == *";$mime_type;"* ]] || fail "MimeType '$(entry MimeType)' lacks $mime_type"
fi

echo "== metainfo"
metainfo=$root/$share/metainfo/$app_id.metainfo.xml
if [[ -f $metainfo ]]; then
    appstreamcli validate --no-net --explain "$metainfo" || fail "appstreamcli rejects the metainfo"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fail "the metainfo does not launch $app_id.desktop"
fi

echo "== MIME type"
if [[ -f $root/$share/mime/packages/$app_id.xml ]]; then
    update-mime-database "$root/$share/mime" >"$scratch/mime.log" 2>&1 || fail "update-mime-database rejects the MIME package: $(cat "$scratch/mime.log")"
    mapfile -t types < <(XDG_DATA_DIRS="$root/$share:/usr/share" "$mime_probe" \
        RECORDS.DF records.df notes.txt)
    [[ ${types[0]:-} == "$mime_type" ]] || fail "RECORDS.DF is '${types[0]:-}'"
    [[ ${types[1]:-} == "$mime_type" ]] || fail "records.df is '${types[1]:-}'"
    [[ ${types[2]:-} == text/plain ]] || fail "notes.txt is '${types[2]:-}'"
fi

echo "== start"
# Still running after two seconds means the loader found every library and the window is up.
mkdir -p "$scratch/config" && mkdir -m 700 "$scratch/run"
status=0
XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch/run QT_QPA_PLATFORM=offscreen \
    timeout 2 "$binary" >"$scratch/start.log" 2>&1 || status=$?
[[ $status -eq 124 ]] || fail "the unpacked program ended with status $status: $(cat "$scratch/start.log")"

if [[ $failures -gt 0 ]]; then
    echo "$failures check(s) failed; the package is $deb" >&2
    exit 1
fi
rm -rf "$scratch"
echo "package checked"
