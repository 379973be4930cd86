#!/usr/bin/env bash
# The packages as a player installs them, on a fresh Debian 12 root booted with systemd (so
# that services start at install time, as on any machine), in one of three situations:
#   bare      no web server;
#   nginx     Debian's nginx running with its default site on every address;
#   loopback  nginx whose default site the admin keeps to 127.0.0.1 and [::1].
# Checked: the install's exit status; the game's scheme answers on both loopback addresses;
# no listening socket beyond loopback comes with the packages, also after a reboot; a click of
# the installed game plays beside nginx; a site or service the admin disabled stays so over a reinstall and
# an upgrade; remove stops serving and leaves the machine's servers as before; purge leaves
# nothing of the game in /etc. In the bare root, nginx installed after the game takes over.
#
# Needs root, systemd-nspawn and mmdebstrap (fresh_root.sh), and Xvfb and xdotool here: the
# game runs inside the root and shows its window on a display of this machine.
# Usage: installed_packages.sh SITUATION DEB_DIR SOURCE_DIR BUILD_DIR TARBALL WORK_DIR
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
# shellcheck source=../../tests/e2e/e2e_lib.sh
source "$here/../../tests/e2e/e2e_lib.sh"
# shellcheck source=fresh_root.sh
source "$here/fresh_root.sh"
situation=$1 debs=$2 source_dir=$3 build=$4 tarball=$5 work=$6
# shellcheck source=/dev/null
source "$build/content-layout.env"
scheme_url="http://$DRAVEL_CONTENT_HOST/$DRAVEL_CONTENT_FOLDER/$DRAVEL_SCHEME_FILE"
host_pack="$build/content-pack/$DRAVEL_CONTENT_FOLDER"
unit=qovex-dravel-content.service
link=/etc/nginx/sites-enabled/qovex-dravel-content
log="$work/$situation.apt.log"
say() { echo "$situation: $*"; }
expect() {
  local what=$1
  shift
  "$@" || e2e_fail "$situation: $what"
  echo "ok ($situation): $what"
}
fails() { ! "$@"; }
retry() {
  local tries
  for ((tries = 0; tries < 50; ++tries)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

cleanup() {
  set +e
  e2e_cleanup
  root_poweroff
  rm -rf "$ROOT_DIR"
}

# ---- The root, and the packages' next version for the upgrade ----
root_make "dravel-$situation" "$work/$situation" "$tarball"
trap cleanup EXIT
mkdir -p "$ROOT_DIR/debs/next"
cp "$debs"/qovex-dravel_*.deb "$debs"/qovex-dravel-content_*.deb "$ROOT_DIR/debs/"
# Their paths inside the root.
game_deb=/debs/$(basename "$debs"/qovex-dravel_*.deb)
content_deb=/debs/$(basename "$debs"/qovex-dravel-content_*.deb)
# The same content package as a later version: dpkg runs every maintainer script of an upgrade.
repack="$work/$situation.repack"
dpkg-deb -R "$debs"/qovex-dravel-content_*.deb "$repack"
sed -i 's/^Version: .*/&+next1/' "$repack/DEBIAN/control"
dpkg-deb -b -Zgzip "$repack" "$ROOT_DIR/debs/next/" >/dev/null
next_deb=/debs/next/$(basename "$ROOT_DIR"/debs/next/*.deb)
rm -rf "$repack"
cp "$ROOT_DIR"/var/cache/dravel-debs/*.deb "$ROOT_DIR/var/cache/apt/archives/"
# The folder of this machine's X sockets, seen by the root from its boot on: the game inside
# reaches the display that Xvfb opens here later.
mkdir -p -m 1777 /tmp/.X11-unix
root_boot --bind-ro=/tmp/.X11-unix

apt_get() {
  in_root env DEBIAN_FRONTEND=noninteractive apt-get -y -q -o Dpkg::Options::=--force-confold \
    "$@" >"$log" 2>&1 || { cat "$log"; e2e_fail "$situation: apt-get $* failed"; }
}
# What the maintainer scripts said.
said() { grep -A 1 '^qovex-dravel-content:' "$log" | grep -v '^--$' || true; }
in_net() { nsenter -t "$ROOT_LEADER" -n "$@"; }
# Listening TCP sockets as "ADDRESS:PORT", sorted; the ones beyond loopback alone.
listeners() { in_net ss -Hltn | awk '{ print $4 }' | sort -u; }
beyond_loopback() { listeners | grep -vE '^(127\.[0-9.]+|\[::1\]):' || true; }
serves_pack() {
  in_net curl -sf --max-time 5 "$@" "$scheme_url" | cmp -s - "$host_pack/$DRAVEL_SCHEME_FILE"
}
not_served() { ! serves_pack -4 && ! serves_pack -6; }
active() { in_root systemctl --quiet is-active "$1"; }
# What nginx answers to other names and paths than the game's, on both loopback addresses.
answer() { in_net curl -sg --max-time 5 -w ' %{http_code}' "$@" | sha256sum; }
other_answers() {
  answer http://127.0.0.1/
  answer "http://[::1]/"
  answer -H 'Host: example.test' http://127.0.0.1/
  answer -H 'Host: example.test' "http://[::1]/"
}
game_mode() { if [[ $situation == bare ]]; then echo own; else echo nginx; fi; }

# ---- The situation ----
case $situation in
  bare) ;;
  nginx | loopback)
    apt_get install nginx
    if [[ $situation == loopback ]]; then
      in_root sed -i -E 's/listen 80 default_server;/listen 127.0.0.1:80 default_server;/;
        s/listen \[::\]:80 default_server;/listen [::1]:80 default_server;/' \
        /etc/nginx/sites-available/default
      in_root systemctl restart nginx
    fi
    expect "nginx runs before the game comes" active nginx.service
    ;;
  *) e2e_fail "no situation $situation" ;;
esac
listeners_before=$(listeners)
say "listening before: $(paste -sd' ' <<<"$listeners_before")"
answers_before=$(other_answers 2>/dev/null || true)
# nginx's configuration: every path with its type and link target, and every file's checksum.
etc_nginx() {
  in_root sh -c 'find /etc/nginx -printf "%p %y %l\n" | sort
    find /etc/nginx -type f -exec sha256sum {} + | sort -k 2' 2>/dev/null || true
}
nginx_before=$(etc_nginx)

# ---- Install ----
apt_get install "$game_deb" "$content_deb"
said
expect "the install succeeds with no error" fails grep -q '^E:' "$log"
expect "dpkg holds both packages installed" \
  test "$(in_root dpkg-query -W -f='${db:Status-Abbrev}\n' qovex-dravel qovex-dravel-content | sort -u)" = "ii "
expect "the game's scheme answers at $scheme_url over IPv4" retry serves_pack -4
expect "... and over IPv6" serves_pack -6
listeners_after=$(listeners)
added=$(comm -13 <(echo "$listeners_before") <(echo "$listeners_after") | paste -sd' ' -)
say "listening after: $(paste -sd' ' <<<"$listeners_after") (added: ${added:-none})"
added_beyond=$(comm -13 <(echo "$listeners_before" | grep -vE '^(127\.|\[::1\])' || true) \
  <(beyond_loopback) | grep -c . || true)
say "listening sockets beyond loopback added by the install: $added_beyond"
expect "the install adds no listening socket beyond loopback" test "$added_beyond" = 0
if [[ $(game_mode) == own ]]; then
  expect "the game's own server serves it" active "$unit"
  expect "the install says what listens" grep -qF "serves the game's pictures on 127.0.0.1 and ::1, port 80" "$log"
else
  expect "nginx serves it through the site's link" in_root test -L "$link"
  expect "the game's own server stays off" fails active "$unit"
fi
if [[ $situation == loopback ]]; then
  expect "nginx answers every other request on loopback as before" test "$(other_answers)" = "$answers_before"
elif [[ $situation == nginx ]]; then
  # nginx picks servers by address before name: beside a site on every address, the game's
  # site takes all that comes to 127.0.0.1:80 and [::1]:80. Told in the README; counted here.
  changed=$(diff <(echo "$answers_before") <(other_answers) | grep -c '^>' || true)
  say "requests on loopback naming another host or address that nginx now answers otherwise: $changed of 4"
fi

# ---- The next boot ----
root_poweroff
root_boot --bind-ro=/tmp/.X11-unix
expect "after a reboot the scheme answers again" retry serves_pack -4
expect "... and the same sockets listen as after the install" test "$(listeners)" = "$listeners_after"

# ---- One click of the installed game, run inside the root on a display of this machine ----
# Beside nginx. The game against its own server is played by the packages' own test
# (debian/tests/play, autopkgtest.sh), on a root as fresh as the bare one.
if [[ $(game_mode) == nginx ]]; then
  game="$work/$situation.game"
  cat >"$game" <<GAME
#!/bin/sh
exec nsenter -t $ROOT_LEADER -m -n -- env -i PATH=/usr/bin:/bin DISPLAY="\$DISPLAY" \
  XDG_RUNTIME_DIR=/run/dravel-player QT_QPA_PLATFORM=xcb sh -c \
  'mkdir -p -m 700 /run/dravel-player && exec /usr/games/qovex-dravel'
GAME
  chmod +x "$game"
  e2e_setup "packages-$situation" "$game" "$source_dir" "$build" "$build/tools/dravel-answers"
  trap cleanup EXIT
  E2E_ACCESS_LOG="$ROOT_DIR/var/log/nginx/access.log"
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
fi

# ---- nginx coming after the game takes over, and going gives the game its own server back ----
if [[ $situation == bare ]]; then
  apt_get install nginx
  said
  expect "nginx, installed after the game, runs" retry active nginx.service
  expect "... and serves the game through the site's link" retry serves_pack -4
  expect "... while the game's own server stops" fails active "$unit"
  apt_get remove nginx
  said
  expect "with nginx removed, the game's own server serves it again" retry serves_pack -4
  expect "... on loopback only" test -z "$(beyond_loopback)"
  apt_get purge nginx-common

  # Another server on port 80: the install goes on and names it.
  in_root systemctl stop "$unit"
  # Inside the root, so that the install sees whose it is.
  in_root perl -MIO::Socket::IP -e 'my $server = IO::Socket::IP->new(LocalHost => "127.0.0.1",
    LocalPort => 80, Listen => 1) or die "perl: port 80: $!\n"; sleep 60' &
  holder=$!
  port_held() { [[ -n $(in_net ss -Hltn 'sport = :80') ]]; }
  retry port_held || e2e_fail "no server holds port 80"
  apt_get install --reinstall "$content_deb"
  said
  expect "with port 80 held by another server, the install says which and what to do" \
    grep -qF "port 80 is held by another server, perl (pid " "$log"
  in_root sh -c "kill $(sed -n 's/.*another server, perl (pid \([0-9]*\)).*/\1/p' "$log" | head -n 1)"
  wait "$holder" 2>/dev/null || true
  in_root systemctl start "$unit"
  expect "with the port free again, the game's own server serves it" retry serves_pack -4
fi

# ---- An admin's disabling stays over a reinstall and an upgrade ----
if [[ $(game_mode) == own ]]; then
  in_root systemctl disable --now --quiet "$unit"
  enabled_again() { in_root systemctl --quiet is-enabled "$unit" || active "$unit"; }
  enable_by_hand() { in_root systemctl enable --now --quiet "$unit"; }
  what="the service the admin disabled"
else
  in_root rm "$link"
  in_root systemctl reload nginx
  enabled_again() { in_root test -L "$link"; }
  enable_by_hand() {
    in_root ln -s ../sites-available/qovex-dravel-content "$link"
    in_root systemctl reload nginx
  }
  what="the site the admin disabled"
fi
expect "with it disabled, the scheme is no longer served" retry not_served
apt_get install --reinstall "$content_deb"
said
expect "$what stays disabled over a reinstall" fails enabled_again
apt_get install "$next_deb"
said
expect "... and over an upgrade" fails enabled_again
version() { in_root dpkg-query -W -f='${Version}' qovex-dravel-content; }
expect "the upgrade is installed" test "$(version)" = "$(dpkg-deb -f "$debs"/qovex-dravel-content_*.deb Version)+next1"
expect "... and serves nothing meanwhile" not_served
enable_by_hand
expect "enabled again by hand, it serves the scheme" retry serves_pack -4

# ---- Remove, reinstall, purge ----
apt_get remove qovex-dravel-content
expect "remove stops serving the scheme" retry not_served
expect "... and leaves the sockets that listened before" test "$(listeners)" = "$listeners_before"
if [[ $(game_mode) == nginx ]]; then
    expect "... takes the site's link away" in_root test ! -e "$link"
    expect "... and nginx runs on" active nginx.service
    expect "nginx answers every other request on loopback as before" \
      test "$(other_answers)" = "$answers_before"
fi
apt_get install "$content_deb"
expect "installed again after a remove, it serves the scheme again" retry serves_pack -4
apt_get purge qovex-dravel qovex-dravel-content
expect "purge stops serving the scheme" retry not_served
expect "... leaves the sockets that listened before" test "$(listeners)" = "$listeners_before"
leftovers() { in_root find /etc /var/lib /var/cache/apt/archives -name '*dravel*' -not -path '/var/lib/dpkg/*'; }
expect "... and nothing of the game in /etc or /var/lib: $(leftovers | paste -sd' ' -)" \
  test -z "$(leftovers)"
expect "dpkg has forgotten both packages" fails in_root dpkg-query -W qovex-dravel qovex-dravel-content
if [[ $(game_mode) == nginx ]]; then
    expect "nginx's configuration is as it was" diff <(echo "$nginx_before") <(etc_nginx)
    expect "... and nginx runs on" active nginx.service
fi
played=", played"
[[ $(game_mode) == nginx ]] || played=""
echo "$situation: installed$played, upgraded, removed and purged"
