; Umbrafen's installer: x64, per machine, into Program Files. scripts/package builds it and
; defines VERSION (x.y.z), EXE (the Umbrafen.exe to ship), OUTFILE and, when it signs, SIGN:
; a command that signs the file named after it in place.
Unicode true
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel admin
AllowSkipFiles off

!include LogicLib.nsh
!include WinMessages.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Umbrafen"
; Where Start with Windows writes its value, named Umbrafen.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The panel marks its window with this user data; a second start finds it the same way.
!define INSTANCE_MARKER 786

Name "Umbrafen ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Umbrafen"
; An upgrade goes where the earlier version is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Umbrafen ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Umbrafen"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}.0"
VIAddVersionKey /LANG=1033 "FileDescription" "Umbrafen ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "Umbrafen"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) Umbrafen"

!ifdef SIGN
  !finalize '${SIGN} "%1"' = 0
  !uninstfinalize '${SIGN} "%1"' = 0
!endif

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles
UninstallText "Umbrafen will be removed from this computer. Your settings stay in %LOCALAPPDATA%\Umbrafen; delete that folder to remove them too."

!macro ON_INIT
  SetShellVarContext all
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    MessageBox MB_OK|MB_ICONSTOP "Administrator rights are needed to change Umbrafen in Program Files." /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
!macroend
Function .onInit
  !insertmacro ON_INIT
FunctionEnd
Function un.onInit
  !insertmacro ON_INIT
FunctionEnd

; The installer's and the uninstaller's functions ("" or "un.").
!macro FUNCTIONS un
  ; $0 = the running panel's window, or 0.
  Function ${un}FindPanel
    StrCpy $0 0
    next:
      FindWindow $0 "#32770" "Umbrafen" 0 $0
      StrCmp $0 0 done
      System::Call "user32::GetWindowLongPtrW(p r0, i -21) p .r1"
      IntCmp $1 ${INSTANCE_MARKER} done next next
    done:
  FunctionEnd

  ; Windows cannot replace or delete a running exe: a running Umbrafen is asked to exit, as a
  ; user's `Umbrafen.exe --exit` would, so that it saves its settings, and its process is awaited.
  Function ${un}EndRunningUmbrafen
    again:
      Call ${un}FindPanel
      StrCmp $0 0 done
      System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1)"
      System::Call "kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2" ; SYNCHRONIZE
      ${If} ${FileExists} "$INSTDIR\Umbrafen.exe"
        ExecWait '"$INSTDIR\Umbrafen.exe" --exit'
      ${Else}
        ; Another copy runs (a portable one): close its panel as its Exit command would.
        SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
      ${EndIf}
      System::Call "kernel32::WaitForSingleObject(p r2, i 15000) i .r3"
      System::Call "kernel32::CloseHandle(p r2)"
      IntCmp $3 0 again ; WAIT_OBJECT_0
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Umbrafen is still running. Close it, then choose Retry." /SD IDCANCEL IDRETRY again
      Abort "Umbrafen is still running."
    done:
  FunctionEnd
!macroend
!insertmacro FUNCTIONS ""
!insertmacro FUNCTIONS "un."

Section
  Call EndRunningUmbrafen
  SetOutPath "$INSTDIR"
  File "/oname=Umbrafen.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Umbrafen.lnk" "$INSTDIR\Umbrafen.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Umbrafen"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Umbrafen"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Umbrafen.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize 0 $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section Uninstall
  Call un.EndRunningUmbrafen
  ; A Start with Windows value that starts this copy would start nothing once it is gone; one
  ; that starts another copy stays.
  ReadRegStr $0 HKCU "${RUN_KEY}" "Umbrafen"
  StrCpy $1 '"$INSTDIR\Umbrafen.exe"'
  StrLen $2 $1
  StrCpy $0 $0 $2
  ${If} $0 == $1
    DeleteRegValue HKCU "${RUN_KEY}" "Umbrafen"
  ${EndIf}

  Delete "$SMPROGRAMS\Umbrafen.lnk"
  Delete "$INSTDIR\Umbrafen.exe"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; The settings in %LOCALAPPDATA%\Umbrafen stay for a later install.
SectionEnd
