#!/usr/bin/env bash
# cmake/wine-run.sh with a stand-in for Wine that behaves as each row says: a start that failed
# before the program printed anything is tried once more; a program that printed and failed, or
# that succeeded, runs once.
set -euo pipefail
runner=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cat >"$scratch/wine" <<'STANDIN'
#!/usr/bin/env bash
# Each start takes the next behaviour from the list: silent-fail, print-fail, print-pass.
behaviour=$(head -n 1 "$STANDIN_PLAN")
sed -i 1d "$STANDIN_PLAN"
echo "start" >>"$STANDIN_STARTS"
case $behaviour in
silent-fail) exit 3 ;;
print-fail) echo "[  FAILED  ] a case"; exit 1 ;;
print-pass) echo "[  PASSED  ] 1 test." ;;
esac
STANDIN
chmod +x "$scratch/wine"
export STANDIN_PLAN=$scratch/plan STANDIN_STARTS=$scratch/starts
failures=0
# plan, then the expected status, starts and whether the retry is announced
while read -r plan status starts announced; do
    tr , '\n' <<<"$plan" >"$STANDIN_PLAN"
    : >"$STANDIN_STARTS"
    set +e
    output=$("$runner" "$scratch/wine" program.exe 2>&1)
    got=$?
    set -e
    got_starts=$(wc -l <"$STANDIN_STARTS")
    got_announced=no
    grep -q "starting it once more" <<<"$output" && got_announced=yes
    if [[ $got != "$status" || $got_starts != "$starts" || $got_announced != "$announced" ]]; then
        echo "$plan: status $got, $got_starts starts, announced $got_announced;" \
            "expected $status, $starts, $announced"
        failures=$((failures + 1))
    fi
done <<'ROWS'
print-pass 0 1 no
print-fail 1 1 no
silent-fail,print-pass 0 2 yes
silent-fail,print-fail 1 2 yes
silent-fail,silent-fail 3 2 yes
ROWS
exit "$failures"
