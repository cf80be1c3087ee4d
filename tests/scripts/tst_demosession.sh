#!/usr/bin/env bash
# The pieces of the run command's demonstration session: what each leaves
# running and in place, and that stopping the session leaves nothing behind.
# Usage: tst_demosession.sh folder SIMULATOR SEED | display | signals BIN SEED [headless] | web BIN SEED
set -euo pipefail
script_dir=$(cd "$(dirname "$0")/../../scripts" && pwd)
# shellcheck source=scripts/demo-session.sh
source "$script_dir/demo-session.sh"

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

# Something listens on PORT, and only on the loopback interface.
expect_loopback_only() {
    local port=$1 what=$2
    local listening address
    listening=$(ss -ltnH "( sport = :$port )" | awk '{print $4}')
    [ -n "$listening" ] || fail "nothing listens on port $port"
    for address in $listening; do
        case $address in
            127.0.0.1:* | "[::1]:"*) ;;
            *) fail "$what listens on $address" ;;
        esac
    done
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
    expect_loopback_only "$VNC_PORT" VNC

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

# The region of the picture FILE that is not black, as WIDTHxHEIGHT+X+Y of
# that picture with a black border of 1 pixel around it; 0x0 when all black.
drawn_region() {
    convert "$1" -bordercolor black -border 1 -format '%@' info: 2>/dev/null
}

# The panel from BIN, on the demonstration set-up SEED, on the virtual
# display, seen in a web browser: the page the session prints asks for the
# password and, given the run's, shows the panel's window as the display
# itself holds it. Once Enter typed in the page has closed the start-up
# dialog, the main window covers the whole display: nothing of it is black
# at its edges. The transfer may compress the picture, so the two may
# differ a little: at most 3 % mean absolute difference (a noVNC screen
# instead of the panel, or a black one, differs by far more).
check_web_view() {
    local bin=$1 seed=$2
    local tool
    for tool in Xvfb xauth x11vnc websockify chromium python3 convert compare import ss; do
        command -v "$tool" >/dev/null || exit 77
    done
    export XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/data
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    seed_demo_folder "$XDG_DATA_HOME" "$seed" >/dev/null
    local display=$work/display started=$SECONDS
    start_virtual_display "$display"
    start_vnc "$display"
    start_web_view "$display"
    expect_loopback_only "$WEB_PORT" websockify
    QT_QPA_PLATFORM=xcb guarded TERM "$bin/velmora" >"$work/panel.log" 2>&1 &
    STARTED_PIDS+=($!)

    # The panel's first window, once it is on the display.
    local tries region
    for ((tries = 0; tries < 100; tries++)); do
        import -window root "$display/display.png"
        region=$(drawn_region "$display/display.png")
        [[ $region != 0x0* ]] && break
        sleep 0.2
    done
    [[ $region != 0x0* ]] || { cat "$work/panel.log" >&2; fail "the panel draws nothing on the display"; }

    # The page as printed asks for the password; it is typed into its own
    # dialog. Once noVNC is connected after that and shows a frame (it shows
    # only whole ones, and the display is black where the panel is not),
    # Enter goes to the start-up dialog. Ready when the main window reaches
    # the picture's corners; noVNC's control bar, which opens over the
    # picture's left edge, and its status line, which slides over the top
    # edge, are then hidden.
    local ready='(() => {
        const dialog = document.getElementById("noVNC_credentials_dlg");
        if (dialog.classList.contains("noVNC_open")) {
            window.askedForPassword = true;
            document.getElementById("noVNC_password_input").value = "'"$VNC_PASSWORD"'";
            document.getElementById("noVNC_credentials_button").click();
            return "password sent";
        }
        const canvas = document.querySelector("#noVNC_container canvas");
        if (!document.documentElement.classList.contains("noVNC_connected") || !canvas || !canvas.width)
            return document.getElementById("noVNC_status").textContent || "not connected";
        if (!window.askedForPassword) return "connected without being asked for a password";
        const pixels = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
        const drawn = (x, y) => {
            const i = 4 * (y * canvas.width + x);
            return pixels[i] + pixels[i + 1] + pixels[i + 2] > 30;
        };
        if (!window.sentEnter) {
            if (!pixels.some((value, i) => i % 4 != 3 && value > 0)) return "connected, nothing drawn yet";
            for (const type of ["keydown", "keyup"])
                canvas.dispatchEvent(new KeyboardEvent(type, { key: "Enter", code: "Enter", bubbles: true }));
            window.sentEnter = true;
            return "Enter sent to the start-up dialog";
        }
        const right = canvas.width - 1, bottom = canvas.height - 1;
        if (![[0, 0], [right, 0], [0, bottom], [right, bottom]].every(([x, y]) => drawn(x, y)))
            return "the main window does not cover the display";
        for (const id of ["noVNC_control_bar_anchor", "noVNC_status"])
            document.getElementById(id).style.display = "none";
        return true;
    })()'
    local shot=$display/browser.png
    # A page of the display's size: the picture, scaled to fit, is shown at its own size.
    (guarded TERM python3 "$(dirname "$0")/browser_shot.py" "$WEB_ADDRESS" "$ready" "#noVNC_container canvas" "$shot" \
        "$VIRTUAL_SCREEN") ||
        fail "the page did not show the panel (its picture: $shot)"
    echo "page ready $((SECONDS - started)) s after the virtual display's start"

    # The display now, at the size the browser showed it, against the browser.
    import -window root "$display/display.png"
    local size difference
    size=$(identify -format '%wx%h' "$display/display.png")
    region=$(drawn_region "$display/display.png")
    [ "$region" = "$size+1+1" ] || fail "the main window covers $region of the display ($size, with a border of 1)"
    convert "$shot" -resize "$size!" -bordercolor black -border 1 -crop "$region" +repage "$display/browser-panel.png"
    convert "$display/display.png" -bordercolor black -border 1 -crop "$region" +repage "$display/display-panel.png"
    # compare ends with 1 when the pictures differ at all.
    difference=$({ compare -metric MAE "$display/display-panel.png" "$display/browser-panel.png" null: 2>&1 || true; } |
        sed -n 's/.*(\(.*\))/\1/p')
    echo "mean absolute difference over the panel ($region): $difference"
    awk -v d="$difference" 'BEGIN { exit !(d != "" && d < 0.03) }' ||
        fail "the browser shows something else than the display ($difference; $shot)"

    stop_and_expect_none_left
    ! ss -ltnH "( sport = :$WEB_PORT )" | grep -q . || fail "port $WEB_PORT still listens after the stop"
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

# The session's files a second one must leave alone: the simulator's log,
# the port link, the display's key and number, the set-up.
session_files() {
    local state=$1 folder=$2
    readlink "$folder/ports/COM1"
    stat -c '%n %s %i %y' "$state/demo-routersim.log" "$folder/default.rcf" "$state/demo-display/xauth" \
        "$state/demo-display/display-number" 2>/dev/null || true
}

# A session started in STATE while another runs there (its output in
# FIRST_LOG) is refused at once, says where the first one's panel is seen,
# and leaves the first one's files alone.
expect_second_session_refused() {
    local bin=$1 state=$2 seed=$3 headless=$4 folder=$5 first_log=$6
    local before status=0 vnc_port
    before=$(session_files "$state" "$folder")
    "${session_command[@]}" "$bin" "$state" "$seed" "$headless" >"$work/second.log" 2>&1 || status=$?
    [ "$status" = 1 ] || { cat "$work/second.log" >&2; fail "a second session ended with $status"; }
    grep -q '^A demonstration session is already running here' "$work/second.log" ||
        fail "the second session did not say why: $(cat "$work/second.log")"
    if [ -n "$headless" ]; then
        vnc_port=$(sed -n 's/.*by VNC at localhost port \([0-9]*\).*/\1/p' "$first_log")
        grep -q "by VNC at localhost port $vnc_port, in a web browser at http://localhost:" "$work/second.log" ||
            fail "the second session did not say where the first one's views are: $(cat "$work/second.log")"
    else
        grep -qx "Its panel is on this machine's display." "$work/second.log" ||
            fail "the second session did not say where the first one's panel is: $(cat "$work/second.log")"
    fi
    [ "$(session_files "$state" "$folder")" = "$before" ] || fail "the second session touched the first one's files"
}

# The run command's session as run.sh runs it; BIN STATE SEED HEADLESS follow.
# shellcheck disable=SC2016 # expanded by the session's own shell
session_command=(bash -c 'set -euo pipefail; source "$1/demo-session.sh"; claim_demo_session "$3" || exit 1
                          run_demo_session "$2" "$3" "$4" "$5"' session "$script_dir")

# The run command's session with the programs in BIN: a signal to it ends the
# panel as File, Exit does (default.rcf saved, control socket gone) and then
# everything it started; SIGKILL to it leaves nothing it started running.
# With "headless", on a virtual display served by VNC and to a web browser.
# A second session while it runs is refused.
check_session_signals() {
    local bin=$1 seed=$2 headless=${3:-}
    local tool
    if [ -n "$headless" ]; then
        for tool in Xvfb xauth x11vnc websockify; do
            command -v "$tool" >/dev/null || exit 77
        done
    fi
    export XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=offscreen
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    local state=$work/session folder=$work/session/demo-data/Velmora/1.1
    local socket=$XDG_RUNTIME_DIR/velmora-control

    local signal session status started tries
    for signal in TERM KILL; do
        # Written loosely: what the panel saves is the demonstration set-up itself.
        mkdir -p "$folder"
        sed 's/^Com Port: 1/Com Port:    1/' "$seed" >"$folder/default.rcf"
        "${session_command[@]}" "$bin" "$state" "$seed" "$headless" >"$work/session.log" 2>&1 &
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
        if [ "$signal" = TERM ]; then
            expect_second_session_refused "$bin" "$state" "$seed" "$headless" "$folder" "$work/session.log"
        fi

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
    web) check_web_view "$2" "$3" ;;
    *) fail "usage: $0 folder SIMULATOR SEED | display | signals BIN SEED [headless] | web BIN SEED" ;;
esac
echo PASS
