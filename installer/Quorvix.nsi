; The installer for both architectures: a 32-bit installer that puts the
; x86_64 program into the 64-bit Program Files on 64-bit Windows and the
; i686 one into Program Files elsewhere. Made by scripts/package.sh, which
; passes, all read from the program's version resource and the staged files:
;   PRODUCT PUBLISHER VERSION DESCRIPTION COPYRIGHT   (version resource)
;   X64_DIR X86_DIR   the two program folders (the portable zips' contents)
;   FILELIST          the Delete/RMDir lines for exactly those files
;   ICON OUTFILE
Unicode true
ManifestSupportedOS all
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The program's own data folder (configuration file and what the analysis
; leaves for the cleaning), per machine under ProgramData.
!define DATA_FOLDER "$APPDATA\${PRODUCT}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
; Set in .onInit for the architecture unless /D= names a folder.
InstallDir ""
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION}.0"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${COPYRIGHT}"

; While the program runs it holds a mutex named after its file (its
; single-instance check), and its files cannot be replaced or removed: the
; user is asked to close it first. A silent run, or Cancel, ends with exit
; code 2 and changes nothing.
!macro QUIT_WHILE_PROGRAM_RUNS
  ${Do}
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Velmora.exe") p .r0'
    ${If} $0 P= 0
      ${Break}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r0)'
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${PRODUCT} is running. Close it, then choose Retry." /SD IDCANCEL IDRETRY again
    SetErrorLevel 2
    Quit
    again:
  ${Loop}
!macroend

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  !insertmacro QUIT_WHILE_PROGRAM_RUNS
  SetShellVarContext all
  ${If} ${RunningX64}
    SetRegView 64
    ${If} $INSTDIR == ""
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${EndIf}
  ${ElseIf} $INSTDIR == ""
    StrCpy $INSTDIR "$PROGRAMFILES\${PRODUCT}"
  ${EndIf}
FunctionEnd

Section "${PRODUCT}"
  SetOutPath "$INSTDIR"
  ${If} ${RunningX64}
    File /r "${X64_DIR}/*"
  ${Else}
    File /r "${X86_DIR}/*"
  ${EndIf}
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Velmora.exe" "" "$INSTDIR\Velmora.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Velmora.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  !insertmacro QUIT_WHILE_PROGRAM_RUNS
  SetShellVarContext all
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
FunctionEnd

; Removes exactly the files the installer put there; the folder goes only
; when nothing else is left in it. The user's configuration stays unless the
; user says otherwise (/REMOVESETTINGS, or Yes to the question).
Section "Uninstall"
!include "${FILELIST}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    RMDir /r "${DATA_FOLDER}"
  ${ElseIfNot} ${Silent}
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
      "Also remove your ${PRODUCT} settings (${DATA_FOLDER})?" /SD IDNO IDNO keep
    RMDir /r "${DATA_FOLDER}"
    keep:
  ${EndIf}
SectionEnd
