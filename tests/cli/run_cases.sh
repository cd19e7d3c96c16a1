#!/usr/bin/env bash
# Runs the end-to-end table of the orvo command: each row of CASES is
#   STATUS | TEXT | COMMAND
# COMMAND is "orvo ARGS" or "check ARGS" (the file checker), with $D the
# example data, $I the IGES test files and $W a fresh work directory; the
# row passes when the exit status is STATUS and the output (stdout and
# stderr) holds TEXT. Rows run in order: later rows read what earlier ones
# wrote. Malformed IGES files are made from good ones first.
set -u
ORVO=$1 CHECK=$2 SRC=$3 W=$4 CASES=$5
D=$SRC/examples/data I=$SRC/tests/data/iges
# In a sanitizer build a finding must not pass for an expected status 1.
export ASAN_OPTIONS=exitcode=86:${ASAN_OPTIONS:-} UBSAN_OPTIONS=exitcode=87:${UBSAN_OPTIONS:-}
rm -rf "$W" && mkdir -p "$W" || exit 1

sed '4s/^\(.\{40\}\).*/\1/' "$I/line.igs" >"$W/truncated.igs"
sed 's/^102,4,3,5,7,9; /102,4,3,5,7,99;/' "$I/trimmed_param.igs" >"$W/bad_pointer.igs"
sed 's/^102,4,3,5,7,9;/102,9,3,5,7,9;/' "$I/trimmed_param.igs" >"$W/bad_count.igs"
sed 's/^110,0.1,0.1,/110,0.1,x.1,/' "$I/trimmed_param.igs" >"$W/bad_field.igs"
cp "$D/patch.sur" "$W/not_iges.igs"
printf '0\n1\n1\n0\n2\n0.2 0.2\n0.8 0.2\n0\n0\n1\n1\n' >"$W/open.cua" # a loop that stays open

failures=0 rows=0
while IFS='|' read -r status text command; do
  [[ -z "${status// /}" || $status == \#* ]] && continue
  status=${status// /} text=$(echo "$text" | sed 's/^ *//; s/ *$//')
  command=${command//\$D/$D} command=${command//\$I/$I} command=${command//\$W/$W} text=${text//\$W/$W}
  read -ra args <<<"$command"
  case ${args[0]} in
    orvo) program=$ORVO ;;
    check) program=$CHECK ;;
    *) echo "bad row: $command"; exit 1 ;;
  esac
  rows=$((rows + 1))
  output=$(cd "$W" && timeout 60 "$program" "${args[@]:1}" 2>&1)
  got=$?
  if [[ $got != "$status" ]] || ! grep -qF -- "$text" <<<"$output"; then
    failures=$((failures + 1))
    printf 'FAILED: %s\n  expected status %s and "%s", got %s:\n%s\n' "$command" "$status" \
      "$text" "$got" "$(head -20 <<<"$output")"
  fi
done <"$CASES"
echo "$rows rows, $failures failed"
[[ $failures == 0 && $rows -gt 0 ]]
