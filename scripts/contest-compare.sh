#!/usr/bin/env bash
# Runs the same whole contest with two builds and compares the transcripts,
# every file under Data/ and a dump of the database.
# Usage: contest-compare.sh BASELINE CANDIDATE [TIERULE]
set -u
here=$(cd "$(dirname "$0")" && pwd)
base=$1
cand=$2
tie=${3:-1}
work=$(mktemp -d)
# The pages' update time follows the data files' clock; a minute turning
# between the two runs would read as a difference.
export KC_PUBLISH_TIME=${KC_PUBLISH_TIME:-2026-01-01T00:00}
"$here/contest-run.sh" "$base" "$work/a" "$tie"
"$here/contest-run.sh" "$cand" "$work/b" "$tie"
for side in a b; do
    : >"$work/$side/db.sql"
    : >"$work/$side/files.txt"
    for folder in basho-end contest; do
        # The journal's ids are fresh for every unit of work.
        sqlite3 "$work/$side/$folder/Data/kch.kch" .dump | grep -v '^INSERT INTO kc_journal' \
            >>"$work/$side/db.sql"
        (cd "$work/$side" && find "$folder" -type f ! -name kachikoshi.lock ! -name kch.kch \
            | sort | xargs sha256sum) >>"$work/$side/files.txt"
    done
done
status=0
for f in transcript.txt db.sql files.txt; do
    sed "s#$work/[ab]#W#g" "$work/a/$f" >"$work/a/$f.n"
    sed "s#$work/[ab]#W#g" "$work/b/$f" >"$work/b/$f.n"
    if ! diff -u "$work/a/$f.n" "$work/b/$f.n" >"$work/$f.diff"; then
        echo "DIFFERENT: $f (see $work/$f.diff)"
        head -40 "$work/$f.diff"
        status=1
    fi
done
lines=$(wc -l <"$work/a/transcript.txt")
files=$(wc -l <"$work/a/files.txt")
[ $status = 0 ] && echo "same: $lines transcript lines, $files files, database dump ($work)"
exit $status
