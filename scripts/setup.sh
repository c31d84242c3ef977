#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when any is missing.
# Runs as root, or through sudo where that is available.
set -euo pipefail

packages=(
  # Linux build
  cmake make g++ pkg-config googletest
  qt6-base-dev qt6-qpa-plugins libgl-dev
  # the static libcurl of both builds is made from Debian's curl source package (apt-get source)
  dpkg-dev
  # signed updates: libcrypto to check them, the openssl tool to make them (scripts/sign_update.sh)
  libssl-dev openssl
  # fonts metric-compatible with Calibri and Arial, so the design layout holds
  fonts-crosextra-carlito fonts-liberation2
  # virtual display, tray host and window tools for running without a desktop and for tests
  xvfb xauth trayer xdotool x11-utils imagemagick
  # test runners and loopback servers
  python3 python3-pytest python3-aiosmtpd
  # the release script's downloads, which its tests run against a loopback server
  curl
  # the fuzz targets: clang with libFuzzer and the sanitizers' runtimes
  clang libclang-rt-14-dev
)
if [ "${TAV_BENCH:-0}" = 1 ]; then
  # the benchmark's peer, a well-known light desktop monitor; not needed to build, run or test
  packages+=(conky-std)
fi
if [ "${TAV_WINDOWS:-1}" = 1 ]; then
  # Windows build: mingw-w64 cross compilers and Wine (64-bit only; 32-bit Wine must not be installed)
  packages+=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64)
  # the Windows installer
  packages+=(nsis)
fi
# the Debian package: dpkg-shlibdeps computes its dependencies, lintian checks it
packages+=(dpkg-dev lintian)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" != 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
