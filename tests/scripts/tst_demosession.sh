#!/usr/bin/env bash
# The pieces of the run command's demonstration session: what each leaves
# running and in place, and that stopping the session leaves nothing behind.
# Usage: tst_demosession.sh folder SIMULATOR SEED | display
set -euo pipefail
# shellcheck source=scripts/demo-session.sh
source "$(dirname "$0")/../../scripts/demo-session.sh"

work=$(mktemp -d)
trap 'stop_started; rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Every process of the session is gone once it is stopped.
stop_and_expect_none_left() {
    local pids=("${STARTED_PIDS[@]}") pid
    stop_started
    for pid in "${pids[@]}"; do
        ! kill -0 "$pid" 2>/dev/null || fail "process $pid still runs after stop_started"
    done
}

check_folder_and_simulator() {
    local simulator=$1 seed=$2
    local folder
    folder=$(seed_demo_folder "$work/data" "$seed")
    [ "$folder" = "$work/data/Velmora/1.1" ] || fail "application folder is $folder"
    cmp -s "$folder/default.rcf" "$seed" || fail "default.rcf is not the demonstration set-up"

    # The operator's changes from an earlier run stay.
    printf 'edited\r\n' >>"$folder/default.rcf"
    seed_demo_folder "$work/data" "$seed" >/dev/null
    tail -c 8 "$folder/default.rcf" | grep -q edited || fail "a second seeding replaced the operator's default.rcf"

    start_routersim "$simulator" "$folder/ports/COM1" "$work/routersim.log"
    if ! [ -L "$folder/ports/COM1" ] || ! [ -c "$folder/ports/COM1" ]; then
        fail "COM1 is not a link to a terminal device"
    fi
    stop_and_expect_none_left
    if [ -e "$folder/ports/COM1" ] || [ -L "$folder/ports/COM1" ]; then
        fail "COM1 is left behind"
    fi
}

check_display_and_vnc() {
    local tool
    for tool in Xvfb xauth x11vnc ss; do
        command -v "$tool" >/dev/null || exit 77
    done

    start_virtual_display "$work/display"
    [ "$(stat -c %a "$XAUTHORITY")" = 600 ] || fail "the display's key is readable by others"

    start_vnc "$work/display"
    [ ${#VNC_PASSWORD} -eq 8 ] || fail "password '$VNC_PASSWORD' is not 8 characters"
    [ ! -e "$work/display/vnc-password" ] || fail "the password file outlives the server's start"

    # Served on the loopback interface only ...
    local listening address
    listening=$(ss -ltnH "( sport = :$VNC_PORT )" | awk '{print $4}')
    [ -n "$listening" ] || fail "nothing listens on port $VNC_PORT"
    for address in $listening; do
        case $address in
            127.0.0.1:* | "[::1]:"*) ;;
            *) fail "VNC listens on $address" ;;
        esac
    done

    # ... and only to a viewer that knows the password: the one security
    # type offered is VNC authentication (2).
    local vnc
    exec {vnc}<>"/dev/tcp/127.0.0.1/$VNC_PORT"
    [ "$(head -c 12 <&"$vnc")" = "RFB 003.008" ] || fail "not an RFB 3.8 server"
    printf 'RFB 003.008\n' >&"$vnc"
    local offered
    offered=$(head -c 2 <&"$vnc" | od -An -tu1 | tr -s ' ')
    exec {vnc}>&-
    [ "$offered" = " 1 2" ] || fail "security types offered: $offered"

    stop_and_expect_none_left
}

case ${1:-} in
    folder) check_folder_and_simulator "$2" "$3" ;;
    display) check_display_and_vnc ;;
    *) fail "usage: $0 folder SIMULATOR SEED | display" ;;
esac
echo PASS
