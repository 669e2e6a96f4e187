#!/usr/bin/env bash
# Runs VorlanCSV once on a virtual X display as a user would: the start-up file
# dialog gets the path of a plan list typed in, then the main window with its
# table must be there, and a screenshot of the display must not be blank.
#   display-check.sh PROGRAM PLAN_FILE SCREENSHOT
# Exits 77 (skipped) when no virtual display can be started, saying why.
set -uo pipefail

program=$1
plan=$(realpath "$2")
shot=$3
skip=77

if [[ "${DISPLAY_CHECK_INNER:-}" != 1 ]]; then
    for tool in xvfb-run Xvfb xauth xdotool import identify convert; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "display check skipped: $tool is not installed" \
                 "(scripts/install-packages.sh --tests installs it)"
            exit $skip
        fi
    done
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    rm -f "$shot"
    DISPLAY_CHECK_INNER=1 DISPLAY_CHECK_WORK=$work \
        xvfb-run -a -s "-screen 0 1280x1024x24" -e "$work/xvfb.log" \
        bash "$0" "$program" "$plan" "$shot"
    status=$?
    if [[ ! -e "$work/display-started" ]]; then
        echo "display check skipped: the virtual display did not start (xvfb-run status $status)"
        sed 's/^/  Xvfb: /' "$work/xvfb.log" 2>/dev/null | tail -n 20
        exit $skip
    fi
    exit $status
fi

# From here on inside the virtual display.
work=$DISPLAY_CHECK_WORK
touch "$work/display-started"
echo "virtual display $DISPLAY"

# Polls `condition` every 0.2 s for up to $1 seconds.
wait_for()
{
    local seconds=$1
    shift
    local tries=$((seconds * 5))
    while ((tries-- > 0)); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}

fail()
{
    echo "display check FAILED: $*"
    [[ -n "${pid:-}" ]] && kill "$pid" 2>/dev/null
    exit 1
}

# A settings store of its own, the toolkit's own file dialog, a real display.
export XDG_CONFIG_HOME=$work/config
export QT_QPA_PLATFORMTHEME=
unset QT_QPA_PLATFORM
"$program" >"$work/program.log" 2>&1 &
pid=$!

dialog=""
find_dialog() { dialog=$(xdotool search --onlyvisible --name "^CSV-Datei öffnen$" | head -n 1); [[ -n "$dialog" ]]; }
wait_for 60 find_dialog || fail "the file dialog did not appear"
echo "file dialog: window $dialog"

# Without a window manager the dialog gets the keyboard focus by hand; its
# name field has the focus inside it.
xdotool windowfocus --sync "$dialog" || fail "cannot focus the file dialog"
xdotool type --delay 10 "$plan"
xdotool key Return
# A completion list may have taken the first Return.
main=""
find_main() { main=$(xdotool search --onlyvisible --name "^VorlanCSV - " | head -n 1); [[ -n "$main" ]]; }
if ! wait_for 5 find_main; then
    find_dialog && xdotool key --window "$dialog" Return
    wait_for 60 find_main || fail "no main window; program output: $(cat "$work/program.log")"
fi

title=$(xdotool getwindowname "$main")
echo "main window: \"$title\""
[[ "$title" == "VorlanCSV - $plan" ]] || fail "title is \"$title\", expected \"VorlanCSV - $plan\""
kill -0 "$pid" 2>/dev/null || fail "the program ended"

# The screenshot is taken once the window is drawn: many colours (text,
# grid, header, toolbar icons) instead of one.
colours=0
painted()
{
    import -window root "$shot" 2>/dev/null || return 1
    colours=$(identify -format %k "$shot" 2>/dev/null || echo 0)
    ((colours >= 64))
}
wait_for 30 painted || fail "screenshot $shot looks blank ($colours colours)"
echo "screenshot $shot: $colours colours"

# The rows of the table: the window below its menu, toolbar and header line,
# inside the table's frame and scroll bars, must hold text, not an empty grid.
eval "$(xdotool getwindowgeometry --shell "$main")"
rows_area="$((WIDTH - 60))x$((HEIGHT - 150))+$((X + 20))+$((Y + 100))"
row_colours=$(convert "$shot" -crop "$rows_area" +repage -format %k info:)
echo "table rows ($rows_area): $row_colours colours"
((row_colours >= 32)) || fail "the table shows no rows ($row_colours colours in $rows_area)"

kill "$pid"
wait "$pid" 2>/dev/null
echo "display check passed"
exit 0
