# Sourced by ./run and ./test: installs the Debian packages the build needs
# and configures a build folder. Usage: vxa_setup BUILD_DIR [cmake options...]

# qt6-multimedia-dev plays sounds in the preview; the tests play them into a
# null sink of a private pulseaudio server.
# xdg-utils, shared-mime-info and libfile-mimeinfo-perl check the installed
# file types: outside a desktop session xdg-mime asks `mimetype`, which reads
# the shared MIME database (its fallback, `file`, does not). scdoc makes the
# manual pages; appstream checks the software centre's metadata.
VXA_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-multimedia-dev pulseaudio libgl-dev googletest libgtest-dev
              fonts-dejavu-core fonts-liberation2 ccache desktop-file-utils dpkg-dev file xdg-utils
              shared-mime-info libfile-mimeinfo-perl scdoc appstream)

vxa_install_packages() {
    local missing=()
    for pkg in "${VXA_PACKAGES[@]}" "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing Debian packages. Install them with:" >&2
        echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing ${missing[*]}..."
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

vxa_configure() {
    local dir="$1"
    shift
    local launcher=()
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    cmake -S . -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
}

vxa_jobs() { nproc 2>/dev/null || echo 2; }
