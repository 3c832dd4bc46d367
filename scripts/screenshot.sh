#!/bin/sh
# Redraws docs/screenshot.png: the editor with the default design and a line of text, in a
# virtual X server of the given size (default 1366x768).
#   scripts/screenshot.sh [BUILD_DIR] [WIDTHxHEIGHT] [OUTPUT.png]
set -eu
build=${1:-build}
size=${2:-1366x768}
output=${3:-docs/screenshot.png}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/sigilon" profile --set text=Sigilon > "$work/Example.sgp"
cat > "$work/run.sh" <<SCRIPT
#!/bin/sh
export XDG_CONFIG_HOME="$work/config"
"$build/sigilon" "$work/Example.sgp" &
editor=\$!
sleep 4
import -window root "$work/shot.png"
kill \$editor
SCRIPT
chmod +x "$work/run.sh"
xvfb-run -a -s "-screen 0 ${size}x24" "$work/run.sh"
# The window without the empty screen around it.
convert "$work/shot.png" -trim +repage "$output"
echo "$output"
