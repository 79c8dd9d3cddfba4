#!/usr/bin/env bash
# bash_completion_test.sh COMPLETION CLI: the completion of yalmera-cli as bash runs it on a
# command line: registered for the command, commands, each command's options exactly as its
# --help lists them, the ports `yalmera-cli ports` reports, files by extension.
set -u
source "$1"
cli=$2
failed=0

# complete_line WORD...: what the completion offers for the last word, sorted, one per line.
complete_line() {
    COMP_WORDS=("$cli" "$@")
    COMP_CWORD=$#
    COMPREPLY=()
    _yalmera_cli
    printf '%s\n' "${COMPREPLY[@]}" | sort
}
expect() {  # expect DESCRIPTION EXPECTED ACTUAL
    if [ "$2" != "$3" ]; then
        printf 'FAILED: %s\n  expected: %s\n  offered:  %s\n' "$1" "$(echo $2)" "$(echo $3)"
        failed=1
    fi
}
sorted() { printf '%s\n' "$@" | sort; }

expect "complete -p" "complete -F _yalmera_cli yalmera-cli" "$(complete -p yalmera-cli)"
expect "commands" "$(sorted export image import diff)" "$({ complete_line i; complete_line e; complete_line d; } | sort)"
expect "program options" "$(sorted -h --help -v --version)" "$(complete_line -)"

# Every option a command's help lists, and no other.
for command in template check image write read verify diff protocol export import ports; do
    listed=$("$cli" "$command" --help | grep -oE '^  (-[a-z], )?--[a-z-]+' | grep -oE -- '-+[a-z-]+' | sort)
    expect "options of $command" "$listed" "$(complete_line "$command" -)"
done

ports=$("$cli" ports 2>/dev/null | awk 'NR > 1 { print $1 }')
expect "ports" "$(sorted COM1 COM2 $ports)" "$(complete_line write plan.ini --port '')"
expect "bands" "$(sorted 144-174 30-60)" "$(complete_line read --band '')"

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder" || exit 1
touch plan.ini OLD.INI table.csv protocol.docx protocol.pdf image.bin notes.txt
mkdir plans
expect "plan files" "$(sorted OLD.INI plan.ini plans)" "$(complete_line check '')"
expect "spreadsheet files" "$(sorted plans table.csv)" "$(complete_line import '')"
expect "compared files" "$(sorted OLD.INI plan.ini plans table.csv)" "$(complete_line diff plan.ini '')"
expect "protocol documents" "$(sorted plans protocol.docx protocol.pdf)" \
    "$(complete_line protocol plan.ini --serial 1 -o '')"
expect "image files" "$(sorted image.bin plans)" "$(complete_line image plan.ini -o '')"
expect "protocol folder" "plans" "$(complete_line write plan.ini --protocol '')"

[ $failed -eq 0 ] && echo "bash completion: all cases passed"
exit $failed
