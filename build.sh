#!/usr/bin/env bash
# QzSim build script.
#   ./build.sh deps    install the Debian packages the build needs (no-op when all are present)
#   ./build.sh build   configure and build into build/
#   ./build.sh run     deps + build + start QzSim (extra arguments go to the program)
#   ./build.sh test    deps + build + run every test headless
#   ./build.sh fuzz [SECONDS]
#                      builds the fuzz targets with clang into build-fuzz (address, undefined
#                      and libFuzzer instrumentation) and runs each for SECONDS (default 60) over
#                      its seed corpus fuzz/corpus/<target>/ and its kept findings
#                      fuzz/regressions/<target>/; new inputs go to
#                      build-fuzz/corpus/<target>/, findings to build-fuzz/findings/<target>/
# Environment: BUILD_DIR (default build), BUILD_TYPE (default RelWithDebInfo), JOBS,
#              QZ_SANITIZE=ON for an address + undefined-behaviour sanitizer build (its tests
#              run with leak checking; tests/lsan.supp names the leaks of system libraries),
#              QZ_WERROR=ON to make compiler warnings errors (as continuous integration does;
#              off by default, so that a newer compiler's warnings do not stop a build).
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
  dbus-daemon libglib2.0-bin desktop-file-utils
  python3 python3-pandas python3-pyvisa python3-pyvisa-py python3-dbus python3-gi
  xvfb openbox x11-utils xdotool
)
FUZZ_PACKAGES=(clang libclang-rt-dev)

deps() {
  local missing=()
  for p in "${PACKAGES[@]}" "$@"; do
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
    -DQZ_SANITIZE="${QZ_SANITIZE:-OFF}" -DQZ_WERROR="${QZ_WERROR:-OFF}"
  cmake --build "$BUILD_DIR" -j "$JOBS"
}

run_tests() {
  TEST_PROFILE=$(mktemp -d)
  trap 'rm -rf "$TEST_PROFILE"' EXIT
  local sanitize_env=()
  if [ "${QZ_SANITIZE:-OFF}" = "ON" ]; then
    # Leaks are errors; the few that system libraries keep until exit are named in lsan.supp.
    sanitize_env=(
      "ASAN_OPTIONS=detect_leaks=1"
      "LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
      "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
    )
  fi
  (cd "$BUILD_DIR" && env QT_QPA_PLATFORM=offscreen QZSIM_PROFILE="$TEST_PROFILE" \
    "${sanitize_env[@]}" ctest --output-on-failure -j "$JOBS")
}

# Every fuzz target with a seed corpus runs for the given seconds; any finding fails the command.
run_fuzz() {
  local seconds=${1:-60}
  local dir=build-fuzz
  CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQZ_BUILD_FUZZ=ON -DQZ_BUILD_TESTS=OFF
  cmake --build "$dir" -j "$JOBS" --target fuzz_all
  local failed=()
  for seeds in fuzz/corpus/*/; do
    local target
    target=$(basename "$seeds")
    [ -x "$dir/fuzz/$target" ] || { echo "no fuzz target $target" >&2; failed+=("$target"); continue; }
    mkdir -p "$dir/corpus/$target" "$dir/findings/$target"
    local extra=()
    # A result frame is short: longer inputs only repeat what the first bytes already test.
    [ "$target" = decoder_fuzz ] && extra=(-max_len=64)
    # The kept findings of earlier runs start the run too, so a mended one is tried again.
    local kept=()
    [ -d "fuzz/regressions/$target" ] && kept=("fuzz/regressions/$target")
    echo "== $target: ${seconds} s"
    if ! "$dir/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$dir/findings/$target/" "${extra[@]}" \
        "$dir/corpus/$target" "$seeds" "${kept[@]}"; then
      failed+=("$target")
    fi
  done
  if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz findings in: ${failed[*]} (inputs in $dir/findings/)" >&2
    return 1
  fi
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
  fuzz) deps "${FUZZ_PACKAGES[@]}"; run_fuzz "$@" ;;
  *) echo "usage: $0 {deps|build|run|test|fuzz [SECONDS]}" >&2; exit 2 ;;
esac
