#!/usr/bin/env bash
# install_check.sh BUILD_DIR STAGING VERSION gui|nogui
# Installs BUILD_DIR into STAGING and checks the installed tree. Prints one line per failed
# check and exits 1 if there was any.
set -uo pipefail

build=$1
staging=$2
version=$3
gui=$4
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

need_tool() {
    command -v "$1" >/dev/null || fail "$1 is missing (package $2; scripts/deps.sh installs it)"
}

rm -rf "$staging"
if ! cmake --install "$build" --prefix "$staging" >"$staging.log" 2>&1; then
    cat "$staging.log"
    echo "FAIL: cmake --install"
    exit 1
fi
share=$staging/share

expected=(
    bin/zdmtool
    share/man/man1/zdmtool.1
    share/bash-completion/completions/zdmtool
)
if [ "$gui" = gui ]; then
    expected+=(
        bin/zandrelEditor
        share/man/man1/zandrelEditor.1
        share/applications/zandrelEditor.desktop
        share/metainfo/org.example.zandrelEditor.metainfo.xml
        share/mime/packages/zandrelEditor.xml
        share/icons/hicolor/128x128/apps/zandrelEditor.png
        share/icons/hicolor/128x128/mimetypes/application-x-zandreleditor.png
        share/zandrelEditor/assets/wall.jpg
    )
fi
for file in "${expected[@]}"; do
    [ -s "$staging/$file" ] || fail "$file is not installed"
done

# Versions: the package, the tools and the pages all say the project's.
[ "$("$staging/bin/zdmtool" --version)" = "zdmtool $version" ] || fail "zdmtool --version"
grep -q "zdmtool $version" "$share/man/man1/zdmtool.1" || fail "zdmtool.1 lacks the version"

# Manual pages: groff warns about bad requests and escapes; a clean page prints nothing.
need_tool groff groff-base
for page in "$share"/man/man1/*.1; do
    warnings=$(groff -man -ww -z -Tutf8 "$page" 2>&1)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

# Every verb zdmtool lists has its place in the manual page and in the completion.
verbs=$("$staging/bin/zdmtool" --help | sed -n '/^Verbs:/,/^$/{s/^  \([a-z-]*\).*/\1/p}')
[ -n "$verbs" ] || fail "no verbs read from zdmtool --help"
completion=$share/bash-completion/completions/zdmtool
for verb in $verbs; do
    grep -q "^\.B zdmtool $verb" "$share/man/man1/zdmtool.1" || fail "zdmtool.1 lacks the verb $verb"
    grep -q "local verbs=\".*\b$verb\b" "$completion" || fail "the completion lacks the verb $verb"
done

# The completion itself, run as bash runs it on Tab.
need_tool bash bash
bash_completion=/usr/share/bash-completion/bash_completion
if [ ! -r "$bash_completion" ]; then
    fail "bash_completion is missing (package bash-completion)"
else
    complete_line() {
        (cd "$staging" && bash -c '
            source "$1" && source "$2" || exit 1
            COMP_LINE=$3; COMP_POINT=${#COMP_LINE}
            read -ra COMP_WORDS <<<"$COMP_LINE"
            [[ $COMP_LINE == *" " ]] && COMP_WORDS+=("")
            COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
            _zdmtool zdmtool "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
            printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " "' _ "$bash_completion" "$completion" "$1")
    }
    mkdir -p "$staging/maps" && : >"$staging/maps/a.zdm" && : >"$staging/maps/b.txt"
    check() {
        local got
        got=$(complete_line "$1")
        [ "$got" = "$2" ] || fail "completion of '$1': got '$got', expected '$2'"
    }
    check "zdmtool ch" "check "
    check "zdmtool check --s" "--strict "
    check "zdmtool info maps/" "maps/a.zdm "
    check "zdmtool heightmap ex" "export "
fi

if [ "$gui" = gui ]; then
    need_tool desktop-file-validate desktop-file-utils
    need_tool appstreamcli appstream
    desktop-file-validate "$share/applications/zandrelEditor.desktop" ||
        fail "desktop-file-validate"
    appstreamcli validate --no-net "$share/metainfo/org.example.zandrelEditor.metainfo.xml" ||
        fail "appstreamcli validate"
    grep -q "release version=\"$version\"" "$share/metainfo/org.example.zandrelEditor.metainfo.xml" ||
        fail "the metainfo lacks release $version"

    # No display at all: Qt would stop the editor before it could print anything.
    editor=$staging/bin/zandrelEditor
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$editor" --version 2>&1)
    [ "$out" = "zandrelEditor $version" ] || fail "zandrelEditor --version printed '$out'"
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$editor" --help 2>&1)
    [[ $out == "Usage: zandrelEditor"* ]] || fail "zandrelEditor --help printed '$out'"
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "install layout: all checks passed"
