# Shared by run.sh, test.sh and bench.sh: installs what is missing from Debian's packages,
# as root, through sudo when it is there and usable, or stops saying what to install.
hoshi_need_packages() {
    local missing=()
    for p in "$@"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        # Usable: no password needed, or one can be typed at this terminal.
        if command -v sudo >/dev/null 2>&1 &&
            { sudo -n true 2>/dev/null || { [ -t 0 ] && sudo -v; }; }; then
            sudo=(sudo)
        else
            echo "These Debian packages are missing: ${missing[*]}" >&2
            echo "Install them as root, then run this script again:" >&2
            echo "    su -c 'apt-get update && apt-get install ${missing[*]}'" >&2
            exit 1
        fi
    fi
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        "${missing[@]}"
}
# To build the program, and what it uses when it runs: its font, Qt's Japanese texts and WebP pictures,
# Qt's network module (in qt6-base-dev) and ICU for the names of countries.
HOSHI_BUILD_PACKAGES=(build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
    libicu-dev fonts-ipafont-gothic qt6-translations-l10n qt6-image-formats-plugins)
