#!/usr/bin/env bash
# Runs the udev rule, alone, on emulated devices with `udevadm test`: the
# Trovix Studio of the USB emulation harness in run-time mode (1300) and in
# update mode (1302) gets the uaccess tag, another product of the same vendor
# does not. The rule directories and udev's database are hidden behind empty
# ones in a mount namespace of the test's own, so that no rule of the system
# takes part. Needs root for that; exits 77 (skipped) otherwise.
#   check_udev_rule.sh RULE_FILE HARNESS
set -euo pipefail
rule=$1 harness=$2
fail() { echo "check_udev_rule: $*" >&2; exit 1; }

if [ "$(id -u)" -ne 0 ] || ! unshare -m true 2>/dev/null || ! command -v udevadm >/dev/null; then
  echo "check_udev_rule: skipped: needs root, mount namespaces and udevadm"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/empty" "$work/rules"
cp "$rule" "$work/rules/"

# The tags the rule gives the device at a sysfs path, in a testbed made by
# the command in front of it.
cat >"$work/current-tags.sh" <<EOS
for rules in /usr/lib/udev/rules.d /lib/udev/rules.d /run/udev; do
  [ -d "\$rules" ] && mount --bind "$work/empty" "\$rules"
done
mount --bind "$work/rules" /etc/udev/rules.d
udevadm test --action=add "\$1" 2>&1 | sed -n 's/^CURRENT_TAGS=//p'
EOS

cat >"$work/other-product.umockdev" <<'EOS'
P: /devices/usb1/1-1
N: bus/usb/001/002
E: DEVNAME=/dev/bus/usb/001/002
E: DEVTYPE=usb_device
E: SUBSYSTEM=usb
A: idVendor=17cc\n
A: idProduct=1500\n
EOS

tags() { "$@" -- unshare -m bash "$work/current-tags.sh" /sys/devices/usb1/1-1 2>/dev/null | head -n 1; }
run_time=$(tags "$harness" --scenario=update-available)
update_mode=$(tags "$harness" --scenario=in-dfu-mode)
other=$(tags umockdev-run --device "$work/other-product.umockdev")
[[ $run_time == *:uaccess:* ]] || fail "the Trovix Studio in run-time mode is not tagged: '$run_time'"
[[ $update_mode == *:uaccess:* ]] || fail "the Trovix Studio in update mode is not tagged: '$update_mode'"
[[ $other != *uaccess* ]] || fail "another product of the vendor is tagged: '$other'"
echo "check_udev_rule: 1300 '$run_time', 1302 '$update_mode', 1500 '$other'"
