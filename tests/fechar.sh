# Closing the window from a real window manager ends the game, with status 0.
source "$(dirname "$0")/../scripts/xvfb.sh"
tela
openbox --sm-disable >"$AQUI/openbox.log" 2>&1 &
PIDS+=($!)
timeout 10 bash -c 'until wmctrl -m >/dev/null 2>&1; do sleep 0.1; done' || falha "openbox did not start"
jogo "$@"
wmctrl -c Zandrel
timeout 2 tail --pid="$JOGO" -f /dev/null || falha "the game still runs 2 s after the window manager closed it"
estado=0
wait "$JOGO" || estado=$?
[ "$estado" -eq 0 ] || falha "closed by the window manager, the game ended with status $estado"
calado
