#!/usr/bin/env bash
# Starts the CUPS print spooler when none runs and gives it the PDF queues
# "VorlanPDF" and "VorlanPDF2"; tst_printing prints on one that is not the
# default printer. Run as root; safe to run again.
set -euo pipefail
export LC_ALL=C

if [ "$(id -u)" -ne 0 ]; then
    echo "start-print-spooler.sh: must run as root" >&2
    exit 1
fi
for tool in cupsd lpstat lpadmin lpinfo; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "start-print-spooler.sh: $tool not found (packages cups and printer-driver-cups-pdf)" >&2
        exit 1
    fi
done

scheduler_running()
{
    lpstat -r 2>/dev/null | grep -q '^scheduler is running'
}

if ! scheduler_running; then
    mkdir -p /run/cups
    # cupsd puts itself into the background once it is set up.
    cupsd
fi
for _ in $(seq 1 120); do
    scheduler_running && break
    sleep 0.25
done
if ! scheduler_running; then
    echo "start-print-spooler.sh: the scheduler does not answer" >&2
    exit 1
fi

for queue in VorlanPDF VorlanPDF2; do
    if ! lpstat -p "$queue" >/dev/null 2>&1; then
        # The model name of the cups-pdf driver, e.g. lsb/usr/cups-pdf/CUPS-PDF_opt.ppd.
        model=$(lpinfo -m 2>/dev/null | awk '{ print $1 }' | grep -i 'cups-pdf' | grep -i '_opt' | head -n 1 || true)
        if [ -z "$model" ]; then
            model=$(lpinfo -m 2>/dev/null | awk '{ print $1 }' | grep -i 'cups-pdf' | head -n 1 || true)
        fi
        if [ -z "$model" ]; then
            echo "start-print-spooler.sh: no cups-pdf driver known to CUPS (package printer-driver-cups-pdf)" >&2
            exit 1
        fi
        lpadmin -p "$queue" -E -v cups-pdf:/ -m "$model"
    fi
    cupsenable "$queue"
    cupsaccept "$queue"
    # A queue just added takes a moment before it takes jobs.
    for _ in $(seq 1 120); do
        lpstat -a "$queue" 2>/dev/null | grep -q 'accepting requests' && break
        sleep 0.25
    done
done

# The first queue becomes the default printer only where none is set.
if ! lpstat -d 2>/dev/null | grep -q 'system default destination:'; then
    lpadmin -d VorlanPDF
fi

lpstat -d
lpstat -p VorlanPDF,VorlanPDF2
