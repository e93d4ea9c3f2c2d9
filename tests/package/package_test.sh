#!/usr/bin/env bash
# Builds the Debian package of a build, checks what it declares and holds, and runs the program
# unpacked from it where neither the sources nor the build can be seen, so that a program that
# only works from the source tree fails here.
#
#   package_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail

build=$(realpath "$1")
source=$(realpath "$2")
version=$3

# Under /tmp rather than TMPDIR, which could lie inside one of the trees hidden below.
work=$(mktemp -d /tmp/perlinex-package.XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

echo "== The package"
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack could not make the package" >&2
    exit 1
fi
debs=("$work"/out/perlinex_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || {
    echo "FAIL: cpack made no perlinex_*.deb" >&2
    exit 1
}
deb=${debs[0]}
dpkg-deb -f "$deb"
[ "$(dpkg-deb -f "$deb" Version)" = "$version-1" ] ||
    fail "the package's version is $(dpkg-deb -f "$deb" Version), not $version-1"

root=$work/root
dpkg-deb -x "$deb" "$root"
program=$root/usr/bin/perlinex
desktop=$root/usr/share/applications/perlinex.desktop
metainfo=$root/usr/share/metainfo/org.perlinex.Perlinex.metainfo.xml
mimetypes=$root/usr/share/mime/packages/perlinex.xml
icon=$root/usr/share/icons/hicolor/scalable/apps/perlinex.svg
manpage=$root/usr/share/man/man1/perlinex.1.gz
for f in "$program" "$desktop" "$metainfo" "$mimetypes" "$icon" "$manpage" \
    "$root/usr/share/perlinex/help/index.html" "$root/usr/share/perlinex/help/style.css" \
    "$root/usr/share/perlinex/rptspec.tsv" "$root/usr/share/perlinex/vocabulary/country.txt"; do
    [ -f "$f" ] || fail "the package lacks ${f#"$root"}"
done
stray=$(cd "$root" && find . -type f ! -path ./usr/bin/perlinex ! -path './usr/share/*')
[ -z "$stray" ] || fail "the package holds what is not the program's: $stray"

echo "== Its dependencies"
declared=" $(dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' |
    sed -E 's/\(.*\)//; s/:[a-z0-9]+//; s/[[:space:]]//g' | sort -u | tr '\n' ' ') "
covered() { [[ $declared == *" $1 "* ]]; }

# The package that holds a file; Debian registers some libraries under /lib, some under /usr/lib.
owner() {
    local path variant out
    for path in "$1" "$(realpath "$1")"; do
        for variant in "$path" "${path#/usr}" "/usr$path"; do
            out=$(dpkg -S "$variant" 2>/dev/null) || continue
            echo "${out%%:*}"
            return 0
        done
    done
    return 1
}

needs_package() { # FILE WHY
    local pkg
    if ! pkg=$(owner "$1"); then
        fail "no installed package holds $1 ($2)"
    elif ! covered "$pkg"; then
        fail "$pkg holds $1 ($2) but the package does not depend on it"
    fi
}

for lib in $(objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }'); do
    path=$(ldd "$program" | awk -v lib="$lib" '$1 == lib && $2 == "=>" { print $3 }')
    if [ -z "$path" ] || [ "$path" = "not" ]; then
        fail "the program links $lib, which this machine does not have"
        continue
    fi
    needs_package "$path" "linked as $lib"
done
# What Qt loads at run time, unseen by dpkg-shlibdeps: the platforms (a window, and the
# offscreen one the report commands use), the SVG icon, the picture formats; and the report font.
plugins=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/qt6/plugins
for plugin in platforms/libqxcb.so platforms/libqoffscreen.so imageformats/libqsvg.so \
    iconengines/libqsvgicon.so imageformats/libqjpeg.so imageformats/libqgif.so \
    imageformats/libqico.so imageformats/libqtiff.so; do
    needs_package "$plugins/$plugin" "a Qt plugin"
done
needs_package /usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf "the report font"

echo "== Its desktop files"
desktop-file-validate "$desktop" || fail "desktop-file-validate refuses perlinex.desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli refuses the AppStream metadata"
grep -q "<release version=\"$version\"" "$metainfo" ||
    fail "the AppStream metadata does not name the release $version"
xmllint --noout "$icon" || fail "the icon is not well-formed SVG"
[ "$(sed -n 's/^Icon=//p' "$desktop")" = "$(basename "$icon" .svg)" ] ||
    fail "the desktop entry names an icon the package does not install"
# The MIME type as the desktop builds it: *.rpt is a layout, and the entry opens layouts.
mkdir -p "$work/mime/packages"
cp "$mimetypes" "$work/mime/packages/"
update-mime-database "$work/mime" >/dev/null 2>&1 ||
    fail "update-mime-database refuses perlinex.xml"
type=$(sed -nE 's/^[0-9]+:([^:]+):\*\.rpt$/\1/p' "$work/mime/globs2" 2>/dev/null)
[ -n "$type" ] || fail "perlinex.xml gives *.rpt no MIME type"
grep -Eq "^MimeType=(.*;)?$type;" "$desktop" ||
    fail "the desktop entry does not open $type"

echo "== The unpacked program, hidden from the sources and the build"
home=$work/home
mkdir -m 700 -p "$home" "$home/run"
if grep -aqF "$source" "$program"; then
    fail "the program names the source tree $source"
fi
# Empty folders mounted over the trees in a mount namespace of the program's own; the build
# first, as it may lie inside the sources, which then cover it.
hide=(unshare --mount --map-root-user -- bash -c
    'mount -t tmpfs none "$1" && mount -t tmpfs none "$2" && shift 2 && exec "$@"'
    hide "$build" "$source")
if ! "${hide[@]}" test ! -e "$source/CMakeLists.txt" 2>/dev/null; then
    hide=()
    echo "note: no mount namespace here; the trees stay visible, only the environment is bare"
fi
unpacked() {
    (cd "$work" && "${hide[@]}" env -i HOME="$home" XDG_RUNTIME_DIR="$home/run" \
        PATH=/usr/bin:/bin LANG=C.UTF-8 "$program" "$@")
}

[ "$(unpacked --version)" = "perlinex $version" ] || fail "--version does not say $version"
unpacked new "$work/empty" || fail "new failed"
[ -f "$work/empty/stamp.mdb" ] && [ -f "$work/empty/rptspec.mdb" ] ||
    fail "new made no collection"
unpacked generate "$work/demo" --stamps 40 --seed 7 || fail "generate failed"
unpacked report value --to text --output "$work/value.txt" --folder "$work/demo" ||
    fail "the value report failed"
[ "$(wc -l <"$work/value.txt" 2>/dev/null || echo 0)" -gt 1 ] ||
    fail "the value report wrote no rows"
unpacked report value --to pdf --output "$work/value.pdf" --folder "$work/demo" ||
    fail "the value report as PDF failed"
[ "$(head -c 5 "$work/value.pdf" 2>/dev/null)" = "%PDF-" ] || fail "the PDF report is no PDF"

echo "== Its manual page"
warnings=$(zcat "$manpage" | groff -man -ww -z -K utf8 2>&1)
[ -z "$warnings" ] || fail "groff warns about the manual page: $warnings"
page=$(zcat "$manpage")
usage=$(unpacked --help)
for command in $(sed -nE 's/^ +perlinex ([a-z]+)( .*)?$/\1/p' <<<"$usage" | sort -u); do
    grep -Eq "^\.SS \"perlinex $command[ \"]" <<<"$page" ||
        fail "the manual page has no section on perlinex $command"
done
for option in $(grep -oE -- '--[a-z]+' <<<"$usage" | sort -u); do
    grep -qF -- "\\-\\-${option#--}" <<<"$page" ||
        fail "the manual page does not mention $option"
done

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "The package is whole."
