#!/usr/bin/env bash
# Installs the build into a fresh DESTDIR and checks the installed tree as a
# user and a distribution would meet it: the installed programs run from
# there, the desktop files and the udev rule validate, and the Debian package
# holds exactly the expected files, depends on what the programs link and
# has no lintian errors (its warnings are printed).
#   check_package.sh BUILD_DIR SOURCE_DIR WORK_DIR UDEV_RULES_DIR
set -euo pipefail
build=$1 source=$2 work=$3 udev_rules_dir=$4
fail() { echo "check_package: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null

bin=$root/usr/bin
report=$("$bin/tvs-updater-cli" --simulate check --json)
[ "$report" = '{"serial":"TVS0012345","installed":"32","newest":"33","updateAvailable":true}' ] \
  || fail "the installed tvs-updater-cli reported: $report"
checked=$("$bin/tvs-stylecheck" "$source/resources/stylesheets/FirmwareUpdaterStyles.txt") \
  && [[ $checked == *" 0 errors" ]] || fail "the installed tvs-stylecheck does not pass the updater's stylesheet"
version=$("$bin/tvs-updater" --version) && [[ $version == "tvs-updater "* ]] \
  || fail "the installed tvs-updater does not start"
# The pages name the files where the package puts them, so the build must be
# configured for the package's prefix.
page=$(zcat "$root/usr/share/man/man1/tvs-updater-cli.1.gz")
[[ $page == *"/usr/share/doc/tvs"* ]] \
  || fail "the manual pages name another prefix than the package's /usr (configure with CMAKE_INSTALL_PREFIX=/usr)"

desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml >/dev/null \
  || appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
rule=$root$udev_rules_dir/70-tvs-updater.rules
[ -f "$rule" ] || fail "no udev rule at $udev_rules_dir"
if udevadm verify --help >/dev/null 2>&1; then
  udevadm verify --resolve-names=never "$rule"
else
  echo "check_package: udevadm $(udevadm --version) has no verify; the rule is checked by udevadm test instead"
fi

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >/dev/null
deb=$(echo "$work"/package/tvs-updater_*.deb)
[ -f "$deb" ] || fail "cpack made no package"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' | sort >"$work/contents.txt"
sed "s|@UDEV_RULES_DIR@|$udev_rules_dir|" "$source/packaging/tests/package-contents.txt" | sort \
  | diff -u - "$work/contents.txt" || fail "the package does not hold the expected files (- expected, + found)"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libusb-1.0-0 libsdl2-2.0-0 libfreetype6; do
  [[ $depends == *"$library "* ]] || fail "the package does not depend on $library: $depends"
done

lintian --no-tag-display-limit "$deb" >"$work/lintian.txt" 2>&1 || true
grep '^W:' "$work/lintian.txt" || true
if grep -q '^E:' "$work/lintian.txt"; then
  cat "$work/lintian.txt" >&2
  fail "lintian reports errors"
fi
echo "check_package: $(basename "$deb") checked"
