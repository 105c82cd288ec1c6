#!/usr/bin/env bash
# Starts a private CUPS scheduler for the tests: its own configuration, spool,
# logs and local socket in FOLDER, and one raw queue per name given (default:
# kq_test), so a document arrives as it was sent. Each queue's device is the
# small backend `kqfile` written below: it keeps every job as
# FOLDER/out/QUEUE/job-ID.pdf (written under a temporary name, then renamed,
# so a file that exists is complete) and the copies the scheduler asked of it
# as job-ID.copies. Leaves FOLDER/cupsd.pid and FOLDER/cups.sock; point libcups
# at it with CUPS_SERVER=FOLDER/cups.sock. Stop it with scripts/stop_cupsd.sh.
#
# Usage: scripts/start_cupsd.sh FOLDER [QUEUE...]
# Needs cupsd (cups-daemon) and lpadmin/lpstat (cups-client); runs as root
# (cupsd then spools as root in FOLDER) or as any user.
set -euo pipefail
DIR="${1:?usage: start_cupsd.sh FOLDER [QUEUE...]}"
shift
QUEUES=("$@")
((${#QUEUES[@]})) || QUEUES=(kq_test)

mkdir -p "$DIR"
DIR="$(cd "$DIR" && pwd)"
if [[ -f "$DIR/cupsd.pid" ]] && kill -0 "$(cat "$DIR/cupsd.pid")" 2>/dev/null; then
  "$(dirname "$0")/stop_cupsd.sh" "$DIR"
fi
rm -rf "$DIR/spool" "$DIR/cache" "$DIR/state" "$DIR/log" "$DIR/out" "$DIR/etc"
rm -rf "$DIR/bin"
mkdir -p "$DIR/spool/tmp" "$DIR/cache" "$DIR/state/certs" "$DIR/log" "$DIR/out" "$DIR/etc/ppd" "$DIR/etc/ssl" \
         "$DIR/bin/backend" "$DIR/bin/filter"
chmod 0755 "$DIR" "$DIR/out" "$DIR/bin" "$DIR/bin/backend" "$DIR/bin/filter"
# The scheduler's helpers come from the system; the backends are ours.
ln -s /usr/lib/cups/daemon "$DIR/bin/daemon"
ln -s /usr/lib/cups/notifier "$DIR/bin/notifier"
cat > "$DIR/bin/backend/kqfile" <<'BACKEND'
#!/bin/sh
# kqfile:/FOLDER: keeps each job as FOLDER/job-ID.pdf, its copies in job-ID.copies.
umask 022
if [ $# -eq 0 ]; then echo 'direct kqfile "Unknown" "Job files"'; exit 0; fi
dir="${DEVICE_URI#kqfile:}"
tmp="$dir/.job-$1.part"
if [ -n "$6" ]; then cat "$6" > "$tmp" || exit 1; else cat > "$tmp" || exit 1; fi
echo "$4" > "$dir/job-$1.copies"
mv "$tmp" "$dir/job-$1.pdf"
BACKEND
chmod 0755 "$DIR/bin/backend/kqfile"
chmod 0710 "$DIR/spool"
chmod 1770 "$DIR/spool/tmp"

SOCKET="$DIR/cups.sock"
USER_NAME="$(id -un)"
GROUP_NAME="$(id -gn)"
# cupsd refuses root as the user it runs filters as; root's jobs run as lp.
if [[ $(id -u) -eq 0 ]]; then USER_NAME=lp; GROUP_NAME=lp; fi

cat > "$DIR/etc/cups-files.conf" <<CONF
ServerRoot $DIR/etc
RequestRoot $DIR/spool
TempDir $DIR/spool/tmp
CacheDir $DIR/cache
StateDir $DIR/state
AccessLog $DIR/log/access_log
ErrorLog $DIR/log/error_log
PageLog $DIR/log/page_log
Printcap $DIR/printcap
User $USER_NAME
Group $GROUP_NAME
SystemGroup $(id -gn)
ServerBin $DIR/bin
DataDir /usr/share/cups
CONF

cat > "$DIR/etc/cupsd.conf" <<CONF
LogLevel info
Listen $SOCKET
Browsing No
DefaultAuthType None
DefaultEncryption Never
WebInterface No
MaxJobs 0
PreserveJobHistory Yes
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
: > "$DIR/etc/printers.conf"
chmod 0640 "$DIR/etc/cupsd.conf" "$DIR/etc/cups-files.conf" "$DIR/etc/printers.conf"

rm -f "$SOCKET"
nohup /usr/sbin/cupsd -f -c "$DIR/etc/cupsd.conf" -s "$DIR/etc/cups-files.conf" \
  > "$DIR/log/cupsd.out" 2>&1 &
echo $! > "$DIR/cupsd.pid"

export CUPS_SERVER="$SOCKET"
for _ in $(seq 1 100); do
  if [[ -S "$SOCKET" ]] && lpstat -r >/dev/null 2>&1; then break; fi
  if ! kill -0 "$(cat "$DIR/cupsd.pid")" 2>/dev/null; then
    echo "cupsd did not start:" >&2
    cat "$DIR/log/cupsd.out" "$DIR/log/error_log" >&2 2>/dev/null || true
    exit 1
  fi
  sleep 0.1
done
lpstat -r >/dev/null || { echo "cupsd does not answer on $SOCKET" >&2; exit 1; }

for q in "${QUEUES[@]}"; do
  mkdir -p "$DIR/out/$q"
  chmod 0777 "$DIR/out/$q"
  lpadmin -p "$q" -E -v "kqfile:$DIR/out/$q" 2>/dev/null
  cupsenable "$q" 2>/dev/null || true
  cupsaccept "$q" 2>/dev/null || true
done
echo "cupsd on $SOCKET (pid $(cat "$DIR/cupsd.pid")), queues: ${QUEUES[*]}"
