# Sourced by scripts/test and scripts/run: a private two-screen virtual display
# and a Wine prefix with a persistent wineserver, both ended by process id.

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
  fdfile=$(mktemp)
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
  n=$(tr -dc 0-9 <"$fdfile")
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
  [[ $mode == fresh ]] && rm -rf "$prefix"
  local created=
  if [[ ! -f $prefix/system.reg ]]; then
    rm -rf "$prefix"
    created=1
  fi
  mkdir -p "$prefix"
  # A server left over by an interrupted run on this same prefix would refuse ours.
  [[ -n $created ]] || timeout 20 wineserver -k >/dev/null 2>&1 || true
  # In the foreground so that its pid is ours; -p keeps it up between processes.
  wineserver -f -p >"$prefix.wineserver.log" 2>&1 &
  VD_WINESERVER_PID=$!
  # Wait for its socket, or the first client would start a server of its own.
  # The server works in its own directory (its name differs between Wine
  # builds), where it creates the socket.
  local socket= i
  for ((i = 0; i < 200; i++)); do
    socket=$(readlink "/proc/$VD_WINESERVER_PID/cwd" 2>/dev/null)/socket
    [[ -S $socket ]] && break
    vd_alive "$VD_WINESERVER_PID" || { echo "wineserver failed; see $prefix.wineserver.log" >&2; return 1; }
    sleep 0.05
  done
  # Without its socket Wine would start a server of its own that nothing ends.
  [[ -S $socket ]] || { echo "wineserver did not come up; see $prefix.wineserver.log" >&2; return 1; }
  if [[ -n $created ]]; then
    wineboot -i >"$prefix.wineboot.log" 2>&1 || { echo "wineboot failed; see $prefix.wineboot.log" >&2; return 1; }
  fi
  # Without a window manager Wine otherwise waits for one whenever it hides a
  # window that covers a whole monitor.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 ||
    { echo "could not configure the Wine prefix" >&2; return 1; }
  # A crashing process ends at once instead of waiting in winedbg for the test timeout.
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d false /f >/dev/null 2>&1 ||
    { echo "could not configure the Wine prefix" >&2; return 1; }
}

# Ends what vd_start_* started: the prefix's Windows processes, its
# wineserver and the Xvfb, each by the pid recorded here.
vd_stop() {
  if [[ -n $VD_WINESERVER_PID ]]; then
    WINEPREFIX=$VD_PREFIX timeout 20 wineserver -k >/dev/null 2>&1 || true
    vd_kill_wait "$VD_WINESERVER_PID"
    VD_WINESERVER_PID=
  fi
  if [[ -n $VD_XVFB_PID ]]; then
    vd_kill_wait "$VD_XVFB_PID"
    VD_XVFB_PID=
  fi
}

# Running and not a zombie waiting to be reaped.
vd_alive() {
  local state
  state=$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null) || return 1
  [[ -n $state && $state != Z ]]
}

vd_kill_wait() {
  local pid=$1 i
  if vd_alive "$pid"; then
    kill -TERM "$pid" 2>/dev/null || true
    for ((i = 0; i < 100; i++)); do
      vd_alive "$pid" || break
      sleep 0.05
    done
    vd_alive "$pid" && kill -KILL "$pid" 2>/dev/null
  fi
  wait "$pid" 2>/dev/null || true
}
