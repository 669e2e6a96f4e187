#!/usr/bin/env bash
# The Debian package of a Release build, unpacked: the program, menu entry, icons and metadata
# only, all valid; Qt and the printout's fonts as dependencies; the program on a virtual display.
#   package-check.sh BUILD_DIR SOURCE_DIR QT_MAJOR
set -euo pipefail
build=$(realpath "$1") src=$(realpath "$2") qt=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package check FAILED: $*"; exit 1; }

cpack -G DEB -B "$work" --config "$build/CPackConfig.cmake" >"$work/cpack.log" ||
    fail "cpack: $(cat "$work/cpack.log")"
deb=$(echo "$work"/vorlancsv_*.deb)
root=$work/root
dpkg-deb -x "$deb" "$root"
id=de.quellor.vorlancsv
diff <(printf '%s\n' usr/bin/vorlancsv usr/share/applications/$id.desktop \
           usr/share/metainfo/$id.metainfo.xml \
           usr/share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64}/apps/$id.png \
           usr/share/icons/hicolor/{128x128,256x256}/apps/$id.png | sort) \
     <(cd "$root" && find . ! -type d | sed 's|^\./||' | sort) ||
    fail "files of $deb (<: missing, >: not expected)"
! grep -rlF -e "$src" -e "$build" "$root" || fail "paths of the build machine in the files above"
for png in "$root"/usr/share/icons/hicolor/*/apps/$id.png; do
    size=$(identify -format %wx%h "$png")
    [[ $png == */hicolor/$size/apps/* ]] || fail "$png is $size"
done

desktop=$root/usr/share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "desktop entry"
program=$(sed -n 's/^Exec=//p' "$desktop") icon=$(sed -n 's/^Icon=//p' "$desktop")
[[ -x $root/usr/bin/$program ]] || fail "Exec=$program is not the packaged program alone"
[[ -f $root/usr/share/icons/hicolor/48x48/apps/$icon.png ]] || fail "no icon Icon=$icon"
appstreamcli validate --no-net "$root"/usr/share/metainfo/$id.metainfo.xml &&
    appstreamcli validate-tree --no-net "$root" || fail "AppStream metadata"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for dep in libqt${qt}widgets$qt libqt${qt}printsupport$qt fonts-urw-base35; do
    grep -qE "(^|, )$dep( |,|$)" <<<"$depends" || fail "$dep is not a dependency"
done

bash "$src/tests/display-check.sh" "$root/usr/bin/vorlancsv" \
    "$src/examples/planliste-verwaltungsbau.csv" "$build/tests/package-check"
