#!/usr/bin/env bash
# Starts and stops the real peers that the tests talk to, each on a free 127.0.0.1 port:
# kvsim (control channel), tinyproxy (web proxy) and nginx (stock web server). Each of them
# is needed: scripts/install-deps.sh installs tinyproxy and nginx, and the build makes kvsim,
# so a missing or failing peer fails the start (and with it every test that needs peers)
# instead of leaving tests to pass without it.
#   peers.sh start DIR KVSIM     writes DIR/peers.env
#   peers.sh stop DIR            ends every process that start began
set -u
cmd=${1:?start or stop}; dir=${2:?peer directory}

free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1]); s.close()'
}

wait_for_file() {  # file, tries of 0.1 s
  local i
  for ((i = 0; i < $2; i++)); do [ -s "$1" ] && return 0; sleep 0.1; done
  return 1
}

wait_for_port() {
  local i
  for ((i = 0; i < 50; i++)); do
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

stop_all() {
  local pidfile pid
  for pidfile in "$dir"/*.pid; do
    [ -f "$pidfile" ] || continue
    pid=$(cat "$pidfile" 2>/dev/null)
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
  done
  sleep 0.2
  for pidfile in "$dir"/*.pid; do
    [ -f "$pidfile" ] || continue
    pid=$(cat "$pidfile" 2>/dev/null)
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    rm -f "$pidfile"
  done
  return 0
}

fail() {  # message [log file]
  echo "peers: $1"
  [ -n "${2:-}" ] && [ -f "$2" ] && cat "$2"
  stop_all
  exit 1
}

case "$cmd" in
start)
  kvsim=${3:-}
  stop_all 2>/dev/null
  rm -rf "$dir"; mkdir -p "$dir/www" "$dir/nginx-tmp"
  chmod 755 "$dir" "$dir/www"
  env="$dir/peers.env"; : >"$env.tmp"

  [ -n "$kvsim" ] && [ -x "$kvsim" ] || fail "no kvsim program ('$kvsim'): build kvsim first"
  "$kvsim" --control --port-file "$dir/kvsim.port" >"$dir/kvsim.log" 2>&1 &
  echo $! >"$dir/kvsim.pid"
  wait_for_file "$dir/kvsim.port" 50 || fail "kvsim did not start" "$dir/kvsim.log"
  echo "KVSIM_CONTROL_PORT=$(cat "$dir/kvsim.port")" >>"$env.tmp"

  command -v tinyproxy >/dev/null || fail "tinyproxy is not installed (scripts/install-deps.sh)"
  pport=$(free_port)
  cat >"$dir/tinyproxy.conf" <<CONF
User nobody
Group nogroup
Port $pport
Listen 127.0.0.1
Timeout 30
MaxClients 50
Allow 127.0.0.1
LogLevel Warning
CONF
  tinyproxy -d -c "$dir/tinyproxy.conf" >"$dir/tinyproxy.log" 2>&1 &
  echo $! >"$dir/tinyproxy.pid"
  wait_for_port "$pport" || fail "tinyproxy did not start" "$dir/tinyproxy.log"
  echo "PROXY_PORT=$pport" >>"$env.tmp"

  nginx_bin=$(command -v nginx || echo /usr/sbin/nginx)
  [ -x "$nginx_bin" ] || fail "nginx is not installed (scripts/install-deps.sh)"
  nport=$(free_port)
  # A page larger than one segment, so a keep-alive read has to collect several.
  python3 -c 'import sys; sys.stdout.write("".join("line %04d of the stock page served by nginx\n" % i for i in range(200)))' >"$dir/www/page.txt"
  chmod 644 "$dir/www/page.txt"
  cat >"$dir/nginx.conf" <<CONF
daemon off;
master_process off;
worker_processes 1;
user root;
pid $dir/nginx.pid.run;
error_log $dir/nginx-error.log warn;
events { worker_connections 64; }
http {
  access_log off;
  client_body_temp_path $dir/nginx-tmp/body;
  proxy_temp_path $dir/nginx-tmp/proxy;
  fastcgi_temp_path $dir/nginx-tmp/fastcgi;
  uwsgi_temp_path $dir/nginx-tmp/uwsgi;
  scgi_temp_path $dir/nginx-tmp/scgi;
  default_type text/plain;
  keepalive_timeout 65;
  server { listen 127.0.0.1:$nport; root $dir/www; }
}
CONF
  "$nginx_bin" -c "$dir/nginx.conf" -p "$dir" >"$dir/nginx.log" 2>&1 &
  echo $! >"$dir/nginx.pid"
  wait_for_port "$nport" || fail "nginx did not start" "$dir/nginx-error.log"
  echo "NGINX_PORT=$nport" >>"$env.tmp"
  echo "NGINX_ROOT=$dir/www" >>"$env.tmp"
  mv "$env.tmp" "$env"
  cat "$env"
  ;;
stop)
  stop_all
  ;;
*)
  echo "usage: peers.sh start DIR KVSIM | stop DIR"; exit 2 ;;
esac
