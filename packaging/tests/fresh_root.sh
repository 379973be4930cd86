# Fresh Debian 12 roots booted with systemd as on a real machine, for the packages' install
# tests. Source it. The base root is made once by mmdebstrap from the registry this machine's
# apt uses and kept as a tarball in $DRAVEL_ROOT_CACHE (/var/cache/qovex-dravel-roots), named
# by a hash of what it holds: the packages that the game's package needs, installed; and,
# only downloaded, those that the situations and the content package install themselves
# (nginx, the own server) and autopkgtest with what the packages' own tests need
# (debian/tests/control), so that every install in a root runs without the network. Each
# root is a fresh copy of the tarball, booted by systemd-nspawn with a network of its own
# (loopback only): whatever it serves on port 80 meets no other server.

ROOT_CACHE=${DRAVEL_ROOT_CACHE:-/var/cache/qovex-dravel-roots}
ROOT_DIR=""
ROOT_NSPAWN_PID=""
ROOT_LEADER=""
ROOT_NAME=""

# The names in a .deb's relation field, first alternative of each, without versions.
root_relation_names() {
  dpkg-deb -f "$1" "$2" | tr ',' '\n' | sed 's/|.*//; s/(.*)//; s/[[:space:]]//g; /^$/d'
}

# The packages that the tests in debian/tests/control depend on, but for the project's own.
root_test_depends() {
  awk '/^Depends:/ { on = 1; sub(/^Depends:/, ""); print; next } /^[^ ]/ { on = 0 } on' "$1" |
    tr ',' '\n' | sed 's/(.*)//; s/[[:space:]]//g; /^$/d; /^@/d; /^qovex-dravel/d'
}

# Prints the cached base root's tarball, made first when missing. $1: the folder of the .debs;
# $2: the source folder.
root_base_tarball() {
  local debs=$1 source_dir=$2 installed downloaded sources options key tarball scratch
  installed=$( {
    echo systemd-sysv
    echo iproute2
    root_relation_names "$debs"/qovex-dravel_*.deb Depends
    root_relation_names "$debs"/qovex-dravel_*.deb Recommends | grep -v '^qovex-dravel'
  } | sort -u | paste -sd, -)
  downloaded=$( {
    echo nginx
    root_relation_names "$debs"/qovex-dravel-content_*.deb Depends
    echo autopkgtest
    root_test_depends "$source_dir/debian/tests/control"
  } | sort -u | tr '\n' ' ')
  sources=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list 2>/dev/null)
  # The host's own Acquire settings (such as a registry that serves old release files).
  options=$(grep -lE 'Acquire::(Check|https?::)' /etc/apt/apt.conf.d/* 2>/dev/null || true)
  # The recipe below is part of the name: a changed recipe makes a new root.
  key=$(printf '%s\n' "$installed" "$downloaded" "$sources" "$(cat $options /dev/null)" \
    "$(declare -f root_base_tarball)" |
    sha256sum | cut -c1-16)
  tarball="$ROOT_CACHE/bookworm-$key.tar"
  if [[ ! -s $tarball ]]; then
    mkdir -p "$ROOT_CACHE"
    scratch=$(mktemp -d)
    local aptopts=() file
    for file in $options; do aptopts+=(--aptopt="$file"); done
    echo "fresh root: making the base root ($tarball) with mmdebstrap" >&2
    # The downloads move aside, as mmdebstrap empties apt's own cache at the end.
    if ! printf '%s\n' "$sources" | mmdebstrap --variant=apt --include="$installed" \
      --skip=cleanup/apt/lists "${aptopts[@]}" \
      --customize-hook='rm -f "$1"/var/cache/apt/archives/*.deb' \
      --customize-hook="chroot \"\$1\" apt-get install --download-only -y -q $downloaded" \
      --customize-hook='mkdir -p "$1/var/cache/dravel-debs" && mv "$1"/var/cache/apt/archives/*.deb "$1/var/cache/dravel-debs/"' \
      bookworm "$scratch/root.tar" - >"$scratch/mmdebstrap.log" 2>&1; then
      tail -n 30 "$scratch/mmdebstrap.log" >&2
      rm -rf "$scratch"
      return 1
    fi
    # Older tarballs of other package lists are of no more use.
    rm -f "$ROOT_CACHE"/bookworm-*.tar
    mv "$scratch/root.tar" "$tarball"
    rm -rf "$scratch"
  fi
  echo "$tarball"
}

# Runs a command in the booted root, as its root user in a login-like environment.
in_root() {
  nsenter -t "$ROOT_LEADER" -a env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    LANG=C.UTF-8 HOME=/root "$@"
}

# Boots the root folder $ROOT_DIR (named $ROOT_NAME) and waits until its services have started.
# Further arguments go to systemd-nspawn. A boot right after a poweroff can find the last one's
# leftovers still going away and never come up: it is ended and tried once more.
root_boot() {
  root_boot_once "$@" && return 0
  echo "fresh root: $ROOT_NAME did not come up; booting it once more" >&2
  kill -KILL "$ROOT_NSPAWN_PID" 2>/dev/null || true
  wait "$ROOT_NSPAWN_PID" 2>/dev/null || true
  rm -rf "/run/systemd/nspawn/propagate/$ROOT_NAME"
  sleep 2
  root_boot_once "$@"
}

root_boot_once() {
  local waited state
  systemd-nspawn -q -D "$ROOT_DIR" --boot --private-network --register=no --keep-unit \
    --console=passive --machine="$ROOT_NAME" "$@" >>"$ROOT_DIR.console.log" 2>&1 </dev/null &
  ROOT_NSPAWN_PID=$!
  ROOT_LEADER=""
  for ((waited = 0; waited < 450; ++waited)); do
    # The root's init, once nspawn's child has become it: a child seen earlier may be gone.
    [[ -n $ROOT_LEADER ]] || ROOT_LEADER=$(pgrep -x -P "$ROOT_NSPAWN_PID" systemd | head -n 1 || true)
    if [[ -n $ROOT_LEADER ]]; then
      state=$(in_root systemctl is-system-running 2>/dev/null || true)
      [[ $state == running || $state == degraded ]] && return 0
    fi
    kill -0 "$ROOT_NSPAWN_PID" 2>/dev/null || break
    sleep 0.1
  done
  tail -n 20 "$ROOT_DIR.console.log" >&2
  echo "fresh root: $ROOT_NAME did not boot (state: ${state:-none})" >&2
  return 1
}

# Shuts the booted root down as a machine shuts down.
root_poweroff() {
  local waited
  [[ -n $ROOT_NSPAWN_PID ]] || return 0
  in_root systemctl poweroff >/dev/null 2>&1 || true
  for ((waited = 0; waited < 300; ++waited)); do
    kill -0 "$ROOT_NSPAWN_PID" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$ROOT_NSPAWN_PID" 2>/dev/null; then
    kill -KILL "$ROOT_NSPAWN_PID" 2>/dev/null || true
  fi
  wait "$ROOT_NSPAWN_PID" 2>/dev/null || true
  # Where /run is no tmpfs, nspawn leaves this folder behind for the next boot to trip on.
  rm -rf "/run/systemd/nspawn/propagate/$ROOT_NAME"
  ROOT_NSPAWN_PID=""
  ROOT_LEADER=""
}

# A fresh copy of the base root in the folder $2, named $1; not booted.
root_make() {
  ROOT_NAME=$1
  ROOT_DIR=$2
  rm -rf "$ROOT_DIR"
  mkdir -p "$ROOT_DIR"
  tar -C "$ROOT_DIR" -xf "$3"
}

# The root's apt reads the base root's downloads alone, as a repository of local files: apt
# then installs without the network, and apt-get update (which autopkgtest runs) works too.
root_local_repository() {
  local folder=/var/cache/dravel-debs
  (cd "$ROOT_DIR$folder" && apt-ftparchive packages . >Packages)
  rm -f "$ROOT_DIR"/etc/apt/sources.list "$ROOT_DIR"/etc/apt/sources.list.d/*
  echo "deb [trusted=yes] file:$folder ./" >"$ROOT_DIR/etc/apt/sources.list.d/dravel-debs.list"
}
