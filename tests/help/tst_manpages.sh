#!/usr/bin/env bash
# The manual pages as the build made them, rendered as man shows them: groff
# and lexgrog find nothing to complain of, the page is of this version, every
# option the program's --help lists is in it, the words of --help come in the
# same order (no quote or word moved, none lost), and each option or row of a
# list of --help begins a line of its own (no table run together).
# Usage: tst_manpages.sh MAN_DIR VERSION PROGRAM_PATH...
set -euo pipefail
man_dir=$1 version=$2
shift 2

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

for path in "$@"; do
    program=$(basename "$path")
    page=$man_dir/$program.1
    warnings=$(groff -man -ww -z "$page" 2>&1)
    [ -z "$warnings" ] || fail "$program: groff warns: $warnings"
    lexgrog "$page" >/dev/null || fail "$program: lexgrog cannot read the page's NAME"

    help=$("$path" --help)
    # Wide, unhyphenated plain text: one rendered line a paragraph or a tag.
    text=$(groff -man -Tascii -rLL=300n -rHY=0 -rcR=1 -P-cbou "$page")
    grep -qF "$program $version" <<<"$text" || fail "$program: the page is not of version $version"

    while read -r option; do
        grep -qe "$option" <<<"$text" || fail "$program: $option is not in the page"
    done < <(grep -oP '(?<![\w-])--?[a-z][a-z-]*' <<<"$help" | sort -u)

    # help2man makes its headings upper case and may drop their colons; a
    # "Usage:" line becomes the SYNOPSIS.
    missing=$(awk 'function words(line, list) { return split(tolower(line), list, /[ \t]+/) }
                   NR == FNR { n = words($0, w); for (i = 1; i <= n; i++) if (w[i] != "") page[++pages] = w[i]; next }
                   { n = words($0, w)
                     for (i = 1; i <= n; i++) {
                         if (w[i] == "") continue
                         while (at < pages && page[at + 1] != w[i] && page[at + 1] ":" != w[i]) at++
                         if (at == pages) { print w[i]; exit }
                         at++
                     } }' <(echo "$text") <(grep -v '^Usage:' <<<"$help"))
    [ -z "$missing" ] || fail "$program: the page loses the order of --help from '$missing' on"

    # A row: indented, its first cell ending at two spaces (or the line's end).
    while IFS= read -r row; do
        grep -qE "^ *$(sed 's/[][\.*^$+?(){}|/]/\\&/g' <<<"$row")( |$)" <<<"$text" ||
            fail "$program: the row '$row' does not begin a line"
    done < <(grep -E '^ +\S' <<<"$help" | grep -E '^ +-|\S  +\S' | sed -E 's/^ +//; s/  +.*$//')
done

[ "$failures" -eq 0 ] || exit 1
echo "manual pages checked"
