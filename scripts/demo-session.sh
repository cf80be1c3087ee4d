# shellcheck shell=bash
# Sourced by run.sh: the pieces of a demonstration session, each usable on its
# own (source this file, call one function, look at what it left behind).
# Every process started here is remembered and stopped by stop_started, and
# ends with the shell that started it even when that shell is killed outright.

STARTED_PIDS=()

# True while process PID runs; one that has ended but was not yet waited for
# does not count.
is_running() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    # The state follows the command name in parentheses, which may hold blanks.
    [[ ${stat##*) } != Z* ]]
}

# Stops every process this session started, the latest first. x11vnc now and
# then hangs in its own clean-up after the signal: a process still there after
# 5 seconds is killed.
stop_started() {
    local i pid tries
    for ((i = ${#STARTED_PIDS[@]} - 1; i >= 0; i--)); do
        pid=${STARTED_PIDS[i]}
        kill -TERM "$pid" 2>/dev/null || true
        tries=0
        while is_running "$pid" && ((tries++ < 50)); do
            sleep 0.1
        done
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    STARTED_PIDS=()
}

# Runs COMMAND (arguments follow) in place of the calling subshell, so that the
# kernel sends it SIGNAL when its parent, the shell that started it with "&",
# ends in any way, SIGKILL included. Call it as: guarded TERM command ... &
guarded() {
    local signal=$1
    shift
    # The session's lock stays with the session's shell: a program that could
    # outlive the session (a browser the panel's help opened) must not keep it.
    if [ -n "${DEMO_LOCK:-}" ]; then
        exec {DEMO_LOCK}>&-
    fi
    exec setpriv --pdeathsig "$signal" -- "$@"
}

# Makes this shell the one demonstration session whose state is in STATE
# (the run command's build folder): it holds the lock STATE/demo-session.lock
# until it ends, and STATE/demo-session.txt says where its panel can be seen.
# While another session holds the lock, says so and where that one's panel is
# seen, touches none of its files and returns 1.
claim_demo_session() {
    local state=$1
    mkdir -p "$state"
    # Opened for appending: a refused session empties nothing.
    exec {DEMO_LOCK}>>"$state/demo-session.lock"
    if flock -n "$DEMO_LOCK"; then
        echo "It is still starting." >"$state/demo-session.txt"
        return 0
    fi
    exec {DEMO_LOCK}>&-
    unset DEMO_LOCK
    {
        echo "A demonstration session is already running here; end it (File, Exit in its panel) first."
        cat "$state/demo-session.txt" 2>/dev/null || true
    } >&2
    return 1
}

# Waits until FILE holds a line matching PATTERN, as long as process PID
# lives, for at most 20 seconds; returns 1 when it does not come. The caller
# empties FILE before it starts PID: a background start's own redirection
# empties it only once the new process runs, so a line of an earlier run
# could be read in between.
await_line() {
    local file=$1 pattern=$2 pid=$3
    local tries
    for ((tries = 0; tries < 200; tries++)); do
        grep -q -- "$pattern" "$file" 2>/dev/null && return 0
        is_running "$pid" || break
        sleep 0.1
    done
    return 1
}

# As await_line, for the start of WHAT: on failure shows the file.
wait_for_line() {
    local file=$1 pattern=$2 pid=$3 what=$4
    await_line "$file" "$pattern" "$pid" && return 0
    echo "$what did not start; its output ($file):" >&2
    cat "$file" >&2 2>/dev/null || true
    return 1
}

# Creates the panel's application folder under DATA_HOME (as the panel finds
# it through XDG_DATA_HOME) with its ports folder, and puts the demonstration
# set-up there as default.rcf unless one is already there: the operator's
# changes from an earlier demonstration are kept. Prints the folder.
seed_demo_folder() {
    local data_home=$1 seed=$2
    local folder=$data_home/Velmora/1.1
    mkdir -p "$folder/ports"
    if [ ! -e "$folder/default.rcf" ]; then
        cp "$seed" "$folder/default.rcf"
    fi
    echo "$folder"
}

# Starts the router simulator for frame addresses 0 and 1 (the demonstration's
# two routers) on a pseudo-terminal linked at LINK, logging every frame to LOG.
start_routersim() {
    local simulator=$1 link=$2 log=$3
    : >"$log" # emptied here, not by the background start: see await_line
    guarded TERM "$simulator" --link "$link" --routers 0-1 >"$log" 2>&1 &
    STARTED_PIDS+=($!)
    wait_for_line "$log" '^ready ' $! "The router simulator"
}

# The size of the virtual display: the panel's main window, its 800 x 543
# client area (frmMainMatrix) under its menu bar as drawn with the fonts the
# run command installs. With no window manager the window sits at the top
# left corner, so a larger display shows black beside and below it, and the
# views would show that too.
VIRTUAL_SCREEN=800x561

# Starts a virtual X display whose only key is a fresh cookie in STATE/xauth,
# and exports DISPLAY and XAUTHORITY for what runs on it.
start_virtual_display() {
    local state=$1
    mkdir -p "$state"
    local auth=$state/xauth number_file=$state/display-number
    rm -f "$auth" "$auth-c" "$auth-l" "$number_file"
    (umask 077 && touch "$auth")
    # The display number is chosen by the server, so the cookie's entry names
    # no address and no display number (family "wild", ffff): it matches the
    # display whichever number it gets.
    local cookie_name=4d49542d4d414749432d434f4f4b49452d31 # MIT-MAGIC-COOKIE-1, in hex
    printf 'ffff 0000  0000  0012 %s 0010 %s\n' "$cookie_name" "$(mcookie)" | xauth -f "$auth" nmerge -
    guarded TERM Xvfb -displayfd 3 -screen 0 "${VIRTUAL_SCREEN}x24" -nolisten tcp -auth "$auth" \
        3>"$number_file" >"$state/xvfb.log" 2>&1 &
    STARTED_PIDS+=($!)
    wait_for_line "$number_file" '^[0-9][0-9]*$' $! "The virtual display (Xvfb)"
    DISPLAY=:$(head -n 1 "$number_file")
    export DISPLAY XAUTHORITY=$auth
    unset WAYLAND_DISPLAY
}

# Serves the virtual display over VNC on this machine only (the loopback
# interface), behind a password made for this run and printed once. Sets
# VNC_PORT and VNC_PASSWORD.
start_vnc() {
    local state=$1
    local password_file=$state/vnc-password log=$state/x11vnc.log
    local random
    random=$(head -c 512 /dev/urandom | LC_ALL=C tr -dc 'A-HJ-NP-Za-km-z2-9')
    # A VNC password is at most 8 characters.
    VNC_PASSWORD=${random:0:8}
    (umask 077 && printf '%s\n' "$VNC_PASSWORD" >"$password_file")
    # rm: makes x11vnc delete the file once read, so the password is stored
    # nowhere while the session runs. KILL when the shell dies: it has nothing
    # to clean up and now and then hangs in its clean-up after TERM.
    : >"$log" # emptied here, not by the background start: see await_line
    guarded KILL x11vnc -display "$DISPLAY" -auth "$XAUTHORITY" -localhost -autoport 5900 \
        -forever -shared -passwdfile "rm:$password_file" >"$log" 2>&1 &
    STARTED_PIDS+=($!)
    wait_for_line "$log" '^PORT=' $! "The VNC server (x11vnc)"
    VNC_PORT=$(sed -n 's/^PORT=//p' "$log" | head -n 1)
}

# Serves the VNC server to a web browser on this machine only: websockify,
# on the loopback interface at port 6080 or the next free one, hands out
# noVNC's page and carries its connection to VNC_PORT, where the run's
# password is asked. Sets WEB_PORT and WEB_ADDRESS, the page to open.
start_web_view() {
    local state=$1
    local log=$state/websockify.log port pid
    # Trying the port itself leaves no gap for another program to take it
    # between a check and the start.
    for ((port = 6080; port < 6180; port++)); do
        : >"$log" # emptied here, not by the background start: see await_line
        guarded TERM websockify --web /usr/share/novnc "127.0.0.1:$port" "127.0.0.1:$VNC_PORT" \
            >"$log" 2>&1 &
        pid=$!
        if await_line "$log" '^ *- proxying from ' "$pid"; then
            STARTED_PIDS+=("$pid")
            WEB_PORT=$port
            # The page takes host and port from its own address, so it works
            # as well through a tunnel from another local port.
            WEB_ADDRESS="http://localhost:$WEB_PORT/vnc.html?autoconnect=true&resize=scale"
            return 0
        fi
        wait "$pid" 2>/dev/null || true
        grep -q 'Address already in use' "$log" || break
    done
    echo "The web view (websockify) did not start; its output ($log):" >&2
    cat "$log" >&2 2>/dev/null || true
    return 1
}

# Runs the panel PROGRAM (arguments follow) until it ends; returns its exit
# status. TERM, INT and HUP sent to this shell are passed on to the panel,
# which saves and closes as File, Exit does; the status is then 128 + the
# number of that signal, as for a shell ended by it. The panel runs in the
# background because a shell runs no trap while a foreground command runs.
run_panel() {
    local signal status
    PANEL_SIGNAL=
    # A background command of a script starts with INT ignored, and the
    # panel leaves ignored what it starts with.
    guarded TERM env --default-signal=INT "$@" &
    PANEL_PID=$!
    STARTED_PIDS+=("$PANEL_PID")
    for signal in TERM INT HUP; do
        # shellcheck disable=SC2064 # the signal's name is fixed now
        trap "PANEL_SIGNAL=$signal; kill -$signal \$PANEL_PID 2>/dev/null || true" "$signal"
    done
    # A trapped signal cuts the wait short while the panel is still saving.
    while :; do
        status=0
        wait "$PANEL_PID" || status=$?
        is_running "$PANEL_PID" || break
    done
    if [ -n "$PANEL_SIGNAL" ]; then
        return $((128 + $(kill -l "$PANEL_SIGNAL")))
    fi
    return "$status"
}

# The run command's session, once claim_demo_session has made it the only one
# in STATE: the demonstration set-up in STATE/demo-data
# (seeded from SEED), the router simulator as COM1 logging to
# STATE/demo-routersim.log, with HEADLESS non-empty a virtual display served
# by VNC, and the panel from BIN until it ends. Whatever ends the session
# (the panel closing, a signal, a failed step), what it started goes with it.
run_demo_session() {
    local bin=$1 state=$2 seed=$3 headless=$4
    trap stop_started EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM HUP

    export XDG_DATA_HOME=$state/demo-data
    local folder
    folder=$(seed_demo_folder "$XDG_DATA_HOME" "$seed")
    start_routersim "$bin/velmora-routersim" "$folder/ports/COM1" "$state/demo-routersim.log"
    echo "Demonstration set-up: $folder/default.rcf"
    echo "Router simulator on COM1, frames logged to $state/demo-routersim.log"

    if [ -n "$headless" ]; then
        start_virtual_display "$state/demo-display"
        start_vnc "$state/demo-display"
        start_web_view "$state/demo-display"
        export QT_QPA_PLATFORM=xcb
        print_vnc_directions
        echo "Its panel is on a virtual display: by VNC at localhost port $VNC_PORT, in a web browser at" \
            "$WEB_ADDRESS (with the password that session printed)." >"$state/demo-session.txt"
    else
        echo "Its panel is on this machine's display." >"$state/demo-session.txt"
    fi

    run_panel "$bin/velmora"
}

# Tells the operator how to reach the panel on the virtual display.
print_vnc_directions() {
    local user_host
    user_host="${USER:-$(id -un)}@$(hostname)"
    cat <<EOF

No display here: the panel runs on a virtual display, served to this machine
only: by VNC at localhost port $VNC_PORT, to a web browser at port $WEB_PORT.

    VNC password:    $VNC_PASSWORD    (new on every run)

  In a web browser:  $WEB_ADDRESS
                     (the page asks for the password)
  Or a VNC viewer:   localhost:$VNC_PORT
                     (for example: vncviewer localhost::$VNC_PORT)
  From another one:  ssh -L $WEB_PORT:localhost:$WEB_PORT -L $VNC_PORT:localhost:$VNC_PORT $user_host
                     and then the same address in a browser there,
                     or a VNC viewer there to localhost:$VNC_PORT

Close the panel (File, Exit), or press Ctrl+C here, to end the session.

EOF
}
