; Scopella's Windows installer: a per-user install (no administrator rights)
; into the user's own programs folder, a Start-menu shortcut and an
; uninstaller. scripts/package.sh builds it for each architecture:
;   makensis -DVERSION=1.8 -DARCH=x64|x86 -DSTAGE=<folder with the files> -DOUTFILE=<installer> scopella.nsi
Unicode true
!if "${ARCH}" == "x64"
    Target amd64-unicode
!endif
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Scopella"

Name "Scopella ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Scopella"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
LicenseData "${STAGE}\LICENSE.txt"

VIProductVersion "${VERSION}.0.0"
VIFileVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "Scopella"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Scopella ${VERSION} setup (${ARCH})"
VIAddVersionKey "CompanyName" "Brindle"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 Brindle; MIT licence"

Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Scopella"
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "${STAGE}\scopella.exe"
!if /FileExists "${STAGE}\PANX.dll"
    File "${STAGE}\PANX.dll"
!endif
    File "${STAGE}\README.txt"
    File "${STAGE}\LICENSE.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateDirectory "$SMPROGRAMS\Scopella"
    CreateShortcut "$SMPROGRAMS\Scopella\Scopella.lnk" "$INSTDIR\scopella.exe"
    CreateShortcut "$SMPROGRAMS\Scopella\Uninstall Scopella.lnk" "$INSTDIR\uninstall.exe"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Scopella"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Brindle"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\scopella.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    Delete "$INSTDIR\scopella.exe"
    Delete "$INSTDIR\PANX.dll"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Scopella\Scopella.lnk"
    Delete "$SMPROGRAMS\Scopella\Uninstall Scopella.lnk"
    RMDir "$SMPROGRAMS\Scopella"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
