#!/usr/bin/env bash
# Writes the manual page, a plain-text copy of it and the bash completion of a
# built posebridge-cli, all from the program's own help texts, so that none of
# them can drift from --help:
#   make_manual.sh PROGRAM OUT_DIR
# gives OUT_DIR/posebridge-cli.1.gz, posebridge-cli.txt and posebridge-cli.bash.
set -euo pipefail
program=$1
out=$2
name=posebridge-cli
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A help text as roff. Options and positionals become tagged paragraphs; the
# lines of any other section (examples, exit statuses, tables) are kept as
# they stand. With a first argument, each section after the options becomes a
# section of help2man's include file instead of a bold heading.
to_roff() {
    awk -v top="${1:-}" '
    function escaped(text) {
        gsub(/\\/, "\\e", text)
        gsub(/-/, "\\-", text)
        return text
    }
    function line(text) {
        text = escaped(text)
        if (text ~ /^[.\047]/) text = "\\&" text
        print text
    }
    function close_block() { if (block) { print ".fi"; block = 0 } }
    /^[A-Z][A-Za-z ()\/,-]*:$/ {
        close_block()
        section = $0
        sub(/:$/, "", section)
        if (top) sub(/ \(.*\)$/, "", section)
        if (top) { print "[" toupper(section) "]"; next }
        print ".PP"; print "\\fB" escaped($0) "\\fR"; next
    }
    /^Usage: / { close_block(); print ".PP"; line($0); next }
    /^$/ { if (!block) next; print ".fi"; block = 0; next }
    section == "Options" || section == "Positionals" {
        # The option, then its description after two blanks or on the next line.
        if (match($0, /^  [^ ].*[^ ]   +[^ ]/)) {
            print ".TP"
            head = substr($0, 3, RLENGTH - 3); sub(/ +$/, "", head)
            print "\\fB" escaped(head) "\\fR"
            line(substr($0, RLENGTH))
        } else if ($0 ~ /^  [^ ]/) {
            print ".TP"; sub(/^ +/, ""); print "\\fB" escaped($0) "\\fR"
        } else {
            sub(/^ +/, ""); line($0)
        }
        next
    }
    { if (!block) { print ".nf"; block = 1 } line($0) }
    END { close_block() }
    '
}

help=$("$program" --help)
headline=$(printf '%s\n' "$help" | head -n 1)
commands=$(printf '%s\n' "$help" | awk '/^Subcommands:$/ { on = 1; next } on && /^$/ { exit } on { print $1 }')
# help2man reads the usage, description and options of the top-level help
# from a stand-in that prints them alone; what follows them (examples, exit
# statuses, notations) it would run together, so those come from the include
# file, as do the commands.
mkdir "$work/bin"
cat >"$work/bin/$name" <<STANDIN
#!/usr/bin/env bash
if [ "\$1" = --version ]; then exec "$program" --version; fi
"$program" --help | awk '/^Examples:\$/ { exit } { print }'
STANDIN
chmod +x "$work/bin/$name"
{
    echo "[COMMANDS]"
    for command in $commands; do
        echo ".SS \"$name $command\""
        "$program" "$command" --help | to_roff
    done
    printf '%s\n' "$help" | awk '/^Examples:$/ { on = 1 } on { print }' | to_roff top
} >"$work/commands.h2m"

help2man --no-info --name="${headline#*: }" --include="$work/commands.h2m" \
    --output="$work/$name.1" "$work/bin/$name"
gzip -9nc "$work/$name.1" >"$out/$name.1.gz"
# Windows has no man: the same page as plain text, with CRLF line ends.
groff -t -man -Tascii -P-cbou "$work/$name.1" | sed 's/$/\r/' >"$out/$name.txt"
"$program" completion bash >"$out/$name.bash"
