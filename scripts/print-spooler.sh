#!/usr/bin/env bash
# Gives the printing tests the PDF queues VorlanPDF1 to VorlanPDF3 (the default) on
# the local CUPS print spooler, writing to /var/spool/cups-pdf/VORLAN; "stop" leaves
# the spooler as found, with its queues, its default printer, running or not.
#   print-spooler.sh start|stop STATE_FILE      (as root)
set -euo pipefail
export LC_ALL=C
action=$1 state=$2
running() { lpstat -r 2>/dev/null | grep -q '^scheduler is running'; }
accepting() { lpstat -a "$1" 2>/dev/null | grep -q 'accepting requests'; }
retry() { for _ in $(seq 1 120); do "$@" && return 0; sleep 0.25; done; return 1; }
fail() { echo "print-spooler.sh: $*" >&2; exit 1; }

if [[ $action == stop ]]; then
    [[ -f $state ]] || exit 0
    source "$state"
    for queue in "${created[@]}"; do cancel -a -x "$queue" || true; lpadmin -x "$queue" || true; done
    [[ -z ${conf_made:-} ]] || rm -rf /etc/cups/cups-pdf-vorlan.conf /var/spool/cups-pdf/VORLAN
    [[ -z $default ]] || lpadmin -d "$default" || true
    [[ -z $cupsd_pid ]] || kill "$cupsd_pid" || true
    rm -f "$state"
    exit 0
fi
command -v cupsd >/dev/null && command -v lpadmin >/dev/null || fail "no CUPS (packages cups, printer-driver-cups-pdf)"
[[ $(id -u) -eq 0 ]] || fail "must run as root"
"$0" stop "$state" # what an interrupted run left
cupsd_pid='' default='' created=() conf_made=''
save() { declare -p cupsd_pid default created conf_made >"$state"; }
if ! running; then
    mkdir -p /run/cups
    cupsd -f </dev/null >/dev/null 2>&1 &
    cupsd_pid=$!
    save
    retry running || fail "the scheduler does not answer"
fi
default=$(lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p')
save
model=$(lpinfo -m 2>/dev/null | awk '{ print $1 }' | grep -i 'cups-pdf' | sort -r | head -n 1)
[[ -n $model ]] || fail "no cups-pdf driver (package printer-driver-cups-pdf)"
[[ -f /etc/cups/cups-pdf-vorlan.conf ]] || conf_made=1 # another run's stays
printf 'Out /var/spool/cups-pdf/VORLAN\nLabel 2\n' >/etc/cups/cups-pdf-vorlan.conf
save
for queue in VorlanPDF1 VorlanPDF2 VorlanPDF3; do
    if ! lpstat -p "$queue" >/dev/null 2>&1; then
        lpadmin -p "$queue" -E -v cups-pdf:/vorlan -m "$model" 2>/dev/null
        created+=("$queue")
        save
    fi
    cupsenable "$queue" && cupsaccept "$queue" && retry accepting "$queue"
done
lpadmin -d VorlanPDF3
lpstat -d -p VorlanPDF1,VorlanPDF2,VorlanPDF3
