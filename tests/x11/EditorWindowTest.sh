#!/usr/bin/env bash
# The Linux module's editor in a host's X11 window, as a user meets it: tgeditorhost opens
# it in a window at the screen's top-left corner, xdotool moves, clicks and types, and
# screenshots are compared with the editor drawn off-screen by tgsnapshot.
#
#   (a) the synthesizer page on the screen matches its off-screen snapshot;
#   (b) a drag on the "Volume" knob (parameter 138) changes it, and the host saw begin
#       edit, automate and end edit for it;
#   (b2) a mouse stroke over the distortion curve editor redraws it and changes the
#       curve the program's state holds;
#   (c) a click on the scope tab shows the scope page;
#   (d) a right click on the program name box opens the text field, and a typed name
#       with Enter renames the current program;
#   (e) closing and reopening keeps the values and the page shown, and leaves neither a
#       child window nor a display connection behind.
#
# Where the knob and the program name box lie comes from tgsnapshot --list-controls.
#
# Usage: EditorWindowTest.sh TGEDITORHOST MODULE TGSNAPSHOT WORKDIR  (under an X display)
set -euo pipefail
host_exe=$1 module=$2 snapshot=$3 work=$4
mkdir -p "$work"
cd "$work"
rm -f ./*.png ./*.txt host.err

fail() {
  echo "FAIL: $*"
  [ -s host.err ] && sed 's/^/  host: /' host.err
  exit 1
}

coproc HOST { exec "$host_exe" "$module" 2>host.err; }
host_pid=$HOST_PID
trap 'kill "$host_pid" 2>/dev/null || true' EXIT

# One command to the host and its one-line answer, in $reply.
ask() {
  echo "$1" >&"${HOST[1]}"
  IFS= read -r -t 20 reply <&"${HOST[0]}" || fail "no answer from the host to '$1'"
}
shot() { import -window root -crop 1220x835+0+0 +repage "$1"; }
descriptors() { ls /proc/"$host_pid"/fd | wc -l; }

# Polls (up to about 3 s) until the host window has the given number of children.
wait_children() {
  for _ in $(seq 1 150); do
    ask children
    [ "$reply" = "children $1" ] && return 0
    ask "wait 20"
  done
  fail "the host window has '${reply#children }' children, not $1"
}

# The share (in %) of all pixels that differ by more than 24 between two screenshots.
shot_share() {
  compare -metric AE -fuzz 9.5% "$1" "$2" null: 2>&1 | awk '{ printf "%.3f", 100 * $1 / (1220 * 835) }'
}

# Polls (up to about 3 s) until the screen matches the off-screen snapshot of a page.
# Prints the comparison's figures.
match_page() {
  local page=$1 out=$2
  local figure=""
  for _ in $(seq 1 30); do
    shot "$out"
    if figure=$("$snapshot" --page "$page" -o "drawn-$page.png" --compare "$out" \
                --threshold 24 --tolerance 0.02 | tail -1); then
      echo "  $page page: $figure"
      return 0
    fi
    ask "wait 100"
  done
  fail "the $page page on the screen does not match its snapshot ($figure)"
}

# Where a control of the editor lies: "cx cy" of the first visible control on the page
# with the parameter (or the class, when the parameter is -).
control_centre() {
  awk -v p="$1" -v c="$2" -v pg="$3" \
    '($2 == p || (p == "-" && $9 == c)) && ($7 == pg || $7 == -1) && $8 == 0 {
       printf "%d %d", ($3 + $5) / 2, ($4 + $6) / 2; exit }' controls.txt
}

"$snapshot" --list-controls >controls.txt || fail "tgsnapshot cannot list the editor's controls"

baseline=$(descriptors)
ask open
[ "$reply" = "open 1" ] || fail "the editor did not open: $reply"
wait_children 1

echo "(a) the synthesizer page"
match_page synth synth.png

echo "(b) a drag on the Volume knob"
knob=$(control_centre 138 - 0)
[ -n "$knob" ] || fail "no knob for parameter 138 on the synthesizer page"
read -r kx ky <<<"$knob"
ask "param 138"
before=$reply
ask automation
xdotool mousemove "$kx" "$ky" mousedown 1
for dy in 5 10 15 20 25 30; do xdotool mousemove "$kx" $((ky - dy)); ask "wait 20"; done
xdotool mouseup 1
# The release is handled within a few idle calls: poll until the host saw end edit.
seen=""
for _ in $(seq 1 50); do
  ask automation
  [ -n "${reply#automation}" ] && seen="$seen${seen:+;}${reply#automation}"
  case "$seen" in *" end 138") break ;; esac
  ask "wait 20"
done
ask "param 138"
after=$reply
[ "$after" != "$before" ] || fail "the drag left parameter 138 at ${before#param 138 }"
reply="automation$seen"
echo "  $before -> $after"
echo "  host saw:$(echo "${reply#automation}" | cut -c1-300)"
echo "$reply" | grep -Eq '^automation begin 138;( automate 138 [0-9.]+;)+ end 138$' ||
  fail "the host did not see begin / automate / end edit for 138: $reply"

echo "(b2) a stroke on the curve editor"
# The editor's square (837, 391)-(965, 519): a falling line drawn left to right.
ask state
stateBefore=$reply
shot curve-before.png
xdotool mousemove 845 420 mousedown 1
for x in $(seq 846 2 956); do
  xdotool mousemove "$x" $((420 + (x - 845) / 2)); ask "wait 20"
done
xdotool mouseup 1
for _ in $(seq 1 50); do
  # The audio runs (effMainsChanged on): the block takes the drawing.
  ask "audio 1"
  ask state
  [ "$reply" != "$stateBefore" ] && break
done
[ "$reply" != "$stateBefore" ] || fail "the stroke left the curve in the state as it was"
stateAfter=$reply
ask "wait 200"
shot curve-after.png
convert curve-before.png -crop 128x128+837+391 +repage curve-before-square.png
convert curve-after.png -crop 128x128+837+391 +repage curve-after-square.png
strokePixels=$(compare -metric AE -fuzz 9.5% curve-before-square.png curve-after-square.png null: 2>&1 || true)
echo "  the state went from '${stateBefore#state }' to '${stateAfter#state }'; $strokePixels pixels of the curve editor changed"
[ "${strokePixels%% *}" -gt 50 ] 2>/dev/null || fail "the curve editor does not show the stroke ($strokePixels)"

echo "(c) the scope tab"
xdotool mousemove 609 805 click 1
match_page scope scope.png
[ "$(shot_share synth.png scope.png)" != "0.000" ] || fail "the click on the scope tab changed nothing"

echo "(d) renaming the program in its name box"
box=$(control_centre - IKvPresetMenu 0)
[ -n "$box" ] || fail "no program name box on the synthesizer page"
read -r bx by <<<"$box"
xdotool mousemove 482 805 click 1 # back to the synthesizer page
ask "wait 200"
xdotool mousemove "$bx" "$by" click 3
ask "wait 200"
xdotool type --delay 20 "Boom 1"
xdotool key Return
for _ in $(seq 1 50); do
  ask program
  [ "${reply#program * }" = "Boom 1" ] && break
  ask "wait 20"
done
echo "  $reply"
[ "${reply#program * }" = "Boom 1" ] || fail "the program was not renamed: $reply"
xdotool mousemove 609 805 click 1
ask "wait 200"
shot scope.png

echo "(e) closing and reopening"
ask "param 138"
kept=$reply
for round in 1 2 3; do
  ask close
  [ "$reply" = "close 1" ] || fail "round $round: the editor did not close: $reply"
  ask children
  [ "$reply" = "children 0" ] || fail "round $round: $reply after closing"
  [ "$(descriptors)" -le "$baseline" ] ||
    fail "round $round: the host holds $(descriptors) descriptors after closing, $baseline before opening"
  ask open
  [ "$reply" = "open 1" ] || fail "round $round: the editor did not reopen: $reply"
  wait_children 1
  share=""
  for _ in $(seq 1 30); do
    shot "reopened-$round.png"
    share=$(shot_share scope.png "reopened-$round.png")
    awk -v s="$share" 'BEGIN { exit !(s <= 0.1) }' && break
    ask "wait 100"
  done
  awk -v s="$share" 'BEGIN { exit !(s <= 0.1) }' ||
    fail "round $round: the reopened editor shows another picture ($share% differ)"
  ask "param 138"
  [ "$reply" = "$kept" ] || fail "round $round: $reply after reopening, $kept before"
  echo "  round $round: one child window, the scope page again ($share% of the pixels differ), $reply"
done

echo quit >&"${HOST[1]}"
wait "$host_pid" || fail "the host ended with an error"
trap - EXIT
echo "the editor window behaves"
