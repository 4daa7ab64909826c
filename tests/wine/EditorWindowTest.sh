#!/usr/bin/env bash
# The Windows module's editor in a host's window under Wine, on a virtual display:
# tgeditorhost.exe opens Thumpgeist.dll's editor in a window at the screen's top-left
# corner; the script moves the mouse with xdotool, takes screenshots with ImageMagick
# and compares them with the editor drawn off-screen by the Linux tgsnapshot.
#
#   xvfb-run -a -s "-screen 0 1280x1024x24" EditorWindowTest.sh WIN64_DIR TGSNAPSHOT WORK_DIR
#
# It checks that
#  - the window shows the synthesizer page as the off-screen editor draws it;
#  - dragging a knob (the "Volume" knob, parameter 138, found in tgsnapshot's control
#    list) changes its parameter, and the host sees begin edit, automation, end edit;
#  - a mouse stroke over the distortion curve editor redraws it and changes the curve
#    the program's state holds;
#  - a right click on the program name box opens the text entry, and typing a name and
#    Enter renames the current program;
#  - a left click on the program name box opens the program menu as a native popup
#    below it, and choosing "Gabber Kick 1" with the keys loads that program;
#  - a click on the scope tab shows the scope page;
#  - closing and reopening the editor leaves no window class registered after each
#    close, and keeps the parameter values, the program's name and the page shown.
# The share of differing pixels of every comparison is printed.
set -euo pipefail

win64=$(cd "$1" && pwd)
snapshot=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
work=$3
mkdir -p "$work"
cd "$work"
rm -f ./*.png

threshold=24
tolerance=0.02
volume=138
[ -n "${DISPLAY:-}" ] || { echo "no display: run this under xvfb-run"; exit 1; }
for tool in wine xdotool import; do
  command -v "$tool" >/dev/null || { echo "$tool is missing; run scripts/setup.sh"; exit 1; }
done

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# --- The host, as a coprocess: one command a line, one answer a line -----------------
coproc HOST { cd "$win64" && exec wine tgeditorhost.exe Thumpgeist.dll 2>"$work/host-stderr.txt"; }
hostPid=$HOST_PID
finish() {
  if kill -0 "$hostPid" 2>/dev/null; then
    echo quit >&"${HOST[1]}" 2>/dev/null || true
    sleep 1
    kill "$hostPid" 2>/dev/null || true
  fi
  wineserver -k 2>/dev/null || true
}
trap finish EXIT

reply=""
ask() {
  echo "$1" >&"${HOST[1]}"
  # The first answer waits for Wine to start.
  if ! IFS= read -r -t 60 reply <&"${HOST[0]}"; then
    echo "FAIL: no answer to '$1'"
    cat "$work/host-stderr.txt" || true
    exit 1
  fi
  reply=${reply%$'\r'}
}

# Polls until a top-level X window named tgeditorhost is mapped (present) or gone.
windowPresent() { xdotool search --onlyvisible --name '^tgeditorhost$' >/dev/null 2>&1; }
waitForWindow() {
  local want=$1
  for _ in $(seq 100); do
    if windowPresent; then [ "$want" = shown ] && return 0; else [ "$want" = gone ] && return 0; fi
    ask "wait 50"
  done
  return 1
}

# Polls (up to about 2 s) until the host reports the given program line.
waitForProgram() {
  for _ in $(seq 20); do
    ask "program"
    [ "$reply" = "$1" ] && return 0
    ask "wait 100"
  done
  return 1
}

# The share (in percent) of pixels of shot.png that differ from the page drawn
# off-screen, and whether it is within the tolerance.
share=""
compare() {
  local page=$1 shot=$2
  shift 2
  local out rc=0
  out=$("$snapshot" --page "$page" "$@" -o "ref-$page.png" --compare "$shot" \
    --threshold "$threshold" --tolerance "$tolerance") || rc=$?
  share=$(sed -n 's/.*: \([0-9.]*\)% of the pixels.*/\1/p' <<<"$out")
  if [ -z "$share" ]; then
    echo "$out"
    share=100
  fi
  return $rc
}

# Screenshots the window until it shows the page (the first paint may still be on its
# way) and checks that it is closer to that page than to the other one.
expectPage() {
  local page=$1 other=$2 label=$3
  shift 3
  local n
  for n in 1 2 3 4 5; do
    import -window root -crop 1220x835+0+0 +repage "$label.png"
    if compare "$page" "$label.png" "$@"; then
      local wanted=$share
      compare "$other" "$label.png" "$@" || true
      echo "$label: $wanted% of the pixels differ from the $page page, $share% from the $other page"
      if awk -v a="$wanted" -v b="$share" 'BEGIN { exit !(a < b) }'; then
        return 0
      fi
    fi
    ask "wait 200"
  done
  fail "$label: the window does not show the $page page ($share% differ)"
}

ask "classes"
[ "$reply" = "classes 0" ] || fail "a window class is registered before the editor opens: $reply"

# --- Open: the synthesizer page ------------------------------------------------------
ask "open"
[ "$reply" = "open 1" ] || { fail "the editor does not open: $reply"; exit 1; }
waitForWindow shown || { fail "no window appears"; exit 1; }
ask "classes"
[ "$reply" = "classes 1" ] || fail "no window class while the editor is open: $reply"
expectPage synth scope open-synth

# --- A knob drag: the parameter changes, the host sees the gesture -------------------
knob=""
if "$snapshot" --list-controls >controls.txt 2>/dev/null; then
  # index param left top right bottom page hidden class
  knob=$(awk -v p="$volume" '$2 == p && $8 == 0 { print int(($3 + $5) / 2), int(($4 + $6) / 2); exit }' controls.txt)
fi
volumeSetting=()
if [ -n "$knob" ]; then
  read -r kx ky <<<"$knob"
  ask "param $volume"
  before=$reply
  ask "automation"
  xdotool mousemove "$kx" "$ky" mousedown 1
  for dy in 5 10 15 20 25 30 35 40; do
    xdotool mousemove "$kx" $((ky - dy))
    ask "wait 20"
  done
  xdotool mouseup 1
  ask "wait 100"
  ask "param $volume"
  after=$reply
  echo "knob drag at $kx,$ky: '$before' -> '$after'"
  [ "$before" != "$after" ] || fail "the drag did not change parameter $volume"
  ask "automation"
  echo "host saw:$reply" | cut -c1-400
  grep -q "^automation begin $volume;" <<<"$reply" || fail "no begin edit first: $reply"
  grep -q " automate $volume " <<<"$reply" || fail "no automation: $reply"
  grep -qE "; end $volume\$" <<<"$reply" || fail "no end edit last: $reply"
  value=$(awk '{ print $3 }' <<<"$after")
  volumeSetting=(--param "$volume=$value")
  expectPage synth scope after-drag "${volumeSetting[@]}"
else
  fail "tgsnapshot lists no control of parameter $volume"
fi

# --- A stroke on the curve editor, the square (837, 391)-(965, 519) ------------------
ask "state"
stateBefore=$reply
import -window root -crop 128x128+837+391 +repage curve-before.png
xdotool mousemove 845 420 mousedown 1
for x in $(seq 846 2 956); do
  xdotool mousemove "$x" $((420 + (x - 845) / 2))
  ask "wait 20"
done
xdotool mouseup 1
for _ in $(seq 20); do
  # The audio runs (effMainsChanged on): the block takes the drawing.
  ask "audio 1"
  ask "state"
  [ "$reply" != "$stateBefore" ] && break
done
stateAfter=$reply
ask "wait 200"
import -window root -crop 128x128+837+391 +repage curve-after.png
strokePixels=$(command compare -metric AE -fuzz 10% curve-before.png curve-after.png null: 2>&1 || true)
echo "curve stroke: state '${stateBefore#state }' -> '${stateAfter#state }', $strokePixels pixels of the curve editor change"
[ "$stateAfter" != "$stateBefore" ] || fail "the stroke left the curve in the state as it was"
[ "${strokePixels%% *}" -gt 50 ] 2>/dev/null || fail "the curve editor does not show the stroke ($strokePixels)"

# --- The program name box: a right click opens the text entry, Enter renames --------
box=""
if [ -s controls.txt ]; then
  box=$(awk '$9 == "IKvPresetMenu" && $8 == 0 { print int(($3 + $5) / 2), int(($4 + $6) / 2); exit }' controls.txt)
fi
if [ -n "$box" ]; then
  read -r bx by <<<"$box"
  ask "program"
  index=$(awk '{ print $2 }' <<<"$reply")
  xdotool mousemove "$bx" "$by" click 3
  ask "wait 200"
  xdotool type --delay 20 "Wine Kick"
  xdotool key Return
  waitForProgram "program $index Wine Kick" || true
  echo "program name box at $bx,$by: '$reply'"
  [ "$reply" = "program $index Wine Kick" ] || fail "typing a name and Enter did not rename the program: $reply"
else
  fail "tgsnapshot lists no program name box"
fi

# --- The program menu: a native popup; the keys choose "Gabber Kick 1" ----------------
gabber=49
if [ -n "$box" ]; then
  import -window root -crop 400x300+"$bx"+$((by + 12)) +repage menu-closed.png
  # The menu's own loop holds the host's thread until it closes, so the host answers
  # nothing meanwhile: the script only waits.
  xdotool mousemove "$bx" "$by" click 1
  sleep 1
  import -window root -crop 400x300+"$bx"+$((by + 12)) +repage menu-open.png
  changed=$(command compare -metric AE -fuzz 10% menu-closed.png menu-open.png null: 2>&1 || true)
  echo "program menu: $changed pixels below the box change when it opens"
  [ "${changed%% *}" -gt 2000 ] 2>/dev/null || fail "no popup menu appears below the program box ($changed)"
  # The first Down lights item 01; item 50 is program 49.
  xdotool key --delay 15 $(printf 'Down %.0s' $(seq $((gabber + 1)))) Return
  waitForProgram "program $gabber Gabber Kick 1" || true
  echo "program menu choice: '$reply'"
  [ "$reply" = "program $gabber Gabber Kick 1" ] || fail "choosing Gabber Kick 1 in the menu did not load it: $reply"
  volumeSetting=(--program "$gabber")
fi

# --- The scope tab -------------------------------------------------------------------
xdotool mousemove 567 805 click 1
ask "wait 100"
expectPage scope synth scope-tab "${volumeSetting[@]}"

# --- Close and reopen: no class left behind, the same values and page ---------------
ask "program"
programBefore=$reply
ask "param $volume"
volumeBefore=$reply
for round in 1 2 3; do
  ask "close"
  [ "$reply" = "close 1" ] || fail "close $round: $reply"
  waitForWindow gone || fail "close $round: the window stays"
  ask "classes"
  [ "$reply" = "classes 0" ] || fail "close $round: the window class is still registered"
  ask "open"
  [ "$reply" = "open 1" ] || { fail "reopen $round: $reply"; break; }
  waitForWindow shown || { fail "reopen $round: no window"; break; }
  ask "param $volume"
  [ "$reply" = "$volumeBefore" ] || fail "reopen $round: '$reply', was '$volumeBefore'"
  ask "program"
  [ "$reply" = "$programBefore" ] || fail "reopen $round: '$reply', was '$programBefore'"
done
expectPage scope synth reopened "${volumeSetting[@]}"

ask "close"
ask "classes"
[ "$reply" = "classes 0" ] || fail "the window class stays after the last close"
echo quit >&"${HOST[1]}"
wait "$hostPid" || fail "the host ended with $?"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "editor window: all checks passed"
