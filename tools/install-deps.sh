#!/bin/bash
# Installs the Debian packages that the builds and tests need, if any is
# missing (as root, or through sudo).
set -euo pipefail
packages=(
  cmake ninja-build g++ googletest libgtest-dev   # the Linux build and its tests
  g++-mingw-w64-x86-64-posix mingw-w64-tools      # the Windows cross-build
  wine wine64 xvfb xauth tmux                     # the Windows tests, dialogs on a virtual screen, a console
  nlohmann-json3-dev libcli11-dev libedit-dev     # vekhost
  libboost1.74-dev zlib1g-dev                     # vekhost --serve: Boost.Beast, gzip
  python3-jsonschema                              # the drawing format's schema
  chromium fonts-nanum                            # the guides and vekhost --serve in a browser
  clang-14 libclang-rt-14-dev                     # the fuzz targets
  libbenchmark-dev                                # the benchmarks
  zip osslsigncode openssl                        # the release: its zip, its signature
)
# Node and npm for the browser tests: the machine's own, or else Debian's.
command -v npm >/dev/null || packages+=(nodejs npm)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
