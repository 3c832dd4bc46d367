#!/bin/sh
# Redraws docs/screenshot.png: the editor with the default design and a line of text, the text
# selected on the canvas (a click beside the picture, then Tab), in a
# virtual X server of the given size (default 1366x768), in the light (default) or the dark
# appearance, at the given display scaling (default 1; 1.25 shows a desktop set to 125 %).
#   scripts/screenshot.sh [BUILD_DIR] [WIDTHxHEIGHT] [OUTPUT.png] [light|dark] [SCALE]
set -eu
build=${1:-build}
size=${2:-1366x768}
output=${3:-docs/screenshot.png}
appearance=${4:-light}
scale=${5:-1}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config/Sigilon"
case $appearance in
  dark) printf '[view]\nappearance=2\n' > "$work/config/Sigilon/Sigilon.conf" ;;
  *) printf '[view]\nappearance=1\n' > "$work/config/Sigilon/Sigilon.conf" ;;
esac
"$build/sigilon" profile --set text=Si > "$work/Example.sgp"
cat > "$work/run.sh" <<SCRIPT
#!/bin/sh
export XDG_CONFIG_HOME="$work/config"
export QT_SCALE_FACTOR="$scale"
"$build/sigilon" "$work/Example.sgp" &
editor=\$!
sleep 4
# The view starts at the window's top left, under the toolbar and the tab: this point is beside
# the picture at any window size. Tab then selects the front layer.
window=\$(xdotool search --name Sigilon | head -n 1)
xdotool mousemove --window "\$window" 22 110 click 1
xdotool key Tab
xdotool mousemove 0 0
sleep 1
import -window root "$work/shot.png"
kill \$editor
SCRIPT
chmod +x "$work/run.sh"
bash "$(dirname "$0")/with-display.sh" --screen "${size}x24" "$work/run.sh"
# The window without the empty screen around it.
convert "$work/shot.png" -trim +repage "$output"
echo "$output"
