#!/usr/bin/env bash
# Makes the packages a person downloads, in build/packages/:
#   ondulix-VERSION-windows-x86_64.zip, ondulix-VERSION-windows-i686.zip,
#   ondulix_VERSION_amd64.deb, ondulix_VERSION_arm64.deb (cross-built), and
#   ondulix-VERSION-web.zip once the project
#   has a web build (a configure preset named "web").
# Installs what is missing, builds with the presets, packs with CPack.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/tools/deps.sh" package
out="$root/build/packages"
rm -rf "$out"
mkdir -p "$out"

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

pack native ondulix package_files
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build/native/CMakeCache.txt")

# The version is written by hand in two places besides CMake: a release
# whose notes or Debian changelog do not name it is not ready.
grep -q "^## Ondulix $version\$" docs/releases.md ||
    { echo "package.sh: docs/releases.md has no '## Ondulix $version'" >&2; exit 1; }
head -1 packaging/changelog.in | grep -q "^ondulix ($version) " ||
    { echo "package.sh: packaging/changelog.in does not start with version $version" >&2; exit 1; }

pack arm64 ondulix package_files
pack mingw-x64 ondulix
pack mingw-i686 ondulix

# The web build: the page's files at the top of its build folder.
if cmake --list-presets | grep -Eq '^ *"web"( |$)'; then
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
else
    echo "package.sh: no web build yet (no \"web\" configure preset): no web zip" >&2
fi

echo "Packages of Ondulix $version in $out:"
ls -l "$out"
