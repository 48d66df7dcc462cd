# Checks shared by the end-to-end scripts (sourced): each prints "ok: NAME"
# or "FAIL: NAME" with what differed, and counts the failures in $failures.
failures=0
expect() {  # expect NAME ACTUAL EXPECTED
    if [ "$2" == "$3" ]; then
        echo "ok: $1"
    else
        echo "FAIL: $1"
        echo "  expected: $3"
        echo "  actual:   $2"
        failures=$((failures + 1))
    fi
}
expect_true() {  # expect_true NAME CONDITION...
    local name=$1
    shift
    if "$@"; then echo "ok: $name"; else echo "FAIL: $name ($*)"; failures=$((failures + 1)); fi
}
