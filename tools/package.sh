#!/usr/bin/env bash
# Makes the packages a person downloads in build/packages/, with their
# SHA256SUMS beside them; each preset makes one:
#   native      ondulix_VERSION_amd64.deb
#   arm64       ondulix_VERSION_arm64.deb (cross-built)
#   mingw-x64   ondulix-VERSION-windows-x86_64.zip
#   mingw-i686  ondulix-VERSION-windows-i686.zip
#   web         ondulix-VERSION-web.zip
# Usage: tools/package.sh [PRESET...]   (all five when none is named)
# The same sources give the same bytes from any folder at any time: every
# date in the packages is SOURCE_DATE_EPOCH, the last commit's unless it is
# set already, and no path of the build gets into them
# (cmake/reproducible.cmake). Installs what is missing, builds with the
# presets, packs with CPack.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# The modes in the packages are not the builder's: under umask 077, CPack
# (3.25) made the .deb's folders 0700, which would have kept everyone but
# root out of /usr/libexec/ondulix.
umask 022
presets=("$@")
((${#presets[@]})) || presets=(native arm64 mingw-x64 mingw-i686 web)
"$root/tools/deps.sh" package
out="$root/build/packages"
rm -rf "$out"
mkdir -p "$out"

if [[ -z "${SOURCE_DATE_EPOCH:-}" ]]; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct) ||
        { echo "package.sh: no commit to date the packages by: set SOURCE_DATE_EPOCH" >&2; exit 1; }
fi
export SOURCE_DATE_EPOCH

# The version is written by hand in two places besides CMake: a release
# whose notes or Debian changelog do not name it is not ready.
version=$(sed -n 's/^project(Ondulix VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
notes=$(sed -n "/^## Ondulix $version\$/,/^## /p" docs/releases.md)
[[ -n "$notes" ]] || { echo "package.sh: docs/releases.md has no '## Ondulix $version'" >&2; exit 1; }
head -1 packaging/changelog.in | grep -q "^ondulix ($version) " ||
    { echo "package.sh: packaging/changelog.in does not start with version $version" >&2; exit 1; }
entry=$(sed -n '1,/^ -- /p' packaging/changelog.in)

# pack PRESET TARGET...: builds the targets a package carries, lets CPack
# pack them in the preset's build folder and copies what it made to $out.
pack() {
    local preset=$1 made
    shift
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --target "$@"
    made=$(cd "$root/build/$preset" && cpack |
        sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p')
    [[ -n "$made" ]] || { echo "package.sh: cpack made nothing for $preset" >&2; exit 1; }
    cp "$made" "$out/"
}

# The web build: the page's files at the top of its build folder, with the
# licence and the notices of what Emscripten compiled into the program.
pack_web() {
    local web stage
    web=$(cmake --preset web | sed -n 's/^-- Build files have been written to: //p')
    cmake --build "$web"
    stage="$root/build/web-package/ondulix-$version-web"
    rm -rf "$root/build/web-package"
    mkdir -p "$stage"
    find "$web" -maxdepth 1 -type f \( -name '*.html' -o -name '*.js' -o -name '*.mjs' \
        -o -name '*.wasm' -o -name '*.data' -o -name '*.css' -o -name '*.ico' -o -name '*.png' \
        -o -name '*.bmp' -o -name '*.svg' \) -exec cp {} "$stage/" \;
    compgen -G "$stage/*.html" >/dev/null ||
        { echo "package.sh: the web build in $web has no .html page" >&2; exit 1; }
    cp LICENSE "$stage/LICENSE.txt"
    cp packaging/web/THIRD-PARTY-NOTICES.txt "$stage/"
    (cd "$root/build/web-package" && cmake -E tar cf "$out/ondulix-$version-web.zip" --format=zip \
        "ondulix-$version-web")
}

for preset in "${presets[@]}"; do
    case $preset in
        native | arm64) pack "$preset" ondulix package_files ;;
        mingw-x64 | mingw-i686) pack "$preset" ondulix ;;
        web) pack_web ;;
        *) echo "package.sh: no package is made with preset '$preset'" >&2; exit 2 ;;
    esac
done

# The zips as CPack and cmake -E tar make them hold the files' owners, modes
# and times of the folder they were packed in.
for zip in "$out"/*.zip; do
    if [[ -e "$zip" ]]; then /usr/bin/python3 tools/reproducible_zip.py "$zip"; fi
done

# Every package is named in the release notes and in the Debian changelog's
# entry of this version, so that neither falls behind what is made.
packages=()
while IFS= read -r package; do packages+=("$package"); done < <(cd "$out" && LC_ALL=C ls)
for package in "${packages[@]}"; do
    grep -qF "\`$package\`" <<<"$notes" ||
        { echo "package.sh: docs/releases.md does not name $package under Ondulix $version" >&2
          exit 1; }
    grep -qF "$package" <<<"$entry" ||
        { echo "package.sh: packaging/changelog.in does not name $package in $version" >&2
          exit 1; }
done
(cd "$out" && sha256sum -- "${packages[@]}" >SHA256SUMS)

echo "Packages of Ondulix $version in $out (SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH):"
(cd "$out" && ls -l && cat SHA256SUMS)
