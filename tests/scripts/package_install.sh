#!/usr/bin/env bash
# The release as a user meets it. scripts/package builds it with a throwaway certificate; then,
# under Wine in a prefix of its own on the test run's display: a silent install, the installed
# program's panel, the installer run again over the running program (an upgrade in place), and
# the silent uninstall, which must end the program and leave nothing but the user's settings.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${UMBRAFEN_BUILD_DIR:?UMBRAFEN_BUILD_DIR names the build folder}
work=$build/package-test
source "$root/scripts/lib/vdisplay.sh"

fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "== $*"; }
[[ -n ${DISPLAY:-} ]] || fail "no DISPLAY: run it through scripts/test, which starts the virtual display"
rm -rf "$work" && mkdir -p "$work" || fail "cannot make $work"
app=
passed=
# A prefix takes 700 MB: kept only to look into after a failure.
trap 'vd_stop; [[ -z $passed ]] || rm -rf "$work/prefix"' EXIT

step "scripts/package, signing with a throwaway certificate"
{ openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Umbrafen package test" \
    -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" &&
    openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/cert.pfx" -passout "pass:a b"
} >"$work/openssl.log" 2>&1 || fail "openssl could not make the certificate; see $work/openssl.log"
UMBRAFEN_SIGN_PFX=$work/cert.pfx UMBRAFEN_SIGN_PASSWORD="a b" UMBRAFEN_DIST_DIR=$work/dist \
  "$root/scripts/package" >"$work/package.log" 2>&1 || { tail -n 20 "$work/package.log"; fail "scripts/package failed"; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
setup=$work/dist/Umbrafen-$version-setup.exe
listing=$(cd "$work/dist" && LC_ALL=C ls | tr '\n' ' ')
[[ $listing == "SHA256SUMS Umbrafen-$version-portable.zip Umbrafen-$version-setup.exe " ]] ||
  fail "dist/ holds: $listing"
(cd "$work/dist" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match dist/"

# signed FILE: an Authenticode SHA-256 signature by the test's certificate.
signed() {
  osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >"$work/verify.log" 2>&1 &&
    grep -Eq 'digest algorithm *: *SHA256' "$work/verify.log" || fail "$1 is not signed; see $work/verify.log"
  echo "signed: ${1#"$work/"}"
}
# exe FILE UIACCESS: the version everywhere a user or Windows reads it, and the manifest's uiAccess.
exe() {
  local texts
  texts=$(strings -el "$1" | tr '\n' '|')
  [[ $texts == *"|Umbrafen, Version $version|"* && $texts == *"|FileVersion|$version.0|"* &&
    $texts == *"|ProductVersion|$version|"* ]] || fail "$1: About box or version resource lacks $version"
  grep -aq "version=\"$version.0\"" "$1" || fail "$1: manifest's assembly version is not $version.0"
  grep -aq "uiAccess=\"$2\"" "$1" || fail "$1: manifest does not carry uiAccess=\"$2\""
  signed "$1"
}

step "signatures and versions of the setup and the portable zip"
signed "$setup"
unzip -q "$work/dist/Umbrafen-$version-portable.zip" -d "$work/portable" || fail "the portable zip does not unpack"
exe "$work/portable/Umbrafen.exe" false
grep -q 'LOCALAPPDATA%\\Umbrafen' "$work/portable/README.txt" || fail "the portable README.txt does not say where settings live"

step "silent install in a fresh prefix"
vd_start_wine "$work/prefix" fresh || fail "no Wine prefix"
win_dir='C:\Program Files\Umbrafen'
dir=$WINEPREFIX/drive_c/Program\ Files/Umbrafen
shortcut=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Umbrafen.lnk
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Umbrafen'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
install() { vd_wine_step "the silent install" "$work/install.log" timeout 60 wine "$setup" /S || fail "the installer failed"; }
install

[[ -d $dir ]] || fail "nothing was installed in $win_dir"
[[ $(LC_ALL=C ls "$dir" | tr '\n' ' ') == "Umbrafen.exe Uninstall.exe " ]] || fail "$dir holds: $(ls "$dir")"
exe "$dir/Umbrafen.exe" true
signed "$dir/Uninstall.exe"
grep -aqF "$win_dir\\Umbrafen.exe" "$shortcut" || fail "no Start menu shortcut to the installed exe"

# value NAME: one value of the uninstall entry.
value() { wine reg query "$uninstall_key" /v "$1" 2>/dev/null </dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_SZ *//p"; }
entry() {
  local name expected
  while read -r name expected; do
    [[ $(value "$name") == "$expected" ]] || fail "uninstall entry: $name is '$(value "$name")', not '$expected'"
  done <<EOF
DisplayName Umbrafen
DisplayVersion $version
Publisher Umbrafen
InstallLocation $win_dir
UninstallString "$win_dir\\Uninstall.exe"
QuietUninstallString "$win_dir\\Uninstall.exe" /S
EOF
  echo "uninstall entry: $version, every value"
}
entry

# until_ok LIMIT COMMAND...: polls COMMAND until it succeeds, for at most LIMIT seconds.
until_ok() {
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < end)) || return 1
    sleep 0.1
  done
}
# The installed program's panel, a window of its own process, shows on the display.
panel_up() {
  vd_alive "$app" || fail "the installed Umbrafen ended before showing its panel; see $work/app.log"
  local id
  for id in $(xwininfo -root -tree 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) "Umbrafen".*/\1/p'); do
    [[ $(xprop -id "$id" _NET_WM_PID 2>/dev/null) == *" = $app" ]] && echo "panel up: window $id" && return
  done
  return 1
}
start_app() {
  wine "$win_dir\\Umbrafen.exe" >>"$work/app.log" 2>&1 </dev/null &
  app=$!
  until_ok 30 panel_up || fail "the installed Umbrafen showed no panel within 30 s"
}
local_app_data=("$WINEPREFIX"/drive_c/users/*/AppData/Local)
settings=${local_app_data[0]}/Umbrafen/UmbrafenData.dat
app_ended() { vd_alive "$app" && fail "Umbrafen still runs after $1"; [[ -f $settings ]] || fail "Umbrafen saved no settings at $1"; }

step "start the installed program"
start_app

step "install again over the running program, as an upgrade from an earlier version"
wine reg add "$uninstall_key" /v DisplayVersion /d 1.0 /f >/dev/null 2>&1 || fail "reg add failed"
install
app_ended "an upgrade"
entry
start_app

step "silent uninstall while the program runs"
# What Start with Windows writes for this copy, which would start nothing once it is gone.
wine reg add "$run_key" /v Umbrafen /d "\"$win_dir\\Umbrafen.exe\" --minimized" /f >/dev/null 2>&1 ||
  fail "reg add failed"
rm -f "$settings"
quiet=$(value QuietUninstallString)
[[ $quiet =~ ^\"(.+)\"\ /S$ ]] || fail "QuietUninstallString: $quiet"
wine "${BASH_REMATCH[1]}" /S >"$work/uninstall.log" 2>&1 || fail "the uninstaller failed; see $work/uninstall.log"
# It goes on from a copy of itself in the temporary folder.
gone() { [[ ! -e $dir ]] && ! wine reg query "$uninstall_key" >/dev/null 2>&1; }
until_ok 30 gone || true
[[ ! -e $dir ]] || fail "$dir is still there: $(ls "$dir")"
wine reg query "$uninstall_key" >/dev/null 2>&1 && fail "the uninstall entry is still there"
app_ended "the uninstall"
[[ ! -e $shortcut ]] || fail "the Start menu shortcut is still there"
wine reg query "$run_key" /v Umbrafen >/dev/null 2>&1 && fail "the Start with Windows value is still there"
echo "uninstalled: the program, its shortcut, entry and Run value are gone; its settings stay"
passed=1
