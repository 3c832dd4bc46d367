#!/usr/bin/env bash
# Runs a command on a private virtual X display and stops the display when the command ends,
# however it ends. Xvfb chooses a free display number itself and reports it once it accepts
# connections (-displayfd), so the command never starts before its display is there and two
# runs at once never pick the same number.
# Usage: scripts/with-display.sh [--screen WIDTHxHEIGHTxDEPTH] COMMAND [ARGUMENT...]
# The command's exit status is returned; 125 when the display could not be started.
set -euo pipefail

screen=1600x1000x24
if [ "${1:-}" = --screen ]; then
  screen=$2
  shift 2
fi
[ $# -gt 0 ] || { echo "usage: $0 [--screen WxHxD] COMMAND [ARGUMENT...]" >&2; exit 2; }

cannot_start() {
  echo "with-display.sh: the virtual display could not be started: $1" >&2
  exit 125
}
command -v Xvfb >/dev/null || cannot_start "Xvfb is missing (scripts/install-deps.sh installs it)"

log=$(mktemp)
# Xvfb writes the display number to its standard output, a pipe to this script. Should this
# script be killed outright, the kernel ends Xvfb too (setpriv --pdeathsig, util-linux). Without
# -noreset the server resets whenever its last client goes, and a program starting just then
# cannot connect.
coproc XVFB { exec setpriv --pdeathsig TERM Xvfb -displayfd 1 -noreset -screen 0 "$screen" 2>"$log"; }
xvfb_pid=$XVFB_PID
stop_display() {
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  rm -f "$log"
}
trap stop_display EXIT

# A loaded machine may take a while; a server that fails closes the pipe at once.
number=
read -r -t 60 number <&"${XVFB[0]}" || true
[ -n "$number" ] || cannot_start "$(tail -n 3 "$log" | tr '\n' ' ')"

export DISPLAY=":$number"
# The command runs in the background so that a signal to this script is passed on at once
# rather than after the command ends; it keeps this script's standard input.
"$@" <&0 &
command_pid=$!
for signal in TERM HUP; do
  trap 'kill -'"$signal"' "$command_pid" 2>/dev/null || true' "$signal"
done
while :; do
  if wait "$command_pid"; then status=0; else status=$?; fi
  # A signal ends the wait early; the command may still be finishing.
  kill -0 "$command_pid" 2>/dev/null || break
done
exit "$status"
