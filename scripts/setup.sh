#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then configures and
# builds incrementally into build/: the targets named as arguments, else everything. Called by
# ./run (the program and the simulated server only) and ./test (everything).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev libgl-dev libjpeg-dev
          libemf-dev fonts-liberation libgtest-dev libgmock-dev googletest libbenchmark-dev
          xauth ccache emf2svg poppler-utils file libeigen3-dev desktop-file-utils appstream
          dpkg-dev locales python3-numpy python3-pandas qt6-translations-l10n)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build="$root/build"
# ccache makes rebuilds of a fresh clone (CI, a second work tree) take seconds, not minutes.
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DYMT_WERROR="${YMT_WERROR:-OFF}"
fi
if [ $# -gt 0 ]; then
  cmake --build "$build" -j "$(nproc)" --target "$@"
else
  cmake --build "$build" -j "$(nproc)"
fi
