# Shared by the scripts: Debian packages and the one build folder.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${HOLDEM_BUILD_DIR:-$ROOT/build}

# What building, testing and playing need from Debian.
HOLDEM_PACKAGES=(
  cmake g++ make pkg-config python3
  qt6-base-dev libgl-dev libfontconfig-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  xvfb xauth x11-utils xdotool fonts-dejavu-core
  fonts-dejavu-extra desktop-file-utils appstream
)

# What scripts/test needs beyond that: the style checks.
HOLDEM_STYLE_PACKAGES=(clang-format clang-tidy)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the packages that are missing; apt-get update only when needed.
ensure_packages() {
  local missing=() p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing from Debian: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Configures $BUILD_DIR, once.
configure_build() {
  if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  fi
}

# Configures (once) and builds the whole project in $BUILD_DIR.
build_all() {
  configure_build "$@"
  cmake --build "$BUILD_DIR" -j "$(nproc)"
}

# Configures (once) and builds only the given targets, and what they need.
build_targets() {
  configure_build
  cmake --build "$BUILD_DIR" -j "$(nproc)" --target "$@"
}

# --- The sanitizer build ------------------------------------------------------

ASAN_BUILD_DIR=${HOLDEM_ASAN_BUILD_DIR:-$ROOT/build-asan}
# -O1 with line tables only builds in less than half the time of -O2 -g and
# still names file and line in every report. GCC's uninitialized-use warning
# gives false alarms under AddressSanitizer, so it is off here.
SANITIZE_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -Wno-maybe-uninitialized"

# Configures and builds the engine, holdem-sim and the tests with
# AddressSanitizer and UndefinedBehaviorSanitizer, without the window.
build_sanitized() {
  cmake -S "$ROOT" -B "$ASAN_BUILD_DIR" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
    -DHOLDEM_BUILD_UI=OFF -DHOLDEM_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$SANITIZE_FLAGS" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
  cmake --build "$ASAN_BUILD_DIR" -j "$(nproc)"
}

# Runs the sanitized tests; the first report of a sanitizer fails its test.
# The test that kills whole processes gains nothing from the sanitizers, so
# it runs only in the normal build.
run_sanitized_tests() {
  (
    cd "$ASAN_BUILD_DIR"
    export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=0:detect_leaks=1:strict_string_checks=1:check_initialization_order=1}
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
    ctest --output-on-failure -j "$(nproc)" -LE processes
  )
}

# --- The fuzz targets -----------------------------------------------------------

FUZZ_BUILD_DIR=${HOLDEM_FUZZ_BUILD_DIR:-$ROOT/build-fuzz}
# libFuzzer and the sanitizer runtimes come with clang's runtime library.
HOLDEM_FUZZ_PACKAGES=(cmake make clang libclang-rt-dev nlohmann-json3-dev)

build_fuzz_targets() {
  if [ ! -f "$FUZZ_BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$FUZZ_BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_COMPILER=clang++ -DHOLDEM_BUILD_FUZZ=ON \
      -DHOLDEM_BUILD_UI=OFF -DHOLDEM_BUILD_TESTS=OFF -DHOLDEM_BUILD_BENCH=OFF
  fi
  cmake --build "$FUZZ_BUILD_DIR" -j "$(nproc)" --target settings_fuzz engine_fuzz ohh_fuzz
}

# Runs one target for the given seconds on the checked-in seeds and what
# earlier runs found. libFuzzer's log goes to build-fuzz/<target>.log; its
# closing statistics are printed, and the end of the log when it failed.
run_fuzz_target() {
  local target=$1 seconds=$2
  local found="$FUZZ_BUILD_DIR/corpus/$target" log="$FUZZ_BUILD_DIR/$target.log" status=0
  mkdir -p "$found"
  echo "== $target for $seconds s (log: $log)"
  (
    cd "$FUZZ_BUILD_DIR"
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      "./fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
      -max_len=4096 -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$FUZZ_BUILD_DIR/" \
      "$found" "$ROOT/fuzz/corpus/$target"
  ) >"$log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "$target failed (status $status); the input that did it is in $FUZZ_BUILD_DIR" >&2
    return "$status"
  fi
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$log"
}
