#!/usr/bin/env bash
# What the .deb carries: dependencies found in the program, a stripped
# program behind the launcher, the picture, a desktop entry whose icons are
# the picture on a transparent square, and AppStream metainfo.
# Usage: deb_contents_test.sh ONDULIX.deb ASSETS_DIR
set -euo pipefail
deb=$1 assets=$2
tmp=$(mktemp -d "${TMPDIR:-/tmp}/ondulix-deb.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libsdl2-2.0-0 libstdc++6 libc6; do
    sed 's/[,|]/\n/g' <<<"$depends" | awk '{print $1}' | grep -qx -- "$lib" ||
        fail "Depends ($depends) lacks $lib"
done
echo "Depends: $depends"

dpkg-deb -x "$deb" "$tmp"
program=$tmp/usr/libexec/ondulix/ondulix
[[ -x "$tmp/usr/bin/ondulix" ]] || fail "no /usr/bin/ondulix"
arch=$(dpkg-deb -f "$deb" Architecture)
case $arch in
    amd64) machine=x86-64 ;;
    arm64) machine="ARM aarch64" ;;
    *) fail "a package for $arch" ;;
esac
file -b "$program" | grep -q "ELF 64-bit .*, $machine,.*, stripped" ||
    fail "program of the $arch package: $(file -b "$program")"
cmp -s "$tmp/usr/share/ondulix/earth.bmp" "$assets/earth.bmp" ||
    fail "/usr/share/ondulix/earth.bmp is not assets/earth.bmp"

desktop=$tmp/usr/share/applications/ondulix.desktop
grep -qx "Exec=ondulix" "$desktop" || fail "the desktop entry does not run ondulix"
grep -qx "Icon=ondulix" "$desktop" || fail "the desktop entry names another icon"
icons=0
for icon in "$tmp"/usr/share/icons/hicolor/*/apps/ondulix.png; do
    size=$(basename "$(dirname "$(dirname "$icon")")")
    # Alpha in a corner (space), at the centre (the Earth), and the size.
    read -r corner centre got < <(convert "$icon" \
        -format '%[fx:int(255*p{0,0}.a)] %[fx:int(255*p{w/2,h/2}.a)] %wx%h\n' info:)
    [[ "$got" == "$size" ]] || fail "icon of $size is $got"
    [[ "$corner" == 0 && "$centre" == 255 ]] ||
        fail "icon of $size: corner alpha $corner (want 0), centre alpha $centre (want 255)"
    icons=$((icons + 1))
done
((icons >= 1)) || fail "no icon"

# The AppStream metainfo that software centres list the program by: valid,
# named by its id, launching the packaged desktop entry, rated, under the
# MIT licence, and naming this release with the changelog's date.
metainfos=("$tmp"/usr/share/metainfo/*.metainfo.xml)
[[ ${#metainfos[@]} == 1 && -f "${metainfos[0]}" ]] || fail "not one file in /usr/share/metainfo"
metainfo=${metainfos[0]}
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli finds fault with the metainfo"
read -r id launchable rating version date licence < <(xmllint --xpath 'concat(/component/id, " ",
    /component/launchable[@type="desktop-id"], " ", /component/content_rating/@type, " ",
    /component/releases/release[1]/@version, " ", /component/releases/release[1]/@date, " ",
    /component/project_license)' "$metainfo")
[[ "$licence" == MIT ]] || fail "the metainfo's project_license is '$licence', not MIT"
[[ "$(basename "$metainfo")" == "$id.metainfo.xml" ]] || fail "metainfo of id $id is $metainfo"
[[ -f "$tmp/usr/share/applications/$launchable" ]] || fail "it launches $launchable: not packaged"
[[ "$rating" == oars-* ]] || fail "no content rating"
[[ "$version" == "$(dpkg-deb -f "$deb" Version)" ]] ||
    fail "its release is $version, the package's $(dpkg-deb -f "$deb" Version)"
signed=$(zcat "$tmp/usr/share/doc/ondulix/changelog.gz" | sed -n 's/^ -- .*>  //p' | head -1)
[[ "$date" == "$(date -u -d "$signed" +%F)" ]] || fail "its release date $date, the changelog's $signed"
screenshots=$(xmllint --xpath '//screenshot/image/text()' "$metainfo" 2>/dev/null || true)
for url in $screenshots; do
    [[ "$url" == */docs/*.png ]] || fail "screenshot $url is not the repository's docs/ picture"
done
echo "PASS: the .deb's dependencies, program, picture, desktop entry, $icons icons and metainfo"
