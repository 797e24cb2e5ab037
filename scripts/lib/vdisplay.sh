# Sourced (through build.sh) by scripts/test, scripts/run and scripts/bench: a
# private two-screen virtual display and a Wine prefix with a persistent
# wineserver, both ended by process id.
# The callers run under `set -e`, which would end them at the first failing
# command before any message: so every command that can fail here is checked,
# and each failure says what went wrong on stderr and returns non-zero.

# Two screens, Xinerama on and RANDR off: Wine then reports two monitors.
VD_SCREENS=(-screen 0 1920x1080x24 -screen 1 1280x1024x24 +xinerama -extension RANDR)
VD_XVFB_PID=
VD_WINESERVER_PID=
VD_PREFIX=

export WINEDEBUG=${WINEDEBUG:--all}
# No Mono/Gecko prompt (nobody answers it headless), no desktop menu entries.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}

vd_now() { date +%s.%N; }
vd_elapsed() { awk -v a="$1" -v b="$(vd_now)" 'BEGIN { printf "%.1f", b - a }'; }

# Starts Xvfb on a display number the server picks itself (-displayfd), so
# parallel runs on one machine never collide. Sets DISPLAY.
vd_start_xvfb() {
  local log=$1 fdfile
  fdfile=$(mktemp) || { echo "Xvfb: could not create a temporary file" >&2; return 1; }
  Xvfb -displayfd 3 "${VD_SCREENS[@]}" -nolisten tcp -noreset 3>"$fdfile" >"$log" 2>&1 &
  VD_XVFB_PID=$!
  local i
  for ((i = 0; i < 200; i++)); do
    [[ -s $fdfile ]] && break
    if ! vd_alive "$VD_XVFB_PID"; then
      echo "Xvfb failed to start; see $log" >&2
      VD_XVFB_PID=
      rm -f "$fdfile"
      return 1
    fi
    sleep 0.05
  done
  local n
  n=$(tr -dc 0-9 <"$fdfile") || n=
  rm -f "$fdfile"
  if [[ -z $n ]]; then
    echo "Xvfb did not report a display number; see $log" >&2
    return 1
  fi
  export DISPLAY=:$n
}

# Starts a persistent wineserver for the prefix (created when missing, with
# `fresh` deleted first) and prepares it for a desktop without window manager.
vd_start_wine() {
  local prefix=$1 mode=${2:-}
  export WINEPREFIX=$prefix
  VD_PREFIX=$prefix
  local created=
  if [[ $mode == fresh || ! -f $prefix/system.reg ]]; then
    rm -rf "$prefix" || { echo "could not delete the old Wine prefix $prefix" >&2; return 1; }
    created=1
  fi
  mkdir -p "$prefix" || { echo "could not create the Wine prefix $prefix" >&2; return 1; }
  # A server left over by an interrupted run on this same prefix would refuse ours.
  [[ -n $created ]] || timeout 20 wineserver -k >/dev/null 2>&1 || true
  # In the foreground so that its pid is ours; -p keeps it up between processes.
  wineserver -f -p >"$prefix.wineserver.log" 2>&1 &
  VD_WINESERVER_PID=$!
  # Wait for its socket, or the first client would start a server of its own.
  # The server works in its own directory (its name differs between Wine
  # builds), where it creates the socket.
  local socket= dir i
  for ((i = 0; i < 200; i++)); do
    # readlink fails once the server is gone; the liveness check below reports that.
    dir=$(readlink "/proc/$VD_WINESERVER_PID/cwd" 2>/dev/null) || dir=
    [[ -n $dir && -S $dir/socket ]] && { socket=$dir/socket; break; }
    vd_alive "$VD_WINESERVER_PID" || { echo "wineserver ended on start; see $prefix.wineserver.log" >&2; return 1; }
    sleep 0.05
  done
  # Without its socket Wine would start a server of its own that nothing ends.
  [[ -n $socket ]] || { echo "wineserver did not come up; see $prefix.wineserver.log" >&2; return 1; }
  if [[ -n $created ]]; then
    vd_wine_step wineboot "$prefix.wineboot.log" wineboot -i || return 1
  fi
  # Without a window manager Wine otherwise waits for one whenever it hides a
  # window that covers a whole monitor.
  vd_wine_step "prefix set-up" /dev/null wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f ||
    return 1
  # A crashing process ends at once instead of waiting in winedbg for the test timeout.
  vd_wine_step "prefix set-up" /dev/null \
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d false /f || return 1
}

# Runs a Wine command (its output to log, if one is named) and reports its
# failure. Wine's processes wait forever once their server is gone, so that is
# watched for too.
vd_wine_step() {
  local what=$1 log=$2 pid
  shift 2
  if [[ -n $log ]]; then "$@" >"$log" 2>&1 & else "$@" & fi
  pid=$!
  while vd_alive "$pid"; do
    if ! vd_alive "$VD_WINESERVER_PID"; then
      vd_kill_wait "$pid"
      echo "wineserver ended during $what; see $VD_PREFIX.wineserver.log" >&2
      return 1
    fi
    sleep 0.05
  done
  wait "$pid" || { echo "$what failed: $*${log:+ (see $log)}" >&2; return 1; }
}

# Ends what vd_start_* started: the prefix's Windows processes, its
# wineserver and the Xvfb, each by the pid recorded here.
vd_stop() {
  if [[ -n $VD_WINESERVER_PID ]]; then
    WINEPREFIX=$VD_PREFIX timeout 20 wineserver -k >/dev/null 2>&1 || true
    vd_kill_wait "$VD_WINESERVER_PID"
    VD_WINESERVER_PID=
    # Had the server died first, -k reached nobody and its clients wait forever.
    local pids
    pids=$(vd_prefix_pids)
    [[ -z $pids ]] || kill -KILL $pids 2>/dev/null || true
  fi
  if [[ -n $VD_XVFB_PID ]]; then
    vd_kill_wait "$VD_XVFB_PID"
    VD_XVFB_PID=
  fi
}

# Wine's processes of our prefix, known by the environment they inherited
# (read per thread: a process whose main thread ended hides its own).
vd_prefix_pids() {
  local env
  for env in $(grep -lzxF "WINEPREFIX=$VD_PREFIX" /proc/[0-9]*/task/[0-9]*/environ 2>/dev/null); do
    [[ $(readlink "${env%/environ}/exe" 2>/dev/null) == */wine* ]] || continue
    env=${env#/proc/}
    echo "${env%%/*}"
  done
  return 0
}

# Running and not a zombie waiting to be reaped. A process whose main thread
# has ended shows as a zombie while its other threads (often Wine's) still run.
vd_alive() {
  local task stat
  for task in /proc/"$1"/task/*/stat; do
    read -r stat 2>/dev/null <"$task" || continue
    stat=${stat##*) }
    [[ ${stat%% *} == [ZX] ]] || return 0
  done
  return 1
}

vd_kill_wait() {
  local pid=$1 i
  if vd_alive "$pid"; then
    kill -TERM "$pid" 2>/dev/null || true
    for ((i = 0; i < 100; i++)); do
      vd_alive "$pid" || break
      sleep 0.05
    done
    vd_alive "$pid" && kill -KILL "$pid" 2>/dev/null || true
  fi
  wait "$pid" 2>/dev/null || true
}
