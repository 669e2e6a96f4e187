#!/usr/bin/env bash
# Gives the printing tests three PDF queues VorlanPDF1 to VorlanPDF3 on the
# local CUPS print spooler, the third the default printer, and takes them away
# again afterwards: the spooler is left as it was found, with its own queues,
# its default printer, and running or not.
#   print-spooler.sh start|stop STATE_FILE      (as root)
set -euo pipefail
export LC_ALL=C
action=$1 state=$2
running() { lpstat -r 2>/dev/null | grep -q '^scheduler is running'; }
accepting() { lpstat -a "$1" 2>/dev/null | grep -q 'accepting requests'; }
retry() { for _ in $(seq 1 120); do "$@" && return 0; sleep 0.25; done; return 1; }

if [[ $action == stop ]]; then
    [[ -f $state ]] || exit 0
    source "$state"
    for queue in "${created[@]}"; do lpadmin -x "$queue" || true; done
    if [[ -n $default ]]; then lpadmin -d "$default" || true; fi
    if [[ -n $cupsd_pid ]]; then kill "$cupsd_pid" || true; fi
    rm -f "$state"
    exit 0
fi

for tool in cupsd lpstat lpadmin lpinfo; do
    command -v "$tool" >/dev/null || { echo "print-spooler.sh: no $tool (packages cups, printer-driver-cups-pdf)" >&2; exit 1; }
done
[[ $(id -u) -eq 0 ]] || { echo "print-spooler.sh: must run as root" >&2; exit 1; }
"$0" stop "$state" # what an interrupted run left
cupsd_pid='' default='' created=()
save() { declare -p cupsd_pid default created >"$state"; }
if ! running; then
    mkdir -p /run/cups
    cupsd -f </dev/null >/dev/null 2>&1 &
    cupsd_pid=$!
    save
    retry running || { echo "print-spooler.sh: the scheduler does not answer" >&2; exit 1; }
fi
default=$(lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p')
save
model=$(lpinfo -m 2>/dev/null | awk '{ print $1 }' | grep -i 'cups-pdf' | sort -r | head -n 1)
[[ -n $model ]] || { echo "print-spooler.sh: no cups-pdf driver (package printer-driver-cups-pdf)" >&2; exit 1; }
for queue in VorlanPDF1 VorlanPDF2 VorlanPDF3; do
    if ! lpstat -p "$queue" >/dev/null 2>&1; then
        lpadmin -p "$queue" -E -v cups-pdf:/ -m "$model" 2>/dev/null
        created+=("$queue")
        save
    fi
    cupsenable "$queue" && cupsaccept "$queue"
    retry accepting "$queue"
done
lpadmin -d VorlanPDF3
lpstat -d -p VorlanPDF1,VorlanPDF2,VorlanPDF3
