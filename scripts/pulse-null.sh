#!/usr/bin/env bash
# A private user-mode pulseaudio holding a null sink and a null source, so that Wine reports
# wave-in and wave-out devices (and delivers captured blocks at the real rate) on a machine
# without sound hardware.
#   pulse-null.sh start DIR   starts it; clients find it with XDG_RUNTIME_DIR=DIR/run
#   pulse-null.sh stop DIR    ends the one that start began
set -u
cmd=${1:?start or stop}; dir=$(realpath -m "${2:?pulseaudio directory}")

stop() {
  local pid i
  [ -f "$dir/pulseaudio.pid" ] || return 0
  pid=$(cat "$dir/pulseaudio.pid")
  rm -f "$dir/pulseaudio.pid"
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null
  for ((i = 0; i < 30; i++)); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.1; done
  kill -9 "$pid" 2>/dev/null
  return 0
}

case "$cmd" in
start)
  stop
  rm -rf "$dir/run" "$dir/home"
  mkdir -p "$dir/run" "$dir/home"
  chmod 700 "$dir/run"
  # Anonymous clients: the Wine process need not share the server's cookie file.
  HOME=$dir/home XDG_RUNTIME_DIR=$dir/run pulseaudio -n --daemonize=no --exit-idle-time=-1 \
    --use-pid-file=no --system=no \
    -L "module-native-protocol-unix auth-anonymous=1" \
    -L "module-null-sink sink_name=pel_null_sink" \
    -L "module-null-source source_name=pel_null_source" \
    >"$dir/pulseaudio.log" 2>&1 &
  echo $! >"$dir/pulseaudio.pid"
  for ((i = 0; i < 50; i++)); do
    if HOME=$dir/home XDG_RUNTIME_DIR=$dir/run pactl info >/dev/null 2>&1; then exit 0; fi
    sleep 0.1
  done
  echo "pulseaudio did not start:"; cat "$dir/pulseaudio.log"
  stop
  exit 1
  ;;
stop)
  stop
  ;;
*)
  echo "usage: $0 start|stop DIR" >&2; exit 2
  ;;
esac
