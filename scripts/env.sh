# Shared by scripts/run, scripts/test, scripts/fuzz and scripts/bench: installs, builds and Wine.
# Sourced, not run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"

APT_PACKAGES=(cmake make git g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev wine wine64 xvfb xauth x11-utils
  fonts-ipafont-gothic locales googletest libgtest-dev libbenchmark-dev clang
  libclang-rt-dev clang-format xdotool imagemagick python3
  mmdebstrap uidmap dpkg-dev mount)  # the other Wine's root (user namespaces, eatmydata, binds)
# libclang-rt-dev: the sanitizer runtimes of each release's clang (libclang-rt-14-dev on Debian 12,
# libclang-rt-19-dev on Debian 13), which clang itself only recommends.
HOST_RELEASE=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")

# The one-time installation needs root: a normal user is asked for sudo, and only for that.
# The build, the Wine prefix and the tests stay the user's own.
as_root() {
  if [ "$(id -u)" = 0 ]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo "$@"
  else
    echo "installing needs root: run once as root, or install sudo" >&2
    return 1
  fi
}

# The locales that give Wine the ANSI code pages users have: 932, 1252 and 65001.
CODE_PAGE_LOCALES=(ja_JP.UTF-8 en_US.UTF-8 hi_IN.UTF-8)

# Installs only what is missing, so a second run is quick.
install_missing() {
  local missing=()
  for package in "${APT_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
      missing+=("$package")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    as_root apt-get update -qq
    # dpkg without an fsync after each file: a first install is about 1.7 GB.
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      -o Dpkg::Options::=--force-unsafe-io "${missing[@]}" >/dev/null
  fi
  # Under Wine the locale sets the ANSI code page: 932, 1252, and 65001 for a Windows locale that
  # has none.
  local generate=
  for locale in "${CODE_PAGE_LOCALES[@]}"; do
    locale -a 2>/dev/null | grep -qi "^${locale%.UTF-8}\.utf-\?8$" && continue
    as_root sed -i "s/^# *$locale UTF-8/$locale UTF-8/" /etc/locale.gen
    grep -q "^$locale UTF-8" /etc/locale.gen || echo "$locale UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
    generate=1
  done
  if [ -n "$generate" ]; then as_root locale-gen >/dev/null; fi
  # npm, for the workflow's validator, where the machine has no Node.js of its own.
  command -v npm >/dev/null || as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    --no-install-recommends -o Dpkg::Options::=--force-unsafe-io npm >/dev/null
  # Only now that it exists: set before, every program started meanwhile would warn about it.
  export LC_ALL=ja_JP.UTF-8
}

build_preset() {
  cmake --preset "$1" >"$BUILD/configure-$1.log" 2>&1 || {
    cat "$BUILD/configure-$1.log"
    return 1
  }
  cmake --build --preset "$1" -j "$(nproc)"
}

# The ANSI code page follows the Unix locale: ja_JP.UTF-8 (set by install_missing) gives 932.
export WINEPREFIX="$BUILD/wine-prefix"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all
export WINEARCH=win64

# A virtual display of our own; "private" even when the user's desktop is there, so that the
# tests' clicks and keys never go astray on it. A second argument, the first display number to
# try, keeps displays started side by side apart.
STARTED_XVFB=
start_display() {
  if [ "${1:-}" != private ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return; fi
  local number first=${2:-90}
  for number in $(seq "$first" $((first + 9))); do
    [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] && continue
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    STARTED_XVFB=$!
    export DISPLAY=":$number"
    for _ in $(seq 50); do
      xdpyinfo >/dev/null 2>&1 && return
      sleep 0.1
    done
  done
  echo "could not start Xvfb" >&2
  return 1
}

# A prefix of our own, "MS UI Gothic" drawn with the installed Japanese font.
prepare_wine() {
  mkdir -p "$BUILD"
  if [ ! -f "$WINEPREFIX/.kmlaunch-ready-2" ]; then
    wineboot -i >/dev/null 2>&1 </dev/null
    wineserver -w
    local font="IPAPGothic"
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "MS UI Gothic" /t REG_SZ \
      /d "$font" /f >/dev/null 2>&1 </dev/null
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "ＭＳ Ｐゴシック" /t REG_SZ \
      /d "$font" /f >/dev/null 2>&1 </dev/null
    # One virtual desktop: Wine draws the frames itself and never waits for a window manager.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f \
      >/dev/null 2>&1 </dev/null
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 /f \
      >/dev/null 2>&1 </dev/null
    wineserver -w
    touch "$WINEPREFIX/.kmlaunch-ready-2"
  fi
  # A persistent server, warmed up with its output elsewhere: Wine's background
  # processes keep the first process's pipes open, which would hang a pipeline or ctest.
  wineserver -p 2>/dev/null || true  # one may already be running
  wine cmd /c exit >/dev/null 2>&1 </dev/null
}

# A prefix whose programs reach nothing of the host (no Z: drive), with the crash dialog off: for
# random clicks in the file dialogs, and for the test pack run as on a Windows machine.
prepare_closed_wine() {
  prepare_wine
  if [ ! -f "$WINEPREFIX/.closed-ready" ]; then
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      >/dev/null 2>&1 </dev/null
    touch "$WINEPREFIX/.closed-ready"
  fi
  rm -f "$WINEPREFIX/dosdevices/z:"
}

# The display's DPI for the Wine programs started after it: 96 is 100%, 144 is 150%.
set_dpi() {
  if [ "$1" = 96 ]; then
    wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 </dev/null || true
  else
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
      >/dev/null 2>&1 </dev/null
  fi
}

# The other Wine, so that every run has both: Debian 13's Wine 10 beside Debian 12's own Wine 8, or
# Debian 12's Wine 8 on Debian 13. It lives in a root of that release's packages under build/,
# made once; scripts/wine-root runs its programs.
if [ "$HOST_RELEASE" = bookworm ]; then
  OTHER_RELEASE=trixie OTHER_WINE=wine10
else
  OTHER_RELEASE=bookworm OTHER_WINE=wine8
fi
OTHER_ROOT="$BUILD/wine-root-$OTHER_RELEASE"

# The mirror this machine's apt uses, else Debian's own.
debian_mirror() {
  local uri
  uri=$(grep -rhoE 'https?://[^ ]+/debian/?( |$)' /etc/apt/sources.list /etc/apt/sources.list.d \
    2>/dev/null | head -n 1 | tr -d ' ')
  echo "${uri:-http://deb.debian.org/debian}"
}

make_wine_root() {
  [ -f "$OTHER_ROOT/.kmlaunch-ready" ] && return
  rm -rf "$OTHER_ROOT"
  # Small and quick: no recommends, no documentation, dpkg without fsync; the locales that give
  # the code pages and the Japanese font, as on the host.
  timeout 900 mmdebstrap --quiet --variant=apt --include=wine,wine64,locales,fonts-ipafont-gothic \
    --hook-dir=/usr/share/mmdebstrap/hooks/eatmydata --dpkgopt=force-unsafe-io \
    --dpkgopt='path-exclude=/usr/share/doc/*' --dpkgopt='path-exclude=/usr/share/man/*' \
    --customize-hook="printf '%s UTF-8\\n' ${CODE_PAGE_LOCALES[*]} >\"\$1/etc/locale.gen\" &&
      chroot \"\$1\" locale-gen >/dev/null" \
    "$OTHER_RELEASE" "$OTHER_ROOT" "$(debian_mirror)" || return 1
  touch "$OTHER_ROOT/.kmlaunch-ready"
}

# From here on wine, wineboot and wineserver are the root's.
use_other_wine() {
  local bin="$BUILD/$OTHER_WINE-bin" program
  mkdir -p "$bin"
  for program in wine wineboot wineserver; do
    printf '#!/bin/sh\nexec "%s" "%s" /usr/bin/%s "$@"\n' "$ROOT/scripts/wine-root" "$OTHER_ROOT" \
      "$program" >"$bin/$program"
    chmod +x "$bin/$program"
  done
  export PATH="$bin:$PATH"
}

stop_everything() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$STARTED_XVFB" ]; then kill "$STARTED_XVFB" 2>/dev/null || true; fi
}
