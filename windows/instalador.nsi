; The installer: the game for every user of the machine in Program Files,
; a Start-menu shortcut and an entry in Add/Remove Programs, all of which the
; uninstaller takes away again. Both run silently with /S.
; CMake gives VERSAO (and VERSAO4, its four numbers), AUTORES, DIREITOS, the
; icon ICONE, the installer's name SAIDA and ARQUIVOS, whose macros install and
; delete the files that the zip holds too, and runs makensis in the build
; folder, which holds the files.
Unicode true
Target amd64-unicode
; Windows draws the pages at the display's scale, rather than stretching them.
ManifestDPIAware true
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include "${ARQUIVOS}"

!define CHAVE "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zandrel"
Name "Zandrel"
OutFile "${SAIDA}"
InstallDir "$PROGRAMFILES64\Zandrel"
RequestExecutionLevel admin
; zlib, not LZMA: NSIS's LZMA decoder, which the stub would then carry into
; setup.exe and uninstall.exe, is under the CPL, which asks more of whoever
; hands out its binaries; NSIS's own code and zlib ask for no notice in them.
SetCompressor /SOLID zlib
; The files' times would go into the installer, and make each build's differ.
SetDateSave off
BrandingText "Zandrel ${VERSAO}"

VIProductVersion ${VERSAO4}
VIAddVersionKey ProductName "Zandrel"
VIAddVersionKey ProductVersion "${VERSAO}"
VIAddVersionKey FileVersion "${VERSAO}"
VIAddVersionKey FileDescription "Zandrel ${VERSAO} Setup"
VIAddVersionKey CompanyName "${AUTORES}"
VIAddVersionKey LegalCopyright "${DIREITOS}"

!define MUI_ICON "${ICONE}"
!define MUI_UNICON "${ICONE}"
!insertmacro MUI_PAGE_LICENSE LICENSE.txt
; The notices of the parts of others that zandrel.exe holds, which ask for no
; agreement: a page to read, with Next.
!define MUI_PAGE_HEADER_TEXT "Third-Party Notices"
!define MUI_PAGE_HEADER_SUBTEXT "The notices of the parts of other projects that Zandrel contains."
!define MUI_LICENSEPAGE_TEXT_TOP "These notices are installed with the game, in THIRD-PARTY-NOTICES.txt."
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Click Next to continue."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE THIRD-PARTY-NOTICES.txt
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE English

; For the whole machine, in the registry's 64-bit view.
!macro TodaMaquina
  SetShellVarContext all
  SetRegView 64
!macroend
; Program Files and the machine's registry need an administrator. Where UAC
; is off, a user's installer starts without one: it stops before anything is
; written, and with /S too, with ERROR_ELEVATION_REQUIRED as its exit code.
Function .onInit
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "Zandrel installs for every user of this computer, which takes an administrator.$\r$\n$\r$\nRun the installer again as an administrator." /SD IDOK
    SetErrorLevel 740
    Quit
  ${EndIf}
  !insertmacro TodaMaquina
FunctionEnd
Function un.onInit
  !insertmacro TodaMaquina
FunctionEnd

Section
  SetOutPath $INSTDIR
  !insertmacro Instala
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Zandrel.lnk" "$INSTDIR\zandrel.exe"
  WriteRegStr HKLM "${CHAVE}" DisplayName "Zandrel"
  WriteRegStr HKLM "${CHAVE}" DisplayVersion "${VERSAO}"
  WriteRegStr HKLM "${CHAVE}" Publisher "${AUTORES}"
  WriteRegStr HKLM "${CHAVE}" DisplayIcon "$INSTDIR\zandrel.exe"
  WriteRegStr HKLM "${CHAVE}" InstallLocation "$INSTDIR"
  WriteRegStr HKLM "${CHAVE}" UninstallString '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${CHAVE}" QuietUninstallString '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${CHAVE}" NoModify 1
  WriteRegDWORD HKLM "${CHAVE}" NoRepair 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${CHAVE}" EstimatedSize $0
SectionEnd

Section Uninstall
  !insertmacro Desinstala
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Zandrel.lnk"
  DeleteRegKey HKLM "${CHAVE}"
SectionEnd
