#!/usr/bin/env bash
# thumbnailer_check.sh BUILD_DIR STAGING ASSETS
# Installs BUILD_DIR into STAGING, checks the map thumbnailer entry, then runs its Exec line as
# a file manager would (%s size, %i input, %o output) with no display and checks the PNG.
set -uo pipefail

build=$1
staging=$2
assets=$3
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

rm -rf "$staging"
if ! cmake --install "$build" --prefix "$staging" >"$staging.log" 2>&1; then
    cat "$staging.log"
    echo "FAIL: cmake --install"
    exit 1
fi
entry=$staging/share/thumbnailers/zandrelEditor.thumbnailer
[ -s "$entry" ] || { echo "FAIL: $entry is not installed"; exit 1; }

key() { sed -n "s/^$1=//p" "$entry"; }
grep -qx '\[Thumbnailer Entry\]' "$entry" || fail "no [Thumbnailer Entry] group"
# The entry must name the MIME type the package installs for maps.
mime=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$staging/share/mime/packages/zandrelEditor.xml")
[ -n "$mime" ] || fail "no MIME type in the installed zandrelEditor.xml"
[[ ";$(key MimeType)" == *";$mime;"* ]] || fail "MimeType '$(key MimeType)' lacks '$mime'"
exec_line=$(key Exec)
for code in %s %i %o; do
    [[ $exec_line == *"$code"* ]] || fail "Exec '$exec_line' lacks $code"
done
[[ $exec_line == zdmtool\ render* ]] || fail "Exec '$exec_line' does not run zdmtool render"

# A map beside its textures, in a folder with a space, as users keep them.
work=$staging/maps\ folder
mkdir -p "$work"
cp "$assets"/*.jpg "$work"/
"$staging/bin/zdmtool" new "$work/level.zdm" || fail "zdmtool new"
out=$staging/thumb.png
# The thumbnailer convention substitutes whole arguments; split the line as the file manager
# does, on spaces, then put the paths in.
read -ra words <<<"$exec_line"
args=()
for word in "${words[@]}"; do
    case $word in
        %s) args+=(128) ;;
        %i) args+=("$work/level.zdm") ;;
        %o) args+=("$out") ;;
        *) args+=("$word") ;;
    esac
done
(cd / && env -u DISPLAY -u WAYLAND_DISPLAY PATH="$staging/bin:$PATH" "${args[@]}") ||
    fail "the Exec line failed: ${args[*]}"
if [ -s "$out" ]; then
    # PNG signature, then the IHDR chunk's width and height as big-endian words.
    signature=$(od -An -tx1 -N8 "$out" | tr -d ' \n')
    [ "$signature" = 89504e470d0a1a0a ] || fail "the thumbnail is not a PNG"
    size=$(od -An -tu1 -j16 -N8 "$out" | tr -s ' ' | sed 's/^ //')
    [ "$size" = "0 0 0 128 0 0 0 128" ] || fail "the thumbnail is not 128x128 (IHDR $size)"
else
    fail "no thumbnail written"
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "thumbnailer: all checks passed"
