#!/usr/bin/env bash
# Set-up and everyday commands for a Debian 12 machine.
#   tools/dev.sh run    install what is needed, build, open the window on the built-in sample site
#   tools/dev.sh test   install what is needed, build, run the test suite
#   tools/dev.sh deps   only install the Debian packages
#   tools/dev.sh build  only configure and build (into build/)
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${BRENVIK_BUILD_DIR:-$top/build}
jobs=$(nproc)

packages=(
  cmake ninja-build g++ pkg-config file python3
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libcurl4-openssl-dev libicu-dev libpcre2-dev libjpeg62-turbo-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev libcpp-httplib-dev nlohmann-json3-dev
  fontconfig fonts-arphic-gkai00mp fonts-wqy-microhei
  xvfb xauth
  dpkg-dev desktop-file-utils appstream help2man lintian
)

as_root() {
  if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi
}

deps() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if ((${#missing[@]})); then
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
}

build() {
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build "$build" -j "$jobs"
}

run_tests() {
  ctest --test-dir "$build" --output-on-failure -j "$jobs" --timeout 300
}

start() {
  # --demo runs the sample site inside the program on a free loopback port; it stops when the
  # window closes.
  export FONTCONFIG_FILE=${FONTCONFIG_FILE:-$top/app/fonts/brenvik-fonts.conf}
  if [[ -z ${DISPLAY:-}${WAYLAND_DISPLAY:-} ]]; then
    echo "No display found: starting the window under xvfb-run." >&2
    xvfb-run -a -s "-screen 0 1024x768x24" "$build/app/brenvik" --demo
  else
    "$build/app/brenvik" --demo
  fi
}

case ${1:-} in
  deps) deps ;;
  build) shift; deps; build "$@" ;;
  test) shift; deps; build "$@"; run_tests ;;
  run) shift; deps; build "$@"; start ;;
  *) echo "usage: tools/dev.sh run|test|deps|build" >&2; exit 2 ;;
esac
