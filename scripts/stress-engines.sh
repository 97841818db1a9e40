#!/usr/bin/env bash
# Stress run of the engines and the editors in a real window, and of the program's exit:
# rounds of random use, each ended by closing the main window, every exit timed. A round
# starts the program on a fresh folder whose profile holds auto-response rules, macros
# with send steps and sub-routine waits, and chained programmable buttons, with a random
# handshaking; it then drives it for a given time: auto-response switched (F4), macros run,
# paused, stopped and switched to continuous play (F5-F8) and chosen in the macro box, the
# port closed and opened during runs and chains, the far end's data that the rules and
# sub-routines answer (XOFF/XON among it), the editors of buttons, rules and macros opened,
# changed and closed with No to "save changes?", the options opened and left, and the send
# pane's own actions. Rules, steps, sub-routines, buttons and pane sends with a repeat of
# 32767 (32768 writes, one a pass) and an interval of 0 or a few ms keep sends running for
# a long time, and the far end now and then stops reading (its holder is stopped), so that
# what the program writes backs up into its output buffer: a close may meet both. The program runs under Xvfb with a pseudo-terminal as ports/COM1. By
# default it is the sanitizer build that `make test` makes (build/test); pass a Release or
# RelWithDebInfo build with --exe to time the exit without the sanitizers.
#
#   scripts/stress-engines.sh [SECONDS] [--rounds N] [--slow-close S] [--exe PROGRAM]
#                             [--seed N] [--out DIR]
#
#   SECONDS   how long to drive the window in each round (default 120)
#   --rounds  how many rounds (default 5); round k uses the seed N+k-1, so that one round
#             is played again with --seed N+k-1 --rounds 1
#   --slow-close  every close of the port waits S seconds first (scripts/slow-close.c,
#             preloaded), as the kernel's close of a serial line waits for output that an
#             adapter holds while the handshake holds the line back; pseudo-terminals never
#             wait, so this is how a run meets such a line
#   --exe     the executable to run, with its support database mscomctl.2fl beside it or,
#             in a build tree, in src/storage (default build/test/src/app/kestrelon)
#   --seed    seed of the first round's random choices (default: from the clock; printed)
#   --out     folder for the report (default /tmp/kst-stress-<date>-<seed>)
#
# Each exit is timed from the close request to the end of the process, and from the moment
# the main window is no longer shown to the end of the process; exits.txt lists them (one
# line a round: seed, how the exit was asked for, what was going on (with the program's
# resident memory), the two times, the status) with their slowest and mean. An exit that
# takes longer than 3 s has every thread's state, kernel wait channel and kernel stack, and
# the stacks gdb reads, written beside it (round-K-slow-exit.txt). The run
# fails (status 1) on an exit slower than 5 s (the rounds go on) or with a status other
# than 0, and, as the
# send pane's run does, on an end before the close, a sanitizer report, a window that stops
# answering or a box that Enter does not close. The report folder also holds actions.log,
# boxes.log with the boxes' screenshots, round-K-program.log and summary.txt.
#
# Needs what scripts/stress-send.sh needs (the end-to-end harness, E2E_TOOLS, and the
# Debian packages it names); gdb for the stacks of a slow exit. Not part of `make test`.
set -uo pipefail

stress_name=stress-engines
rounds=5 slow_close=""
stress_option() {
    case $1 in
    --rounds) rounds=$2; stress_taken=2 ;;
    --slow-close) slow_close=$2; stress_taken=2 ;;
    esac
}
# shellcheck source=scripts/stress-lib.sh
. "$(dirname "$0")/stress-lib.sh"
duration=120
stress_parse_args "$@"
stress_program
if [ -n "$slow_close" ]; then
    cc -shared -fPIC -O2 -o "$out/slow-close.so" "$stress_lib/slow-close.c" -ldl ||
        { echo "$stress_name: cannot build $stress_lib/slow-close.c" >&2; exit 2; }
    # The shim acts in the program only; the sanitizers' runtime then does not come first.
    export LD_PRELOAD=$out/slow-close.so KST_SLOW_CLOSE_SECONDS=$slow_close
    export ASAN_OPTIONS="$ASAN_OPTIONS:verify_asan_link_order=0"
fi
slow_exits=()

# ---------------------------------------------------------------- the profile of a round

# Rules: data equal, contains, length greater, and a long answer; sends with delays,
# repeats and intervals, two of them 32767 repeats. (ID, kind, condition, response, delay,
# repeat, interval)
stress_rules() {
    local id kind cond resp delay repeat interval
    while read -r id kind cond resp delay repeat interval; do
        e2e_sql "update progAutoResp set CondOpt = $kind, Condition = '$cond', respCodes = '$resp',
                 respDelay = $delay, respRepeat = $repeat, respInterval = $interval where ID = $id"
    done <<'EOF'
1 0 31, 61, 0 0 0
2 2 32, 62,62, 300 2 200
3 4 20 63, 1000 0 0
4 0 33, 64, 0 20 100
5 0 34, F, 0 32767 0
6 0 35, F, 0 32766 3
EOF
}

# Sub-routines 1 and 2 of every macro: IF / ELSE IF / ELSE with delays and repeats, the
# ELSE also when the wait runs out; macro 6's answer with 32767 repeats. Steps: macro 1
# sends and waits in turn, macro 2 waits on every step, macro 3 sends with long delays,
# repeats and signals, macro 5 sends 32767 repeats without and with an interval, macro 6
# waits on its sub-routines, the others send once.
stress_macros() {
    local base m
    for m in 1 2 3 4 5 6 7 8; do
        base=$(((m - 1) * 8))
        e2e_sql "update progMacrosSubRoutines set
            IfOpt = 0, IfCode = '31,', IfThenCmd = '49,46,', IfThenCmdDelay = 2000,
            ElseIfOpt = 2, ElseIfCode = '32,', ElseIfThenCmd = '45,49,', ElseIfThenCmdRepeat = 3,
            ElseIfThenCmdInterval = 200, ElseThenCmd = '45,', ElseCheck = 1 where ID = $((base + 1))"
        e2e_sql "update progMacrosSubRoutines set
            IfOpt = 4, IfCode = '3', IfThenCmd = '4C,', IfThenCmdRepeat = 5, IfThenCmdInterval = 300,
            ElseIfOpt = 0, ElseIfCode = '33,', ElseIfThenCmd = '34,', ElseThenCmd = '35,',
            ElseThenCmdDelay = 500, ElseCheck = 1 where ID = $((base + 2))"
        e2e_sql "update progMacrosSeq set ActionOpt = 0, CmdStr = '4$m,', Delay = 100 where ID > $base and ID <= $((base + 8))"
    done
    local id action cmd repeat sub timer delay interval chk signal
    while read -r id action cmd repeat sub timer delay interval chk signal; do
        [ "$cmd" = - ] && cmd=""
        e2e_sql "update progMacrosSeq set ActionOpt = $action, CmdStr = '$cmd', RepeatNo = $repeat,
                 SubRoutineNo = $sub, TimerAfter = $timer, Delay = $delay, Interval = $interval,
                 stepChk = $chk, stepSignal = $signal where ID = $id"
    done <<'EOF'
1 0 41, 0 0 0 0 0 0 0
2 1 - 0 0 10000 0 0 0 0
3 0 42, 3 0 0 0 300 0 0
4 1 - 0 1 3000 0 0 0 0
5 0 43,44, 0 0 0 1000 0 0 0
6 1 - 0 0 2000 0 0 0 0
7 0 45, 10 0 0 0 100 0 0
8 1 - 0 1 500 0 0 0 0
9 1 - 0 0 500 0 0 0 0
10 1 - 0 1 3000 0 0 0 0
11 1 - 0 0 1500 0 0 0 0
12 1 - 0 1 0 0 0 0 0
13 1 - 0 0 2500 0 0 0 0
14 1 - 0 1 1000 0 0 0 0
15 1 - 0 0 3000 0 0 0 0
16 1 - 0 1 700 0 0 0 0
17 0 51, 5 0 0 2000 200 1 0
18 0 52, 0 0 0 500 0 1 2
19 0 53,54, 2 0 0 1500 500 1 4
20 0 55, 0 0 0 0 0 1 7
33 0 F, 32767 0 0 0 0 0 0
34 1 - 0 0 500 0 0 0 0
35 0 F, 32767 0 0 0 2 0 0
41 1 - 0 0 2000 0 0 0 0
42 1 - 0 1 1000 0 0 0 0
EOF
    e2e_sql "update progMacrosSubRoutines set IfThenCmd = 'F,', IfThenCmdRepeat = 32767,
        IfThenCmdDelay = 0, IfThenCmdInterval = 0 where ID = 41"
    e2e_sql "update progMacrosSubRoutines set ElseThenCmd = 'F,', ElseThenRepeat = 32767,
        ElseThenCmdDelay = 0, ElseThenCmdInterval = 1 where ID = 42"
}

# Buttons of the second page with 32767 repeats: without and with an interval, one that
# comes back on itself, one after a delay with a signal. (ID, codes, delay, repeat,
# interval, chain, signal stored + 1)
stress_large_buttons() {
    local id codes delay repeat interval chain signal
    while read -r id codes delay repeat interval chain signal; do
        e2e_sql "update progButtons set keyCodes = '$codes', keyDelay = $delay, keyRepeat = $repeat,
                 keyInterval = $interval, chain = $chain, signals = $signal where ID = $id"
    done <<'EOF'
19 F, 0 32767 0 0 0
21 F, 0 32767 2 0 0
22 46,47, 0 32767 0 22 0
23 F, 100 32767 0 0 2
EOF
}

# ---------------------------------------------------------------- actions of this run

# Keys for the main window's menus and shortcuts go to it, wherever the focus was.
main_key() { x windowfocus "$E2E_WIN"; key "$@"; }

macro_key() {
    local k
    pick F5 F5 F5 F6 F7 F8
    k=$picked
    case $k in
    F5) note "macro: Run (F5)" ;;
    F6) note "macro: Pause (F6)" ;;
    F7) note "macro: Stop (F7)" ;;
    F8) note "macro: single / continuous (F8)" ;;
    esac
    main_key "$k"
}

choose_macro() {
    pick 1 1 2 2 3 4 5 6 7 8
    choose_macro_number "$picked"
}
choose_macro_number() {
    note "macro box: $1"
    click macro_box && sleep 0.2 && key "$1" Return
}

auto_response() { note "auto-response (F4)"; main_key F4; }

# The far end stops reading: its holder is stopped, so what the program writes fills the
# pseudo-terminal and then the program's own output buffer. It reads again (and takes
# requests, so nothing asks it anything meanwhile) at its next write, an unplug or the
# end of the round.
far_stalled=0
far_end_stalls() {
    [ $far_stalled = 0 ] && [ -n "$E2E_PTY_PID" ] || return 0
    note "far end stops reading"
    kill -STOP "$E2E_PTY_PID" && far_stalled=1
}
far_end_reads() {
    [ $far_stalled = 1 ] || return 0
    note "far end reads again"
    [ -z "$E2E_PTY_PID" ] || kill -CONT "$E2E_PTY_PID"
    far_stalled=0
}

# The pane's repeats, now and then the largest one and one beyond it.
repeats() { pick 0 0 1 2 4 "$((RANDOM % 10))" 20 32767 32768; }

# What the rules and the sub-routines wait for, and now and then XOFF / XON.
far_trigger() {
    local bytes
    far_end_reads
    hexbytes 12
    pick 31 31 32 33 3132 "${picked//,/}" 13 11 34 35
    bytes=$picked
    note "far end writes $bytes"
    e2e_pty_write 1 "$bytes"
    if chance 20; then
        sleep 0.6
        note "far end writes 39"
        e2e_pty_write 1 39
    fi
}

# An editor opened, changed and closed: every question about its changes answered No, any
# other box closed with Enter. A close that the editor refuses (a field it cannot store)
# puts the focus into that field: it is emptied, then given a value every field takes.
# Now and then the editor is only opened and closed. The editors open with the port closed
# only: it is closed first (a run, a chain or a send may be cut there) and mostly opened
# again after.
editor() {
    local keys title w fixes=0
    pick "ctrl+F1 Programmable buttons" "ctrl+F2 Programmable Auto-Response" \
        "ctrl+F3 Programmable Macros" "ctrl+F3 Programmable Macros" "ctrl+o Options"
    read -r keys title <<<"$picked"
    if e2e_port_is_open 1; then
        note "close port (F12) for an editor"
        main_key F12
        nap 0.1 0.3
        boxes
    fi
    note "editor: $title ($keys)"
    main_key "$keys"
    # (A close of the port that takes its time may hold the window that long.)
    w=$(e2e_wait_box "^$title\$" $((5 + ${slow_close:-0}))) || { note "  not shown"; boxes; return 0; }
    if [ "$title" != Options ] && chance 80; then
        x windowfocus "$w"
        key Tab Tab
        pick 1 12 A 7F, 300 x 0
        typed "$picked"
        chance 50 && key Tab && pick 2 0 5, 99999 && typed "$picked"
        note "  changed"
    fi
    nap 0.1 0.5 0.9
    close_editor "$w" "$title" || return 1
    chance 70 && { note "open port (F11)"; main_key F11; }
    return 0
}

# Closes the editor window w: Escape, No to every question, and a refused field emptied or
# given a value every field takes.
close_editor() {
    local w=$1 title=$2 fixes=0
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        answer_boxes "$w"
        editor_open "$w" || { note "  closed"; return 0; }
        if [ "$refusals" -gt 0 ]; then
            fixes=$((fixes + 1))
            x windowfocus "$w"
            if [ $fixes = 1 ]; then key ctrl+a BackSpace; else key ctrl+a && typed "1,"; fi
            note "  the refused field $([ $fixes = 1 ] && echo emptied || echo set to 1,)"
        fi
        x windowfocus "$w"
        key Escape
        sleep 0.3
    done
    e2e_shot "$out/stuck-editor.png"
    failed "the editor '$title' did not close"
    return 1
}

# An editor that shows only after its action gave up waiting for it (the window was held)
# is closed as an editor, not as a box: 0 when it is closed, 2 when it would not close,
# 1 for every other box.
stress_box() {
    case $2 in
    "Programmable buttons" | "Programmable Auto-Response" | "Programmable Macros" | Options)
        note "  the editor '$2' showed late"
        close_editor "$1" "$2" || return 2
        ;;
    *) return 1 ;;
    esac
}
editor_open() { e2e_windows | cut -f1 | grep -qx "$1"; }

# The boxes other than the window `keep`: No to a question (its N key), else Enter, which
# counts as a refusal (`refusals`).
answer_boxes() {
    local keep=$1 w title
    refusals=0
    while IFS=$'\t' read -r w title; do
        [ -n "$w" ] && [ "$w" != "$keep" ] || continue
        nboxes=$((nboxes + 1))
        printf '%s\t%s\n' "$nboxes" "$title" >>"$out/boxes.log"
        [ $nboxes -le 40 ] && e2e_shot "$out/box-$nboxes.png"
        x windowfocus "$w"
        key n
        sleep 0.2
        if editor_open "$w"; then
            note "  box '$title': Enter"
            refusals=$((refusals + 1))
            key Return
            sleep 0.2
        else
            note "  box '$title': No"
        fi
    done < <(e2e_boxes)
}

# ---------------------------------------------------------------- the timed exit

now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.2f", b - a}'; }
shown() { timeout 2 xwininfo -id "$E2E_WIN" 2>/dev/null | grep -q 'Map State: IsViewable'; }

# Where every thread of the program waits: state and kernel wait channel of each, and the
# stacks (gdb).
wait_channels() {
    local t
    for t in /proc/"$E2E_PID"/task/*; do
        echo "thread ${t##*/} $(awk '/^State/{print $2,$3}' "$t/status" 2>/dev/null)" \
            "wchan=$(cat "$t/wchan" 2>/dev/null) $(cat "$t/comm" 2>/dev/null)"
        # (The kernel's stack is readable by root only; it tells a wait in the exit.)
        sed 's/^/    /' "$t/stack" 2>/dev/null
    done
    echo "memory: $(awk '/^(VmRSS|VmSize)/{printf "%s %s %s; ", $1, $2, $3}' "/proc/$E2E_PID/status" 2>/dev/null)"
    command -v gdb >/dev/null && timeout 30 gdb -p "$E2E_PID" -batch -ex 'thread apply all bt' 2>&1
}

# Closes the program as the close box does (or by File > Exit) and times its end; one
# line in exits.txt. What is going on at the close is the state noted.
timed_exit() {
    local how=$1 state=$2 asked gone="" ended="" slow=0 waited stacks=$out/round-$round-slow-exit.txt
    exit_box=""
    note "exit by $how ($state)"
    if [ "$how" = menu ]; then
        # File (the menu bar's first title; the menus have no access keys), then its last
        # item, Exit.
        _e2e_geometry
        x mousemove "$((E2E_WIN_X + 18))" "$((E2E_WIN_Y + 9))" click 1
        sleep 0.5
        key Up
        sleep 0.2
        asked=$(now)
        key Return
    else
        asked=$(now)
        "$E2E_PYTHON" "$E2E_PY" xclose "$E2E_WIN" || failed "the close request to window $E2E_WIN failed"
    fi
    while _e2e_alive "$E2E_PID"; do
        [ -n "$gone" ] || shown || gone=$(now)
        waited=$(since "$asked" "$(now)" | cut -d. -f1)
        # (Boxes are looked for only after a second: the look takes a while itself.)
        [ "$waited" -lt 1 ] || exit_boxes
        if [ $slow = 0 ] && [ "$waited" -ge 3 ]; then
            slow=1
            { echo "3 s after the close request ($how, $state); window shown: $([ -n "$gone" ] && echo no || echo yes)"
              e2e_windows
              wait_channels; } >"$stacks" 2>&1
            e2e_shot "$out/round-$round-slow-exit.png"
        fi
        if [ "$waited" -ge 60 ]; then
            { echo "60 s after the close request"; wait_channels; } >>"$stacks" 2>&1
            failed "round $round: the program did not end within 60 s of the close ($how, $state)"
            _e2e_end_pid "$E2E_PID" 2
            break
        fi
        sleep 0.02
    done
    ended=$(now)
    wait "$E2E_PID" 2>/dev/null
    E2E_EXIT_STATUS=$?
    E2E_PID=""
    [ -n "$gone" ] || gone=$ended
    local total hidden
    total=$(since "$asked" "$ended") hidden=$(since "$gone" "$ended")
    [ -z "$exit_box" ] || state+="; boxes at the exit:$(sed 's/|[0-9]*:/ | /g' <<<"$exit_box")"
    printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$round_seed" "$how" "$state" "$total" "$hidden" "$E2E_EXIT_STATUS" >>"$out/exits.txt"
    note "ended with status $E2E_EXIT_STATUS: ${total} s after the request, ${hidden} s after the window went"
    [ "$E2E_EXIT_STATUS" = 0 ] || failed "round $round: the program ended with status $E2E_EXIT_STATUS when closed"
    if awk -v t="$total" 'BEGIN{exit !(t > 5)}'; then
        slow_exits+=("round $round: the exit took $total s ($how, $state; $hidden s without a window): see $(basename "$stacks")")
        note "SLOW EXIT: ${slow_exits[-1]}"
    fi
    far_end_reads
    _e2e_end_helpers
}

# A box that shows during the exit (the exit save's failure, a question) is noted with a
# screenshot and answered with Enter, as a person would; the exit's line names it.
exit_boxes() {
    local w title
    while IFS=$'\t' read -r w title; do
        [ -n "$w" ] || continue
        case $exit_box in *"|$w:"*) continue ;; esac
        exit_box+="|$w:$title"
        e2e_shot "$out/round-$round-exit-box.png"
        stress_box "$w" "$title" && continue
        note "  box '$title' during the exit: Enter"
        x windowfocus "$w"
        key Return
    done < <(e2e_boxes 2>/dev/null)
}

# What runs at the moment of the close, as far as the window tells (the toolbar's
# tool tips and the log's last lines are not read: the actions log has the history).
exit_state() {
    local s=""
    e2e_port_is_open 1 && s+="port open" || s+="port closed"
    s+=", handshaking $handshake"
    [ $far_stalled = 0 ] || s+=", the far end not reading"
    s+=", RSS $(awk '/^VmRSS/{printf "%d MB", $2 / 1024}' "/proc/$E2E_PID/status" 2>/dev/null)"
    echo "$s, after: $last_action"
}

# Half the rounds end under load: the port open, sends of 32767 repeats started by a
# button, by a rule and now and then by a macro, and often a far end that has stopped
# reading, so that the close meets sends under way and output backed up.
exit_under_load() {
    chance 50 || return 0
    note "the exit meets sends of 32767 repeats"
    last_action="sends of 32767 repeats started just before"
    if ! e2e_port_is_open 1; then
        note "open port (F11)"
        main_key F11
        e2e_wait_port 1 open 5 || { boxes; return 0; }
    fi
    far_end_reads
    click radio_2_17-32 && note "button 19 (32767 repeats)" && click button_2_2
    chance 50 && note "button 22 (32767 repeats, then itself again)" && click button_2_5
    chance 50 && auto_response
    note "far end writes 34"
    e2e_pty_write 1 34
    if chance 30; then
        choose_macro_number 5
        note "macro: Run (F5)"
        main_key F5
    fi
    chance 60 && far_end_stalls
    nap 0.2 0.5 1 2 4
    boxes
}

# ---------------------------------------------------------------- the rounds

printf 'seed\thow\tstate\tseconds to the end\tseconds without a window\tstatus\n' >"$out/exits.txt"
note "program $exe, first seed $seed, $rounds rounds of $duration s${slow_close:+, every close of the port $slow_close s}"
atspi_up || { echo "$stress_name: atspi_up failed" >&2; exit 2; }
total_actions=0
for ((round = 1; round <= rounds; round++)); do
    round_seed=$((seed + round - 1))
    RANDOM=$round_seed
    notation=Hex
    note "---- round $round, seed $round_seed"
    e2e_folder 1
    e2e_start >/dev/null
    last_action="nothing (the first start, which makes the profile)" handshake=None
    timed_exit close "$(exit_state)"
    pick None None XonXoff XonXoff RTS/CTS Both
    handshake=$picked
    case $handshake in None) hs=0 ;; XonXoff) hs=1 ;; RTS/CTS) hs=2 ;; Both) hs=3 ;; esac
    e2e_sql -s "update userPreferences set bolAutoConnect = 1, bolAutoResponse = $((RANDOM % 2))"
    e2e_sql "update Settings set handshaking = $hs"
    stress_buttons
    stress_large_buttons
    stress_rules
    stress_macros
    note "handshaking $handshake"

    e2e_start >/dev/null
    export ATSPI_PID=$E2E_PID
    e2e_wait_port 1 open 30 || failed "round $round: the port did not open at start"
    note "started, PID $E2E_PID"
    stress_find_controls || break
    [ -n "${at[macro_box]:-}" ] || { failed "no macro box found over the accessibility bus"; break; }

    end=$(($(date +%s) + duration))
    n=0
    while [ "$(date +%s)" -lt "$end" ]; do
        n=$((n + 1))
        r=$((RANDOM % 100))
        if [ $r -lt 18 ]; then macro_key; last_action="a macro key"
        elif [ $r -lt 22 ]; then choose_macro; last_action="a macro chosen"
        elif [ $r -lt 28 ]; then auto_response; last_action="auto-response switched"
        elif [ $r -lt 40 ]; then far_trigger; last_action="far-end data"
        elif [ $r -lt 42 ]; then far_end_stalls; last_action="the far end stopped reading"
        elif [ $r -lt 50 ]; then prog_button; last_action="a programmable button"
        elif [ $r -lt 54 ]; then pick 1-16 17-32; note "page $picked"; click "radio_2_$picked"; last_action="a page"
        elif [ $r -lt 62 ]; then port_cycle; last_action="the port closed and opened"
        elif [ $r -lt 65 ]; then note "close port (F12)"; main_key F12; last_action="the port closed"
        elif [ $r -lt 75 ]; then editor || break; last_action="an editor"
        elif [ $r -lt 83 ]; then pane_send; last_action="a send from the pane"
        elif [ $r -lt 86 ]; then note "Stop (held)"; hold stop; last_action="Stop"
        elif [ $r -lt 88 ]; then switch_notation; last_action="a notation"
        elif [ $r -lt 90 ]; then far_end_reads; far_end; last_action="far-end data"
        elif [ $r -lt 92 ]; then far_end_reads; unplug; last_action="the device unplugged and back"
        elif [ $r -lt 96 ]; then note "open port (F11)"; main_key F11; last_action="the port opened"
        else note "pause"; nap 0.5 1 2; last_action="a pause"
        fi
        stress_between || break
    done
    total_actions=$((total_actions + n))
    note "round $round: $n actions"

    if [ -n "$E2E_PID" ] && alive; then
        # The close is asked for once the window answers (a slow close of the port may hold
        # it) and the boxes and editors it then shows are closed: a modal window would
        # hold the close back.
        answers
        boxes
        if [ -n "$(e2e_boxes)" ]; then
            # A modal window holds the main window's close back: not an exit to time.
            e2e_shot "$out/round-$round-open-dialog.png"
            failed "round $round: a dialog is still open at the end: $(e2e_boxes | cut -f2 | tr '\n' '|')"
            _e2e_end_pid "$E2E_PID" 2
            E2E_PID=""
            far_end_reads
            _e2e_end_helpers
        else
            # Close at once, in whatever state the round left: a run, a chain, a send, a wait.
            exit_under_load
            pick close close close menu
            timed_exit "$picked" "$(exit_state)"
        fi
    fi
    stress_collect "round-$round-"
    [ ${#failures[@]} -eq 0 ] || break
done

stats=$(awk -F'\t' 'NR > 1 { n++; s += $4; if ($4 > m) m = $4; if ($5 > h) h = $5 }
    END { if (n) printf "%d exits: slowest %.2f s (%.2f s without a window), mean %.2f s", n, m, h, s / n }' \
    "$out/exits.txt")
failures+=("${slow_exits[@]}")
stress_summary "first seed $seed, $rounds rounds of $duration s${slow_close:+, closes of $slow_close s}, program $exe" \
    "$total_actions actions, $nboxes dialog boxes ($(cut -f2 "$out/boxes.log" 2>/dev/null | sort | uniq -c | tr -s ' ' | tr '\n' ';'))" \
    "$stats"
