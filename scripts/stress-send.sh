#!/usr/bin/env bash
# Stress run of the send pane in a real window: random commands in every notation, delays,
# repeats and intervals, Send and Enter, Stop held as a person holds it, the port closed and
# opened, the device unplugged and back, the control-code buttons, programmable buttons with
# chains (cycles included), page and notation switches, and bytes from the far end, for a
# given time. The program runs under Xvfb with a pseudo-terminal as ports/COM1 whose far
# end is drained and answered. By default it is the sanitizer build that `make test` makes
# (build/test).
#
#   scripts/stress-send.sh [SECONDS] [--exe PROGRAM] [--seed N] [--out DIR]
#
#   SECONDS   how long to drive the window (default 600)
#   --exe     the executable to run, with its support database mscomctl.2fl beside it or,
#             in a build tree, in src/storage (default build/test/src/app/kestrelon, the
#             sanitizer build, built here when missing)
#   --seed    seed of the random choices (default: from the clock; printed)
#   --out     folder for the report (default /tmp/kst-stress-<date>-<seed>)
#
# The report folder holds actions.log (every action with its time), program.log (the
# program's stdout and stderr: sanitizer reports land there), boxes.log (each dialog box
# seen, with a screenshot box-N.png) and summary.txt. The run fails (status 1) when the
# program ends before it is closed, ends with a status other than 0, writes a sanitizer
# report, stops answering, or leaves a box that Enter does not close.
#
# Needs the end-to-end harness (E2E_TOOLS, default ../shared/tools beside the checkout; to
# unplug the far end it also calls a few of its inner _e2e_ functions) and the Debian
# packages xvfb xdotool x11-utils openbox at-spi2-core python3-pyatspi imagemagick sqlite3.
# Not part of `make test`.
set -uo pipefail

stress_name=stress-send
# shellcheck source=scripts/stress-lib.sh
. "$(dirname "$0")/stress-lib.sh"
stress_parse_args "$@"
stress_program
RANDOM=$seed

# ---------------------------------------------------------------- the program folder

e2e_folder 1
note "program $exe, seed $seed, $duration s"
e2e_start >/dev/null
e2e_stop
[ "$E2E_EXIT_STATUS" = 0 ] || failed "the first start (making the profile) ended with status $E2E_EXIT_STATUS"
e2e_sql -s "update userPreferences set bolAutoConnect = 1"
stress_buttons

atspi_up || { echo "stress-send: atspi_up failed" >&2; exit 2; }
e2e_start >/dev/null
export ATSPI_PID=$E2E_PID
e2e_wait_port 1 open 30 || failed "the port did not open at start"
note "started, PID $E2E_PID"
stress_find_controls

# ---------------------------------------------------------------- actions of this run

# The sequence of the unexplained exit: three sends that change delay, repeat and
# interval between them, each typed while the one before may still run.
issue_sequence() {
    note "sequence 55 r4 i300; 66 r2 i0; 77 d1000"
    [ "$notation" = Hex ] || { click radio_0_Hex; notation=Hex; }
    field command "55," && field delay 0 && field repeat 4 && field interval 300 && click send
    nap 0.1 0.5 0.9
    field command "66," && field repeat 2 && field interval 0 && click send
    nap 0.1 0.5 0.9
    field command "77," && field delay 1000 && field repeat 0 && click send
}

# ---------------------------------------------------------------- the run

end=$(awk -v a="$t0" -v d="$duration" 'BEGIN{printf "%d", a+d}')
n=0
[ ${#failures[@]} -eq 0 ] || end=0
while [ "$(date +%s)" -lt "$end" ]; do
    n=$((n + 1))
    r=$((RANDOM % 100))
    if [ $r -lt 34 ]; then pane_send
    elif [ $r -lt 38 ]; then issue_sequence
    elif [ $r -lt 50 ]; then note "Stop (held)"; hold stop
    elif [ $r -lt 53 ]; then note "Stop (quick click)"; click stop
    elif [ $r -lt 67 ]; then prog_button
    elif [ $r -lt 71 ]; then control_code
    elif [ $r -lt 74 ]; then pick 1-16 17-32; note "page $picked"; click "radio_2_$picked"
    elif [ $r -lt 76 ]; then pick 00h-0Fh 10h-1Fh; note "bank $picked"; click "radio_1_$picked"
    elif [ $r -lt 83 ]; then switch_notation
    elif [ $r -lt 88 ]; then port_cycle
    elif [ $r -lt 93 ]; then far_end
    elif [ $r -lt 97 ]; then unplug
    else note "pause"; nap 0.5 1 2
    fi
    stress_between || break
done
note "$n actions, $nboxes boxes"

# ---------------------------------------------------------------- the end

if [ -n "$E2E_PID" ]; then
    note "Stop, then close the window"
    click stop
    boxes
    if alive; then
        e2e_stop
        note "ended with status $E2E_EXIT_STATUS"
        [ "$E2E_EXIT_STATUS" = 0 ] || failed "the program ended with status $E2E_EXIT_STATUS when closed"
    fi
fi
stress_collect ""
stress_summary "seed $seed, $duration s, program $exe" \
    "$n actions, $nboxes dialog boxes ($(cut -f2 "$out/boxes.log" 2>/dev/null | sort | uniq -c | tr -s ' ' | tr '\n' ';'))" \
    "exit status: ${E2E_EXIT_STATUS:-none}"
