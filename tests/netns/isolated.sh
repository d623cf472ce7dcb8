#!/usr/bin/env bash
# Runs a command on a local network of its own: a private network namespace
# with one veth pair, a system D-Bus of its own, and an mDNS daemon that
# announces and browses on that pair only. Nothing it sends can leave the
# namespace. Needs root; without it (or without the tools) it says why and
# exits 77, which the test runner reports as skipped.
#   tests/netns/isolated.sh COMMAND [ARGS...]
set -euo pipefail

skip() { echo "SKIPPED: $*" >&2; exit 77; }

if [[ "${BRINDLE_IN_NETNS:-}" != 1 ]]; then
  [[ $(id -u) -eq 0 ]] || skip "making a private network namespace needs root (unshare -n -m)"
  for tool in unshare ip dbus-daemon dbus-send avahi-daemon; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/ensure-deps installs it)"
  done
  unshare -n -m --propagation private true 2>/dev/null || skip "this system does not let us make a network namespace"
  BRINDLE_IN_NETNS=1 exec unshare -n -m --propagation private "$0" "$@"
fi

work=$(mktemp -d)
dbus_pid=
cleanup() {
  [[ -f /run/avahi-daemon/pid ]] && kill "$(cat /run/avahi-daemon/pid)" 2>/dev/null || true
  [[ -n "$dbus_pid" ]] && kill "$dbus_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

ip link set lo up
ip link add brindle0 type veth peer name brindle1
ip addr add 10.213.0.1/24 dev brindle0
ip link set brindle0 up
ip link set brindle1 up

# The system bus's and the daemon's folders, private to this namespace.
mkdir -p /run/dbus /run/avahi-daemon
mount -t tmpfs tmpfs /run/dbus
mount -t tmpfs tmpfs /run/avahi-daemon
dbus_pid=$(dbus-daemon --system --fork --print-pid)
bus=unix:path=/run/dbus/system_bus_socket
cat >"$work/avahi-daemon.conf" <<CONF
[server]
use-ipv4=yes
use-ipv6=no
allow-interfaces=brindle0
enable-dbus=yes
[wide-area]
enable-wide-area=no
[publish]
publish-hinfo=no
publish-workstation=no
CONF
avahi-daemon --no-drop-root --no-chroot --no-rlimits -f "$work/avahi-daemon.conf" -D

for _ in $(seq 100); do
  if DBUS_SYSTEM_BUS_ADDRESS=$bus dbus-send --system --print-reply --dest=org.freedesktop.Avahi / \
       org.freedesktop.Avahi.Server.GetState 2>/dev/null | grep -q "int32 2"; then
    export BRINDLE_TEST_SYSTEM_BUS=$bus DBUS_SYSTEM_BUS_ADDRESS=$bus BRINDLE_TEST_MDNS=1
    "$@"
    exit
  fi
  sleep 0.1
done
echo "the mDNS daemon did not start within 10 s" >&2
exit 1
