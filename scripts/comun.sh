# Sourced by the set-up scripts. root: how to run a command as root (empty when we are root).
if [ "$(id -u)" -eq 0 ]; then
    root=()
elif command -v sudo >/dev/null 2>&1; then
    root=(sudo)
else
    root=(false)
fi

# instala PACKAGE...: installs the Debian packages that are missing.
instala() {
    local faltan=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
    done
    [ ${#faltan[@]} -eq 0 ] && return 0
    if [ "${root[0]:-}" = false ]; then
        echo "Missing packages: ${faltan[*]} (run as root or install sudo)" >&2
        exit 1
    fi
    echo "Installing: ${faltan[*]}"
    "${root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${faltan[@]}"
}
