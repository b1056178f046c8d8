#!/usr/bin/env bash
# Builds the Debian package and tries it on a clean, minimal Debian 12 root:
#   scripts/package-check.sh            (as root; needs debootstrap, dpkg-dev, network to a mirror)
# Steps: Release build and `cpack`; size and control data of the .deb; the desktop entry and
# AppStream metadata validated; a minimal root made with debootstrap; the package installed
# there with apt (so its computed dependencies are pulled in), zdmtool and the editor run;
# the package purged and the root checked for anything it left behind.
# Environment: BUILD_DIR (default build/package), JOBS (build jobs, default all cores), MIRROR (default the Debian mirror apt uses
# here), KEEP_ROOT=1 keeps the root for a look. Slow (minutes): not part of ./test.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build/package}
mirror=${MIRROR:-http://deb.debian.org/debian}
root=$(mktemp -d /tmp/zandrel-root.XXXXXX)
log=$build/package-check.log

say() { printf '\n== %s\n' "$*"; }

cleanup() {
    rm -f "$root.files" "$root.new" "$root.before"
    umount "$root/proc" 2>/dev/null || true
    if [ "${KEEP_ROOT:-0}" = 1 ]; then
        echo "root kept in $root"
    else
        rm -rf "$root"
    fi
}
trap cleanup EXIT

[ "$(id -u)" -eq 0 ] || { echo "package-check.sh: run as root (debootstrap, chroot)"; exit 2; }
for tool in debootstrap dpkg-shlibdeps desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "package-check.sh: $tool missing: scripts/deps.sh"; exit 2; }
done

say "building the package in $build"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZANDREL_BUILD_TESTS=OFF \
    -DZANDREL_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j"${JOBS:-$(nproc)}" >/dev/null
(cd "$build" && rm -f ./*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/*.deb)
mkdir -p "$(dirname "$log")"
: >"$log"

say "package $(basename "$deb"): $(du -k "$deb" | cut -f1) KiB"
dpkg-deb -I "$deb" | tee -a "$log"
dpkg-deb -c "$deb" | awk '{print $6}' | tee -a "$log"

say "validating the desktop entry and the AppStream metadata"
unpacked=$root.unpacked
rm -rf "$unpacked" && dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked/usr/share/applications/zandrelEditor.desktop"
appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml
rm -rf "$unpacked"

say "making a minimal Debian 12 root in $root"
debootstrap --variant=minbase bookworm "$root" "$mirror" >>"$log" 2>&1
mount -t proc proc "$root/proc"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

# What the root holds before, apart from the package manager's own state and caches.
snapshot() {
    in_root find / -xdev \( -path /proc -o -path /tmp -o -path /var/lib/apt -o -path /var/lib/dpkg \
        -o -path /var/cache -o -path /var/log -o -path /run -o -path /dev \) -prune -o -print |
        sort
}
snapshot >"$root.before"

say "installing the package with apt"
cp "$deb" "$root/tmp/"
in_root apt-get install -y -q --no-install-recommends "/tmp/$(basename "$deb")" >>"$log" 2>&1
in_root dpkg -L zandreleditor >"$root.files"
echo "installed; $(in_root dpkg-query -W -f='${Installed-Size}' zandreleditor) KiB on disk"

say "running the installed programs (no display)"
in_root zdmtool --version
in_root sh -c 'mkdir -p /tmp/w && cd /tmp/w && zdmtool new level.zdm && zdmtool check level.zdm &&
    echo "zdmtool new + check: ok" && zdmtool info level.zdm | head -3'
in_root zandrelEditor --version
missing=$(in_root sh -c 'ldd /usr/bin/zandrelEditor /usr/bin/zdmtool /usr/libexec/zandrelEditor/zdmtool-render |
    grep "not found" || true')
[ -z "$missing" ] || { echo "libraries not found: $missing"; exit 1; }
echo "every library of the programs resolves"

say "purging the package and what it pulled in"
in_root apt-get purge -y -q --autoremove zandreleditor >>"$log" 2>&1
left=0
while read -r path; do
    [ "$path" = "/." ] && continue
    if [ -e "$root$path" ] && ! grep -qx "$path" "$root.before"; then
        echo "left behind: $path"
        left=$((left + 1))
    fi
done <"$root.files"
snapshot | comm -13 "$root.before" - >"$root.new" || true
if [ -s "$root.new" ]; then
    echo "new in the root after the purge (by the package or its dependencies):"
    cat "$root.new"
fi
rm -f "$root.files" "$root.new" "$root.before"
[ "$left" -eq 0 ] || { echo "FAIL: $left file(s) of the package left behind"; exit 1; }
echo "the package left no files behind"
say "package check passed (details in $log)"
