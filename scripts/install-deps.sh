#!/usr/bin/env bash
# Installs the Debian 12 packages Pelko needs to build, test, fuzz and benchmark. Idempotent:
# asks apt only when something is missing, and runs 'apt-get update' only then.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
    libgtest-dev libgmock-dev
    zlib1g-dev libminizip-dev libzstd-dev
    qt6-base-dev
    zip unzip findutils bc ncdu
    python3
    time
    libpng-dev
    libjpeg62-turbo-dev libgif-dev libtiff-dev imagemagick libvips-tools
)
# Drives, volumes and discs (libcdio is GPL-3+), disc images for the tests, desktop stand-ins.
packages+=(libudev-dev libblkid-dev libcdio-dev libiso9660-dev libudf-dev genisoimage libxcb1-dev)
# Programs the tests run (REQUIRE_TOOL; under CI a missing one fails its test): genisoimage and
# python3 above, and an X server of their own for the global hot keys.
packages+=(xvfb)
# The desktop program: Qt Widgets (in qt6-base-dev), SVG icons at run time and the SVG module for
# the build, Qt's own Chinese translations for its dialogs and buttons, a CJK font so that the
# Chinese interface renders on a bare machine, and an icon theme for file types.
packages+=(libqt6svg6 qt6-svg-dev qt6-translations-l10n fonts-noto-cjk adwaita-icon-theme)
# The end-to-end tests (../shared/guikit): a session bus with the accessibility bus, AT-SPI for
# Debian's python3, keys and clipboard, screenshots, and a window manager and tray panel.
packages+=(dbus dbus-x11 at-spi2-core python3-pyatspi xdotool xclip openbox tint2)
# Printing to PDF is checked through its text; the installed files are checked with the tools
# that validate them (desktop entry, AppStream metadata, manual pages), and the package with dpkg.
packages+=(poppler-utils desktop-file-utils appstream man-db groff-base dpkg-dev file bash-completion)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
