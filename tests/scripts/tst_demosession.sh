#!/usr/bin/env bash
# The pieces of the run command's demonstration session: what each leaves
# running and in place, and that stopping the session leaves nothing behind.
# Usage: tst_demosession.sh folder SIMULATOR SEED | display | signals BIN SEED [headless]
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

# The processes whose parent is PID.
children_of() {
    local file stat parent
    for file in /proc/[0-9]*/stat; do
        stat=$(cat "$file" 2>/dev/null) || continue
        # The state and the parent follow the command name in parentheses.
        read -r _ parent _ <<<"${stat##*) }"
        if [ "$parent" = "$1" ]; then
            basename "$(dirname "$file")"
        fi
    done
}

# Waits (at most 30 seconds) until none of the processes PID... runs.
wait_until_gone() {
    local tries pid
    for ((tries = 0; tries < 300; tries++)); do
        for pid in "$@"; do
            is_running "$pid" && continue 2
        done
        return 0
    done
    return 1
}

# The run command's session with the programs in BIN: a signal to it ends the
# panel as File, Exit does (default.rcf saved, control socket gone) and then
# everything it started; SIGKILL to it leaves nothing it started running.
# With "headless", on a virtual display served by VNC.
check_session_signals() {
    local bin=$1 seed=$2 headless=${3:-}
    local tool
    if [ -n "$headless" ]; then
        for tool in Xvfb xauth x11vnc; do
            command -v "$tool" >/dev/null || exit 77
        done
    fi
    export XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=offscreen
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    local state=$work/session folder=$work/session/demo-data/Velmora/1.1
    local socket=$XDG_RUNTIME_DIR/velmora-control
    local script_dir
    script_dir=$(cd "$(dirname "$0")/../../scripts" && pwd)

    local signal session status started tries
    for signal in TERM KILL; do
        # Written loosely: what the panel saves is the demonstration set-up itself.
        mkdir -p "$folder"
        sed 's/^Com Port: 1/Com Port:    1/' "$seed" >"$folder/default.rcf"
        bash -c 'set -euo pipefail; source "$1/demo-session.sh"; run_demo_session "$2" "$3" "$4" "$5"' \
            session "$script_dir" "$bin" "$state" "$seed" "$headless" >"$work/session.log" 2>&1 &
        session=$!
        # The panel listens once it runs (its start-up dialog open).
        for ((tries = 0; tries < 300; tries++)); do
            [ -S "$socket" ] && break
            is_running "$session" || break
            sleep 0.1
        done
        [ -S "$socket" ] || { cat "$work/session.log" >&2; fail "the panel did not start"; }
        read -r -a started <<<"$(children_of "$session" | tr '\n' ' ')"
        [ ${#started[@]} -ge 2 ] || fail "$signal: the session runs ${started[*]}, not the simulator and the panel"
        # Whatever outlives the session is stopped when this test ends.
        STARTED_PIDS+=("${started[@]}")

        kill -"$signal" "$session"
        status=0
        wait "$session" || status=$?
        if [ "$signal" = TERM ]; then
            [ "$status" = 143 ] || { cat "$work/session.log" >&2; fail "TERM: the session ended with $status"; }
        fi
        wait_until_gone "${started[@]}" || fail "$signal: processes ${started[*]} outlive the session"
        # Killed headless, the panel's display goes at the moment its TERM
        # comes, and a panel that loses its display ends without saving (the
        # next panel takes over the socket it leaves).
        if [ "$signal" = TERM ] || [ -z "$headless" ]; then
            cmp -s "$folder/default.rcf" "$seed" || fail "$signal: default.rcf was not saved"
            [ ! -e "$socket" ] || fail "$signal: the control socket is left behind"
        fi
        [ ! -L "$folder/ports/COM1" ] || fail "$signal: COM1 is left behind"
    done
}

case ${1:-} in
    folder) check_folder_and_simulator "$2" "$3" ;;
    display) check_display_and_vnc ;;
    signals) check_session_signals "$2" "$3" "${4:-}" ;;
    *) fail "usage: $0 folder SIMULATOR SEED | display | signals BIN SEED [headless]" ;;
esac
echo PASS
