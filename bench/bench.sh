#!/usr/bin/env bash
# Runs the game, its back-to-back build and the anchor one after the other,
# each on a private Xvfb with Mesa's software GL, drives them with xdotool,
# and prints one table. A benchmark, not a test: it asserts nothing.
#   bench/bench.sh GAME BACK-TO-BACK ANCHOR PROBE.so
source "$(dirname "$0")/../scripts/xvfb.sh"
sonda=$(realpath "$4")
JOGAR=${JOGAR:-10}  # seconds of each playing phase
GANHO=${GANHO:-5}   # seconds measured after the victory

mede() {
    local nome=$1 programa=$2 ganha=$3
    export ZANDREL_SONDA_SAIDA="$AQUI/$nome.linha"
    tela
    ZANDREL_SONDA_INICIO=$EPOCHREALTIME jogo env LD_PRELOAD="$sonda" "$programa"
    sleep 1
    # Playing, first untouched, then with the frog stepping left and right
    # along the start row, out of the truck's way: each step a key-to-screen
    # sample.
    teclas F12
    sleep "$JOGAR"
    teclas F12
    local fim=$((SECONDS + JOGAR)) lado=Left
    while [ "$SECONDS" -lt "$fim" ]; do
        teclas "$lado"
        [ "$lado" = Left ] && lado=Right || lado=Left
        sleep 0.09
    done
    teclas F12
    if [ "$ganha" = sim ]; then
        atravessa
        teclas F12
        sleep "$GANHO"
        teclas F12
    fi
    esc
    kill "${PIDS[0]}"
    PIDS=()
    echo "| $nome $(cat "$ZANDREL_SONDA_SAIDA")"
}

echo "| variant | frames/s playing | CPU % playing | CPU ms per frame | CPU % won | truck period mean / max | frames per truck position (min) | key-to-screen median / max | start-up to first frame | peak RSS |"
echo "|---|---|---|---|---|---|---|---|---|---|"
mede game "$1" sim
mede unpaced "$2" sim
mede anchor "$3" nao
