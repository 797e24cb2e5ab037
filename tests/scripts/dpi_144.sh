#!/usr/bin/env bash
# The DPI tests of gui_tests (the panel, its stored widths and font, covers) once more on a desktop at
# 144 DPI (150 %). Wine has one DPI for its whole desktop, read from HKCU\Control Panel\Desktop
# LogPixels, so they run in a copy of the run's prefix with a wineserver of its own; the tests check
# that they were given 144. Needs the DISPLAY and WINEPREFIX that scripts/test sets up.
set -euo pipefail
gui_tests=$1
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/vdisplay.sh"
[[ -n ${DISPLAY:-} && -d ${WINEPREFIX:-} ]] || { echo "no DISPLAY or WINEPREFIX: run it through scripts/test" >&2; exit 1; }
prefix=$WINEPREFIX-dpi144
trap 'vd_stop; rm -rf "$prefix"' EXIT
rm -rf "$prefix"
cp -a --reflink=auto "$WINEPREFIX" "$prefix"
vd_start_wine "$prefix"
vd_wine_step LogPixels /dev/null wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f
out=$(UMBRAFEN_TEST_DPI=144 wine "$gui_tests" --gtest_filter='*Dpi*:*RestoreTheCovers' 2>&1) || { echo "$out"; exit 1; }
echo "$out"
# A filter that matched nothing would pass.
grep -q '^\[  PASSED  \] 3 tests' <<<"$out" || { echo "expected 3 DPI tests to pass" >&2; exit 1; }
