# Sourced by the scripts whose steps the test command's summary names.

# test_note KIND WHAT REASON: a step that was retried or skipped, for the test command's
# summary (PRAVELO_TEST_NOTES names its file) and the step's own output.
test_note() {
    echo "note: $1 $2: $3" >&2
    [ -z "${PRAVELO_TEST_NOTES:-}" ] || printf '%s\t%s\t%s\n' "$1" "$2" "$3" >>"$PRAVELO_TEST_NOTES"
}
