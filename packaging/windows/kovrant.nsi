; The Windows installer of Les Kovrant: for the whole machine, in Program Files, with Start-menu
; shortcuts and an uninstaller listed in "Apps and features". /S installs and uninstalls silently, as
; school deployment tools run it.
;
;   makensis -INPUTCHARSET UTF8 -DSTAGE=<installed folder> -DFILES=<its uninstall list> -DOUTFILE=<setup.exe>
;            -DVERSION=1.0.0 -DFILE_VERSION=1.0.0.0 -DICON=<kovrant.ico> -DWELCOME=<welcome.bmp> kovrant.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!define PRODUCT "Les Kovrant"
!define PUBLISHER "Les Kovrant"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; A séance file opens in the game, for every account of the machine.
!define CLASSES "Software\Classes"
!define SEANCE_TYPE "LesKovrant.Seance"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WELCOME}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\kovrant.exe"
!define MUI_FINISHPAGE_RUN_FUNCTION StartAsUser
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "French"

VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=${LANG_FRENCH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_FRENCH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_FRENCH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_FRENCH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_FRENCH} "FileDescription" "Installation de ${PRODUCT}"
VIAddVersionKey /LANG=${LANG_FRENCH} "LegalCopyright" "© 2026 ${PUBLISHER}, GPL-3.0-or-later"

Function .onInit
    SetRegView 64
FunctionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

; The installer runs with administrator rights, which the game must not inherit. The Explorer, which runs
; as the user who is logged in, starts it instead.
Function StartAsUser
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\kovrant.exe"'
FunctionEnd

Section "Les Kovrant"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File /r "${STAGE}/*"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    SetOutPath "$INSTDIR"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\kovrant.exe" "" "$INSTDIR\kovrant.exe" 0
    CreateShortcut "$SMPROGRAMS\${PRODUCT} - Tiers-temps (40 secondes).lnk" "$INSTDIR\kovrant.exe" \
        "--temps 40" "$INSTDIR\kovrant.exe" 0
    CreateShortcut "$SMPROGRAMS\${PRODUCT} - Sans limite de temps.lnk" "$INSTDIR\kovrant.exe" \
        "--temps aucune" "$INSTDIR\kovrant.exe" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kovrant.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "https://leskovrant.fr"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

    WriteRegStr HKLM "${CLASSES}\.kovrant" "" "${SEANCE_TYPE}"
    WriteRegStr HKLM "${CLASSES}\.kovrant" "Content Type" "text/plain"
    WriteRegStr HKLM "${CLASSES}\.kovrant" "PerceivedType" "text"
    WriteRegStr HKLM "${CLASSES}\${SEANCE_TYPE}" "" "Séance de calcul (${PRODUCT})"
    WriteRegStr HKLM "${CLASSES}\${SEANCE_TYPE}\DefaultIcon" "" "$INSTDIR\kovrant.exe,0"
    WriteRegStr HKLM "${CLASSES}\${SEANCE_TYPE}\shell\open\command" "" '"$INSTDIR\kovrant.exe" "%1"'
    ; The Explorer shows the new icon and opens with the game without waiting for a new session.
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT} - Tiers-temps (40 secondes).lnk"
    Delete "$SMPROGRAMS\${PRODUCT} - Sans limite de temps.lnk"
    ; What was installed, file by file: the folder may have been chosen among others.
    !include "${FILES}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"

    DeleteRegKey HKLM "${CLASSES}\${SEANCE_TYPE}"
    ; The extension only while it is still ours: another program may have taken it since.
    ReadRegStr $0 HKLM "${CLASSES}\.kovrant" ""
    StrCmp $0 "${SEANCE_TYPE}" 0 +2
        DeleteRegKey HKLM "${CLASSES}\.kovrant"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
