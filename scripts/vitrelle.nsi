; The per-user installer of Vitrelle, made by scripts/package.sh with makensis:
;   makensis -DVERSION=1.10 -DCOPYRIGHT=<copyright line of the licence>
;            -DSTAGE=<folder of the program files, LICENSE.txt among them>
;            -DFILES=<File lines> -DREMOVALS=<Delete lines of the same files>
;            -DICON=<icon> -DOUTFILE=<installer> vitrelle.nsi
; It shows the licence (LICENSE.txt, installed with the program) and installs
; for the current user only, without administrator rights, into
; a folder the user can write (so that Make can save the Pattern file), and
; never replaces a Pattern file that is already there. It is a 64-bit
; installer for the 64-bit program; installed over an earlier (32-bit)
; version it replaces that version's files, uninstaller and uninstall entry,
; and moves the sign-in entry of that copy's tool to this one.

Target amd64-unicode
SetCompressor /SOLID lzma
; No file times of the build machine inside: the same files give the same installer.
SetDateSave off
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define PRODUCT "Vitrelle"
!define PUBLISHER "Tavik"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vitrelle"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SIGNIN_VALUE "Vitrelle wallpaper"
!define PATTERN_FILE "vitrelle.cfg"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Vitrelle"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COPYRIGHT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\vitrelle.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\vitrelle.html"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the manual"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
; The licence comes first; a silent install (/S) shows no page and asks
; nothing.
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The sign-in entry that ran the tool of an earlier installation in
; another folder ($0) runs this one's, with the same arguments.
Function MoveSigninEntry
  ${If} $0 == ""
  ${OrIf} $0 == $INSTDIR
    Return
  ${EndIf}
  ReadRegStr $1 HKCU "${RUN_KEY}" "${SIGNIN_VALUE}"
  StrCpy $2 '"$0\vitrelle-wallpaper.exe"'
  StrLen $3 $2
  StrCpy $4 $1 $3
  ${If} $4 == $2
    StrCpy $5 $1 "" $3
    WriteRegStr HKCU "${RUN_KEY}" "${SIGNIN_VALUE}" '"$INSTDIR\vitrelle-wallpaper.exe"$5'
  ${EndIf}
FunctionEnd

Section "Vitrelle"
  SetShellVarContext current
  SetRegView 64
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  Call MoveSigninEntry
  ; A 32-bit installer's entry, wherever the system kept it, gives way to this one.
  SetRegView 32
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  SetRegView 64
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  SetOutPath "$INSTDIR"
  SetOverwrite on
  !include "${FILES}"
  ; The user's Patterns are theirs: an existing Pattern file stays as it is.
  SetOverwrite off
  File "${STAGE}/${PATTERN_FILE}"
  SetOverwrite on

  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; The shortcut starts the program in its own folder, where it finds its
  ; Pattern file and plug-ins (SetOutPath sets the working folder).
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\vitrelle.exe" "" "$INSTDIR\vitrelle.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vitrelle.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Reads the next line of file handle $R0 into $R1 without its line end;
; $R2 is "end" at the end of the file, else "line".
Function un.ReadLineTrimmed
  ClearErrors
  FileRead $R0 $R1
  ${If} ${Errors}
    StrCpy $R1 ""
    StrCpy $R2 "end"
    Return
  ${EndIf}
  StrCpy $R2 "line"
  ${Do}
    StrCpy $0 $R1 1 -1
    ${If} $0 == "$\n"
    ${OrIf} $0 == "$\r"
      StrCpy $R1 $R1 -1
    ${Else}
      ${ExitDo}
    ${EndIf}
  ${Loop}
FunctionEnd

; Whether the installed Pattern file differs from the one shipped with this
; version, leaving aside its first line (the settings of the last Make, which
; every Make rewrites). Leaves "changed" or "same" on the stack.
Function un.PatternFileState
  InitPluginsDir
  SetOutPath "$PLUGINSDIR"
  File "/oname=shipped.cfg" "${STAGE}/${PATTERN_FILE}"
  ClearErrors
  FileOpen $R3 "$INSTDIR\${PATTERN_FILE}" r
  FileOpen $R4 "$PLUGINSDIR\shipped.cfg" r
  ${If} ${Errors}
    Push "changed"
    Return
  ${EndIf}
  StrCpy $R9 "same"
  StrCpy $R5 0
  ${Do}
    StrCpy $R0 $R3
    Call un.ReadLineTrimmed
    StrCpy $R6 $R1
    StrCpy $R7 $R2
    StrCpy $R0 $R4
    Call un.ReadLineTrimmed
    ${If} $R7 != $R2
      StrCpy $R9 "changed"
      ${ExitDo}
    ${ElseIf} $R7 == "end"
      ${ExitDo}
    ${ElseIf} $R5 > 0
    ${AndIf} $R6 S!= $R1
      StrCpy $R9 "changed"
      ${ExitDo}
    ${EndIf}
    IntOp $R5 $R5 + 1
  ${Loop}
  FileClose $R3
  FileClose $R4
  Push $R9
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  SetRegView 64
  !include "${REMOVALS}"
  Delete "$INSTDIR\uninstall.exe"

  ${If} ${FileExists} "$INSTDIR\${PATTERN_FILE}"
    Call un.PatternFileState
    Pop $0
    ${If} $0 == "same"
      Delete "$INSTDIR\${PATTERN_FILE}"
    ${ElseIf} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Your Pattern file $INSTDIR\${PATTERN_FILE} holds changes of your own.$\n$\nRemove it too?" /SD IDNO IDYES`
      Delete "$INSTDIR\${PATTERN_FILE}"
    ${EndIf}
  ${EndIf}
  SetOutPath "$TEMP"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  ; The new picture at each sign-in, when it runs this copy's tool (a
  ; portable copy elsewhere keeps its own); == ignores case, as paths do.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${SIGNIN_VALUE}"
  StrCpy $2 '"$INSTDIR\vitrelle-wallpaper.exe"'
  StrLen $3 $2
  StrCpy $1 $0 $3
  ${If} $1 == $2
    DeleteRegValue HKCU "${RUN_KEY}" "${SIGNIN_VALUE}"
  ${EndIf}
SectionEnd
