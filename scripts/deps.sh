# Installs the Debian packages the build needs, when any is missing, and sets up
# ccache. Sourced by the scripts that build.
orlan_packages=(g++ cmake make libgtest-dev qt6-base-dev libgl-dev libpng-dev xvfb xauth ccache)

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

# Sets cmake_launcher to the CMake arguments that compile through ccache, when it is
# there; paths under the checkout are cached relative to it, so that other checkouts
# share the cache.
use_ccache() {
  cmake_launcher=()
  if command -v ccache >/dev/null 2>&1; then
    cmake_launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
  fi
}
