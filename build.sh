#!/usr/bin/env bash
# QzSim build script.
#   ./build.sh deps    install the Debian packages the build needs (no-op when all are present)
#   ./build.sh build   configure and build into build/
#   ./build.sh run     deps + build + start QzSim (extra arguments go to the program)
#   ./build.sh test    deps + build + run every test headless
# Environment: BUILD_DIR (default build), BUILD_TYPE (default RelWithDebInfo), JOBS,
#              QZ_SANITIZE=ON for an address + undefined-behaviour sanitizer build.
set -euo pipefail
CALLER_DIR=$PWD
cd "$(dirname "$0")"

BUILD_DIR=${BUILD_DIR:-build}
BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo}
JOBS=${JOBS:-$(nproc 2>/dev/null || echo 2)}

PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-serialport-dev libsimpleini-dev libjpeg-dev libgif-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  dbus-daemon libglib2.0-bin
)

deps() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

build() {
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="$BUILD_TYPE" \
    -DQZ_SANITIZE="${QZ_SANITIZE:-OFF}"
  cmake --build "$BUILD_DIR" -j "$JOBS"
}

run_tests() {
  TEST_PROFILE=$(mktemp -d)
  trap 'rm -rf "$TEST_PROFILE"' EXIT
  (cd "$BUILD_DIR" && QT_QPA_PLATFORM=offscreen QZSIM_PROFILE="$TEST_PROFILE" \
    ctest --output-on-failure -j "$JOBS")
}

# Without a display the window cannot open: a short headless demonstration runs instead.
run_program() {
  if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$BUILD_DIR/bin/QzSim" "$@"
  fi
  local out="$CALLER_DIR/QzSim-demo-results.txt"
  echo "No display found (\$DISPLAY and \$WAYLAND_DISPLAY are unset): running a headless demonstration."
  "$BUILD_DIR/bin/QzSim" --headless --passes 1000 --save-results "$out" "$@"
  echo "The results of 1000 simulated frames are in $out"
  echo "To see the window, run ./build.sh run in a desktop session, or: xvfb-run -a $BUILD_DIR/bin/QzSim"
}

cmd=${1:-build}
shift || true
case "$cmd" in
  deps) deps ;;
  build) deps; build ;;
  run) deps; build; run_program "$@" ;;
  test) deps; build; run_tests ;;
  *) echo "usage: $0 {deps|build|run|test}" >&2; exit 2 ;;
esac
