# Shared by the project's scripts: installs what is missing and prepares Wine.
# Source it; it sets root, and wine_env for running Windows programs.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cache_dir=${POSEBRIDGE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/posebridge}

packages_build=(cmake make g++ libgtest-dev googletest clang libclang-rt-14-dev
                g++-mingw-w64-x86-64-posix mingw-w64-tools libeigen3-dev libbenchmark-dev
                libcli11-dev libfmt-dev nlohmann-json3-dev libjs-three dpkg-dev unzip help2man
                groff-base)
packages_wine=(wine64 fonts-wine xvfb xauth x11-utils imagemagick)
# What the test command needs besides: Debian's package checker and man.
packages_test=(lintian man-db)
# The browser that the tests open plot's pages in; not needed to build.
packages_browser=(chromium)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the Debian packages that are not installed yet; does nothing when all are.
install_missing() {
    local missing=()
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "== installing: ${missing[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    # With the recommended packages: Wine's X11 driver needs several of them
    # (libxrender1, libxrandr2, libxcursor1 and more) to draw and size windows.
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

wine_loader=/usr/lib/wine/wine64
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# One Wine prefix in the cache folder, booted once and reused.
prepare_wine_prefix() {
    export WINEPREFIX="$cache_dir/wine-prefix"
    if [ ! -f "$WINEPREFIX/.posebridge-ready" ]; then
        echo "== preparing the Wine prefix $WINEPREFIX (once)"
        rm -rf "$WINEPREFIX"
        mkdir -p "$cache_dir"
        "$wine_loader" wineboot -i >/dev/null 2>&1 || true
        # Without a window manager Wine waits about 2 s whenever a box closes,
        # unless its windows are unmanaged.
        "$wine_loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        "$(dirname "$wine_loader")/wineserver" -w
        touch "$WINEPREFIX/.posebridge-ready"
    fi
}

stop_wine() {
    [ -n "${WINEPREFIX:-}" ] && "$(dirname "$wine_loader")/wineserver" -k 2>/dev/null || true
}
