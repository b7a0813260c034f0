# tests/lib.sh — what the shell test runners share, sourced by each of them.
#
#   start_work TAG        a scratch folder $work, removed at exit together with
#                         every process named in $stop_at_exit (and made
#                         writable first, for cases that took permissions away)
#   fail MESSAGE          counts a failure, printed as "FAIL [$test_name]: ..."
#   prepare_run DIR CASE  a fresh run folder: DIR/data/Kalvora (the save area,
#                         from CASE/save/), DIR/run (the working directory, from
#                         CASE/work/) and DIR/home
#   run_kalvora DIR ARGS...
#                         Kalvora ($kalvora, game $data) in DIR/run on DIR's save
#                         area; returns its exit code. The environment: no
#                         display, TZ=Europe/Warsaw, LC_TIME=$run_lc_time
#                         (pl_PL.UTF-8 by default), then the VAR=value words of
#                         $run_env; $run_launcher (e.g. prlimit) goes in front.
#   run_headless DIR SCRIPT LOG [ARGS...]
#                         the same headless, replaying SCRIPT, its debug output
#                         in LOG
#   dialog_lines LOG DIR  the dialog lines of LOG, DIR/run written <run> and the
#                         save area <save>
#   compare_tree EXPECTED ACTUAL LABEL
#                         prints a line for every file of EXPECTED missing or
#                         different in ACTUAL (nothing when all match)
#   wait_for SECONDS COMMAND...
#                         runs COMMAND every 0.1 s until it succeeds
#   start_xvfb            an X server of its own on a free display: exports
#                         DISPLAY; false (with Xvfb's log) when it does not answer
#   passed MESSAGE        exits: 1 after failures (printing $on_failure's output
#                         first), else 0 with "PASS [$test_name] MESSAGE"
test_name=${test_name:-$(basename "$0")}
failures=0
stop_at_exit=()
run_env=()
run_launcher=()

fail() {
  echo "FAIL [$test_name]: $*"
  failures=$((failures + 1))
}

start_work() {
  work=$(mktemp -d "${TMPDIR:-/tmp}/kalvora-$1.XXXXXX")
  trap 'for pid in "${stop_at_exit[@]}"; do kill "$pid" 2>/dev/null; done; wait 2>/dev/null
        chmod -R u+rwX "$work" 2>/dev/null; rm -rf "$work"' EXIT
}

prepare_run() {
  rm -rf "$1/data" "$1/run" "$1/home"
  mkdir -p "$1/data/Kalvora" "$1/run" "$1/home"
  [ -d "$2/save" ] && cp -r "$2/save/." "$1/data/Kalvora/"
  [ -d "$2/work" ] && cp -r "$2/work/." "$1/run/"
  return 0
}

run_kalvora() {
  local dir=$1
  shift
  (
    cd "$dir/run" &&
      exec env -u DISPLAY -u WAYLAND_DISPLAY XDG_DATA_HOME="$dir/data" HOME="$dir/home" TZ=Europe/Warsaw LC_ALL= \
        LANG=C.UTF-8 LC_TIME="${run_lc_time:-pl_PL.UTF-8}" "${run_env[@]}" "${run_launcher[@]}" \
        "$kalvora" -game "$data" "$@"
  )
}

run_headless() {
  local dir=$1 script=$2 log=$3
  shift 3
  run_kalvora "$dir" -headless -playback "$script" -output "$log" "$@"
}

dialog_lines() {
  grep -a '^dialog ' "$1" 2>/dev/null | sed -e "s|$2/run|<run>|g" -e "s|$2/data/Kalvora|<save>|g"
}

compare_tree() {
  [ -d "$1" ] || return 0
  (cd "$1" && find . -type f) | while read -r file; do
    if [ ! -f "$2/$file" ]; then echo "missing $3 file $file"; continue; fi
    cmp -s "$1/$file" "$2/$file" || { echo "$3 file $file differs:"; diff <(od -c "$1/$file") <(od -c "$2/$file") | head -20; }
  done
}

wait_for() {
  local tenths=$(($1 * 10))
  shift
  for ((i = 0; i < tenths; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# Xvfb names its display as soon as it listens; it is used once it answers. It
# runs with -noreset: by default an X server resets when its last client leaves,
# and a program connecting during that reset (right after the probe) is refused.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3> "$work/display" 2> "$work/xvfb.log" &
  stop_at_exit+=($!)
  if wait_for 15 test -s "$work/display"; then
    export DISPLAY=":$(head -1 "$work/display")"
    wait_for 15 xdotool getdisplaygeometry > /dev/null 2>&1 && return 0
  fi
  fail "Xvfb did not start or does not answer"
  cat "$work/xvfb.log"
  return 1
}

passed() {
  if [ "$failures" -ne 0 ]; then
    [ -n "${on_failure:-}" ] && $on_failure
    exit 1
  fi
  echo "PASS [$test_name] $*"
  exit 0
}
