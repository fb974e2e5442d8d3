; The installer of Vantor for Windows users, built by the build with makensis:
;
;   makensis -DVN_WIN64=<x86_64 bin> -DVN_WIN32=<i686 bin> -DVN_ICON=<vantor.ico>
;            -DVN_OUTFILE=<installer.exe> installer/vantor.nsi
;
; It installs for the current user only, without administrator rights: the 64-bit program with its
; hook library, and beside them the 32-bit companion with the 32-bit hook library, which the
; program starts so that 32-bit applications are extended too; the help pages when the build has them,
; the registry values "Program Path" and "Data Path" (written by the program's own "/install"), a
; Start menu shortcut, optionally a shortcut in the Startup folder, and an uninstaller listed among
; the user's programs.
;
; For administrators: "/S" installs silently, "/D=FOLDER" (last) chooses the folder, "/NOAUTOSTART"
; leaves out the start with Windows. The uninstaller keeps the user's data folder unless its
; component is chosen, or "/REMOVEDATA" is given with "/S".
;
; The installer is a 64-bit program: the 64-bit build, which it installs first of all, only runs on
; 64-bit Windows anyway.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define SETTINGS_KEY "Software\Orvelle Software\Vantor"
!define COMPANY_KEY "Software\Orvelle Software"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantor"
!define MENU_FOLDER "$SMPROGRAMS\Vantor"

Name "Vantor"
OutFile "${VN_OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Vantor"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Orvelle Software"

!define MUI_ICON "${VN_ICON}"
!define MUI_UNICON "${VN_ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\vantor.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Vantor now"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; The folder of the user's settings and lists.
Var DataFolder

; Asks every running copy of Vantor to close as "Close Vantor" does, and waits for it: a running
; copy holds its program and hook library, and its hook brings the library into other programs.
; One "/quit" reaches the copy of either build, since both have the same window. The running copy
; may ask the user first (file dialogs are open); while it keeps running, the user is asked to close
; it and retry, and a silent run gives up.
!macro StopVantor UN
Function ${UN}StopVantor
    ${IfNot} ${FileExists} "$INSTDIR\vantor.exe"
        Return
    ${EndIf}
    retry:
    ClearErrors
    ExecWait '"$INSTDIR\vantor.exe" /quit' $0
    ${If} ${Errors}
        Return ; the program cannot start here, so no copy of it runs either
    ${EndIf}
    ${If} $0 != 0
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "Vantor is still running.$\n$\nClose it with $\"Close Vantor$\" in its tray menu, then choose Retry." \
            /SD IDCANCEL IDRETRY retry
        Abort "Vantor is still running."
    ${EndIf}
FunctionEnd
!macroend
!insertmacro StopVantor ""
!insertmacro StopVantor "un."

Section "Vantor" SecProgram
    SectionIn RO
    Call StopVantor

    SetOutPath "$INSTDIR"
    File "${VN_WIN64}/vantor.exe"
    File "${VN_WIN64}/vnhook.dll"
    File "${VN_WIN32}/vantor32.exe"
    File "${VN_WIN32}/vnhook32.dll"
!if /FileExists "${VN_WIN64}/help/index.html"
    SetOutPath "$INSTDIR\help"
    File "${VN_WIN64}/help/*.html"
!endif
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; The program records its folder and creates the data folder itself. A data folder the user
    ; already chose is kept.
    ReadRegStr $DataFolder HKCU "${SETTINGS_KEY}" "Data Path"
    ${If} $DataFolder == ""
    ${OrIfNot} ${FileExists} "$DataFolder\*.*"
        StrCpy $DataFolder "$APPDATA\Vantor"
    ${EndIf}
    ClearErrors
    ExecWait '"$INSTDIR\vantor.exe" /install "$DataFolder"' $0
    ${If} ${Errors}
    ${OrIf} $0 != 0
        MessageBox MB_OK|MB_ICONSTOP "Vantor could not record its folders for this user." /SD IDOK
        Abort "Vantor could not record its folders."
    ${EndIf}

    CreateDirectory "${MENU_FOLDER}"
    CreateShortcut "${MENU_FOLDER}\Vantor.lnk" "$INSTDIR\vantor.exe"
    CreateShortcut "${MENU_FOLDER}\Uninstall Vantor.lnk" "$INSTDIR\uninstall.exe"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Vantor"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Orvelle Software"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vantor.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Start with Windows" SecAutostart
    CreateShortcut "$SMSTARTUP\Vantor.lnk" "$INSTDIR\vantor.exe"
SectionEnd

; Installing again without the start with Windows takes away the shortcut of an earlier choice.
Section "-Startup shortcut left out"
    ${IfNot} ${SectionIsSelected} ${SecAutostart}
        Delete "$SMSTARTUP\Vantor.lnk"
    ${EndIf}
SectionEnd

; The library may still be mapped into programs that the hook reached; they let go of it at their
; next message (under Wine only when they end). Deleting is tried for a few seconds; a library still
; held is then moved out of the program folder, which a mapped file allows, into the temporary
; folder, to be deleted at the next restart.
!macro DeleteLibrary PATH
    StrCpy $1 0
    ${Do}
        ClearErrors
        Delete "${PATH}"
        ${IfNot} ${Errors}
            ${Break}
        ${EndIf}
        IntOp $1 $1 + 1
        ${If} $1 >= 10
            GetTempFileName $2
            Delete "$2"
            ClearErrors
            Rename "${PATH}" "$2"
            ${If} ${Errors}
                Delete /REBOOTOK "${PATH}"
            ${Else}
                Delete /REBOOTOK "$2"
            ${EndIf}
            ${Break}
        ${EndIf}
        Sleep 300
    ${Loop}
!macroend

Section "un.Vantor" UnSecProgram
    SectionIn RO
    Call un.StopVantor

    Delete "${MENU_FOLDER}\Vantor.lnk"
    Delete "${MENU_FOLDER}\Uninstall Vantor.lnk"
    RMDir "${MENU_FOLDER}"
    Delete "$SMSTARTUP\Vantor.lnk"

    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    DeleteRegValue HKCU "${SETTINGS_KEY}" "Program Path"
    DeleteRegValue HKCU "${SETTINGS_KEY}" "Data Path"
    DeleteRegKey /ifempty HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "${COMPANY_KEY}"
SectionEnd

; Only the files Vantor keeps there: the folder may be one the user chose for other things too.
Section /o "un.Settings, trained dialogs and file lists" UnSecData
    ${If} $DataFolder != ""
        Delete "$DataFolder\vantor.ini"
        Delete "$DataFolder\vantor.dat"
        Delete "$DataFolder\vantor.dat.tmp"
        Delete "$DataFolder\*.vni"
        RMDir "$DataFolder"
    ${EndIf}
SectionEnd

; The program's files go last, the folder at the very end: its going tells that all is done.
Section "-un.Program files"
    Delete "$INSTDIR\vantor.exe"
    !insertmacro DeleteLibrary "$INSTDIR\vnhook.dll"
    Delete "$INSTDIR\vantor32.exe"
    !insertmacro DeleteLibrary "$INSTDIR\vnhook32.dll"
    Delete "$INSTDIR\help\*.html"
    RMDir "$INSTDIR\help"
    Delete "$INSTDIR\uninstall.exe"
    ; Not recursive: what the user put into the folder stays, and the folder with it.
    RMDir /REBOOTOK "$INSTDIR"
SectionEnd

Function .onInit
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/NOAUTOSTART" $1
    ${IfNot} ${Errors}
        !insertmacro UnselectSection ${SecAutostart}
    ${EndIf}
FunctionEnd

; The data folder is read before the program's section removes the value that names it.
Function un.onInit
    ReadRegStr $DataFolder HKCU "${SETTINGS_KEY}" "Data Path"
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVEDATA" $1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${UnSecData}
    ${EndIf}
FunctionEnd
