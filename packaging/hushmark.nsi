; The Hushmark installer and uninstaller. Built by the hm_setup target (cmake/package.cmake),
; which defines:
;   VERSION, VERSION_MAJOR, VERSION_MINOR   from project(VERSION) in CMakeLists.txt
;   ARCH        x86 or x64
;   STAGE       the staged program folder; FILES_NSH its file lists (cmake/stage.cmake)
;   ICON, LICENSE, OUTFILE
;
; Installs for the current user by default, into the user's own programs folder
; (%LOCALAPPDATA%\Programs\Hushmark): no administrator rights, and the settings and lists that
; the program keeps beside itself stay writable. /ALLUSERS (or the choice on the first page)
; installs for everyone into Program Files.
;
; Command line of the installer:   /S  silent;  /ALLUSERS or /CURRENTUSER;  /D=folder (last)
; Command line of the uninstaller: /S  silent; it then keeps the settings and lists unless
;                                  /REMOVESETTINGS is given too. Without /S it asks.

Unicode true
!if "${ARCH}" == "x64"
  Target amd64-unicode
!else
  Target x86-unicode
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh

!define PRODUCT "Hushmark"
!define PUBLISHER "Hushmark"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Hushmark"
; Where the program's option "start with Windows" puts its value, named PRODUCT (see
; app/options_rules.h): in the machine's key when it may, otherwise in the user's.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SHORTCUT "$SMPROGRAMS\Hushmark.lnk"
; FOLDERID_UserProgramFiles, %LOCALAPPDATA%\Programs
!define FOLDERID_USER_PROGRAM_FILES "{5CD7AEE2-2219-4A67-B85D-6C9CE15660CB}"
; ERROR_ELEVATION_REQUIRED: an all-users job was asked of a process without administrator rights.
!define EXIT_NEEDS_ADMIN 740

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; Every elevation is asked for when it is needed (the all-users choice), never up front.
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma
ShowInstDetails nevershow
ShowUninstDetails nevershow
BrandingText "${PRODUCT} ${VERSION}"
Caption "${PRODUCT} ${VERSION} Setup"
UninstallCaption "${PRODUCT} ${VERSION} Uninstall"

VIProductVersion "${VERSION_MAJOR}.${VERSION_MINOR}.0.0"
VIFileVersion "${VERSION_MAJOR}.${VERSION_MINOR}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup (${ARCH})"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "OriginalFilename" "hushmark-${VERSION}-setup-${ARCH}.exe"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT}"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram

!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
Page custom ModePage ModePageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

!include "${FILES_NSH}"

Var AllUsers          ; 1: for everyone, into Program Files
Var ModeGiven         ; 1: /ALLUSERS or /CURRENTUSER was on the command line
Var DirGiven          ; 1: /D= chose the folder
Var ModeForMe
Var ModeForAll
Var RemoveSettings    ; uninstaller: 1 when /REMOVESETTINGS was given

Function IsAdmin
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    Push 1
  ${Else}
    Push 0
  ${EndIf}
FunctionEnd

; Sets the shell folders, the registry root (SHCTX) and, unless /D= chose it, the folder for
; the mode in $AllUsers. An earlier install of the same mode keeps its folder.
Function ApplyMode
  ${If} $AllUsers == 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  ${If} $DirGiven == 1
    Return
  ${EndIf}
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ${ElseIf} $AllUsers == 1
    !if "${ARCH}" == "x64"
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    !else
      StrCpy $INSTDIR "$PROGRAMFILES\${PRODUCT}"
    !endif
  ${Else}
    GetKnownFolderPath $0 ${FOLDERID_USER_PROGRAM_FILES}
    ${If} $0 == ""
      StrCpy $0 "$LOCALAPPDATA\Programs"
    ${EndIf}
    StrCpy $INSTDIR "$0\${PRODUCT}"
  ${EndIf}
FunctionEnd

; Starts this installer again with administrator rights for an all-users install, or, when
; silent, fails with EXIT_NEEDS_ADMIN. Returns only when this process has the rights.
Function RequireAdminForAllUsers
  ${If} $AllUsers != 1
    Return
  ${EndIf}
  Call IsAdmin
  Pop $0
  ${If} $0 == 1
    Return
  ${EndIf}
  ${If} ${Silent}
    SetErrorLevel ${EXIT_NEEDS_ADMIN}
    Quit
  ${EndIf}
  StrCpy $1 "/ALLUSERS"
  ${If} $DirGiven == 1
    StrCpy $1 "$1 /D=$INSTDIR"
  ${EndIf}
  ExecShell "runas" "$EXEPATH" "$1"
  Quit
FunctionEnd

Function .onInit
  StrCpy $AllUsers 0
  StrCpy $ModeGiven 0
  StrCpy $DirGiven 0
  ; /D= sets $INSTDIR before this function runs; InstallDir is not set, so it is empty otherwise.
  ${If} $INSTDIR != ""
    StrCpy $DirGiven 1
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
    StrCpy $ModeGiven 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/CURRENTUSER" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 0
    StrCpy $ModeGiven 1
  ${EndIf}
  Call ApplyMode
  Call RequireAdminForAllUsers
FunctionEnd

Function ModePage
  ${If} $ModeGiven == 1
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "Install for" "Choose who can use ${PRODUCT} on this computer."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateRadioButton} 0 10u 100% 12u "Only for me (recommended; no administrator rights needed)"
  Pop $ModeForMe
  ${NSD_CreateLabel} 12u 24u 95% 20u "Into your own programs folder. Your settings and lists are kept beside the program."
  Pop $0
  ${NSD_CreateRadioButton} 0 52u 100% 12u "For everyone on this computer (needs administrator rights)"
  Pop $ModeForAll
  ${NSD_CreateLabel} 12u 66u 95% 30u "Into Program Files. Every user may add files to the program's folder, where each keeps their own settings and lists; choose this only where you trust every user of this computer."
  Pop $0
  ${If} $AllUsers == 1
    ${NSD_Check} $ModeForAll
  ${Else}
    ${NSD_Check} $ModeForMe
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ModePageLeave
  ${NSD_GetState} $ModeForAll $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $AllUsers 1
  ${Else}
    StrCpy $AllUsers 0
  ${EndIf}
  Call ApplyMode
  Call RequireAdminForAllUsers
FunctionEnd

Function StartProgram
  Exec '"$INSTDIR\hushmark.exe"'
FunctionEnd

Section "Program"
  !insertmacro HM_INSTALL_FILES
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\hushmark.exe" "" "$INSTDIR\hushmark.exe" 0 \
                 SW_SHOWNORMAL "" "Erase the traces of what you did on this computer"

  ${If} $AllUsers == 1
    ; The program writes its settings and lists beside itself (and the plug-in files'
    ; switches in place). Users may create files and folders in the program folder, and each
    ; may change what they created; the programs themselves stay read-only to them.
    ; S-1-5-32-545 is the Users group, S-1-3-0 the creator owner of a new file.
    nsExec::Exec '"$SYSDIR\icacls.exe" "$INSTDIR" /grant *S-1-5-32-545:(CI)(WD,AD) *S-1-3-0:(OI)(CI)(IO)M'
    Pop $0
    nsExec::Exec '"$SYSDIR\icacls.exe" "$INSTDIR\plus-in\*.hmx" /grant *S-1-5-32-545:M'
    Pop $0
  ${EndIf}

  ; The entry in "Apps & features" (SHCTX: the machine's for everyone, otherwise the user's).
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "VersionMajor" ${VERSION_MAJOR}
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "VersionMinor" ${VERSION_MINOR}
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\hushmark.exe",0'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; --- Uninstaller ---------------------------------------------------------------------------

Function un.onInit
  ${GetParameters} $R0
  StrCpy $RemoveSettings 0
  ClearErrors
  ${GetOptions} $R0 "/REMOVESETTINGS" $R1
  ${IfNot} ${Errors}
    StrCpy $RemoveSettings 1
  ${EndIf}
  ; The machine's entry names this folder: an install for everyone.
  StrCpy $AllUsers 0
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    StrCpy $AllUsers 1
    SetShellVarContext all
    Call un.IsAdmin
    Pop $0
    ${If} $0 != 1
      ${If} ${Silent}
        SetErrorLevel ${EXIT_NEEDS_ADMIN}
        Quit
      ${EndIf}
      ExecShell "runas" "$INSTDIR\uninstall.exe" "$R0"
      Quit
    ${EndIf}
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd

Function un.IsAdmin
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    Push 1
  ${Else}
    Push 0
  ${EndIf}
FunctionEnd

; Removes the value that starts the program with Windows from ROOT, when it starts this copy.
!macro RemoveRunValue ROOT
  ReadRegStr $0 ${ROOT} "${RUN_KEY}" "${PRODUCT}"
  ${If} $0 == '"$INSTDIR\hushmark.exe" min'
    DeleteRegValue ${ROOT} "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}
!macroend

; The user's own files in the program folder: the settings, the custom items list, the two
; keep lists and the search's extension list (with the scratch files their writers replace
; them through), the registry cleaner's backups, plug-in files the user added; and the search
; window's settings in the registry.
Function un.RemoveSettings
  Delete "$INSTDIR\hushsd.dat"
  Delete "$INSTDIR\cusd.dat"
  Delete "$INSTDIR\cusd.dat.*.tmp"
  Delete "$INSTDIR\keepurl.dat"
  Delete "$INSTDIR\keepurl.dat.tmp"
  Delete "$INSTDIR\keepcook.dat"
  Delete "$INSTDIR\keepcook.dat.tmp"
  Delete "$INSTDIR\Ext.txt"
  Delete "$INSTDIR\Ext.txt.*.new"
  RMDir /r "$INSTDIR\Backups"
  RMDir /r "$INSTDIR\plus-in"
  DeleteRegKey HKCU "Software\${PRODUCT}"
FunctionEnd

Section "Uninstall"
  ${If} $RemoveSettings != 1
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
      "Remove your settings and lists too?$\r$\n$\r$\nThey are the ticked items, your custom items, the keep lists, the search's extension list, your own plug-ins and the registry backups in$\r$\n$INSTDIR$\r$\n$\r$\nChoose No to keep them for a later install." \
      /SD IDNO IDNO keep
    StrCpy $RemoveSettings 1
    keep:
  ${EndIf}

  !insertmacro HM_REMOVE_FILES
  Delete "$INSTDIR\uninstall.exe"
  Delete "${SHORTCUT}"
  !insertmacro RemoveRunValue HKCU
  !insertmacro RemoveRunValue HKLM
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ; The user's list of installed programs, when this install made it and left it empty.
  DeleteRegKey /ifempty HKCU "Software\Microsoft\Windows\CurrentVersion\Uninstall"
  ${If} $RemoveSettings == 1
    Call un.RemoveSettings
  ${EndIf}
  ; Stays when it still holds the settings, or anything else that is not ours.
  RMDir "$INSTDIR"
  ; The user's programs folder, when the install made it and nothing else lives there; Windows
  ; makes it again for the next program that asks.
  ${If} $AllUsers != 1
    GetKnownFolderPath $0 ${FOLDERID_USER_PROGRAM_FILES}
    ${If} $0 == ""
      StrCpy $0 "$LOCALAPPDATA\Programs"
    ${EndIf}
    ${If} "$0\${PRODUCT}" == $INSTDIR
      RMDir "$0"
    ${EndIf}
  ${EndIf}
SectionEnd
