# Every file the project hands out may be passed on: the source is
# REUSE-compliant as its tarball holds it, and each build carries the notice
# of everything its link took in. What that is comes from the linker itself,
# the page's --trace and the Windows program's map, both left beside them; an
# object this table does not place fails, as does a notice missing from a
# file that ships it.
#   licencas.sh [index.html] [zandrel-VERSION-windows-x64.zip]
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
pasta=$(mktemp -d)
trap 'rm -rf "$pasta"' EXIT
erros=0
falha() { echo "FAIL: $*" >&2; erros=1; }

mkdir "$pasta/fonte"
(cd "$raiz" && scripts/arquivos.sh | tar -cf - --null -T -) | tar -xf - -C "$pasta/fonte"
reuse --root "$pasta/fonte" lint >"$pasta/reuse" 2>&1 || { cat "$pasta/reuse"; falha "reuse lint on the source"; }

# Where an object comes from (the first pattern that matches its path or
# archive member), and the notices it then needs; "-" for GCC's runtime, whose
# licence's exception asks for none.
origens=$(cat <<'EOF_'
^CMakeFiles/zandrel\.dir/|(^|/)libzandrel_jogo\.a\(|/libzandrel_web\.a\((Imediato|Saida)  zandrel
/libzandrel_web\.a\(Fonte                                                 zandrel times
^emscripten-js$                                                           emscripten
/wasm32-emscripten/libc\.a\(                                              emscripten musl
/wasm32-emscripten/lib(compiler_rt|dlmalloc)\.a\(                         emscripten
/libglut\.a\(xparsegeometry_repl\.                                        freeglut opengroup
/libglut\.a\(                                                             freeglut
/libmingwex\.a\([^)]*-(qnan|strtodnrp)\.o\)                               mingw gay
/libmingwex\.a\([^)]*-(dmisc|dtoa|g__fmt|g_[dfx]fmt|gdtoa|gethex|gmisc|hd_init|hexnan|misc|smisc|strto(d|dg|f|px)|sum|ulp|mingw_pformat)\.o\)  mingw lucent
/x86_64-w64-mingw32/lib/(crt2\.o$|lib(mingw32|mingwex|moldname|msvcrt)\.a\()  mingw
/x86_64-w64-mingw32/lib/lib(advapi32|comdlg32|gdi32|glu32|kernel32|ole32|oleaut32|opengl32|shell32|user32|uuid|winmm|winspool)\.a\(  mingw
/gcc/x86_64-w64-mingw32/[^/]+/(crtbegin\.o|crtend\.o|lib(gcc|gcc_eh|stdc\+\+)\.a\()  -
EOF_
)
# Each notice by a line of it that names its holder.
declare -A frase=(
    [zandrel]="The Zandrel developers" [times]="(c) 1988, 1991 Digital Equipment Corporation"
    [emscripten]="The Emscripten Authors" [musl]="Rich Felker, et al."
    [freeglut]="Copyright (c) 1999-2000 Pawel W. Olszta" [opengroup]="Copyright 1985, 1986, 1987,1998 The Open Group"
    [mingw]="2009-2016 the mingw-w64 project" [lucent]="1997-2001 Lucent Technologies" [gay]="David M. Gay"
)

# confere BUILD FILE...: the objects of BUILD's link, one a line on stdin,
# against the notices each FILE (which ships it) holds.
confere() {
    local build=$1 objeto padrao avisos achou a f texto
    shift
    declare -A precisa=()
    while read -r objeto; do
        achou=
        while read -r padrao avisos; do
            if [[ $objeto =~ $padrao ]]; then achou=$avisos; break; fi
        done <<<"$origens"
        [ -n "$achou" ] || falha "$build links $objeto, whose licence this test does not know"
        for a in $achou; do precisa[$a]=1; done
    done
    unset 'precisa[-]'
    echo "$build needs the notices of: ${!precisa[*]}"
    for f in "$@"; do
        texto=$(tr -s ' \r\n' ' ' <"$f")
        for a in "${!precisa[@]}"; do
            [[ $texto == *"${frase[$a]}"* ]] || falha "${f#"$pasta"/} lacks $a's notice: ${frase[$a]}"
        done
    done
}

for entregue in "$@"; do
    entregue=$(realpath "$entregue")
    pasta_build=$(dirname "$entregue")
    case $entregue in
    *.html) # Emscripten's JavaScript runtime is in every page, and in no link.
        confere page "$entregue" "$pasta_build"/app/{index.html,LICENSE.txt} \
            < <(echo emscripten-js; cat "$pasta_build/zandrel.trace") ;;
    *.zip)
        (cd "$pasta" && cmake -E tar xf "$entregue")
        cat "$pasta"/{LICENSE,THIRD-PARTY-NOTICES}.txt >"$pasta/${entregue##*/}"
        confere zandrel.exe "$pasta/${entregue##*/}" < <(awk '/^Archive member included/ { a = 1; next }
            /^(Discarded input sections|Memory Configuration)/ { a = 0 }
            a && /^[^ ]/ { print $1 } /^LOAD .*\.o$/ { print $2 }' "$pasta_build/zandrel.map") ;;
    esac
done
exit "$erros"
