# shellcheck shell=bash disable=SC2034 # (variables set here are the scripts')
# Shared by the stress runs of the program in a real window (stress-send.sh and
# stress-engines.sh): their options, the program and the end-to-end harness, the random
# choices and the action log, the programmable buttons and the send pane's controls, the
# actions a person takes on the send pane and the port, the far end, the dialog boxes, the
# program's health, and what it leaves behind. Not part of `make test`.
#
# Source it from bash, at the top level, after setting `stress_name` (for messages); it
# sources the end-to-end harness (E2E_TOOLS, default ../shared/tools beside the checkout,
# or beside the folder of worktrees it is one of).
#   stress_parse_args "$@"   [SECONDS] --exe --seed --out; an option it does not know goes
#                            to the script's stress_option, when it defines one, which takes
#                            it and sets `stress_taken` to the number of words it used
#   stress_program           finds (or builds) the program, sets the sanitizers' options,
#                            starts actions.log
#   stress_buttons           stores the programmable buttons of the runs in the profile
#   stress_find_controls     the send pane's controls over the accessibility bus (`at`)
#   stress_probe             every 60 s: the program still answers
#   stress_between           the pause and the checks between two actions
#   stress_collect [PREFIX]  program.log, cores and sanitizer reports into the report folder
#   stress_summary LINE...   summary.txt; true when the run passed

: "${stress_name:=stress}"
stress_lib=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
stress_caller=$PWD # where relative names given as options start from
repo=$(cd "$stress_lib/.." && pwd)
# The harness beside the checkout, or beside the folder of worktrees it is one of.
stress_tools=${E2E_TOOLS:-$repo/../shared/tools}
[ -n "${E2E_TOOLS:-}" ] || [ -f "$stress_tools/e2e.sh" ] || stress_tools=$repo/../../shared/tools
[ -f "$stress_tools/e2e.sh" ] && [ -f "$stress_tools/atspi.sh" ] ||
    { echo "$stress_name: no e2e harness in $stress_tools (set E2E_TOOLS)" >&2; exit 2; }
cd "$repo" || exit 2
# shellcheck source=/dev/null
. "$stress_tools/e2e.sh"
# shellcheck source=/dev/null
. "$stress_tools/atspi.sh"

duration=600 exe="" seed="" out=""
failures=()

stress_parse_args() {
    while [ $# -gt 0 ]; do
        stress_taken=0
        case $1 in
        --exe) exe=$2; shift 2 ;;
        --seed) seed=$2; shift 2 ;;
        --out) out=$2; shift 2 ;;
        -h | --help) awk 'NR > 1 && !/^#/ { exit } NR > 1 { sub(/^# ?/, ""); print }' "$0"; exit 0 ;;
        *)
            declare -F stress_option >/dev/null && stress_option "$@"
            if [ "$stress_taken" -gt 0 ]; then shift "$stress_taken"; continue; fi
            case $1 in
            *[!0-9]* | '') echo "$stress_name: unknown argument '$1'" >&2; exit 2 ;;
            *) duration=$1; shift ;;
            esac
            ;;
        esac
    done
    seed=${seed:-$(($(date +%s) % 32768))}
    out=${out:-/tmp/kst-stress-$(date +%Y%m%d-%H%M%S)-$seed}
    [[ $out = /* ]] || out=$stress_caller/$out
    [ -z "$exe" ] || [[ $exe = /* ]] || exe=$stress_caller/$exe
    mkdir -p "$out" || exit 2
}

stress_program() {
    if [ -z "$exe" ]; then
        exe=$repo/build/test/src/app/kestrelon
        if [ ! -x "$exe" ] || [ ! -f "$repo/build/test/src/storage/mscomctl.2fl" ]; then
            echo "$stress_name: building the sanitizer build in build/test" >&2
            cmake -S "$repo" -B "$repo/build/test" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
                -DKST_SANITIZE=ON -DKST_TESTS=ON >"$out/build.log" 2>&1 &&
                cmake --build "$repo/build/test" --target kestrelon kst_support_db \
                    >>"$out/build.log" 2>&1 ||
                { echo "$stress_name: build failed, see $out/build.log" >&2; exit 2; }
        fi
    fi
    exe=$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")
    # The support database of that build: beside it (a program folder, the harness's cache)
    # or where a build tree makes it.
    support=$(dirname "$exe")/mscomctl.2fl
    [ -f "$support" ] || support=$(dirname "$exe")/../storage/mscomctl.2fl
    [ -x "$exe" ] && [ -f "$support" ] ||
        { echo "$stress_name: no program $exe or support database $support" >&2; exit 2; }
    E2E_EXE=$exe E2E_SUPPORT=$support
    E2E_START_TIMEOUT=${E2E_START_TIMEOUT:-90}

    # Sanitizer reports go to the program's stderr (program.log); an abort prints its stack.
    # No strict_string_checks, unlike the headless tests: the X keyboard library reads a
    # bounded string with strndup, which that check takes for an overflow.
    export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=0:handle_abort=1"
    export LSAN_OPTIONS="suppressions=$stress_lib/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

    # A build without sanitizers that crashes leaves a core in the program folder (with the
    # system's default core pattern); its stacks go into the report.
    ulimit -c unlimited 2>/dev/null

    t0=$(date +%s.%N)
    actions=$out/actions.log
    : >"$actions"
}

note() { printf '%8.2f %s\n' "$(awk -v a="$t0" -v n="$(date +%s.%N)" 'BEGIN{print n-a}')" "$*" >>"$actions"; }
# The random choices are drawn here, never inside $( ): a subshell draws from a generator
# of its own, seeded afresh, and the seed would not replay a run. So `pick` and the
# helpers that make random texts leave their result in `picked`.
pick() { local a=("$@"); picked=${a[RANDOM % ${#a[@]}]}; }
chance() { [ $((RANDOM % 100)) -lt "$1" ]; }
# A sleep of one of the given lengths.
nap() { pick "$@"; sleep "$picked"; }
failed() { failures+=("$*"); note "FAILURE: $*"; }

# ---------------------------------------------------------------- the profile

# Buttons: plain sends, delays, repeats, signals, a refused list, and chains that end, that
# come back on themselves with and without a wait, and that meet a refused button.
# (ID, codes, delay, repeat, interval, chain, signal stored + 1)
stress_buttons() {
    local id codes delay repeat interval chain signal
    while read -r id codes delay repeat interval chain signal; do
        [ "$codes" = - ] && codes=""
        e2e_sql "update progButtons set keyCodes = '$codes', keyDelay = $delay, keyRepeat = $repeat,
                 keyInterval = $interval, chain = $chain, signals = $signal where ID = $id"
    done <<'EOF'
1 31,32, 0 0 0 2 0
2 33, 100 0 0 3 0
3 34,35, 0 2 50 0 0
4 40, 0 0 200 4 0
5 41, 0 0 0 6 0
6 42, 0 0 0 5 0
7 43, 0 0 0 8 2
8 - 50 0 0 0 5
9 1FF, 0 0 0 10 0
10 44, 0 0 0 9 0
11 - 300 0 0 12 0
12 45, 0 3 0 0 0
13 46, 0 5 100 1 0
14 47, 0 0 0 14 0
15 - 0 0 0 0 10
16 48,49,4A, 0 10 10 0 0
17 50, 0 0 0 1 0
18 51,52,53, 20 1 20 18 6
20 54, 1000 0 0 4 0
24 55, 0 4 300 25 0
25 66, 0 2 0 26 0
26 77, 1000 0 0 0 0
32 7F, 0 0 0 32 0
EOF
}

# ---------------------------------------------------------------- where the controls are

# Screen centres of the main window's controls, read over the accessibility bus: the send
# pane's, and the toolbar's macro box.
declare -A at
stress_find_controls() {
    local name x y need cx cy
    at=()
    while read -r name x y; do at[$name]="$x $y"; done < <(
        atspi_read --json tree --showing | /usr/bin/python3 -c '
import json, sys
nodes = json.load(sys.stdin)
def centre(n): return "%d %d" % (n["center"]["x"], n["center"]["y"])
pane = next(n for n in nodes if n["role"] == "combo box" and n["name"] == "Send commands ...")
base = pane["path"].rsplit("/", 1)[0]
kids = [n for n in nodes if n["path"].rsplit("/", 1)[0] == base]
line = next(n for n in nodes if n["path"].startswith(pane["path"] + "/") and n["role"] == "text")
print("command", centre(line))
print("command_left", pane["extents"]["x"], line["center"]["y"])
texts = [n for n in kids if n["role"] == "text"]
for name, n in zip(["delay", "repeat", "interval"], texts):
    print(name, centre(n))
for n in kids:
    if n["role"] == "push button" and n["name"] in ("Send", "Stop"):
        print(n["name"].lower(), centre(n))
panels = [n for n in kids if n["role"] == "panel"]
for n in nodes:
    parent = n["path"].rsplit("/", 1)[0]
    for k, panel in enumerate(panels):
        if parent != panel["path"]:
            continue
        if n["role"] == "radio button":
            print("radio_%d_%s" % (k, n["name"].replace(" ", "")), centre(n))
        elif n["role"] == "push button":
            print("button_%d_%d" % (k, int(n["path"].rsplit("/", 1)[1]) - 2), centre(n))
# The macro box: the toolbar combo box just left of the Run button.
run = next((n for n in nodes if n["role"] == "push button" and n["name"] == "Run"), None)
if run:
    boxes = [n for n in nodes if n["role"] == "combo box" and n["extents"]["x"] < run["extents"]["x"]
             and abs(n["center"]["y"] - run["center"]["y"]) < 8]
    if boxes:
        print("macro_box", centre(max(boxes, key=lambda n: n["extents"]["x"])))
')
    for need in command delay repeat interval send stop radio_0_Hex radio_0_ASCII button_1_0 button_2_15; do
        [ -n "${at[$need]:-}" ] || { failed "no control '$need' found over the accessibility bus"; return 1; }
    done
    # The control-code field shows only in ASCII, right of the narrowed command box.
    read -r cx cy <<<"${at[command_left]}"
    at[codes]="$((cx + 288 + 26)) $cy"
    for name in "${!at[@]}"; do echo "$name ${at[$name]}"; done | sort >"$out/controls.txt"
}

# ---------------------------------------------------------------- actions

x() { timeout 10 xdotool "$@" 2>/dev/null; }
# (No --sync: xdotool waits for ever when the pointer is already there.)
move() { read -r px py <<<"${at[$1]}"; x mousemove "$px" "$py"; }
click() { read -r px py <<<"${at[$1]}"; x mousemove "$px" "$py" click 1; }
# Stop as a person presses it: down, about 120 ms, up.
hold() { move "$1" && x mousedown 1 && nap 0.05 0.08 0.12 0.15 0.20 && x mouseup 1; }
key() { x key --clearmodifiers "$@"; }
typed() { pick 0 5 20; x type --clearmodifiers --delay "$picked" -- "$1"; }
field() { click "$1" && key ctrl+a && typed "$2"; }

notation=Hex
# 1 to N (default 6) random bytes as a hexadecimal list.
hexbytes() {
    local n=$((1 + RANDOM % ${1:-6})) k item
    picked=""
    for ((k = 0; k < n; k++)); do printf -v item '%02X,' $((RANDOM % 256)); picked+=$item; done
}
binary() { local v=$1 b=""; while [ "$v" -gt 0 ]; do b=$((v % 2))$b; v=$((v / 2)); done; echo "${b:-0}"; }
# A command in the current notation; now and then one the program must refuse.
command_text() {
    local bad=$((RANDOM % 12 == 0)) n k s="" item
    case $notation in
    Hex) [ $bad = 1 ] && { pick "1FF," "GG," "55,,66," ",,"; return; }; hexbytes; return ;;
    Dec) [ $bad = 1 ] && { pick "300," "1,,2," "999,"; return; }
         n=$((1 + RANDOM % 5)); for ((k = 0; k < n; k++)); do s+="$((RANDOM % 256)),"; done ;;
    Oct) [ $bad = 1 ] && { pick "400," "777,"; return; }
         n=$((1 + RANDOM % 5)); for ((k = 0; k < n; k++)); do printf -v item '%o,' $((RANDOM % 256)); s+=$item; done ;;
    Bin) [ $bad = 1 ] && { pick "111111111," "2,"; return; }
         n=$((1 + RANDOM % 3)); for ((k = 0; k < n; k++)); do item=$((RANDOM % 256)); s+="$(binary "$item"),"; done ;;
    ASCII) pick "AT" "ATI1" "Hello" "x" "0123456789" "A,B" "Stress $RANDOM"; return ;;
    esac
    picked=$s
}
# Now and then a time beyond the field's range: its check's box comes up when the focus
# leaves the field, which a send may take at any write.
wait_ms() { if chance 3; then picked=99999; else pick 0 0 0 10 50 100 300 1000 "$((RANDOM % 2000))"; fi; }
repeats() { pick 0 0 1 2 4 "$((RANDOM % 10))" 20; }

# One send from the command pane, with fields filled in a random order and way.
pane_send() {
    local cmd delay repeat interval
    command_text; cmd=$picked
    wait_ms; delay=$picked
    repeats; repeat=$picked
    wait_ms; interval=$picked
    note "pane: '$cmd' delay $delay repeat $repeat interval $interval ($notation)"
    field command "$cmd"
    if [ "$notation" = ASCII ] && chance 40; then pick D,A, D, 0,1B, 7,; field codes "$picked"; fi
    chance 60 && field delay "$delay"
    chance 70 && field repeat "$repeat"
    chance 60 && field interval "$interval"
    if chance 50; then click send; else click command && key Return; fi
}

switch_notation() {
    pick Dec Hex Oct Bin ASCII
    notation=$picked
    note "notation $notation"
    click "radio_0_$notation"
}

prog_button() {
    local k=$((RANDOM % 16))
    note "programmable button $((k + 1)) of the page shown"
    click "button_2_$k"
}

control_code() {
    local k=$((RANDOM % 16))
    note "control-code button $k of the bank shown"
    click "button_1_$k"
}

port_cycle() {
    note "close port (F12)"
    key F12
    nap 0 0.2 0.5
    if chance 30; then note "button click on a closed port"; prog_button; fi
    note "open port (F11)"
    key F11
}

# The device goes: the far end's holder ends (the program hears a hang-up), often while a
# chain that comes back on itself writes on every turn of the event loop; then it comes
# back on a fresh pseudo-terminal and the port is opened again.
unplug() {
    if chance 50; then
        note "button 14 (a chain on itself without waits), then unplug"
        click radio_2_1-16 && click button_2_13
        nap 0 0.1 0.3
    fi
    note "unplug: the far end goes"
    _e2e_ctl quit >/dev/null 2>&1
    _e2e_end_pid "$E2E_PTY_PID" 2
    E2E_PTY_PID=""
    nap 0.2 0.5 0.9
    boxes
    _e2e_start_pty
    note "plugged in again; open port (F11)"
    key F11
}

far_end() {
    local bytes
    hexbytes 16
    bytes=${picked//,/}
    note "far end writes $bytes"
    e2e_pty_write 1 "$bytes"
}

# ---------------------------------------------------------------- boxes and health

nboxes=0
# Every dialog box that shows is noted, photographed (the first 40) and closed with Enter,
# unless the script's own stress_box W TITLE, when it defines one, takes it.
boxes() {
    local w title tries
    while IFS=$'\t' read -r w title; do
        [ -n "$w" ] || continue
        if declare -F stress_box >/dev/null; then
            stress_box "$w" "$title"
            case $? in 0) continue ;; 1) ;; *) return 1 ;; esac
        fi
        nboxes=$((nboxes + 1))
        note "box '$title'"
        [ "$title" = "Port Open Error:" ] &&
            note "  ports/COM1 -> $(readlink "$E2E_DIR/ports/COM1") ($(test -e "$E2E_DIR/ports/COM1" && echo present || echo absent))"
        printf '%s\t%s\n' "$nboxes" "$title" >>"$out/boxes.log"
        [ $nboxes -le 40 ] && e2e_shot "$out/box-$nboxes.png"
        # A box inside another one closes first; an Enter sent after its box has gone
        # would reach the main window.
        for tries in 1 2 3 4 5; do
            e2e_windows | cut -f1 | grep -qx "$w" || break
            x windowfocus "$w"; x key Return
            sleep 0.2
        done
        if e2e_windows | cut -f1 | grep -qx "$w"; then
            e2e_shot "$out/stuck-box.png"
            failed "the box '$title' did not close on Enter"
            return 1
        fi
    done < <(e2e_boxes)
    return 0
}

# The program answers when its widgets can be read over the accessibility bus.
answers() { timeout 60 /usr/bin/python3 "$ATSPI_LIB/atspi_read.py" --pid "$E2E_PID" statusbar >/dev/null 2>&1; }

alive() {
    _e2e_alive "$E2E_PID" && return 0
    wait "$E2E_PID"
    E2E_EXIT_STATUS=$?
    failed "the program ended by itself with status $E2E_EXIT_STATUS during the run"
    E2E_PID=""
    return 1
}

# Once a minute: the program answers over the accessibility bus; false when it does not.
last_probe=$(date +%s)
stress_probe() {
    [ $(($(date +%s) - last_probe)) -ge 60 ] || return 0
    last_probe=$(date +%s)
    if ! answers; then
        alive || return 1
        e2e_shot "$out/no-answer.png"
        _e2e_stacks "$out/no-answer-stacks.txt"
        failed "the program did not answer over the accessibility bus within 60 s"
        return 1
    fi
    note "answers (RSS $(awk '/VmRSS/{print $2, $3}' "/proc/$E2E_PID/status" 2>/dev/null))"
}

# Between two actions: a short wait, the program still there, the boxes closed, the far
# end drained (what the program wrote is not kept; not while a script has stopped the far
# end, `far_stalled=1`), and now and then the probe. False when the run cannot go on.
stress_between() {
    nap 0 0 0.05 0.1 0.2 0.4 0.7
    alive && boxes || return 1
    [ "${far_stalled:-0}" = 1 ] || _e2e_ctl clear 1 >/dev/null 2>&1
    stress_probe
}

# ---------------------------------------------------------------- what the program leaves

# The program's output, its cores and the far end's log into the report folder, each name
# after PREFIX; a sanitizer report or a fatal message fails the run.
stress_collect() {
    local prefix=${1:-} core
    cp "$E2E_DIR/program.log" "$out/${prefix}program.log" 2>/dev/null
    for core in "$E2E_DIR"/core*; do
        [ -f "$core" ] || continue
        failed "the program left a core ($(basename "$core")): stacks in ${prefix}core-stacks.txt"
        timeout 120 gdb -batch -ex 'thread apply all bt' "$exe" "$core" >>"$out/${prefix}core-stacks.txt" 2>&1
    done
    cp "$E2E_DIR/pty-holder.log" "$out/${prefix}pty-holder.log" 2>/dev/null
    if grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY: |terminate called|Fatal' \
        "$out/${prefix}program.log" 2>/dev/null; then
        failed "the program wrote a sanitizer report or a fatal message (${prefix}program.log)"
    fi
}

stress_summary() {
    {
        printf '%s\n' "$@"
        if [ ${#failures[@]} -eq 0 ]; then echo "PASS"; else printf 'FAIL: %s\n' "${failures[@]}"; fi
    } | tee "$out/summary.txt"
    echo "report: $out"
    [ ${#failures[@]} -eq 0 ]
}
