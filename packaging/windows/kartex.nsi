; The Windows installer of KARTEX, made by scripts/build-windows-release.sh
; with makensis from the folder of the ZIP download:
;   makensis -DVERSION=1.0.0 -DSTAGE=<folder KARTEX> -DOUTFILE=<setup.exe> [-DICON=<kartex.ico>] kartex.nsi
; It puts the programs in Program Files\KARTEX, makes the user's Documents\KARTEX
; (the samples copied in, none of the user's files replaced) the start folder
; of the Start-menu shortcut, where KARTEX looks for CTY.DAT and ADIF_DXC.TXT,
; and registers an uninstaller.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KARTEX"

Name "KARTEX ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\KARTEX"
BrandingText "KARTEX ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1045 "ProductName" "KARTEX"
VIAddVersionKey /LANG=1045 "FileDescription" "Instalator programu KARTEX"
VIAddVersionKey /LANG=1045 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1045 "LegalCopyright" "GPL-3.0-or-later"

!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\KARTEX.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\CZYTAJ.txt"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Polish"

LangString DocumentsNote ${LANG_POLISH} "Folder roboczy z przykładami: $DOCUMENTS\KARTEX"

; The Start menu and the documents of the user who installs.
Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "KARTEX"
  SetOutPath "$INSTDIR"
  File "${STAGE}\KARTEX.exe"
  File "${STAGE}\kartex-cli.exe"
  File "${STAGE}\Help_CSV.chm"
  File "${STAGE}\LICENSE.txt"
  File "${STAGE}\CZYTAJ.txt"
  File "${STAGE}\CTY.DAT"
  File "${STAGE}\CTY.DAT.copyright.txt"
  File "${STAGE}\ADIF_DXC.TXT"
  SetOutPath "$INSTDIR\demo"
  File "${STAGE}\demo\*.*"
  SetOutPath "$INSTDIR\templates"
  File "${STAGE}\templates\*.*"

  ; The working folder: the sample log and the real reference files go in,
  ; the user's own files stay.
  SetOutPath "$DOCUMENTS\KARTEX"
  SetOverwrite off
  File "${STAGE}\demo\LOG_DEMO.csv"
  File "${STAGE}\CTY.DAT"
  File "${STAGE}\ADIF_DXC.TXT"
  SetOverwrite on
  DetailPrint "$(DocumentsNote)"

  ; Started from the menu, KARTEX works in Documents\KARTEX.
  SetOutPath "$DOCUMENTS\KARTEX"
  CreateShortCut "$SMPROGRAMS\KARTEX.lnk" "$INSTDIR\KARTEX.exe" "" "$INSTDIR\KARTEX.exe" 0 \
    SW_SHOWNORMAL "" "Druk kart QSL z dzienników programu Logger32"

  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "KARTEX ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "KARTEX"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\KARTEX.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The programs go; Documents\KARTEX stays, it holds the user's work.
Section "Uninstall"
  Delete "$SMPROGRAMS\KARTEX.lnk"
  Delete "$INSTDIR\KARTEX.exe"
  Delete "$INSTDIR\kartex-cli.exe"
  Delete "$INSTDIR\Help_CSV.chm"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\CZYTAJ.txt"
  Delete "$INSTDIR\CTY.DAT"
  Delete "$INSTDIR\CTY.DAT.copyright.txt"
  Delete "$INSTDIR\ADIF_DXC.TXT"
  RMDir /r "$INSTDIR\demo"
  RMDir /r "$INSTDIR\templates"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
