# Installs the Debian packages the build needs, when any is missing.
# Sourced by scripts/test, scripts/run and scripts/package.
orlan_packages=(g++ cmake make libgtest-dev qt6-base-dev libgl-dev libpng-dev xvfb xauth)

# Extra packages a script needs may be given as arguments.
ensure_packages() {
  local missing=()
  for p in "${orlan_packages[@]}" "$@"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
}
