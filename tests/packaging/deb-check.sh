#!/usr/bin/env bash
# deb-check.sh BUILD_DIR: makes the Debian package from the build, checks its control fields
# (computed library dependencies among them), installs it with dpkg into an empty root of its
# own (no chroot: dpkg --root with a fresh database) and runs both programs from there.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd) || exit 2
. "$here/lib.sh"
need cpack dpkg dpkg-deb dpkg-shlibdeps

(cd "$tmp" && cpack --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1) ||
  { echo "FAIL cpack"; tail -n 20 "$tmp/cpack.log"; exit 1; }
deb=$(ls "$tmp"/out/pelko_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { echo "FAIL no package was made"; tail -n 20 "$tmp/cpack.log"; exit 1; }
echo "package: $(basename "$deb") ($(du -h "$deb" | cut -f1))"

depends=$(dpkg-deb -f "$deb" Depends)
check "Depends holds the computed Qt and C++ libraries" bash -c \
  "grep -q 'libqt6widgets6' <<<'$depends' && grep -q 'libstdc++6' <<<'$depends' && grep -q 'libc6' <<<'$depends'"
check "Depends names the run-time plugins" bash -c "grep -q 'qt6-qpa-plugins' <<<'$depends' && grep -q 'libqt6svg6' <<<'$depends'"
check "the package is named pelko for this machine" bash -c \
  "[ \"\$(dpkg-deb -f '$deb' Package)\" = pelko ] && [ \"\$(dpkg-deb -f '$deb' Architecture)\" = \"\$(dpkg --print-architecture)\" ]"
check "the programs are stripped" bash -c "dpkg-deb --fsys-tarfile '$deb' | tar -xO ./usr/bin/pelko-cli > '$tmp/cli' && file '$tmp/cli' | grep -q ', stripped'"

root=$tmp/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
: >"$root/var/lib/dpkg/status"
# The libraries come from the machine: the empty root has no packages to satisfy Depends.
check "dpkg installs the package into an empty root" \
  dpkg --root="$root" --force-not-root --force-depends --force-script-chrootless --log=/dev/null -i "$deb"
check "dpkg knows it as installed" bash -c "dpkg --root='$root' -s pelko | grep -qx 'Status: install ok installed'"
version=$(dpkg-deb -f "$deb" Version)
check "pelko-cli --version runs from the installed root" bash -c "'$root/usr/bin/pelko-cli' --version | grep -qx 'pelko-cli $version'"
check "pelko --version runs from the installed root" bash -c "env -u DISPLAY '$root/usr/bin/pelko' --version | grep -qx 'pelko $version'"
check "the desktop entry and icon are in place" test -s "$root/usr/share/applications/org.tinkmoss.Pelko.desktop" \
  -a -s "$root/usr/share/icons/hicolor/48x48/apps/org.tinkmoss.Pelko.png"
check "dpkg removes it again" dpkg --root="$root" --force-not-root --force-script-chrootless --log=/dev/null -r pelko
check "nothing of it is left in /usr/bin" test ! -e "$root/usr/bin/pelko"
finish
