#!/usr/bin/env bash
# Stages a demo program folder and starts its program once, unattended, on the offscreen
# platform: the first start must install the tool into the demo farm.
set -euo pipefail
stage=$1 program=$2 sql=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$program" "$dir/Vetrilo"
"$stage" --folder "$dir" --sql "$sql" --cows 200
test -f "$dir/ProSetup.Cmd"
VETRILO_EXIT_AFTER_MS=1500 QT_QPA_PLATFORM=offscreen "$dir/Vetrilo"
fail() { echo "FAIL: $*"; exit 1; }
[ ! -e "$dir/ProSetup.Cmd" ] || fail "ProSetup.Cmd is still there"
[ -e "$dir/P_Install" ] || fail "P_Install missing"
line5=$(sed -n 5p "$dir/Executer.List" | iconv -f CP1256 -t UTF-8 | tr -d '\r')
[ "$line5" = "كنترل دام در پروتكل=Vetrilo.exe" ] || fail "Executer.List line 5 is '$line5'"
objects=$(sqlite3 "$dir/farm.db" "select count(*) from sqlite_master where name in ('P_ProtocolDesign','P_Work','P_vWork','P_vWork_Update')")
[ "$objects" = 4 ] || fail "tool objects: $objects of 4"
enrolments=$(sqlite3 "$dir/farm.db" "select count(*) from P_Work")
[ "$enrolments" -gt 0 ] || fail "no sample enrolments"
echo "demo stage: installed, $enrolments enrolments"
