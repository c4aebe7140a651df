# The Windows build under Wine. The program from the zip shows the desktop
# game's pictures pixel for pixel and plays from real keys; it is a program
# without a console that needs only Windows' own DLLs and carries its icon,
# version and manifest; its installer installs it for the machine, and its
# uninstaller leaves nothing behind.
#   windows.sh GAME ZIP INSTALLER
source "$(dirname "$0")/../scripts/xvfb.sh"
versao=$(basename "$2" | sed -n 's/^zandrel-\(.*\)-windows-x64\.zip$/\1/p')
(cd "$AQUI" && cmake -E tar xf "$2")
for t in LICENSE.txt THIRD-PARTY-NOTICES.txt README.txt; do
    [ -s "$AQUI/$t" ] && ! grep -qv $'\r$' "$AQUI/$t" || falha "the zip's $t is missing or has lines without CRLF"
done
exe=$AQUI/zandrel.exe
cabecalho=$(x86_64-w64-mingw32-objdump -p "$exe")
! sed -n 's/^\tDLL Name: //p' <<<"$cabecalho" | grep -viE '^(advapi32|gdi32|glu32|kernel32|msvcrt|opengl32|user32|winmm)\.dll$' ||
    falha "the program needs DLLs that are not Windows' own"
wrestool -x -t14 -o "$AQUI/icone.ico" "$exe"
icones=$(icotool -l "$AQUI/icone.ico")
versoes=$(wrestool -x --raw -t16 "$exe" | strings -el -n 3 | paste -sd '|')
manifesto=$(wrestool -x --raw -t24 -n1 "$exe" | tr -s ' \n' ' ')

# A fresh Windows of its own, in the build folder, gone when the test ends.
WINEPREFIX=$(mktemp -d -p "$PWD" wine.XXXXXX)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
ao_fim() { wineserver -k; wineserver -w; rm -rf "$WINEPREFIX"; }
tela
wineboot -i
wineserver -w

# freeglut reads DISPLAY, which Wine hands on from this side, for a Windows
# display name and warns that it is none: so no check that the game is silent.
percorre linux "$1"
percorre windows wine "$exe"
iguais linux windows 0

wine "$3" /S
pasta="$WINEPREFIX/drive_c/Program Files/Zandrel"
atalho="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zandrel.lnk"
instalados=("$pasta"/{zandrel.exe,LICENSE.txt,THIRD-PARTY-NOTICES.txt,README.txt,uninstall.exe} "$atalho")
for f in "${instalados[@]}"; do [ -f "$f" ] || falha "the installer left no $f"; done
chave='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zandrel'
registro=$(wine reg query "$chave" /reg:64 | tr -d '\r')
jogo wine start /wait /unix "$atalho"
esc

while read -r fonte padrao; do
    grep -Eq -- "$padrao" <<<"${!fonte}" || falha "no '$padrao' in the $fonte"
done <<EOF_
cabecalho  Subsystem.*\(Windows GUI\)
icones     --width=16 --height=16
icones     --width=32 --height=32
icones     --width=48 --height=48
icones     --width=256 --height=256
versoes    \|ProductName\|Zandrel\|
versoes    \|ProductVersion\|$versao\|
versoes    \|LegalCopyright\|Copyright \(c\) [0-9]+ The Zandrel developers\|
manifesto  <requestedExecutionLevel level="asInvoker"
manifesto  <dpiAware [^>]*>false</dpiAware>
manifesto  (<supportedOS Id="\{(35138b9a|4a2f28e3|1f676c76|8e0f7a12)-[-0-9a-f]+\}"/> ){4}
registro   DisplayName +REG_SZ +Zandrel$
registro   DisplayVersion +REG_SZ +$versao$
registro   Publisher +REG_SZ +The Zandrel developers$
registro   DisplayIcon +REG_SZ +C:\\\\Program Files\\\\Zandrel\\\\zandrel.exe$
registro   UninstallString +REG_SZ +"C:\\\\Program Files\\\\Zandrel\\\\uninstall.exe"$
registro   QuietUninstallString +REG_SZ +"C:\\\\Program Files\\\\Zandrel\\\\uninstall.exe" /S$
EOF_

# The uninstaller runs from a copy of itself, which wineserver -w outlives.
wine "$pasta/uninstall.exe" /S
wineserver -w
for f in "${instalados[@]}" "$pasta"; do [ ! -e "$f" ] || falha "$f is still there after the uninstall"; done
! wine reg query "$chave" /reg:64 >/dev/null 2>&1 || falha "the uninstaller left $chave"
