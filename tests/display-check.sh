#!/usr/bin/env bash
# Runs VorlanCSV on virtual X screens of 96, 144 and 192 dpi as a user would: cancelled
# in its start-up file dialog it ends with status 255; given a plan list there, it shows
# the rows. The screenshot of each is kept as PREFIX-DPI.png. A LAYOUT_TEST program
# (tst_display) runs on each screen too, and at 144 dpi under a user's own scale settings.
# Exits 77 (skipped) without the tools, except in CI.
#   display-check.sh PROGRAM PLAN_FILE PREFIX [LAYOUT_TEST]
set -uo pipefail
program=$1 plan=$(realpath "$2") prefix=$3 layout_test=${4:-}
skip() { echo "display check skipped: $*"; [[ ${CI:-} == true ]] && exit 1; exit 77; }
fail() { echo "display check FAILED at ${DISPLAY_CHECK_DPI:-?} dpi: $*"; exit 1; }
if [[ -z ${DISPLAY_CHECK_WORK:-} ]]; then
    for tool in xvfb-run xrdb xdotool import identify convert pdftotext; do
        command -v "$tool" >/dev/null || skip "no $tool (scripts/install-packages.sh --tests)"
    done
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    for dpi in 96 144 192; do
        rm -f "$work/started"
        # The same screen in inches at every density.
        screen=$((1280 * dpi / 96))x$((1024 * dpi / 96))x24
        DISPLAY_CHECK_WORK=$work DISPLAY_CHECK_DPI=$dpi \
            xvfb-run -a -s "-screen 0 $screen -dpi $dpi -noreset" bash "$0" "$@"
        status=$?
        [[ -e $work/started ]] || skip "the virtual display did not start"
        ((status == 0)) || exit $status
    done
    exit 0
fi

touch "$DISPLAY_CHECK_WORK/started"
dpi=$DISPLAY_CHECK_DPI shot=$prefix-$DISPLAY_CHECK_DPI.png
# Where the desktop tells programs its density, as a 150 % or 200 % desktop does.
echo "Xft.dpi: $dpi" | xrdb -nocpp -merge || fail "xrdb cannot set Xft.dpi"
wait_for() { local tries=$(($1 * 5)); shift; while ((tries-- > 0)); do "$@" && return 0; sleep 0.2; done; return 1; }
find_window() { win=$(xdotool search --onlyvisible --name "$1" | head -n 1); [[ -n $win ]]; }
export XDG_CONFIG_HOME=$DISPLAY_CHECK_WORK/config QT_QPA_PLATFORMTHEME=
unset QT_QPA_PLATFORM
for answer in Escape "$plan"; do
    "$program" >"$DISPLAY_CHECK_WORK/log" 2>&1 &
    trap 'kill $! 2>/dev/null' EXIT
    wait_for 60 find_window "^CSV-Datei öffnen$" ||
        fail "no file dialog ($answer); the program said: $(cat "$DISPLAY_CHECK_WORK/log")"
    # No window manager gives the dialog the focus; a completion list may take the first Return.
    xdotool windowfocus --sync "$win"
    [[ $answer == Escape ]] || break
    xdotool key Escape
    wait $!; status=$?
    ((status == 255)) || fail "cancelled, the program ended with $status: $(cat "$DISPLAY_CHECK_WORK/log")"
done
xdotool type --delay 10 "$plan"
xdotool key Return
wait_for 5 find_window "^VorlanCSV - " || { xdotool key Return; wait_for 60 find_window "^VorlanCSV - "; } ||
    fail "no main window; the program said: $(cat "$DISPLAY_CHECK_WORK/log")"
title=$(xdotool getwindowname "$win")
[[ $title == "VorlanCSV - $plan" ]] || fail "the title is \"$title\""
# Drawn once the screen shows many colours; below the header line the rows must hold text.
painted() { import -window root "$shot" 2>/dev/null && (($(identify -format %k "$shot") >= 64)); }
wait_for 30 painted || fail "the screenshot $shot looks blank"
eval "$(xdotool getwindowgeometry --shell "$win")"
px() { echo $(($1 * dpi / 96)); } # device pixels of a length in logical pixels
colours=$(convert "$shot" -crop "$((WIDTH - $(px 60)))x$((HEIGHT - $(px 150)))+$((X + $(px 20)))+$((Y + $(px 100)))" \
    +repage -format %k info:)
((colours >= 32)) || fail "the table shows no rows ($colours colours)"
kill $! 2>/dev/null
echo "display check passed at $dpi dpi: \"$title\", $colours colours in the rows"
[[ -z $layout_test ]] && exit 0
declare -A ratio=([96]=1 [144]=1.5 [192]=2)
DISPLAY_CHECK_RATIO=${ratio[$dpi]} "$layout_test" || fail "$layout_test found differences, see above"
((dpi == 144)) || exit 0
# The user's setting decides, and the printout stays the same: setting and its ratio.
for setting in QT_SCALE_FACTOR=1.25/1.25 QT_ENABLE_HIGHDPI_SCALING=0/1 QT_SCALE_FACTOR_ROUNDING_POLICY=Floor/1; do
    env "${setting%/*}" DISPLAY_CHECK_RATIO="${setting#*/}" "$layout_test" "screen:device pixel ratio" \
        screen:printout || fail "under ${setting%/*}, see above"
done
