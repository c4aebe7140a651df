# With no display the toolkit says so and the game ends at once, non-zero.
source "$(dirname "$0")/../scripts/xvfb.sh"
unset DISPLAY
estado=0
SECONDS=0
timeout 20 "$1" >"$AQUI/saida" 2>&1 || estado=$?
[ "$estado" -ne 0 ] || falha "exited with 0 without a display"
[ "$estado" -ne 124 ] || falha "hung without a display"
[ "$SECONDS" -le 5 ] || falha "took $SECONDS s to give up"
grep -q "failed to open display" "$AQUI/saida" || falha "no word from the toolkit: $(cat "$AQUI/saida")"
