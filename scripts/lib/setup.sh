# Shared by scripts/test, scripts/demo and scripts/bench: installs what the build needs (only
# the packages that are missing) and configures and builds the project.

PACKAGES=(
    cmake g++ make
    qt6-base-dev          # Qt 6 Widgets, SQL, Test
    libqt6sql6-sqlite     # the embedded engine
    libqt6sql6-odbc       # SQL Server through ODBC
    libsqlite3-dev        # the raw engine: procedures on SQLite and the benchmark baseline
    sqlite3               # the staging test looks into the demo farm with it
    fonts-noto-core       # Arabic-script glyphs where Tahoma is missing
)

ensure_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
    fi
}

# configure_and_build <build dir> <build type> [extra cmake args...]
configure_and_build() {
    local dir=$1 type=$2
    shift 2
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
    cmake --build "$dir" -j2
}
