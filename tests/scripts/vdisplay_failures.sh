#!/usr/bin/env bash
# scripts/lib/vdisplay.sh runs under `set -e` in its callers. A wineserver
# that dies or a prefix that cannot be made must still be reported (message,
# non-zero status) rather than end the caller silently or hang it, and the
# clean-up must leave no Wine process of the prefix behind.
set -uo pipefail
lib=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/lib/vdisplay.sh
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0

# check NAME EXPECTED-MESSAGE PATH-DIR PREFIX: starts Wine on PREFIX with the
# wineserver found first in PATH-DIR, as the scripts do.
check() {
  local name=$1 message=$2 out rc left
  out=$(PATH="$3:$PATH" timeout 60 bash -c 'set -euo pipefail; source "$1"; trap vd_stop EXIT
    vd_start_wine "$2" fresh; echo "set-up went on"' bash "$lib" "$4" 2>&1)
  rc=$?
  left=$(grep -lzxF "WINEPREFIX=$4" /proc/[0-9]*/task/[0-9]*/environ 2>/dev/null)
  if ((rc == 0 || rc == 124)) || [[ $out != *"$message"* || $out == *"set-up went on"* || -n $left ]]; then
    echo "FAIL $name: status $rc, output: ${out:-<none>}${left:+, left running: $left}"
    failed=1
  else
    echo "ok   $name: $out"
  fi
}

real=$(command -v wineserver)
mkdir -p "$tmp/dead" "$tmp/killed"
printf '#!/bin/sh\nexit 1\n' >"$tmp/dead/wineserver"
# The persistent server (-f) is killed half a second in, while wineboot works.
printf '#!/bin/sh\ncase " $* " in *" -f "*) (sleep 0.5; kill -9 $$) & ;; esac\nexec %s "$@"\n' "$real" \
  >"$tmp/killed/wineserver"
chmod +x "$tmp/dead/wineserver" "$tmp/killed/wineserver"
: >"$tmp/file"

check "server ends on start" "wineserver ended" "$tmp/dead" "$tmp/p1"
check "prefix cannot be made" "could not create the Wine prefix" "$tmp/dead" "$tmp/file/prefix"
check "server killed during set-up" "wineserver ended" "$tmp/killed" "$tmp/p3"
exit "$failed"
