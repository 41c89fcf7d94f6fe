; The Windows installer: puts Mirvane beside Tablexa's program, in the folder
; the person (or /D= in a silent install) chooses, with Start-menu shortcuts
; to the program and its help and an uninstaller that removes exactly what was
; installed. A 32-bit program, so that every Windows runs it: it installs the
; 64-bit programs on 64-bit Windows and the 32-bit ones elsewhere. Built by
; tools/build-installer, which passes:
;
;   VERSION     the project's version
;   OUTFILE     the installer to write
;   ICON        the application icon
;   PROGRAMS64  an include that installs the 64-bit programs (File lines)
;   PROGRAMS32  the same for the 32-bit programs
;   SHARED      an include that installs the files both share
;   UNFILES     an include that deletes them all again (Delete and RMDir lines)
;   SIZE_KB     their size, for "Aplicaciones instaladas"
;   SIGN        optional: a command that signs the file it is given, in place

Unicode true
Target x86-unicode
SetCompressor /SOLID lzma
; Tablexa's folder is usually under Program Files, where only an
; administrator may write; the uninstall key goes under HKLM.
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "x64.nsh"

!ifdef SIGN
    !uninstfinalize '"${SIGN}" "%1"' = 0
    !finalize '"${SIGN}" "%1"' = 0
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Mirvane"
; Not "uninstall.exe": Tablexa's folder may hold an uninstaller of its own.
!define UNINSTALLER "desinstalar-mirvane.exe"

Name "Mirvane ${VERSION}"
Caption "Instalación de Mirvane ${VERSION}"
UninstallCaption "Desinstalación de Mirvane ${VERSION}"
BrandingText "Mirvane ${VERSION}"
OutFile "${OUTFILE}"
; Where Tablexa, a 32-bit program, installs itself: Program Files (x86) on
; 64-bit Windows, Program Files elsewhere. A folder chosen before is offered
; again (.onInit).
InstallDir "$PROGRAMFILES32\Tablexa"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

; Three lines at most: the page has room for no more.
!define MUI_DIRECTORYPAGE_TEXT_TOP "Elija la carpeta de Tablexa, la de Tablexa.exe: cuando Tablexa abre Mirvane, lee allí su resultado (Tablexa.ini). Los archivos de Tablexa y sus tablas no se tocan."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "Carpeta del programa de Tablexa"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckTablexaFolder
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\Mirvane\LEEME.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Mostrar el LEEME"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Spanish"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_SPANISH} "ProductName" "Mirvane"
VIAddVersionKey /LANG=${LANG_SPANISH} "FileDescription" "Instalación de Mirvane"
VIAddVersionKey /LANG=${LANG_SPANISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISH} "LegalCopyright" "Mirvane"

; The uninstall key goes in the registry of the programs' own word size, as
; Windows lists them.
!macro UseProgramsRegistryView
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
!macroend

; A folder chosen before is offered again, unless /D= names another.
Function .onInit
    !insertmacro UseProgramsRegistryView
    StrCmp $INSTDIR "$PROGRAMFILES32\Tablexa" 0 chosen
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    StrCmp $0 "" chosen
    StrCpy $INSTDIR $0
    chosen:
FunctionEnd

Function un.onInit
    !insertmacro UseProgramsRegistryView
FunctionEnd

; A folder without Tablexa's own program is not Tablexa's (any other program,
; an earlier mirvane.exe among them, proves nothing): asks before going on.
Function CheckTablexaFolder
    IfFileExists "$INSTDIR\Tablexa.exe" found
    MessageBox MB_YESNO|MB_ICONEXCLAMATION "En la carpeta $INSTDIR no está el programa de Tablexa (Tablexa.exe). Mirvane funciona en cualquier carpeta cuando lo abre usted; pero cuando es Tablexa quien lo abre, Mirvane tiene que estar junto a Tablexa.exe, que lee allí su resultado.$\n$\n¿Instalar aquí de todos modos?" /SD IDYES IDYES found
    Abort
    found:
FunctionEnd

Section
    SetOutPath "$INSTDIR"
    ${If} ${RunningX64}
        !include "${PROGRAMS64}"
    ${Else}
        !include "${PROGRAMS32}"
    ${EndIf}
    !include "${SHARED}"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"

    ; For every user of the machine, as the uninstall key is.
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    CreateDirectory "$SMPROGRAMS\Mirvane"
    CreateShortcut "$SMPROGRAMS\Mirvane\Mirvane.lnk" "$INSTDIR\mirvane.exe"
    CreateShortcut "$SMPROGRAMS\Mirvane\Ayuda de Mirvane.lnk" "$INSTDIR\DELPHOS.chm"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Mirvane"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Mirvane"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\mirvane.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Exactly what the installer put there; Tablexa's folder itself stays, with
; Tablexa.ini, Tablexa's files and anything else in it.
Section "Uninstall"
    !include "${UNFILES}"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"

    SetShellVarContext all
    Delete "$SMPROGRAMS\Mirvane\Mirvane.lnk"
    Delete "$SMPROGRAMS\Mirvane\Ayuda de Mirvane.lnk"
    RMDir "$SMPROGRAMS\Mirvane"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
