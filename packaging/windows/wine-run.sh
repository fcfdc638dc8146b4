#!/usr/bin/env bash
# CTest's emulator for the Windows build: runs one Windows program under
# Wine. Wine leaves the QT_* variables out of a Windows program's
# environment, so they are set again by cmd; Qt Test prints nothing on
# Wine's stdout, so a test program writes its results to a file, printed
# here when it ends. (Arguments and those values must not hold cmd's
# specials: & | < > ^ or quotes.)
set -uo pipefail
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }
program_name=$(basename "$1")
program=$(windows_path "$(realpath "$1")")
shift
command=""
while IFS='=' read -r variable value; do
  command+="set $variable=$value&& "
done < <(env | grep '^QT_')
case $program_name in
  test_*.exe)
    result=$(mktemp --suffix=.txt)
    trap 'rm -f "$result"' EXIT
    wine cmd /c "$command$program $* -o $(windows_path "$result"),txt" >/dev/null
    status=$?
    cat "$result"
    exit $status
    ;;
  *) exec wine cmd /c "$command$program $*" ;;
esac
