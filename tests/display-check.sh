#!/usr/bin/env bash
# VorlanCSV on virtual X screens of 96, 144 and 192 dpi as a user runs it: cancelled in its
# start-up file dialog it ends with status 255; given a plan list there, it shows the rows in a
# window of its 96-dpi size in logical pixels (screenshot PREFIX-DPI.png). LAYOUT_TEST
# (tst_display) runs on each screen too, and at 144 dpi under a user's own scale settings.
# Exits 77 (skipped) without the tools, except in CI.
#   display-check.sh PROGRAM PLAN_FILE PREFIX [LAYOUT_TEST]
set -uo pipefail
program=$1 plan=$(realpath "$2") prefix=$3 layout_test=${4:-}
fail() { echo "display check FAILED at ${DPI:-?} dpi: $*"; exit 1; }
if [[ -z ${DPI:-} ]]; then
    for tool in xvfb-run xrdb xdotool import identify convert pdftotext; do
        command -v "$tool" >/dev/null && continue
        echo "display check skipped: no $tool (scripts/install-packages.sh --tests)"
        [[ ${CI:-} == true ]] && exit 1 || exit 77
    done
    for DPI in 96 144 192; do # the same screen in inches at every density
        DPI=$DPI xvfb-run -a -s "-screen 0 $((1280 * DPI / 96))x$((1024 * DPI / 96))x24 -dpi $DPI -noreset" \
            bash "$0" "$@" || exit
    done
    exit 0
fi

# Where the desktop tells programs its density, as a 150 % or 200 % desktop does.
echo "Xft.dpi: $DPI" | xrdb -nocpp -merge || fail "xrdb cannot set Xft.dpi"
log=$(mktemp) shot=$prefix-$DPI.png
export XDG_CONFIG_HOME=$(mktemp -d) QT_QPA_PLATFORMTHEME=
unset QT_QPA_PLATFORM
trap 'kill $! 2>/dev/null; rm -rf "$log" "$XDG_CONFIG_HOME"' EXIT
wait_for() { local tries=$(($1 * 5)); shift; until "$@"; do ((--tries > 0)) || return 1; sleep 0.2; done; }
shown() { win=$(xdotool search --onlyvisible --name "$1" | head -n 1) && [[ -n $win ]]; }
start() { # the program, its file dialog focused (no window manager does that)
    "$program" >"$log" 2>&1 &
    wait_for 60 shown "^CSV-Datei öffnen$" || fail "no file dialog; the program said: $(cat "$log")"
    xdotool windowfocus --sync "$win"
}
start && xdotool key Escape
wait $!; status=$?
((status == 255)) || fail "cancelled, the program ended with $status: $(cat "$log")"
start && xdotool type --delay 10 "$plan" && xdotool key Return
# A completion list may take the first Return.
wait_for 5 shown "^VorlanCSV - " || { xdotool key Return; wait_for 60 shown "^VorlanCSV - "; } ||
    fail "no main window; the program said: $(cat "$log")"
title=$(xdotool getwindowname "$win")
[[ $title == "VorlanCSV - $plan" ]] || fail "the title is \"$title\""
eval "$(xdotool getwindowgeometry --shell "$win")"
px() { echo $((($1 * DPI + 48) / 96)); } # device pixels of a length in logical pixels
((WIDTH == $(px 969) && HEIGHT == $(px 614))) || fail "the window is ${WIDTH}x$HEIGHT device pixels"
# Drawn once the screen shows many colours; below the header line the rows must hold text.
painted() { import -window root "$shot" 2>/dev/null && (($(identify -format %k "$shot") >= 64)); }
wait_for 30 painted || fail "the screenshot $shot looks blank"
colours=$(convert "$shot" -crop "$((WIDTH - $(px 60)))x$((HEIGHT - $(px 150)))+$((X + $(px 20)))+$((Y + $(px 100)))" \
    +repage -format %k info:)
((colours >= 32)) || fail "the table shows no rows ($colours colours)"
echo "display check passed at $DPI dpi: \"$title\", ${WIDTH}x$HEIGHT, $colours colours in the rows"
[[ -n $layout_test ]] || exit 0
declare -A ratio=([96]=1 [144]=1.5 [192]=2)
DISPLAY_CHECK_RATIO=${ratio[$DPI]} "$layout_test" || fail "$layout_test found differences, see above"
((DPI == 144)) || exit 0
# The user's setting decides, and the printout stays the same: setting and its ratio.
for setting in QT_SCALE_FACTOR=1.25/1.25 QT_ENABLE_HIGHDPI_SCALING=0/1 QT_SCALE_FACTOR_ROUNDING_POLICY=Floor/1; do
    env "${setting%/*}" DISPLAY_CHECK_RATIO="${setting#*/}" "$layout_test" "screen:device pixel ratio" \
        screen:printout || fail "under ${setting%/*}, see above"
done
