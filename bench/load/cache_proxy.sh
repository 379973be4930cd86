# shellcheck shell=bash
# Starts and stops the caching proxy of server/cache-proxy.conf.in in front of a content server
# on 127.0.0.1, as a CDN's edge would stand in front of it; for the load bench and the tests.
# Its configuration, pid file, logs and cache stay in BUILD/cache-proxy/port-PORT/, and every
# start begins with an empty cache. Source it, then:
#
#   cache_proxy_start SOURCE_DIR BUILD_DIR PORT ORIGIN_PORT
#   cache_proxy_stop BUILD_DIR PORT
#
# Its access log ($(cache_proxy_state BUILD PORT)/logs/access.log) has the content server's
# line format with the cache's verdict (HIT, MISS, EXPIRED, ...) last.

# The paths go into ${text//pattern/replacement}, where bash 5.2 would read a '&' in them.
shopt -u patsub_replacement 2>/dev/null || true

cache_proxy_state() { echo "$(cd "$1" && pwd -P)/cache-proxy/port-$2"; }

# Root rights for a low port, as scripts/content-server takes them.
cache_proxy_as_root() {
  if ((EUID != 0 && $1 < 1024)); then echo sudo --; fi
}

cache_proxy_start() {
  local source=$1 build=$2 port=$3 origin=$4 state user text waited
  state=$(cache_proxy_state "$build" "$port")
  local -a as_root
  read -r -a as_root <<<"$(cache_proxy_as_root "$port")"
  case "$state" in
    *[\"\\\$]* | *[[:cntrl:]]*) echo "cache proxy: $state holds a character nginx cannot take" >&2; return 1 ;;
  esac
  "${as_root[@]}" rm -rf "$state/cache"
  mkdir -p "$state/logs" "$state/temp"
  # Started as root, its workers run as the owner of its folder, who can write the cache.
  if ((EUID == 0 || ${#as_root[@]} > 0)); then
    user="user \"$(stat -c %U "$state")\" \"$(stat -c %G "$state")\";"
  else
    user="# Not started as root: the workers run as the user who started it."
  fi
  text=$(<"$source/server/cache-proxy.conf.in")
  text=${text//@USER_DIRECTIVE@/$user}
  text=${text//@STATE@/$state}
  text=${text//@LISTEN@/listen 127.0.0.1:$port;}
  text=${text//@ORIGIN@/127.0.0.1:$origin}
  printf '%s\n' "$text" >"$state/nginx.conf"
  if ! "${as_root[@]}" nginx -p "$state/" -c "$state/nginx.conf" -e "$state/logs/error.log" \
    2>>"$state/logs/error.log"; then
    echo "cache proxy: nginx did not start; the end of $state/logs/error.log:" >&2
    tail -n 5 "$state/logs/error.log" >&2
    return 1
  fi
  for ((waited = 0; waited < 50; ++waited)); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && return 0
    sleep 0.1
  done
  echo "cache proxy: nginx started but does not listen on 127.0.0.1:$port" >&2
  cache_proxy_stop "$build" "$port"
  return 1
}

# True while the pid is our nginx: a stale pid file's number may belong to another program.
cache_proxy_runs() {
  { tr '\0' ' ' <"/proc/$1/cmdline"; } 2>/dev/null | grep -qF -- "$2/nginx.conf"
}

cache_proxy_stop() {
  local state pid signal waited
  state=$(cache_proxy_state "$1" "$2")
  local -a as_root
  read -r -a as_root <<<"$(cache_proxy_as_root "$2")"
  [[ -r $state/nginx.pid ]] || return 0
  pid=$(tr -dc '0-9' <"$state/nginx.pid")
  [[ -n $pid ]] && cache_proxy_runs "$pid" "$state" || return 0
  for signal in QUIT TERM KILL; do
    "${as_root[@]}" kill "-$signal" "$pid" 2>/dev/null || return 0
    for ((waited = 0; waited < 50; ++waited)); do
      cache_proxy_runs "$pid" "$state" || return 0
      sleep 0.1
    done
  done
  echo "cache proxy: nginx (pid $pid) does not stop" >&2
  return 1
}
