# Shared by the packaging checks: a temporary folder removed at exit, the skip rule for missing
# tools (fail instead under CI, which installs them all), and a check that says what failed.

tmp=$(mktemp -d /tmp/pelko-packaging.XXXXXX)
trap 'rm -rf "$tmp"' EXIT

under_ci() { case "${CI:-}" in ""|0|false) return 1 ;; *) return 0 ;; esac; }
need() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null && continue
    if under_ci; then echo "FAIL: $tool is not installed (CI installs it)"; exit 1; fi
    echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  done
}
failures=0
check() {
  local what=$1
  shift
  if "$@" >"$tmp/check.out" 2>&1; then
    echo "ok   $what"
  else
    echo "FAIL $what"
    sed 's/^/     /' "$tmp/check.out" | tail -n 15
    failures=$((failures + 1))
  fi
}
finish() { [ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }; }
