#!/usr/bin/env bash
# Each manual page formats without a warning from man.
# Usage: ManPageTest.sh PAGE...
set -uo pipefail
status=0
for page in "$@"; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    if [ $? -ne 0 ] || [ -n "$warnings" ]; then
        echo "FAIL: $page: ${warnings:-man failed}"
        status=1
    fi
done
exit $status
