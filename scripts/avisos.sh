#!/usr/bin/env bash
# Writes the notices that must travel with a build, taken at build time from
# the files their authors and Debian ship them in, each under a title that
# says what of it the build holds. One copy of each notice is enough.
#   scripts/avisos.sh windows FILE FREEGLUT_DOC    notices for zandrel.exe, with Windows' line ends
#   scripts/avisos.sh web FILE FONT_PROPERTIES     Zandrel's licence, then the page's notices
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
saida=$2

# The first paragraph of a Debian copyright file that matches REGEX, as
# plain text: its fields' continuation lines unindented, " ." blank.
paragrafo() {
    awk -v RS= -v re="$2" '$0 ~ re { gsub(/\n \.\n/, "\n\n"); gsub(/\n /, "\n"); print; achou = 1; exit }
        END { exit !achou }' "$1"
}
# The lines of FILE from the first that matches FROM up to the next that
# matches TO.
trecho() {
    awk -v de="$2" -v ate="$3" 'dentro && $0 ~ ate { exit } $0 ~ de { dentro = 1 } dentro { print; n++ }
        END { exit !n }' "$1"
}
titulo() { printf '\n%s\n%s\n\n' "$1" "$(sed 's/./=/g' <<<"$1")"; }
versao() { dpkg-query -W -f '${Version}' "$1"; }

windows() {
    local doc=$1 mingw=/usr/share/doc/mingw-w64-x86-64-dev/copyright
    echo "zandrel.exe is Zandrel (see LICENSE.txt) linked with parts of the following, whose"
    echo "notices follow."
    titulo "freeglut $(cat "$doc/versao"): the window, the keyboard, the timer and the bitmap font"
    cat "$doc/COPYING"
    titulo "XParseGeometry, from the X Window System, as freeglut carries it"
    trecho "$doc/xparsegeometry_repl.c" '^Copyright .*The Open Group' '^\*/'
    titulo "mingw-w64 $(versao mingw-w64-x86-64-dev): the C runtime (start-up, scanf, printf, sqrt)"
    paragrafo "$mingw" '^Files:[ \n]+\*\n'
    titulo "gdtoa, in mingw-w64's C runtime: the conversion of numbers to and from text"
    paragrafo "$mingw" '^Files: mingw-w64-crt/gdtoa/\*\n'
}

web() {
    local emscripten=/usr/share/doc/emscripten/copyright
    cat "$raiz/LICENSE"
    echo
    echo "The page also holds parts of the following, whose notices follow."
    titulo "Emscripten $(versao emscripten): the page's JavaScript runtime and the WebAssembly's start-up"
    # Debian's fields, as prose: its holders, its grant, then the licence the
    # page takes of the two, its lines joined as its authors wrote them.
    paragrafo "$emscripten" '^Files:[ \n]+\*\n' | awk '/^Copyright:/ { f = "c"; next }
        /^License-Grant:/ { f = "g"; print ""; next } /^[A-Za-z-]+:/ { f = "" }
        f == "c" { $1 = $1; print "Copyright " $0 } f == "g"' | fmt -w 78
    printf '\nOf the two, the page takes the MIT (Expat) licence:\n\n'
    paragrafo "$emscripten" '^License: Expat\n' | sed 1d | fmt -w 78
    titulo "musl, as Emscripten carries it: the C library's exit, errno and stdio"
    trecho /usr/share/emscripten/system/lib/libc/musl/COPYRIGHT '^Copyright' '^-+$'
    titulo "Times 24, from the X11 75-dpi fonts (xfonts-75dpi $(versao xfonts-75dpi)): the glyphs of the game's text"
    fold -s -w 78 "$1"
    echo
    trecho /usr/share/doc/xfonts-75dpi/copyright '^font-adobe-75dpi:' '^[^ ]'
}

case $1 in
windows) windows "$3" | sed 's/$/\r/' >"$saida" ;;
web)
    web "$3" >"$saida"
    # They go inside an HTML comment, which -- could end.
    if grep -q -e -- "$saida"; then echo "zandrel: a notice holds --, which may end the page's comment" >&2; exit 1; fi ;;
esac
