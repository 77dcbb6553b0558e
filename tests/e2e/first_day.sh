#!/usr/bin/env bash
# A trainee's first day in the real program, on its own X server with real input events: create an
# ID, log in, deal a problem, drag a chromosome into the karyogram, score, look at the correct
# answer and go on to the next problem, look at the grade analysis and print it, change the
# settings, quit through the menu, start again and find the settings kept.
#
# Usage: first_day.sh QUELDO LAYOUT_PROBE SAMPLEGEN [SCREEN], SCREEN as 1280x1024 (the default)
# or 1024x768, the smallest screen the windows must fit. Exit 77 (skipped) when a tool is missing.
# The screenshots are kept after a failure, or always with QUELDO_E2E_KEEP=1.
set -euo pipefail
queldo=$1 probe=$2 samplegen=$3 screen=${4:-1280x1024}

for tool in Xvfb xdotool import convert; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/install-deps.sh --with-display installs it)"
    exit 77
  fi
done

work=$(mktemp -d /tmp/queldo-e2e.XXXXXX)
xvfb_pid='' app_pid='' step=0
finish() {
  local rc=$?
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  if [ "$rc" -eq 0 ] && [ -z "${QUELDO_E2E_KEEP:-}" ]; then
    rm -rf "$work"
  else
    echo "Screenshots, logs and the program folder are kept in $work"
  fi
}
trap finish EXIT

shot() { step=$((step + 1)); import -window root "$work/$(printf '%02d' $step)-$1.png"; }
fail() {
  echo "FAIL: $*"
  shot failure || true
  exit 1
}
# Waits for a visible window whose title matches the pattern and prints its id.
window() {
  local id
  id=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1) ||
    fail "no window titled '$1' appeared"
  [ -n "$id" ] || fail "no window titled '$1' appeared"
  sleep 0.5 # mapped, but perhaps not yet moved to its place
  echo "$id"
}
focus() { xdotool windowfocus --sync "$1"; sleep 0.2; }
# Retries a check for up to ten seconds: a busy machine may take a moment to handle the input.
eventually() {
  for _ in $(seq 50); do
    "$@" && return 0
    sleep 0.2
  done
  "$@"
}
record_count() { echo $(($(wc -l <"$user/$id.kek") - 1)); }
has_records() { [ "$(record_count)" -eq "$1" ]; }
# Lines 1, 2, 3 and 5 of the settings file: the two modes, the custom-size flag, the size.
stored_settings() { tr '\r' '\n' <"$user/$id.set" | grep -v '^$' | sed -n '1p;2p;3p;5p' | tr '\n' ' '; }
settings_are() { [ "$(stored_settings)" = "$1" ]; }
settle() { sleep 0.5; }

# Where the probe says a control sits, in screen pixels: "x y width height".
# $1: probe window name, $2: the real window's id, $3: control name.
rect() {
  local geometry line
  geometry=$(xdotool getwindowgeometry --shell "$2")
  local X Y
  X=$(sed -n 's/^X=//p' <<<"$geometry")
  Y=$(sed -n 's/^Y=//p' <<<"$geometry")
  line=$(awk -v w="$1" -v n="$3" '$1 == w && $2 == n { print $3, $4, $5, $6; exit }' "$work/layout.txt")
  [ -n "$line" ] || fail "the probe does not know $1 $3"
  read -r x y width height <<<"$line"
  echo $((X + x)) $((Y + y)) "$width" "$height"
}
click_at() {
  xdotool mousemove --sync "$1" "$2" click 1
  settle
}
click() {
  read -r x y width height <<<"$(rect "$1" "$2" "$3")"
  click_at $((x + width / 2)) $((y + height / 2))
}

start_program() {
  (cd "$program" && QT_QPA_PLATFORM=xcb exec ./queldo) >>"$work/queldo.log" 2>&1 &
  app_pid=$!
}
wait_for_exit() {
  for _ in $(seq 100); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$app_pid" 2>/dev/null && fail "the program did not end"
  local rc=0
  wait "$app_pid" || rc=$?
  app_pid=''
  [ "$rc" -eq 0 ] || fail "the program ended with status $rc"
}
quit_by_menu() {
  focus "$1"
  xdotool key alt+f
  sleep 0.4
  xdotool key x
  wait_for_exit
}

# --- An X server of our own, on whatever display number is free.
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"

# --- A runtime folder of our own: the single-instance lock lives there, so another run of this
# test (or a trainee's program) on the same machine neither blocks nor is blocked by this one.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"

# --- The program folder as the run command lays it out.
program="$work/program"
mkdir -p "$program/Result"
cp "$queldo" "$program/queldo"
"$samplegen" --out "$program/Images" --karyograms "$work/karyograms" >"$work/samplegen.log"

id=trainee01 password='Kaku-46'
user="$program/Result/$id"

start_program
login=$(window 'ＩＤとパスワード入力')
shot login

# A second start while the first runs ends at once.
second=0
(cd "$program" && QT_QPA_PLATFORM=xcb timeout 20 ./queldo) >>"$work/queldo.log" 2>&1 || second=$?
[ "$second" -eq 1 ] || fail "a second program started while one was running (status $second)"

# --- A new ID: the unknown ID leads to the question, はい to the new-ID dialog.
focus "$login"
xdotool type --delay 20 "$id"
xdotool key Return
question=$(window '新しいIDを作成')
shot question
focus "$question"
xdotool key Return
newid=$(window '^新規ID作成( |$)')
focus "$newid"
xdotool type --delay 20 "$id"
xdotool key Tab
xdotool type --delay 20 "$password"
xdotool key Tab
xdotool type --delay 20 "$password"
xdotool key Return
complete=$(window '新規ID作成完了')
shot created
for file in "$id.kek" "$id.pas" "$id.set"; do
  [ -f "$user/$file" ] || fail "the new ID has no $file"
done
focus "$complete"
xdotool key Return

# --- Log in with the new ID, which the login dialog now holds.
login=$(window 'ＩＤとパスワード入力')
focus "$login"
xdotool type --delay 20 "$password"
xdotool key Return
form=$(window '^QUELDO$')
settle
geometry=$(xdotool getwindowgeometry --shell "$form")
form_width=$(sed -n 's/^WIDTH=//p' <<<"$geometry")
form_height=$(sed -n 's/^HEIGHT=//p' <<<"$geometry")
QT_QPA_PLATFORM=offscreen "$probe" "$form_width" "$form_height" >"$work/layout.txt" 2>"$work/probe.log" ||
  fail "the layout probe failed"
shot exercise

# --- Deal, start, drag the first chromosome found on the spread into place 1, score.
click exercise "$form" Button2
click exercise "$form" Button4
shot dealt
read -r sx sy sw sh <<<"$(rect exercise "$form" InputPanel)"
pixel=$(convert "$work/$(printf '%02d' $step)-dealt.png" -crop "${sw}x${sh}+${sx}+${sy}" +repage txt:- |
  awk -F'[,:() ]+' 'NR > 1 && !found && $4 < 90 && $5 < 90 && $6 < 90 { print $1, $2; found = 1 }')
[ -n "$pixel" ] || fail "no chromosome on the spread"
read -r px py <<<"$pixel"
px=$((sx + px)) py=$((sy + py))
read -r tx ty tw th <<<"$(rect exercise "$form" Panel10)"
xdotool mousemove --sync "$px" "$py" mousedown 1
sleep 0.1
xdotool mousemove --sync $((px + 15)) $((py + 15))
sleep 0.1
xdotool mousemove --sync $((tx + tw / 2)) $((ty + th / 2))
sleep 0.1
xdotool mouseup 1
settle
click exercise "$form" Button1
shot scored

eventually has_records 1 || fail "scoring left $(record_count) records instead of one"
place1=$(tail -n 1 "$user/$id.kek" | tr -d '\r' | cut -d, -f4)
[ "$place1" != "-1" ] || fail "place 1 was recorded empty: the drag did not land"

# --- The correct answer over the spread: its caption bar, one colour from end to end, stands
# where the spread showed white and chromosomes; the next problem takes it away.
# Prints the number of colours and the colour of a strip in the middle of the caption bar.
caption_strip() {
  read -r cx cy cw ch <<<"$(rect answer "$form" CaptionBar)"
  convert "$work/$(printf '%02d' $step)-$1.png" -crop "40x4+$((cx + cw / 2 - 20))+$((cy + ch / 2 - 2))" \
    +repage -format '%k %[pixel:p{0,0}]' info:
}
read -r colours before <<<"$(caption_strip scored)"
click exercise "$form" Button5
shot answer
read -r colours caption <<<"$(caption_strip answer)"
[ "$colours" -eq 1 ] && [ "$caption" != "$before" ] && [ "$caption" != white ] ||
  fail "no answer window over the spread ($colours colours, $caption, before $before)"
click exercise "$form" Button2
shot next
read -r colours after <<<"$(caption_strip next)"
[ "$colours" -ne 1 ] || [ "$after" != "$caption" ] || fail "the answer window stayed after the next problem"

# --- The number list by keyboard: a click on its first row deals 001, the Down key 002, and the
# attempt scored then is recorded for 002.
read -r lx ly lw lh <<<"$(rect exercise "$form" ListBox3)"
click_at $((lx + lw / 3)) $((ly + 8))
xdotool key Down
settle
shot keyboard
click exercise "$form" Button4
click exercise "$form" Button1
eventually has_records 2 || fail "scoring after the keyboard choice left $(record_count) records"
problem=$(tail -n 1 "$user/$id.kek" | tr -d '\r' | cut -d, -f3)
[ "$problem" = "002" ] || fail "the Down key chose 002, but $problem was dealt and scored"

# --- The grade analysis shows the attempts; printing it (no printer here) saves a PDF in the
# trainee's folder and says so; 閉じる returns to the exercise window.
click exercise "$form" Button3
analysis=$(window '^成績$')
geometry=$(xdotool getwindowgeometry --shell "$analysis")
[ "$(sed -n 's/^WIDTH=//p' <<<"$geometry")x$(sed -n 's/^HEIGHT=//p' <<<"$geometry")" = 861x690 ] ||
  fail "the grade analysis window is not 861 x 690"
shot analysis
pdf_count() { find "$user" -maxdepth 1 -name '*.pdf' | wc -l; }
has_pdf() { [ "$(pdf_count)" -eq 1 ]; }
click analysis "$analysis" Button1
printed=$(window '^印刷$')
eventually has_pdf || fail "printing left $(pdf_count) PDF files in the trainee's folder"
head -c 5 "$(find "$user" -maxdepth 1 -name '*.pdf')" | grep -q '%PDF-' || fail "the printout is no PDF"
shot printed
focus "$printed"
xdotool key Return

# --- 取り違え over the analysis: both first scorings were kept with what lay where.
arrangement_lines() { echo $(($(wc -l <"$user/$id.arr") - 1)); }
[ -f "$user/$id.arr" ] && [ "$(arrangement_lines)" -eq 2 ] ||
  fail "the arrangement file does not hold the two attempts"
click analysis "$analysis" ConfusionButton
confusions=$(window '^取り違え$')
shot confusions
# The newest attempt is chosen; 再現 shows it below its answer.
click confusions "$confusions" ReplayButton
replay=$(window '^再現$')
shot replay
replay_gone() { ! xdotool search --onlyvisible --name '^再現$' >/dev/null 2>&1; }
focus "$replay"
xdotool key Escape
eventually replay_gone || fail "Esc left the 再現 window open"
confusions_gone() { ! xdotool search --onlyvisible --name '^取り違え$' >/dev/null 2>&1; }
focus "$confusions"
xdotool key Escape
eventually confusions_gone || fail "Esc left the 取り違え window open"
analysis_gone() { ! xdotool search --onlyvisible --name '^成績$' >/dev/null 2>&1; }
click analysis "$analysis" OKBtn
eventually analysis_gone || fail "閉じる left the grade analysis window open"

# --- Settings: reference mode on and the size two steps up, then OK.
focus "$form"
xdotool key F8
settings=$(window '^設定( |$)')
click settings "$settings" Cheat.indicator
focus "$settings"
xdotool key ctrl+Tab
settle
# A click on the groove beside the thumb moves the size by one step.
read -r gx gy gw gh <<<"$(rect settings "$settings" TrackBar1.groove)"
click_at $((gx + gw - 2)) $((gy + gh / 2))
click_at $((gx + gw - 2)) $((gy + gh / 2))
shot settings
click settings "$settings" OKBtn
eventually settings_are "1 0 1 12 " || fail "the settings file holds '$(stored_settings)' after OK"

quit_by_menu "$form"

# --- Start again, log in with the same password; OK in the settings dialog writes what the
# program restored, so the file shows whether the settings came back.
start_program
login=$(window 'ＩＤとパスワード入力')
focus "$login"
xdotool type --delay 20 "$id"
xdotool key Tab
xdotool type --delay 20 "$password"
xdotool key Return
form=$(window '^QUELDO$')
settle
focus "$form"
xdotool key F8
settings=$(window '^設定( |$)')
focus "$settings"
xdotool key ctrl+Tab
settle
shot restored
click settings "$settings" OKBtn
eventually settings_are "1 0 1 12 " ||
  fail "after a restart the settings came back as '$(stored_settings)'"

quit_by_menu "$form"
has_records 2 || fail "the results file changed without scoring"
echo "PASS: new ID, login, drag, scoring, keyboard choice, settings and restart in the real program"
