# The command line's figures, for scripts/bench: list --format json and
# rebase on large generated programs of each vendor, against wc -l and
# sed -e 's/X/X/' on the same file in the same run, and the peak memory of
# list for a 1 MB and a large input. Source it, then call cli_bench with a
# Release build folder, a work folder and the size in MB.

# Prints "seconds peak_kilobytes" of a command, its output thrown away.
measure() {
    local report
    report=$(mktemp)
    /usr/bin/time -o "$report" -f '%e %M' "$@" >/dev/null 2>/dev/null
    tail -n 1 "$report"
    rm -f "$report"
}

# The best of three runs' seconds, and the peak memory of the last. An
# argument @RUN@ becomes the run's number, so that each run of rebase writes
# a folder of its own: --out refuses a folder that is not empty.
best_of_three() {
    local best="" memory="" run seconds argument arguments
    for run in 1 2 3; do
        arguments=()
        for argument in "$@"; do
            arguments+=("${argument//@RUN@/$run}")
        done
        read -r seconds memory < <(measure "${arguments[@]}")
        if [ -z "$best" ] || awk -v a="$seconds" -v b="$best" 'BEGIN{exit !(a < b)}'; then
            best=$seconds
        fi
    done
    echo "$best $memory"
}

cli_bench() {
    local build=$1 work=$2 megabytes=$3
    local cli=$build/cli/posebridge-cli generate=$build/bench/generate_programs
    local vendor extension file small seconds memory small_memory wc_seconds sed_seconds
    local rebase_seconds rebase_memory rebase_small_memory
    printf '%-8s %8s %9s %8s %8s %9s %9s %9s %9s %9s\n' vendor MB list_MB/s vs_wc vs_sed \
        mem_1MB mem_big rebase_MB/s rb_vs_sed rb_mem_dKB
    for vendor in kuka abb fanuc; do
        case $vendor in
        kuka) extension=src ;;
        abb) extension=mod ;;
        fanuc) extension=ls ;;
        esac
        file=$work/big.$extension
        small=$work/small.$extension
        "$generate" "$vendor" "$megabytes" "$file" || return 1
        "$generate" "$vendor" 1 "$small" || return 1
        read -r seconds memory < <(best_of_three "$cli" list --format json -j 1 "$file")
        read -r _ small_memory < <(measure "$cli" list --format json -j 1 "$small")
        read -r wc_seconds _ < <(best_of_three wc -l "$file")
        read -r sed_seconds _ < <(best_of_three sed -e 's/X/X/' "$file")
        rm -rf "$work"/out-*
        read -r rebase_seconds rebase_memory < <(best_of_three "$cli" rebase --pre \
            "{X 12,Y 0,Z 0,A 0,B 0,C 0}" --out "$work/out-@RUN@" "$file")
        read -r _ rebase_small_memory < <(measure "$cli" rebase --pre \
            "{X 12,Y 0,Z 0,A 0,B 0,C 0}" --out "$work/out-small" "$small")
        awk -v v="$vendor" -v mb="$megabytes" -v s="$seconds" -v m="$memory" -v sm="$small_memory" \
            -v w="$wc_seconds" -v d="$sed_seconds" -v r="$rebase_seconds" -v rm="$rebase_memory" \
            -v rsm="$rebase_small_memory" 'BEGIN {
                bytes = mb * 1e6
                printf "%-8s %8d %9.1f %7.2fx %7.2fx %8dK %8dK %9.1f %8.2fx %9d\n", v, mb,
                    bytes / 1e6 / s, s / w, s / d, sm, m, bytes / 1e6 / r, r / d, rm - rsm
            }'
        rm -rf "$work"/out-* "$file" "$small"
    done
    echo "(list: JSON Lines to /dev/null, one thread; times are the best of three runs;"
    echo " vs_wc and vs_sed: list's time over that of wc -l and sed -e 's/X/X/' on the same file;"
    echo " mem: peak resident memory; rb_mem_dKB: rebase's peak on the large file minus on 1 MB)"
}

# plot against list --format json of the same input: the 200 MB KRL program
# and a CAM program of 100,000 motions (goal: plot within 1.5 times list),
# and the time the 100,000-pose page takes in headless Chromium until its
# first frame is drawn (goal: 3 s): the page stamps it on its body, in
# milliseconds from the start of navigation, once the GPU has finished the
# frame; the best of three browser runs.
plot_bench() {
    local build=$1 work=$2 megabytes=$3
    local cli=$build/cli/posebridge-cli file list_seconds plot_seconds name
    printf '%-22s %9s %9s %8s\n' input list_json_s plot_s ratio
    "$build/bench/generate_programs" kuka "$megabytes" "$work/big.src" || return 1
    awk 'BEGIN { print "DEF cam()"; for (k = 0; k < 100000; ++k)
        printf "LIN {X %d,Y %d,Z %d,A 0,B 90,C %d} C_DIS\n", 800 + k % 400, int(k / 400) * 2,
            600 + k % 7, k % 360; print "END" }' >"$work/cam.src"
    for file in "$work/big.src" "$work/cam.src"; do
        read -r list_seconds _ < <(best_of_three "$cli" list --format json -j 1 "$file")
        read -r plot_seconds _ < <(best_of_three "$cli" plot --out "$work/plot.html" "$file")
        name=$(basename "$file")
        [ "$name" = big.src ] && name="KRL ${megabytes} MB" || name="100,000 poses"
        awk -v n="$name" -v l="$list_seconds" -v p="$plot_seconds" \
            'BEGIN { printf "%-22s %9.2f %9.2f %7.2fx\n", n, l, p, p / l }'
    done
    local profile first best="" wall started run
    "$cli" plot --out "$work/cam.html" "$work/cam.src" 2>/dev/null || return 1
    started=$(date +%s.%N)
    for run in 1 2 3; do
        profile=$(mktemp -d)
        first=$(timeout 120 /usr/bin/chromium --headless --no-sandbox --disable-gpu \
            --enable-unsafe-swiftshader --disable-quic --no-first-run \
            --disable-background-networking --disable-component-update --disable-sync \
            --user-data-dir="$profile" --window-size=1280,800 --dump-dom "file://$work/cam.html" \
            2>/dev/null | grep -o 'data-first-frame-ms="[0-9]*"' | grep -o '[0-9]*')
        rm -rf "$profile"
        if [ -n "$first" ] && { [ -z "$best" ] || [ "$first" -lt "$best" ]; }; then
            best=$first
        fi
    done
    wall=$(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", (b - a) / 3 }')
    rm -rf "$work/big.src" "$work/cam.src" "$work/plot.html" "$work/cam.html"
    echo "100,000-pose page in headless Chromium (SwiftShader): first frame ${best:-?} ms after" \
        "navigation (goal 3000 ms); a whole browser run ${wall} s"
    echo "(plot: the page to a file, goal 1.5x; list: JSON Lines to /dev/null, one thread;" \
        "best of three)"
}

# translate against list --format json of the same input: the large
# generated program of each vendor translated to another vendor's language
# (its maps given as a user gives them), and the peak memory of translate for
# a 1 MB and the large program. The FANUC program moves to one position of a
# /POS of millions, all of which a KRL .dat declares.
translate_bench() {
    local build=$1 work=$2 megabytes=$3
    local cli=$build/cli/posebridge-cli generate=$build/bench/generate_programs
    local vendor extension file small list_seconds seconds memory small_memory
    local -a maps
    printf '%-14s %8s %9s %9s %8s %9s %9s %9s\n' direction MB list_s translate_s ratio \
        tr_MB/s mem_1MB mem_big
    for vendor in kuka abb fanuc; do
        case $vendor in
        kuka)
            extension=src
            maps=(--to abb --frame 1=wobjPart --tool 3=tSpindle)
            ;;
        abb)
            extension=mod
            maps=(--to kuka --frame wobjPart=1 --tool tSpindle=3)
            ;;
        fanuc)
            extension=ls
            maps=(--to kuka --frame 1=1 --tool 2=2)
            ;;
        esac
        file=$work/big.$extension
        small=$work/small.$extension
        "$generate" "$vendor" "$megabytes" "$file" || return 1
        "$generate" "$vendor" 1 "$small" || return 1
        read -r list_seconds _ < <(best_of_three "$cli" list --format json -j 1 "$file")
        rm -rf "$work/out"
        read -r seconds memory < <(best_of_three "$cli" translate "${maps[@]}" --out "$work/out" \
            "$file")
        read -r _ small_memory < <(measure "$cli" translate "${maps[@]}" --out "$work/out-small" \
            "$small")
        awk -v v="$vendor-${maps[1]}" -v mb="$megabytes" -v l="$list_seconds" -v s="$seconds" \
            -v m="$memory" -v sm="$small_memory" 'BEGIN {
                printf "%-14s %8d %9.2f %11.2f %7.2fx %9.1f %8dK %8dK\n", v, mb, l, s, s / l,
                    mb / s, sm, m
            }'
        rm -rf "$work/out" "$work/out-small" "$file" "$small"
    done
    echo "(list: JSON Lines to /dev/null, one thread; translate: the target files to a folder;"
    echo " best of three runs; ratio: translate's time over list's; mem: peak resident memory)"
}
