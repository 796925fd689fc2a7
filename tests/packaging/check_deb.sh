#!/usr/bin/env bash
# The Debian package, unpacked: exactly the expected files, valid desktop entry and metainfo,
# *.DF and *.df mapped to Tabulet, and a program that starts. The scratch folder stays on failure.
set -euo pipefail
build_dir=$1 cpack=$2 version=$3 mime_probe=$4 scratch=$5
id=io.github.tabulet.Tabulet mime_type=application/x-ledra-datafile arch=$(dpkg --print-architecture)
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$scratch"
mkdir -p "$scratch/out" "$scratch/config" && mkdir -m 700 "$scratch/run"
"$cpack" -G DEB -B "$scratch/out" --config "$build_dir/CPackConfig.cmake" >"$scratch/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$scratch/cpack.log")"
deb=$scratch/out/tabulet_${version}_$arch.deb
[[ $(echo "$scratch"/out/*.deb) == "$deb" ]] || fail "cpack made $(echo "$scratch"/out/*.deb)"
[[ $(dpkg-deb -f "$deb" Package Section) == $'Package: tabulet\nSection: editors' ]] ||
    fail "the package is $(dpkg-deb -f "$deb" Package Section)"
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "Depends lacks Qt: $(dpkg-deb -f "$deb" Depends)"

root=$scratch/root share=usr/share
icons=$share/icons/hicolor sizes=(16 32 48 64 128 256)
dpkg-deb -x "$deb" "$root"
expected=(usr/bin/tabulet "$share/applications/$id.desktop" "$share/metainfo/$id.metainfo.xml"
    "$share/mime/packages/$id.xml" "$icons/scalable/apps/$id.svg" "$share/doc/tabulet/help.html")
for size in "${sizes[@]}"; do expected+=("$icons/${size}x$size/apps/$id.png"); done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$root" && find . -type f -printf '%P\n' | sort) ||
    fail "the files in the package differ from the expected list (< expected, > packaged)"
desktop=$root/$share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
entry() { sed -n "s/^$1=//p" "$desktop"; }
[[ $(entry Exec) == "tabulet %f" && $(entry Icon) == "$id" && ";$(entry MimeType)" == *";$mime_type;"* ]] ||
    fail "the desktop entry runs '$(entry Exec)', shows '$(entry Icon)', opens '$(entry MimeType)'"
metainfo=$root/$share/metainfo/$id.metainfo.xml
appstreamcli validate --no-net --explain "$metainfo" || fail "appstreamcli rejects the metainfo"
update-mime-database "$root/$share/mime" >"$scratch/mime.log" 2>&1 ||
    fail "update-mime-database rejects the MIME package: $(cat "$scratch/mime.log")"
types=$(XDG_DATA_DIRS="$root/$share:/usr/share" "$mime_probe" RECORDS.DF records.df notes.txt)
[[ $types == "$mime_type"$'\n'"$mime_type"$'\n'text/plain ]] ||
    fail "RECORDS.DF, records.df and notes.txt are: $types"

# Still running after two seconds: the loader found every library.
status=0
XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch/run QT_QPA_PLATFORM=offscreen \
    timeout 2 "$root/usr/bin/tabulet" >"$scratch/start.log" 2>&1 || status=$?
[[ $status -eq 124 ]] || fail "the unpacked program ended with status $status: $(cat "$scratch/start.log")"
rm -rf "$scratch"
echo "package checked"
