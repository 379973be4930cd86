#!/usr/bin/env bash
# The two packages on this machine, as a player installs them: beside the system's nginx and
# its default site, the installed game plays a click at once; when nginx does not run or
# another server holds port 80, the install says what to do; purge leaves nothing behind and
# nginx's configuration as it was.
#
# Needs root, and network and mount namespaces of its own (packages.sh runs it in them): its
# nginx listens where no other server does, and where this machine keeps packages away from
# services with a policy-rc.d (as containers do), an allowing one is mounted over it, so that
# the packages reload nginx as on any Debian machine. There is no systemd to ask, so it starts
# the system's nginx as the packages leave it by running nginx itself (which reads
# /etc/nginx/nginx.conf, as the service does), and stops it at the end.
# Usage: installed_packages.sh DEB_DIR SOURCE_DIR BUILD_DIR
set -euo pipefail
# shellcheck source=../../tests/e2e/e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../tests/e2e/e2e_lib.sh"
debs=$1 source_dir=$2 build=$3
packages=(qovex-dravel qovex-dravel-content)
# shellcheck source=/dev/null
source "$build/content-layout.env"
pack=/usr/share/qovex-dravel-content/$DRAVEL_CONTENT_FOLDER
scheme_url="http://$DRAVEL_CONTENT_HOST/$DRAVEL_CONTENT_FOLDER/$DRAVEL_SCHEME_FILE"
log=$(mktemp)

expect() {
  local what=$1
  shift
  "$@" || e2e_fail "$what"
  echo "ok: $what"
}
retry() {
  local tries
  for ((tries = 0; tries < 50; ++tries)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}
apt_get() {
  DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=300 "$@" >"$log" 2>&1 ||
    { cat "$log"; e2e_fail "apt-get $1 failed"; }
}
installed() { dpkg-query -W -f='${db:Status-Status}\n' "$@" 2>/dev/null | grep -qv not-installed; }

nginx_pid() { [[ -r /run/nginx.pid ]] && tr -dc '0-9' </run/nginx.pid; }
nginx_runs() {
  local pid
  pid=$(nginx_pid) && [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null
}
port_open() { ! e2e_port_closed 80; }
started_nginx=0
start_nginx() {
  nginx || e2e_fail "the system's nginx did not start"
  started_nginx=1
  retry port_open || e2e_fail "nginx does not listen on port 80"
}
stop_nginx() {
  nginx -s quit 2>/dev/null
  retry e2e_port_closed 80 || e2e_fail "nginx does not stop"
  started_nginx=0
}

holder_pid=""
cleanup() {
  set +e
  e2e_cleanup
  [[ -n $holder_pid ]] && kill "$holder_pid" 2>/dev/null
  installed "${packages[@]}" && apt_get purge "${packages[@]}"
  ((started_nginx)) && nginx -s quit
  rm -f "$log" "$allowing_policy"
}
trap cleanup EXIT

# ---- Before: nginx as this machine has it ----
policy=/usr/sbin/policy-rc.d
allowing_policy=""
if [[ -e $policy ]]; then
  allowing_policy=$(mktemp)
  printf '#!/bin/sh\nexit 0\n' >"$allowing_policy"
  chmod +x "$allowing_policy"
  mount --bind "$allowing_policy" "$policy"
fi
nginx_runs && e2e_fail "a system nginx already runs (pid $(nginx_pid)); this test needs it stopped"
installed "${packages[@]}" && apt_get purge "${packages[@]}"
nginx_configuration() {
  find /etc/nginx -printf '%p %y %m %l\n' | sort
  find /etc/nginx -type f -exec sha256sum {} + | sort -k 2
}
nginx_before=$(nginx_configuration)
# Every path the packages hold, and whether it was here before them.
paths_present() {
  local deb path
  for deb in "$debs"/qovex-dravel_*.deb "$debs"/qovex-dravel-content_*.deb; do
    dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\.||; s|/$||' | sed '/^$/d'
  done | sort -u | while read -r path; do
    if [[ -e $path || -L $path ]]; then echo "here $path"; else echo "gone $path"; fi
  done
}
paths_before=$(paths_present)

start_nginx
# What nginx answers to other host names than the game's, and to the game's.
answer() { curl -sg --max-time 5 -w ' %{http_code}' "$@" | sha256sum; }
other_hosts() {
  answer http://127.0.0.1/
  answer "http://[::1]/"
  answer "http://127.0.0.1/$DRAVEL_CONTENT_FOLDER/$DRAVEL_SCHEME_FILE"
  answer -H 'Host: example.test' http://127.0.0.1/
}
game_host() { answer "http://$DRAVEL_CONTENT_HOST/"; answer "$scheme_url"; }
other_hosts_before=$(other_hosts)
game_host_before=$(game_host)

# ---- Install, nginx running ----
apt_get install "$debs"/qovex-dravel_*.deb "$debs"/qovex-dravel-content_*.deb
expect "the install says nothing of nginx" bash -c "! grep -q 'nginx cannot serve' '$log'"
serves_pack() { curl -sf --max-time 5 "$@" "$scheme_url" | cmp -s - "$pack/$DRAVEL_SCHEME_FILE"; }
expect "nginx, reloaded by the install, serves the pack at $scheme_url over IPv4" \
  retry serves_pack -4
expect "... and over IPv6" serves_pack -6
expect "the default site answers every other host name as before" \
  test "$(other_hosts)" = "$other_hosts_before"

# ---- One click of the installed game ----
e2e_setup packages /usr/games/qovex-dravel "$source_dir" "$build" "$build/tools/dravel-answers"
trap cleanup EXIT
E2E_PACK=$pack
E2E_ACCESS_LOG=/var/log/nginx/access.log
e2e_start_xvfb
e2e_answer 1
first_code=$E2E_CODE first_right=$E2E_RIGHT_TILE
e2e_answer 2
second_code=$E2E_CODE
mapfile -t choices < <(e2e_choice_names)

mark=$(e2e_log_mark)
e2e_start_game
window=$(e2e_wait_game_window)
e2e_locate_window "$window"
e2e_expect_requests "$mark" "start-up" "$DRAVEL_READING_PICTURE" "$(e2e_turn_requests "$first_code")"
start_shown() {
  e2e_task_shown "$first_code" "$1" && e2e_result_shows "$DRAVEL_READING_PICTURE" "$1"
}
e2e_expect_screen 1-start "the installed game shows the first task $first_code" start_shown
mark=$(e2e_log_mark)
e2e_click_choice "$window" "$first_right"
e2e_expect_requests "$mark" "a right pick" "$DRAVEL_RIGHT_PICTURE" \
  "${choices[first_right - 1]}" "$(e2e_turn_requests "$second_code")"
right_shown() {
  e2e_result_shows "$DRAVEL_RIGHT_PICTURE" "$1" && e2e_task_shown "$second_code" "$1"
}
e2e_expect_screen 2-right "tile $first_right is right: the verdict, then the next task $second_code" \
  right_shown
e2e_end_process "$E2E_GAME_PID"

# ---- An install that nginx cannot serve goes on, and says what to do ----
stop_nginx
perl -MIO::Socket::IP -e 'my $server = IO::Socket::IP->new(LocalPort => 80, Listen => 1)
  or die "perl: port 80: $!\n"; sleep 60' &
holder_pid=$!
expect "another server holds port 80" retry port_open
apt_get install --reinstall "$debs"/qovex-dravel-content_*.deb
grep -A 2 'nginx cannot serve' "$log" || true
expect "the install names the server on port 80" \
  grep -qF "port 80 is held by another server, perl (pid $holder_pid)" "$log"
expect "... and says to stop it and start nginx" \
  grep -qF "Stop that server, then start nginx, and the game plays:" "$log"
kill "$holder_pid"
wait "$holder_pid" 2>/dev/null || true
holder_pid=""
retry e2e_port_closed 80
apt_get install --reinstall "$debs"/qovex-dravel-content_*.deb
grep -A 2 'nginx cannot serve' "$log" || true
expect "with port 80 free, the install says nginx does not run and how to start it" \
  grep -qF "nginx cannot serve the game's pictures: it does not run." "$log"
if [[ -n $allowing_policy ]]; then
  umount "$policy"
  apt_get install --reinstall "$debs"/qovex-dravel-content_*.deb
  grep -A 2 'nginx cannot serve' "$log" || true
  expect "where policy-rc.d keeps packages away from services, the install says so" \
    grep -qF "policy-rc.d lets no package reload or start it." "$log"
  mount --bind "$allowing_policy" "$policy"
fi
start_nginx
expect "nginx, started, serves the pack" retry serves_pack

# ---- Purge ----
apt_get purge "${packages[@]}"
pack_gone() { ! serves_pack; }
expect "nginx, reloaded by the purge, no longer serves the pack" retry pack_gone
expect "nginx answers the game's host name as before the install" \
  test "$(game_host)" = "$game_host_before"
expect "... and every other host name as before" test "$(other_hosts)" = "$other_hosts_before"
stop_nginx
expect "nothing the packages added is left, and nothing that was there is gone" \
  diff <(echo "$paths_before") <(paths_present)
expect "nginx's configuration is as it was" diff <(echo "$nginx_before") <(nginx_configuration)
expect "dpkg has forgotten both packages" bash -c "! dpkg-query -W ${packages[*]} 2>/dev/null"
echo "installed, played, purged"
