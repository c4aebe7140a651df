# The playing frame at start, probed where each element of the picture lies.
source "$(dirname "$0")/../scripts/xvfb.sh"
tela
jogo "$@"
foto inicio
confere inicio <<'EOF_'
lower-edge          10    1     255,255,255
upper-edge          20    7     255,255,255
dash-at-y3          4     3     255,255,255
gap-at-y3           8     3     0,0,0
last-dash-at-y3     28.5  3     255,255,255
dash-at-y5          12    5     255,255,255
gap-at-y5           24    5     0,0,0
lower-verge         20    0.4   0,12[78],0
upper-verge         20    7.6   0,12[78],0
strip-above-verge   20    0.9   0,0,0
strip-below-verge   20    7.1   0,0,0
frog-body           15    1     0,255,0
frog-left-eye       14.8  1.2   255,255,0
frog-right-eye      15.2  1.2   255,255,0
building            3.5   8.5   255,255,255
below-roof          3.5   9.9   255,255,255
window-1-sill       2.5   9.3   0,0,0
window-1-glass      2.5   9.55  255,255,255
window-2-side       4     9.55  0,0,0
window-2-glass      4.5   9.55  255,255,255
above-roof          3.5   10.3  0,0,0
left-of-road        0.5   0.4   0,0,0
left-of-edge        0.5   1     0,0,0
right-of-road       29.5  7     0,0,0
right-of-verge      29.5  0.4   0,0,0
EOF_

# The truck, sampled as it drives: yellow-green only ever in its lane.
vistas=0 lugares=""
for i in $(seq 12); do
    foto "carro$i"
    read -r n x0 _ y0 y1 < <(acha "carro$i" '12[78],255,0')
    [ "$n" -eq 0 ] && continue
    awk -v a="$y0" -v b="$y1" 'BEGIN { exit !(a >= 3.45 && b <= 4.55) }' ||
        falha "truck colour outside its lane: y $y0 to $y1"
    vistas=$((vistas + 1)) lugares+="$x0 "
    sleep 0.05
done
[ "$vistas" -ge 3 ] || falha "the truck was seen in $vistas of 12 screenshots"
[ "$(tr ' ' '\n' <<<"$lugares" | sort -u | grep -c .)" -ge 2 ] || falha "the truck did not move: $lugares"
esc
calado
