# Shared by run.sh, test.sh and bench.sh: installs what is missing from Debian's packages.
hoshi_need_packages() {
    local missing=()
    for p in "$@"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}
HOSHI_BUILD_PACKAGES=(build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
    fonts-ipafont-gothic)
