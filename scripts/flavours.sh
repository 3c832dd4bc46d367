#!/bin/sh
# Redraws docs/flavours.png: one profile exported as three build flavours, as a CI job makes
# them (see README, "Build flavours"), and their 256-pixel Linux icons side by side.
#   scripts/flavours.sh [BUILD_DIR] [PROFILE.sgp] [OUTPUT.png]
set -eu
build=${1:-build}
profile=${2:-data/sigilon-icon.sgp}
output=${3:-docs/flavours.png}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/sigilon" export --profile "$profile" --target linux --quiet \
    --output-dir "$work/release"
"$build/sigilon" export --profile "$profile" --target linux --quiet \
    --badge "BETA {version}" --version 2.3.1 --output-dir "$work/beta"
"$build/sigilon" export --profile "$profile" --target linux --quiet \
    --set gradientStartColor=#5E6B78 --set gradientEndColor=#2E3640 \
    --badge DEV --badge-style ribbon --badge-position top-right --output-dir "$work/dev"
icon=linux/hicolor/256x256/apps/AppIcon.png
convert -background none "$work/dev/$icon" "$work/beta/$icon" "$work/release/$icon" \
    -bordercolor none -border 16 +append "$output"
echo "$output"
