# Sourced by scripts/test, scripts/run and scripts/bench: the one way to
# configure and build, the locks, and the clean-up on exit.
# Sets root, build (UMBRAFEN_BUILD_DIR) and jobs (JOBS, default 2).

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${UMBRAFEN_BUILD_DIR:-$root/build}
jobs=${JOBS:-2}
source "$root/scripts/lib/vdisplay.sh"

# MSYS2 and the like build natively; elsewhere we cross-build and run under Wine.
build_on_windows() {
  case "$(uname -s)" in
    MINGW* | MSYS* | CYGWIN*) return 0 ;;
  esac
  return 1
}

build_bootstrap() {
  build_on_windows || "$root/scripts/bootstrap" || { echo "scripts/bootstrap failed" >&2; return 1; }
}

# Holds an exclusive lock on file (fd 9) until the script ends; other scripts
# on the same build folder wait for it, at most `wait` seconds.
build_lock() {
  local file=$1 wait=${2:-1800}
  mkdir -p "$(dirname "$file")" && exec 9>"$file" || { echo "cannot open the lock $file" >&2; return 1; }
  flock -n 9 && return 0
  echo "waiting for another run, which holds $file" >&2
  flock -w "$wait" 9 || { echo "gave up after $wait s: another run still holds $file" >&2; return 1; }
}

# Two ninjas in one build folder would trip over each other's files.
_build_locked() {
  mkdir -p "$build" && exec 8>"$build/.build.lock" || { echo "cannot open $build/.build.lock" >&2; return 1; }
  flock -w 1800 8 || { echo "another build in $build took too long" >&2; exec 8>&-; return 1; }
  local rc=0
  "$@" || rc=$?
  exec 8>&-
  return "$rc"
}

# Extra arguments go to cmake. The log is shown only when it fails.
build_configure() {
  local args=(-S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release)
  build_on_windows || args+=("-DCMAKE_TOOLCHAIN_FILE=$root/cmake/mingw-w64-x86_64.cmake")
  mkdir -p "$build" || { echo "cannot create $build" >&2; return 1; }
  _build_locked cmake "${args[@]}" "$@" >"$build/configure.log" 2>&1 ||
    { cat "$build/configure.log" >&2; echo "configure failed; see $build/configure.log" >&2; return 1; }
}

# Builds the named targets, or everything when none are named.
build_targets() {
  local targets=()
  (($# == 0)) || targets=(--target "$@")
  _build_locked cmake --build "$build" -j "$jobs" "${targets[@]}" || { echo "build failed" >&2; return 1; }
}

# From here on, however the script ends (error, Ctrl-C, TERM), the virtual
# display and wineserver it started are stopped, then the script's own
# on_exit runs if it defines one. The exit status is kept.
build_cleanup_on_exit() {
  trap _build_cleanup EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM HUP
}

_build_cleanup() {
  local rc=$?
  trap - EXIT INT TERM HUP
  vd_stop
  if declare -F on_exit >/dev/null; then on_exit || true; fi
  exit "$rc"
}
