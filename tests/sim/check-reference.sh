#!/bin/sh
# Runs the simulator for each stored case and compares its JSON line, timings and memory left out, with the
# stored line byte for byte. A change of the game's results on purpose stores the "now" lines it prints.
# Usage: check-reference.sh <kesmir-sim> <reference file of "arguments|line" rows>
set -eu
sim=$1
status=0
while IFS='|' read -r args stored; do
  # shellcheck disable=SC2086 # the arguments are split on purpose
  now=$("$sim" $args 2>/dev/null | sed -E 's/"(frame_ns_p50|frame_ns_p99|max_rss_kb|rss_after_first_minute_kb)":[0-9]+,?//g')
  if [ "$now" != "$stored" ]; then
    printf 'kesmir-sim %s\n  stored: %s\n  now:    %s\n' "$args" "$stored" "$now"
    status=1
  fi
done <"$2"
exit $status
