#!/usr/bin/env bash
# Installs the Debian packages the build (and, with --test, the tests) need.
# Does nothing when everything is there; refreshes stale package lists first.
set -euo pipefail

packages=(build-essential cmake qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev libjpeg62-turbo-dev
          libsqlite3-dev fonts-dejavu-core fonts-liberation fonts-wine)
# Qt's own Swedish texts for its file, colour and message dialogs.
packages+=(qt6-translations-l10n)
# The Debian package (make deb): CPack reads the binary's libraries with file and dpkg-shlibdeps.
packages+=(file dpkg-dev)
if [[ "${1:-}" == "--bench" ]]; then
    # djpeg, the reference the thumbnail benchmark measures against.
    packages+=(libjpeg-turbo-progs)
    # exiftool embeds camera previews in the test photos; nitrogen is the program compared against,
    # on its own X server; sqlite3 points the program's settings at the test list.
    packages+=(libimage-exiftool-perl nitrogen xvfb xauth sqlite3)
    # xwininfo tells the start-up bench when the main window is mapped.
    packages+=(x11-utils)
fi
if [[ "${1:-}" == "--test" || "${1:-}" == "--deb" ]]; then
    # The package and its desktop entry and metadata are checked by their validators.
    packages+=(lintian desktop-file-utils appstream)
fi
if [[ "${1:-}" == "--test" ]]; then
    # Real desktop programs the wallpaper tests drive, and an X server for the window tests.
    packages+=(xvfb xauth x11-utils dbus libglib2.0-bin gsettings-desktop-schemas feh xfconf
               clang-format)
    # The fuzz targets: clang, its libFuzzer and its sanitizer runtimes.
    packages+=(clang libfuzzer-14-dev libclang-rt-14-dev)
    # A window manager that manages its windows, and a notification area it can lose.
    packages+=(openbox trayer)
    # Two monitors on one X server (xrandr --setmonitor) for the screen tests.
    packages+=(x11-xserver-utils)
    # A headless sway with Xwayland, its bar's tray and its background program; grim takes screenshots.
    packages+=(sway swaybg xwayland grim)
    # The Windows sources are syntax-checked with mingw-w64 and the Win32 layer's tests run under Wine.
    packages+=(g++-mingw-w64-x86-64 wine wine64)
    # xfconf-query needs its library, which the xfconf package only recommends.
    packages+=(libxfconf-0-3)
    # The desktops that draw the background in the real-desktop tests (XFCE, LXDE, LXQt).
    packages+=(xfdesktop4 pcmanfm pcmanfm-qt)
    # Real GNOME and Plasma sessions, headless with Xwayland; the AppIndicator extension gives GNOME
    # a notification area, kded5 gives Plasma's; plasmashell needs Qt's Wayland platform.
    packages+=(gnome-shell gnome-shell-extension-appindicator kwin-wayland plasma-desktop plasma-workspace
               qtwayland5 kactivitymanagerd kded5)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi

# Update the package lists when they are absent or older than a day.
lists=/var/lib/apt/lists
if [[ -z "$(find "$lists" -maxdepth 1 -name '*_Packages*' -mtime -1 2>/dev/null | head -1)" ]]; then
    $SUDO apt-get update -qq
fi
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
