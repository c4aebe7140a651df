# Runs the game on a private X server and looks at what it shows. Sourced by
# the end-to-end tests, `make screenshots` and the benchmark.
set -euo pipefail
export LIBGL_ALWAYS_SOFTWARE=1 # Mesa's software GL (llvmpipe): there is no GPU here
AQUI=$(mktemp -d)
PIDS=()
# A test may redefine ao_fim to tidy up more when it ends.
ao_fim() { :; }
trap 'kill "${PIDS[@]}" 2>/dev/null || true; ao_fim || true; rm -rf "$AQUI"' EXIT

falha() { echo "FAIL: $*" >&2; exit 1; }

# A private Xvfb on a display number it picks itself, so tests can run side by side.
tela() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$AQUI/tela" 2>"$AQUI/xvfb.log" &
    PIDS+=($!)
    for _ in $(seq 200); do [ -s "$AQUI/tela" ] && break; sleep 0.05; done
    [ -s "$AQUI/tela" ] || falha "Xvfb did not start: $(cat "$AQUI/xvfb.log")"
    export DISPLAY=":$(cat "$AQUI/tela")"
}

# Starts the game (the command given) and waits for its window and its first
# frame: JOGO is the process, JANELA the window; what it prints goes to
# $AQUI/saida. Now and then a launch shows no window, for reasons not found:
# that one is tried again, once, and said so.
jogo() {
    local vez
    for vez in 1 2; do
        "$@" >"$AQUI/saida" 2>&1 &
        JOGO=$!
        PIDS+=("$JOGO")
        JANELA=$(timeout 10 xdotool search --sync --onlyvisible --name '^Zandrel$' | head -n 1) && break
        [ "$vez" = 1 ] || falha "no window, twice"
        echo "no window in 10 s: starting the game once more ($*)"
        kill "$JOGO" 2>/dev/null || true
    done
    xdotool windowfocus --sync "$JANELA"
    # Its window is black until the first frame reaches it, which under
    # emulation takes seconds.
    local fim=$((SECONDS + 20)) claro
    until claro=$(import -window "$JANELA" -format '%[fx:maxima]' info:) && [ "$claro" != 0 ]; do
        [ -n "${claro:-}" ] || falha "no screenshot of the game's window"
        [ "$SECONDS" -lt "$fim" ] || falha "the game's window stayed black for 20 s: no first frame"
        sleep 0.1
    done
}

vivo() { kill -0 "$JOGO" 2>/dev/null; }

# Real key presses: XTest's to the focused game window, or once a page is
# open, the browser's to the page; with GESTOS set, the same keys by touch;
# with PAD set (cruz or alavanca), by pad 0's d-pad or stick and buttons, each
# held long enough for a page that looks once a frame.
teclas() {
    if [ -n "${GESTOS:-}" ]; then
        navega dedos "${ATRASO:-20}" "$@"
    elif [ -n "${PAD:-}" ]; then
        navega pad 0 100 "${@/#/$PAD:}"
    elif [ -n "${PAGINA_PID:-}" ]; then
        navega teclas "${ATRASO:-20}" "$@"
    else
        xdotool key --delay "${ATRASO:-20}" "$@"
    fi
}

# Opens the page (a URL) in headless Chromium and waits for its first frame,
# whose time RESPOSTA gives; from then on teclas and foto play the page instead
# of the window, and navega talks to the browser's driver.
pagina() {
    navega abre "$1"
    quadro
}

# Waits for the open page's first frame, whose time RESPOSTA gives.
quadro() {
    ate "!!(window.Module && Module.primeiro)"
    navega js Module.primeiro
}

# Waits until a JavaScript expression on the open page holds, 10 s at most.
ate() {
    for _ in $(seq 100); do
        navega js "$1"
        [ "$RESPOSTA" != true ] || return 0
        sleep 0.1
    done
    falha "not so in 10 s: $1"
}

# Fails if the page logged an error or a warning; $1 says when.
limpo() { navega consola; [ -z "$RESPOSTA" ] || falha "the console, $1: $RESPOSTA"; }

# Serves a folder on localhost at URL, with no HTTP caching, on PORTA: a free
# port the first time, then the same one. Killing SERVIDOR closes every
# connection the browser holds.
serve() {
    /usr/bin/python3 -u -c '
import functools, http.server, sys
class Sem(http.server.SimpleHTTPRequestHandler):
    def end_headers(self):
        self.send_header("Cache-Control", "no-store")
        super().end_headers()
    def log_message(self, *_): pass
s = http.server.ThreadingHTTPServer(("127.0.0.1", int(sys.argv[2])), functools.partial(Sem, directory=sys.argv[1]))
print(s.server_address[1], flush=True)
s.serve_forever()' "$1" "${PORTA:-0}" >"$AQUI/porta" 2>&1 &
    SERVIDOR=$!
    PIDS+=($!)
    timeout 5 bash -c "until [ -s '$AQUI/porta' ]; do sleep 0.05; done" || falha "no web server"
    PORTA=$(cat "$AQUI/porta")
    URL="http://127.0.0.1:$PORTA/"
}

# One command to the page's driver (see navegador.py), started on the first;
# its answer in RESPOSTA.
navega() {
    local estado
    if [ -z "${PAGINA_PID:-}" ]; then
        coproc PAGINA { exec /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/navegador.py" 2>"$AQUI/navegador.log"; }
        PIDS+=("$PAGINA_PID")
    fi
    echo "$*" >&"${PAGINA[1]}"
    read -r estado RESPOSTA <&"${PAGINA[0]}" || falha "the browser's driver died: $(tail -n 3 "$AQUI/navegador.log")"
    [ "$estado" = ok ] || falha "the browser's driver: $RESPOSTA"
}

# The walk that builds are compared by (see percurso), played on a build: the
# command given, ended with Esc.
#   percorre NOME COMMAND...
percorre() {
    jogo "${@:2}"
    percurso "$1"
    esc
}

# Ends the game with Esc, which must end it at once with status 0.
esc() {
    teclas Escape
    timeout 5 tail --pid="$JOGO" -f /dev/null || falha "Esc did not end the game"
    local estado=0
    wait "$JOGO" || estado=$?
    [ "$estado" -eq 0 ] || falha "Esc ended the game with status $estado"
}

# Screenshot of the window, or of the page's canvas, as a raw PPM for probing
# pixels.
foto() {
    if [ -n "${PAGINA_PID:-}" ]; then
        navega foto "$AQUI/$1.png"
        convert "$AQUI/$1.png" -depth 8 "ppm:$AQUI/$1.ppm"
    else
        import -window "$JANELA" -depth 8 "ppm:$AQUI/$1.ppm"
    fi
}

# A screenshot's width, height and header length, into the caller's w, h and
# cabeca (bash's locals are seen by the routines a function calls).
medidas() {
    read -r w h < <(sed -n 2p "$AQUI/$1.ppm")
    cabeca=$(head -n 3 "$AQUI/$1.ppm" | wc -c)
}

# The colour "r,g,b" of a screenshot at a point of the world frame (30 x 15),
# on the window's current size.
cor() {
    local f="$AQUI/$1.ppm" w h cabeca px py
    medidas "$1"
    px=$(awk -v x="$2" -v w="$w" 'BEGIN { printf "%d", x * w / 30 }')
    py=$(awk -v y="$3" -v h="$h" 'BEGIN { printf "%d", (15 - y) * h / 15 }')
    od -An -tu1 -j $((cabeca + (py * w + px) * 3)) -N 3 "$f" | awk '{ print $1 "," $2 "," $3 }'
}

# Table-driven probes: each line "what x y colour-pattern" on standard input.
confere() {
    local nome x y esperado c erros=0
    while read -r nome x y esperado; do
        [ -n "$nome" ] || continue
        c=$(cor "$1" "$x" "$y")
        [[ $c =~ ^($esperado)$ ]] || { echo "FAIL: $1: $nome at ($x, $y) is $c, not $esperado" >&2; erros=1; }
    done
    return "$erros"
}

# Where a colour is in a screenshot: "count xmin xmax ymin ymax", the box
# round every pixel whose "r,g,b" matches the pattern, in world units.
acha() {
    local f="$AQUI/$1.ppm" w h cabeca
    medidas "$1"
    tail -c +$((cabeca + 1)) "$f" | od -An -v -tu1 -w$((w * 3)) | awk -v w="$w" -v h="$h" -v re="^($2)$" '
        { for (i = 1; i <= NF; i += 3) if (($i "," $(i + 1) "," $(i + 2)) ~ re) {
              x = (i - 1) / 3
              if (n++ == 0) { x0 = x1 = x; r0 = NR }
              if (x < x0) x0 = x
              if (x > x1) x1 = x
              r1 = NR } }
        END { printf "%d %.2f %.2f %.2f %.2f\n", n, x0 * 30 / w, (x1 + 1) * 30 / w, 15 - r1 * 15 / h, 15 - (r0 - 1) * 15 / h }'
}

# Screenshots NOME until the whole truck is in sight; CAMINHAO is then its
# left end, in world units.
caminhao() {
    local n=0
    for _ in $(seq 50); do
        foto "$1"
        read -r n CAMINHAO _ < <(acha "$1" '12[78],255,0')
        [ "$n" -gt 500 ] && return 0
    done
    falha "the whole truck was not seen in 50 screenshots"
}

# Six steps up cross the road, unless the truck meets the frog in its lane and
# sends it back; then walk back down and try again. The victory frame has no
# verge, which tells the two apart.
atravessa() {
    for tentativa in $(seq 10); do
        ATRASO=5 teclas Up Up Up Up Up Up
        sleep 0.3
        foto fim
        [ "$(cor fim 20 0.4)" != 0,0,0 ] || return 0
        echo "try $tentativa: the truck sent the frog back; again from the start row"
        teclas Down Down Down Down Down Down
    done
    falha "the frog did not get across in 10 tries"
}

# The pictures that builds are compared by: the start frame, the building at
# three floors with the frog two steps left, then at two, and the victory
# frame: NOME-inicio, NOME-alto, NOME-baixo and NOME-fim.
percurso() {
    foto "$1-inicio"
    teclas Left Left w w
    sleep 0.3
    foto "$1-alto"
    teclas s
    sleep 0.3
    foto "$1-baixo"
    atravessa
    mv "$AQUI/fim.ppm" "$AQUI/$1-fim.ppm"
}

# Fails unless two pictures differ by at most LIMITE in any colour channel,
# with the truck's lane masked: it is never caught in the same place. OUTRA
# may come from a screen K times as dense, K times FOTO's size: then each of
# its K x K blocks that is of one colour must be FOTO's pixel there, and no
# pixel of it a colour FOTO lacks, as smoothing makes at an edge.
#   igual FOTO OUTRA LIMITE
igual() {
    local w h cabeca k d
    medidas "$1"
    k=$w
    medidas "$2"
    k=$((w / k))
    local faixa=(-fill black -draw "rectangle 0,$((h * 363 / 530)) $w,$((h * 414 / 530))")
    local maximo=(-compose difference -composite -separate -evaluate-sequence max)
    d=$(convert "$AQUI/$2.ppm" \( "$AQUI/$1.ppm" -sample "${w}x$h!" \) "${faixa[@]}" "${maximo[@]}" \
        -threshold "$(awk -v l="$3" 'BEGIN { print (l + 0.5) * 100 / 255 }')%" \
        \( "$AQUI/$2.ppm" \( +clone -scale "$((w / k))x$((h / k))!" -sample "${w}x$h!" \) \
        "${maximo[@]}" -threshold 0 -negate \) -compose multiply -composite -format '%[fx:round(mean*w*h)]' info:)
    [ "$d" -eq 0 ] || falha "the $2 picture differs from $1 by more than $3 in a channel, in $d pixels"
    [ "$k" -eq 1 ] || d=$(convert "$AQUI/$2.ppm" \( +clone -dither None -remap "$AQUI/$1.ppm" \) "${maximo[@]}" \
        -format '%[fx:round(255*maxima)]' info:)
    [ "$d" -le "$3" ] || falha "the $2 picture has colours that $1 does not, off by up to $d"
}

# The same for each of two percursos' pictures.
#   iguais NOME OUTRO LIMITE
iguais() {
    local f
    for f in inicio alto baixo fim; do igual "$1-$f" "$2-$f" "$3"; done
}

# Fails unless the game printed nothing.
calado() { [ ! -s "$AQUI/saida" ] || falha "the game printed: $(head -c 2000 "$AQUI/saida")"; }
