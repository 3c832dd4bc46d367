#!/usr/bin/env bash
# Rounds of the editor killed with SIGKILL while a user types: each round answers the question
# about the design the round before left (Discard and Restore in turn), types letters in bursts
# and kills the editor 0.2 to 2.2 s after the first one, or in a third of the rounds 5.2 to 6.2 s.
# What each round saw stays in $WORK/rounds/N for tst_EditorSmoke.cpp, which runs this with WORK,
# ROUNDS, RANDOM_SEED and SIGILON_UNDER_TEST set; a last start discards and ends with SIGTERM.
set -u
export XDG_STATE_HOME="$WORK/state" XDG_CONFIG_HOME="$WORK/config"
folder="$XDG_STATE_HOME/sigilon"
RANDOM=$RANDOM_SEED
now() { date +%s.%N; }
editor_windows() { xwininfo -root -tree | grep -c '"Sigilon[^"]*": ("sigilon"'; }
recovery_files() { ls "$folder" 2>/dev/null | grep '\.recovery$' || true; }
wait_for() {
  local deadline=$((SECONDS + 30))
  until eval "$1"; do [ $SECONDS -lt $deadline ] || return 1; sleep 0.05; done
}
offered=0
for round in $(seq 1 $((ROUNDS + 1))); do
  dir="$WORK/rounds/$round"
  mkdir -p "$dir/left"
  for file in $(recovery_files); do cp "$folder/$file" "$dir/left/"; done
  left=$(ls "$dir/left" | wc -l)
  "$SIGILON_UNDER_TEST" 2>>"$WORK/editor-errors.txt" &
  pid=$!
  # The window, and the question over it when a design was left.
  wanted=1
  [ "$left" -eq 0 ] || wanted=2
  wait_for '[ "$(editor_windows)" -ge $wanted ]' \
    || { echo "round $round: no window"; tail -n 3 "$WORK/editor-errors.txt"; exit 1; }
  if [ "$left" -gt 0 ]; then
    offered=$((offered + 1))
    # The question's first button (Restore) is its default, its last (Discard) the escape one.
    answer=discard; key=Escape
    if [ $((offered % 2)) -eq 0 ] && [ "$round" -le "$ROUNDS" ]; then answer=restore; key=Return; fi
    echo $answer > "$dir/answer"
    if [ $offered -eq 1 ]; then sleep 0.5; import -window root "$WORK/restore-question.png"; fi
    xdotool key $key
    wait_for '[ "$(editor_windows)" -eq 1 ] && ! recovery_files | grep -qxF "$(ls "$dir/left")"' \
      || { echo "round $round: the left file stayed"; tail -n 3 "$WORK/editor-errors.txt"; exit 1; }
    [ $answer = discard ] || wait_for '[ -n "$(recovery_files)" ]'
    xwininfo -root -tree | grep -o '"Sigilon[^"]*": ("sigilon"' | cut -d'"' -f2 > "$dir/title"
  fi
  if [ "$round" -gt "$ROUNDS" ]; then kill -TERM $pid; wait $pid; echo "end=$?"; break; fi
  window=$(xdotool search --onlyvisible --pid $pid --name '^Sigilon' | head -n 1)
  xdotool windowfocus --sync $window key --clearmodifiers alt+t ctrl+a
  (
    for letter in a b c d e f g h i j k l m n o p q r s t u v w x y z A B C D E F G H I J K L; do
      echo "$(now) $letter" >> "$dir/typed"
      xdotool type "$letter"
# Now and then a pause, so that some designs are written after a quiet time.
      if [ $((RANDOM % 4)) -eq 0 ]; then sleep "1.$((RANDOM % 10))"; else sleep 0.1; fi
    done
  ) &
  typist=$!
  # Long enough that a design the editor failed to keep would be more than 5 s old.
  if [ $((RANDOM % 3)) -eq 0 ]; then whole=5; else whole=$((RANDOM % 2)); fi
  sleep "$whole.$((RANDOM % 10))$((RANDOM % 10))"
  sleep 0.2
  kill -KILL $pid
  now > "$dir/killed"
  wait $pid 2>/dev/null
  kill $typist 2>/dev/null; wait $typist 2>/dev/null
done
echo rounds done
