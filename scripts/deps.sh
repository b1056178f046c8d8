#!/usr/bin/env bash
# Installs the Debian packages the project needs, if any is missing. Used by ./run and ./test.
set -euo pipefail

packages=(
    # build
    g++ cmake make flex bison libfl-dev
    # core tests and benchmarks
    libgtest-dev libbenchmark-dev libxml2-utils librapidcheck-dev
    # editor: Qt 6 widgets, OpenGL 1.1 + GLU, DevIL, freeglut, X11
    qt6-base-dev libqt6opengl6-dev libgl1-mesa-dev libglu1-mesa-dev
    libdevil-dev freeglut3-dev libx11-dev
    # headless pictures (zdmtool render): EGL with Mesa's surfaceless platform
    libegl-dev libegl-mesa0
    # heightmap pictures (zdmtool heightmap)
    libpng-dev
    # the panel's narrow font, and Qt's own dialog and window texts in Italian
    fonts-dejavu-extra
    qt6-translations-l10n
    # headless runs of the editor and its tests
    xvfb xauth libgl1-mesa-dri
    # the comma-decimal locale the number tests run under
    locales
    # packaging: the .deb's computed dependencies, the checks of the installed desktop entry,
    # AppStream metadata, manual pages and completion, and the clean-root package check
    dpkg-dev desktop-file-utils appstream groff-base bash-completion debootstrap
)

# Optional: the comparison reader of the map benchmarks and their whole-process timer
# (bench/compare_readers.sh), and ccache for repeated builds of several checkouts
# (CMAKE_CXX_COMPILER_LAUNCHER=ccache). Installed when available; nothing needs them to build.
optional=(libpugixml-dev hyperfine ccache)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
log=$(mktemp -t zandrel-deps.XXXXXX)
trap 'rm -f "$log"' EXIT

# One line per run of apt-get: what it installs and how it ended. dpkg's own lines (one per
# unpacked package) go to the log, which is shown only when apt-get fails.
apt_install() {
    local what="$1"
    shift
    if DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq \
        -o Dpkg::Use-Pty=0 "$@" >"$log" 2>&1; then
        echo "apt-get: installed $what ($# packages)"
    else
        cat "$log" >&2
        echo "apt-get: could not install $what" >&2
        return 1
    fi
}

if [ ${#missing[@]} -gt 0 ]; then
    echo "Missing: ${missing[*]}"
    "${sudo_cmd[@]}" apt-get update -qq >"$log" 2>&1 || { cat "$log" >&2; exit 1; }
    apt_install "the required packages" "${missing[@]}"
fi
for p in "${optional[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
        apt_install "optional $p" "$p" 2>/dev/null || echo "Optional package $p not installed" >&2
done

# The editor's users run an Italian locale; the tests check that numbers ignore it.
locale -a | grep -qi '^it_IT.utf8$' || "${sudo_cmd[@]}" localedef -i it_IT -f UTF-8 it_IT.UTF-8
