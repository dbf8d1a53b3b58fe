#!/usr/bin/env bash
# A whole tournament day through velmora-cli: 1,000 players in 40 classes (every phase system, singles,
# doubles, mixed and teams) created, checked in, drawn, played to the end with random results and
# exported, on the file database and, when a server is named, on PostgreSQL. Prints the time of each
# step and per result.
#
#   bench/tournament_day.sh [BUILD_DIR]            file database only, or also the server in VELMORA_TEST_PG
#   VELMORA_TEST_PG=host:port bench/tournament_day.sh build
#
# Server credentials come from PGUSER / PGPASSWORD / ~/.pgpass as for the program.
set -euo pipefail

BUILD="${1:-build}"
CLI="$(cd "$BUILD" && pwd)/velmora-cli"
MKDB="$(cd "$BUILD" && pwd)/velmora_mkdb"
[ -x "$CLI" ] || { echo "velmora-cli not found in $BUILD (ninja -C $BUILD velmora-cli velmora_mkdb)" >&2; exit 2; }
WORK="$(mktemp -d /tmp/velmora-day.XXXXXX)"
trap 'rm -rf "$WORK"' EXIT
RANDOM=20270314

now() { date +%s.%N; }
secs() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }

# --- the tournament as batch files ------------------------------------------------------------------
# Singles: 28 classes of 32, six phase systems in turn. Doubles: 6 classes of 16 pairs and 2 mixed
# classes of 16 pairs, made of singles players. Teams: 4 classes of 8 teams of two. 40 players enter
# nothing but are checked in like everybody else.
SYSTEMS=(
    "--phase1 gruppen:8:4:2 --phase2 ko"
    "--phase1 gruppen:8:4:2 --phase2 doppelko"
    "--phase1 ko"
    "--phase1 doppelko"
    "--phase1 gruppen:4:8:0"
    "--phase1 gruppen:8:4:2 --phase2 gruppen:4:4:1 --phase3 ko"
)
# The same six for the 16 pairs of a doubles class.
SYSTEMS16=(
    "--phase1 gruppen:4:4:2 --phase2 ko"
    "--phase1 gruppen:4:4:2 --phase2 doppelko"
    "--phase1 ko"
    "--phase1 doppelko"
    "--phase1 gruppen:2:8:0"
    "--phase1 gruppen:4:4:2 --phase2 gruppen:2:4:1 --phase3 ko"
)
make_batches() {
    local f="$WORK/create.txt"
    : >"$f"
    echo 'tournament create "Tag der Vereine" --from 14.03.2027' >>"$f"
    local c
    for c in $(seq 1 28); do
        printf 'class add "Einzel %02d" --mixed-sex --tables 4 %s\n' "$c" "${SYSTEMS[$(((c - 1) % 6))]}" >>"$f"
    done
    for c in $(seq 1 6); do
        printf 'class add "Doppel %d" --kind doppel --mixed-sex --tables 2 %s\n' "$c" "${SYSTEMS16[$(((c - 1) % 6))]}" >>"$f"
    done
    for c in 1 2; do
        printf 'class add "Mixed %d" --kind mixed --mixed-sex --tables 2 --phase1 gruppen:4:4:2 --phase2 ko\n' "$c" >>"$f"
    done
    for c in $(seq 1 4); do
        printf 'class add "Team %d" --kind team --mixed-sex --team-players 2 --rubbers A1-B2,A2-B1,D1-D1 --phase1 gruppen:2:4:2 --phase2 ko\n' "$c" >>"$f"
    done
    local p name opts partner
    for p in $(seq 1 1000); do
        name="$(printf 'Spieler%04d Vor' "$p")"
        opts=""
        # Mixed pairs are a man and a woman: even players of 193..256 are women.
        if [ "$p" -ge 193 ] && [ "$p" -le 256 ] && [ $((p % 2)) -eq 0 ]; then opts="--female"; fi
        if [ "$p" -le 896 ]; then opts="$opts $(printf -- '--class "Einzel %02d"' $(((p - 1) / 32 + 1)))"; fi
        if [ "$p" -le 192 ]; then
            opts="$opts --class \"Doppel $(((p - 1) / 32 + 1))\""
            if [ $((p % 2)) -eq 0 ]; then
                partner="$(printf 'Spieler%04d, Vor' $((p - 1)))"
                opts="$opts --partner \"Doppel $(((p - 1) / 32 + 1))=$partner\""
            fi
        elif [ "$p" -le 256 ]; then
            opts="$opts --class \"Mixed $(((p - 193) / 32 + 1))\""
            if [ $((p % 2)) -eq 0 ]; then
                partner="$(printf 'Spieler%04d, Vor' $((p - 1)))"
                opts="$opts --partner \"Mixed $(((p - 193) / 32 + 1))=$partner\""
            fi
        elif [ "$p" -ge 897 ] && [ "$p" -le 960 ]; then
            opts="$opts --class \"Team $(((p - 897) / 16 + 1))\""
        fi
        echo "player add $name --club \"Verein $((p % 60 + 1))\" $opts" >>"$f"
    done
    local t
    : >"$WORK/teams.txt"
    for t in $(seq 0 31); do
        local a=$((897 + 2 * t)) k=$((t / 8 + 1))
        printf 'team add "Team %d" "Mannschaft %02d" --club "Verein %d" --players "Spieler%04d, Vor;Spieler%04d, Vor"\n' \
            "$k" "$t" "$t" "$a" $((a + 1)) >>"$WORK/teams.txt"
    done
    : >"$WORK/draw.txt"
    local n
    for n in $(seq 1 28); do printf 'draw "Einzel %02d" --seed %d\n' "$n" "$n" >>"$WORK/draw.txt"; done
    for n in $(seq 1 6); do printf 'draw "Doppel %d" --seed %d\n' "$n" "$n" >>"$WORK/draw.txt"; done
    for n in 1 2; do printf 'draw "Mixed %d" --seed %d\n' "$n" "$n" >>"$WORK/draw.txt"; done
    for n in $(seq 1 4); do printf 'draw "Team %d" --seed %d\n' "$n" "$n" >>"$WORK/draw.txt"; done
}

# Random results: either side wins 3:0, 3:1 or 3:2.
result_line() {
    local kid="$1" nr="$2" sets
    case $((RANDOM % 6)) in
        0) sets="5 7 9" ;;
        1) sets="-5 8 9 3" ;;
        2) sets="5 -7 -9 11 4" ;;
        3) sets="-5 -7 -9" ;;
        4) sets="5 -8 -9 -3" ;;
        *) sets="-5 7 9 -11 -4" ;;
    esac
    if [ "$kid" -gt 36 ]; then
        # The team classes come last (KID 37 to 40): three rubbers, each won by either side.
        local r rubbers=""
        for r in 1 2 3; do
            if [ $((RANDOM % 2)) -eq 0 ]; then rubbers="$rubbers --rubber \"5 7 9\""; else rubbers="$rubbers --rubber \"-5 8 -9 -3\""; fi
        done
        echo "result $kid $nr$rubbers --keep-tie-order"
        return
    fi
    echo "result $kid $nr $sets --keep-tie-order"
}

day() {
    local label="$1"
    shift
    local db=("$@")
    local t0 t1 total0
    echo "== $label"
    total0=$(now)

    t0=$(now)
    "$CLI" "${db[@]}" batch "$WORK/create.txt" >/dev/null
    "$CLI" "${db[@]}" batch "$WORK/teams.txt" >/dev/null
    t1=$(now)
    echo "create (tournament, 40 classes, 1000 players, 32 teams): $(secs "$t0" "$t1") s"

    t0=$(now)
    "$CLI" "${db[@]}" checkin --all >/dev/null
    t1=$(now)
    echo "check-in of everybody:                                $(secs "$t0" "$t1") s"

    t0=$(now)
    "$CLI" "${db[@]}" batch "$WORK/draw.txt" >/dev/null 2>"$WORK/draw.err"
    t1=$(now)
    echo "draw and completion of 40 classes:                    $(secs "$t0" "$t1") s"

    local results=0 rounds=0 play=0 round
    while :; do
        "$CLI" "${db[@]}" plan --all --playable | awk 'NR > 1 { print $1, $2 }' >"$WORK/open.txt"
        [ -s "$WORK/open.txt" ] || break
        : >"$WORK/round.txt"
        while read -r kid nr; do result_line "$kid" "$nr" >>"$WORK/round.txt"; done <"$WORK/open.txt"
        round=$(wc -l <"$WORK/round.txt")
        t0=$(now)
        "$CLI" "${db[@]}" batch "$WORK/round.txt" >/dev/null 2>>"$WORK/play.err"
        t1=$(now)
        play=$(awk -v p="$play" -v a="$t0" -v b="$t1" 'BEGIN { printf "%.4f", p + b - a }')
        results=$((results + round))
        rounds=$((rounds + 1))
    done
    echo "results: $results in $rounds rounds:                   $(printf '%.2f' "$play") s, $(awk -v p="$play" -v n="$results" 'BEGIN { printf "%.2f", 1000 * p / n }') ms per result"
    # One result alone, as a desk enters it: a process, a connection, one result.
    t0=$(now)
    "$CLI" "${db[@]}" undo "Einzel 03" 31 --keep-tie-order >/dev/null
    t1=$(now)
    echo "one undo as its own command:                          $(secs "$t0" "$t1") s"
    t0=$(now)
    "$CLI" "${db[@]}" result "Einzel 03" 31 5 7 9 --keep-tie-order >/dev/null
    t1=$(now)
    echo "one result as its own command:                        $(secs "$t0" "$t1") s"

    t0=$(now)
    "$CLI" "${db[@]}" export html "$WORK/$label-html" >/dev/null
    t1=$(now)
    echo "HTML export of the tournament:                        $(secs "$t0" "$t1") s"
    t0=$(now)
    "$CLI" "${db[@]}" export pdf spielplan "$WORK/$label-plan.pdf" >/dev/null
    t1=$(now)
    echo "PDF match plan of the tournament:                     $(secs "$t0" "$t1") s"
    t0=$(now)
    "$CLI" "${db[@]}" export xlsx spieler "$WORK/$label-spieler.xlsx" >/dev/null
    t1=$(now)
    echo "spreadsheet of the players:                           $(secs "$t0" "$t1") s"
    local unfinished
    unfinished=$("$CLI" "${db[@]}" plan --all | grep -cE '  (spielbar|wartet)  ' || true)
    echo "matches left unplayed: $unfinished (of $("$CLI" "${db[@]}" plan --all | awk 'NR > 1' | wc -l))"
    echo "whole day:                                            $(secs "$total0" "$(now)") s"
}

make_batches
day file --db "$WORK/tag.sqlite" --tournament "Tag der Vereine"
if [ -n "${VELMORA_TEST_PG:-}" ]; then
    name="velmora_day_$$"
    "$MKDB" --server "$VELMORA_TEST_PG" "$name" >/dev/null
    day server --server "$VELMORA_TEST_PG" --database "$name" --tournament "Tag der Vereine"
else
    echo "(no VELMORA_TEST_PG: the server run is left out)"
fi
