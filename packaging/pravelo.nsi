; The installer of one processor width. scripts/package.sh defines:
;   GENERATED the build's folder of generated files, whose pravelo.nsh holds the version and
;             the names the program uses (its file, its picture, its keys and window class)
;   ARCH      x64 or x86
;   STAGE     the folder holding the program and its picture of that width
;   COMMON    the folder holding pravelo.ico and LICENSE.txt
;   OUTFILE   the installer to write
;   SIGN      (optional) a command that signs the file named after it, for the uninstaller
;
; Silent use: "setup.exe /S [/D=<folder>]" installs; "uninstall.exe /S" removes the program and
; keeps the user's settings; "uninstall.exe /S /REMOVESETTINGS" removes the settings as well.

!include "${GENERATED}/pravelo.nsh"

!if ${ARCH} == x64
  Target amd64-unicode
  !define PROGRAM_FILES "$PROGRAMFILES64"
  !define DISPLAY_NAME "${PRODUCT_NAME} (64-bit)"
!else if ${ARCH} == x86
  Unicode true
  !define PROGRAM_FILES "$PROGRAMFILES"
  !define DISPLAY_NAME "${PRODUCT_NAME}"
!else
  !error "ARCH must be x64 or x86"
!endif

!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT_NAME}"
; What the options window's autostart leaves behind: the run value and these copies.
!define SYSTEM_COPY "$WINDIR\system32\${AUTOSTART_PROGRAM}"
!define SYSTEM_PICTURE "$WINDIR\system32\${PICTURE_FILE}"
; A running Pravelo gets this many close requests, each waited on this long (ms).
!define CLOSE_TRIES 4
!define CLOSE_WAIT_MS 5000

Name "${PRODUCT_NAME}"
OutFile "${OUTFILE}"
InstallDir "${PROGRAM_FILES}\${PRODUCT_NAME}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ManifestDPIAware true
BrandingText "${PRODUCT_NAME} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT_NAME}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT_NAME} ${VERSION} setup (${ARCH})"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "MIT License, ${PRODUCT_NAME} developers"

!ifdef SIGN
  !uninstfinalize '${SIGN} "%1"'
!endif

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "WinCore.nsh"

!define MUI_ICON "${COMMON}/pravelo.ico"
!define MUI_UNICON "${COMMON}/pravelo.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM_FILE}"
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_LICENSE "${COMMON}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Asks every running Pravelo to close, as its close box would. Where closing only moves it to
; the tray ("MinAtClose"), the next request finds no window shown and ends it.
!macro DEFINE_CLOSE_PRAVELO un
Function ${un}ClosePravelo
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $3 0
  ${Do}
    FindWindow $0 "${MAIN_CLASS}"
    ${If} $0 == 0
    ${OrIf} $3 >= ${CLOSE_TRIES}
      ${Break}
    ${EndIf}
    IntOp $3 $3 + 1
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
    System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2'
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=${CLOSE_WAIT_MS}
    ; A window that is still there went to the tray: close again at once. Otherwise the
    ; program is ending; its file can go only once it has.
    System::Call 'user32::IsWindow(p r0) i .r1'
    ${If} $1 == 0
      System::Call 'kernel32::WaitForSingleObject(p r2, i ${CLOSE_WAIT_MS})'
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r2)'
  ${Loop}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_PRAVELO ""
!insertmacro DEFINE_CLOSE_PRAVELO "un."

Section "${PRODUCT_NAME}" SecProgram
  SectionIn RO
  SetShellVarContext all
  Call ClosePravelo
  SetOutPath "$INSTDIR"
  File "${STAGE}/${PROGRAM_FILE}"
  File "${STAGE}/${PICTURE_FILE}"
  File "${COMMON}/LICENSE.txt"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT_NAME}.lnk" "$INSTDIR\${PROGRAM_FILE}" "" "$INSTDIR\${PROGRAM_FILE}" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${DISPLAY_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM_FILE},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "un.${PRODUCT_NAME}" SecUnProgram
  SectionIn RO
  SetShellVarContext all
  Call un.ClosePravelo
  Delete /REBOOTOK "$INSTDIR\${PROGRAM_FILE}"
  Delete "$INSTDIR\${PICTURE_FILE}"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir /REBOOTOK "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT_NAME}.lnk"

  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  Delete /REBOOTOK "${SYSTEM_COPY}"
  Delete "${SYSTEM_PICTURE}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Remove my ${PRODUCT_NAME} settings" SecUnSettings
  ; The settings are the vendor key's keys whose names begin with the product's name. Keys are
  ; deleted while enumerating, so the index moves on only past keys that stay.
  StrLen $3 "${PRODUCT_NAME}"
  StrCpy $0 0
  ${Do}
    EnumRegKey $1 HKCU "${VENDOR_KEY}" $0
    ${If} $1 == ""
      ${Break}
    ${EndIf}
    StrCpy $2 $1 $3
    ClearErrors
    ${If} $2 == "${PRODUCT_NAME}"
      DeleteRegKey HKCU "${VENDOR_KEY}\$1"
    ${Else}
      SetErrors
    ${EndIf}
    ${If} ${Errors}
      IntOp $0 $0 + 1
    ${EndIf}
  ${Loop}
  DeleteRegKey /ifempty HKCU "${VENDOR_KEY}"
SectionEnd

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecUnSettings} ${SF_SELECTED}
  ${EndIf}
FunctionEnd
