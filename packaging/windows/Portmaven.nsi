; The Windows installer: a per-user install that needs no administrator, so that the command
; file beside the executable stays writable. makensis is given, with -D:
;   VERSION    the project version          OUT_FILE   the installer to write
;   EXE        Portmaven.exe                ICON       the application icon
;   README     README.txt                   LICENSE    LICENSE.txt
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "WinMessages.nsh"

!define APP_NAME "Portmaven"
!define PUBLISHER "The Portmaven developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Portmaven"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The name and icon the shell heads the program's notices with, under its AppUserModelID.
!define APP_ID_KEY "Software\Classes\AppUserModelId\Portmaven.Portmaven"
; The hidden host window of a running copy: a dialog with the program's name as caption.
!define HOST_CLASS "#32770"

Name "${APP_NAME} ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$LOCALAPPDATA\Programs\Portmaven"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${APP_NAME} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${APP_NAME}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${APP_NAME} Setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Portmaven.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Portmaven now"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Asks a running copy to end (WM_CLOSE to its host window, as the log-off does) and waits until
; its window is gone and its executable can be replaced. A message box of the program carries
; the same caption; it is closed first, then the host.
!macro EndRunningCopy un
Function ${un}EndRunningCopy
    StrCpy $1 0
    ${Do}
        FindWindow $0 "${HOST_CLASS}" "${APP_NAME}"
        ${If} $0 == 0
            ${Break}
        ${EndIf}
        SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
        Sleep 200
        IntOp $1 $1 + 1
    ${LoopUntil} $1 >= 50
    ; The window goes before the process: wait until the file is free.
    StrCpy $1 0
    ${DoWhile} ${FileExists} "$INSTDIR\Portmaven.exe"
        ClearErrors
        FileOpen $2 "$INSTDIR\Portmaven.exe" a
        ${IfNot} ${Errors}
            FileClose $2
            ${Break}
        ${EndIf}
        Sleep 200
        IntOp $1 $1 + 1
        ${IfThen} $1 >= 50 ${|} ${Break} ${|}
    ${Loop}
FunctionEnd
!macroend
!insertmacro EndRunningCopy ""
!insertmacro EndRunningCopy "un."

Section "Portmaven" SecProgram
    SectionIn RO
    Call EndRunningCopy
    SetOutPath "$INSTDIR"
    SetOverwrite on
    File "/oname=Portmaven.exe" "${EXE}"
    File "/oname=README.txt" "${README}"
    File "/oname=LICENSE.txt" "${LICENSE}"
    ; Portmaven.cfg, the user's commands, is never shipped: an upgrade keeps it.
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortcut "$SMPROGRAMS\Portmaven.lnk" "$INSTDIR\Portmaven.exe" "" \
        "$INSTDIR\Portmaven.exe" 0
    ; NSIS cannot write a shortcut's properties: the program itself gives the shortcut its
    ; AppUserModelID and registers the id's name and icon.
    ExecWait '"$INSTDIR\Portmaven.exe" --register-shortcut "$SMPROGRAMS\Portmaven.lnk"' $0
    ${If} $0 <> 0
        DetailPrint "The Start-menu shortcut could not be given Portmaven's id: notices may be headed by the program's file name."
    ${EndIf}

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\Portmaven.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Start Portmaven when I log on" SecLogOn
    ; The per-user Run value, quoted so that a folder with blanks starts this program.
    WriteRegStr HKCU "${RUN_KEY}" "Portmaven" '"$INSTDIR\Portmaven.exe"'
SectionEnd

Section "Uninstall"
    Call un.EndRunningCopy
    Delete "$INSTDIR\Portmaven.exe"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    ; Written by the program for the shell's notices.
    Delete "$INSTDIR\Portmaven.ico"
    Delete "$SMPROGRAMS\Portmaven.lnk"
    DeleteRegValue HKCU "${RUN_KEY}" "Portmaven"
    ; Only an administrator's uninstall can remove the machine-wide copy; for others this fails.
    DeleteRegValue HKLM "${RUN_KEY}" "Portmaven"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    DeleteRegKey HKCU "${APP_ID_KEY}"
    ${If} ${FileExists} "$INSTDIR\Portmaven.cfg"
        DetailPrint "Your commands are kept in $INSTDIR\Portmaven.cfg"
        MessageBox MB_OK|MB_ICONINFORMATION \
            "Your commands are kept in $INSTDIR\Portmaven.cfg for a later install." /SD IDOK
    ${EndIf}
    ; Last, so that an uninstall cut short can be run again, and a caller that sees it gone
    ; knows the rest is done.
    Delete "$INSTDIR\uninstall.exe"
    ; Removed only when empty: the command file stays.
    RMDir "$INSTDIR"
SectionEnd
