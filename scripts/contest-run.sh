#!/usr/bin/env bash
# Runs one whole contest through the command line in a fresh folder and
# writes a transcript of every command (exit status, stdout, stderr).
# Usage: contest-run.sh BINARY FOLDER TIERULE
# TIERULE 1 (smaller ID first) never draws; 0 draws, and is repeatable only
# when KC_RANDOM_SEED is set.
set -u
exe=$1
dir=$2
tie=${3:-1}
rm -rf "$dir"
mkdir -p "$dir"
log=$dir/transcript.txt
: >"$log"

run() {
    {
        echo "\$ $*"
        "$exe" --dir "$dir/contest" "$@" >"$dir/out" 2>"$dir/err"
        echo "exit $?"
        cat "$dir/out"
        echo "-- stderr"
        cat "$dir/err"
    } >>"$log"
}

# A banzuke of 40 wrestlers.
{
    echo "テスト場所"
    echo "2612"
    ranks=(横綱 横綱 大関 大関 関脇 関脇 小結 小結)
    for i in $(seq 0 39); do
        r=${ranks[$i]:-前頭}
        echo "$r 力士${i}号"
    done
} >"$dir/banzuke.txt"

run status
run banzuke set "$dir/banzuke.txt"
run --yes banzuke set "$dir/banzuke.txt"
run --yes rename 12=改名山 15='A&B<"力>'
run banzuke show
run rules set BonusType=2
run rules set PickCount=5 IncludeTopRanks=1 SlotPoints=5,4,3,2,1 UseReserve=1 BonusType=0 GoldStarBonus=3 \
    SilverStarBonus=2 StreakMin=3 StreakBonus=2 TieRule="$tie"
run result confirm
run result restart
run --yes reception close
run --yes entry import ids
run entry add --shikona 早すぎ --picks 10,11,12,13,14
run --yes rules decide
run rules set PickCount=4
run --yes rules decide
run --yes banzuke set "$dir/banzuke.txt"
run --yes rename clear
run result set 1 10=白
run --yes prizes decide

# Entries; the picks overlap so the scores tie.
add() { run entry add "$@"; }
add --shikona '甲山' --furigana こうやま --member 1 --picks 10,15,16,17,18 --reserve 20
add --shikona '乙川' --furigana おとかわ --member 2 --picks 10,15,16,17,18 --reserve 21
add --shikona 'A, "B" <c>' --picks 15,16,17,18,19 --reserve 22
add --shikona '丙' --picks 12,14,15,16,17 --reserve 23
add --shikona '同点一' --picks 20,21,22,23,24 --reserve 26
add --shikona '同点二' --picks 20,21,22,23,24 --reserve 26
add --shikona '丁' --picks 20,21,22,23,24 --reserve 25
add --shikona '戊' --picks 25,26,27,28,29 --reserve 30
add --shikona '己' --picks 30,31,32,33,34 --reserve 35
add --shikona '庚' --picks 10,20,30,40,45 --reserve 11
add --shikona '辛' --picks 10,20,30,40,45
add --shikona '壬' --picks 44,43,42,41,40 --reserve 12
add --shikona '重複' --picks 10,10,11,12,13
add --shikona '空'
run entry update 103 --shikona '丙改' --reserve 24
run --yes entry delete 110
run entry list
run prizes set rank.0=1,優勝,1000 rank.1=2,準優勝,500 rank.2=3,三位,300 day.0=200 day.1=50 day.8=50 day.15=80
run prizes show
run result set 1 10=白
run --yes reception close
run --yes prizes decide
run --yes prizes decide
run entry add --shikona 遅刻 --picks 10,11,12,13,14
run --yes entry import ranking
run --yes reception close
run rules set PickCount=3
run prizes set day.2=10
run status --json

# Day marks: a repeatable pattern of wins, losses, stars and absences.
mark() { # day slot
    local d=$1 w=$2 v=$(( (d * 7 + w * 3 + d * w) % 11 ))
    if (( w == 13 && d >= 4 )); then echo 休; return; fi
    if (( w == 22 && d >= 9 )); then echo 休; return; fi
    case $v in
        0) echo 金 ;; 1) echo 銀 ;; 2|3|4|5|6) echo 白 ;; *) echo 黒 ;;
    esac
}
day() {
    local d=$1 args=()
    for w in $(seq 0 39); do
        args+=("$((w + 10))=$(mark "$d" "$w")")
    done
    run result set "$d" "${args[@]}"
    run --yes result confirm "$d"
    run entry list
}
run --no result confirm 1
for d in 1 2 3 4 5; do day $d; done
run result confirm 3
run result confirm 7
run --no result restart
run --yes result restart
run status
for d in $(seq 1 15); do day $d; done
run result confirm
run prizes list
run status
run rules show

# Kept for the comparison: the folder at the end of the tournament.
cp -r "$dir/contest" "$dir/basho-end"

# The next tournament starts from this one's standings.
run --yes reset
run --yes rules decide
run --yes entry import ranking
run entry list
run --yes rename restore
run banzuke show
