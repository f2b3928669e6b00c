#!/usr/bin/env bash
# install-check.sh BUILD_DIR: installs the build under a temporary DESTDIR with the prefix /usr,
# checks the file list against the FHS places desktops look in, validates the desktop entry, the
# AppStream metadata and the manual pages with their own tools, tries the bash completion, and
# runs the installed programs' --version and --help (no display needed).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd) || exit 2
. "$here/lib.sh"
need desktop-file-validate appstreamcli man

root=$tmp/root
DESTDIR=$root cmake --install "$build" --prefix /usr >"$tmp/install.log" 2>&1 ||
  { echo "FAIL cmake --install"; tail "$tmp/install.log"; exit 1; }

expected=(
  usr/bin/pelko
  usr/bin/pelko-cli
  usr/share/applications/org.tinkmoss.Pelko.desktop
  usr/share/metainfo/org.tinkmoss.Pelko.metainfo.xml
  usr/share/icons/hicolor/scalable/apps/org.tinkmoss.Pelko.svg
  usr/share/man/man1/pelko.1
  usr/share/man/man1/pelko-cli.1
  usr/share/bash-completion/completions/pelko-cli
  usr/share/doc/pelko/copyright
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/org.tinkmoss.Pelko.png")
done
for file in "${expected[@]}"; do
  check "installed: /$file" test -s "$root/$file"
done
check "nothing outside /usr" bash -c "[ -z \"\$(find '$root' -mindepth 1 -maxdepth 1 ! -name usr)\" ]"
check "the programs are executable" test -x "$root/usr/bin/pelko" -a -x "$root/usr/bin/pelko-cli"
for size in 16 48 256; do
  check "the ${size} px icon is a ${size} x ${size} PNG" \
    bash -c "file '$root/usr/share/icons/hicolor/${size}x${size}/apps/org.tinkmoss.Pelko.png' | grep -q 'PNG image data, $size x $size'"
done

check "the desktop entry is valid" desktop-file-validate "$root/usr/share/applications/org.tinkmoss.Pelko.desktop"
check "the desktop entry names the icon and the window class" bash -c \
  "grep -qx 'Icon=org.tinkmoss.Pelko' '$root/usr/share/applications/org.tinkmoss.Pelko.desktop' &&
   grep -qx 'StartupWMClass=Pelko' '$root/usr/share/applications/org.tinkmoss.Pelko.desktop'"
check "the AppStream metadata is valid" appstreamcli validate --no-net "$root/usr/share/metainfo/org.tinkmoss.Pelko.metainfo.xml"
for page in pelko pelko-cli; do
  check "man $page has no warnings" bash -c \
    "out=\$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l '$root/usr/share/man/man1/$page.1' 2>&1 >/dev/null); [ -z \"\$out\" ] || { echo \"\$out\"; exit 1; }"
done
# Every command pelko-cli offers is documented in its manual page.
commands=$("$root/usr/bin/pelko-cli" --help 2>&1 | sed -n 's/^  \([a-z][a-z-]*\).*/\1/p' | grep -v '^-')
check "pelko-cli --help lists commands" test -n "$commands"
manual=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$root/usr/share/man/man1/pelko-cli.1" 2>/dev/null)
for command in $commands; do
  check "man pelko-cli documents $command" grep -qE "^ +$command( |$)" <<<"$manual"
done

version=$(sed -n 's/^project(Pelko VERSION \([0-9.]*\).*/\1/p' "$here/../../CMakeLists.txt")
check "pelko --version without a display" bash -c "env -u DISPLAY -u WAYLAND_DISPLAY '$root/usr/bin/pelko' --version | grep -qx 'pelko $version'"
check "pelko --help names its options" bash -c "env -u DISPLAY '$root/usr/bin/pelko' --help | grep -q -- '--catalog DIR' && env -u DISPLAY '$root/usr/bin/pelko' --help | grep -q -- '--no-splash'"
check "pelko-cli --version" bash -c "'$root/usr/bin/pelko-cli' --version | grep -qx 'pelko-cli $version'"

if [ -f /usr/share/bash-completion/bash_completion ]; then
  check "bash completion offers the scan commands and a command's options" bash -c "
    source /usr/share/bash-completion/bash_completion
    source '$root/usr/share/bash-completion/completions/pelko-cli'
    complete_line() { COMP_WORDS=(\"\$@\"); COMP_CWORD=\$((\${#COMP_WORDS[@]} - 1)); COMP_LINE=\"\$*\"; COMP_POINT=\${#COMP_LINE}; COMPREPLY=(); _pelko_cli; echo \"\${COMPREPLY[*]}\"; }
    [ \"\$(complete_line pelko-cli sc)\" = 'scan-folder scan-disc scan-drive' ] &&
    [ \"\$(complete_line pelko-cli find x --what name,me)\" = 'name,memo' ] &&
    [ \"\$(complete_line pelko-cli tree --cat)\" = '--catalog' ] &&
    [ \"\$(complete_line pelko-cli --catalog /tmp dum)\" = 'dump' ]"
elif under_ci; then
  check "bash-completion is installed" false
fi
finish
