#!/bin/sh
# Runs a validator (first argument) on the remaining arguments. A machine
# without the validator reports the test as skipped (CTest SKIP_RETURN_CODE 77)
# instead of passing it silently; the tool is looked up when the test runs, so
# installing it later needs no new configure.
tool=$1
package=$2
shift 2
if ! command -v "$tool" >/dev/null 2>&1; then
  echo "$tool not found: install the Debian package $package to run this check; skipped"
  exit 77
fi
exec "$tool" "$@"
