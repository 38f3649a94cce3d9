#!/usr/bin/env bash
# What a viewer of the saver sees: the model below the centre of a black
# screen, moving from one moment to the next.
. "$(dirname "$0")/lib.sh"

reg_quiet_defaults
read -r W H < <(screen_size | tr 'x' ' ')
# Where the camera puts the model: 4.8 px per scene unit at 768 lines, the
# pivot 20 units below the centre; the model with its bob reaches about 80
# units above the pivot, 37 below, 38 to either side. (The trail may reach
# higher when frames come slowly, so only the sides are required to be black.)
scale=$((H * 10 / 160))   # tenths of a pixel per unit
cx=$((W / 2)); cy=$((H / 2))
top=$((cy - (58 * scale) / 10 - 20)); bottom=$((cy + (57 * scale) / 10 + 20))
half=$(((40 * scale) / 10 + 20))
model_box="$((2 * half))x$((bottom - top))+$((cx - half))+$top"
left_band="$((cx - half - 20))x${H}+0+0"
note "model box $model_box"

xdotool mousemove $((W - 5)) 5
start_saver pid /s
check "the saver starts" wait_for_saver_window 30
sleep 2
screenshot "$WORK/a.png"
sleep 0.5
screenshot "$WORK/b.png"
mkdir -p "${FERRO_ARTIFACTS:-$WORK}" && cp "$WORK/a.png" "${FERRO_ARTIFACTS:-$WORK}/saver-e2e.png"

lit_fraction() {  # fraction of pixels brighter than near-black in a region
  convert "$1" -crop "$2" +repage -colorspace Gray -threshold 6% -format '%[fx:mean]' info:
}
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

for shot in a b; do
  lit=$(lit_fraction "$WORK/$shot.png" "$model_box")
  note "shot $shot: lit fraction in the model box $lit"
  check "shot $shot: the model shows in its box" above "$lit" 0.03
  check "shot $shot: black beside the model" test "$(lit_fraction "$WORK/$shot.png" "$left_band")" = 0
done
diff=$(compare -metric AE "$WORK/a.png" "$WORK/b.png" /dev/null 2>&1)
note "pixels that changed in 0.5 s: $diff"
check "the picture moves" above "${diff%% *}" 500

xdotool key space
check "a key ends the saver" wait_for_exit "$pid" 10
finish
