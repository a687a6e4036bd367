#!/usr/bin/env bash
# Builds one signed installer package of the control.
#   make-msi.sh x86|x64 VERSION OCX OUT.msi WORK SIGNING_DIR
# OCX is the (signed) Pelioran.ocx to install, WORK a scratch folder of its own, SIGNING_DIR
# as for sign.sh. The registry entries come from the control's registration table.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
arch=$1 version=$2 ocx=$3 out=$4 work=$5 signing=$6

rm -rf "$work"
mkdir -p "$work" "$(dirname "$out")"
# wixl finds sources and includes beside the .wxs.
cp "$here/Pelioran.wxs" "$work/"
cp "$ocx" "$work/Pelioran.ocx"
python3 "$here/registry_wxs.py" "$root/src/control/win/Registration.inc" \
  "$root/src/res/strings.inc" "$arch" "$work"
wixl -a "$arch" -D Arch="$arch" -D Version="$version" -o "$work/unsigned.msi" \
  "$work/Pelioran.wxs" 2>"$work/wixl.log" || { cat "$work/wixl.log" >&2; exit 1; }
# wixl does not read the DLL's version resource: the File table gets it here, so that
# Windows Installer treats the DLL as the versioned file it is.
msibuild "$work/unsigned.msi" -q "UPDATE \`File\` SET \`Version\` = '$version.0', \`Language\` = '1033' WHERE \`File\` = 'PelioranOcx'"
# A package rebuilt at the same version (a new product code) replaces the installed one too,
# instead of installing beside it: the upgrade search includes its upper bound (wixl's
# MajorUpgrade has no AllowSameVersionUpgrades; Attributes is part of the row's key).
upgrade_code=$(msiinfo export "$work/unsigned.msi" Property | tr -d '\r' |
  awk -F'\t' '$1 == "UpgradeCode" { print $2 }')
msibuild "$work/unsigned.msi" -q "DELETE FROM \`Upgrade\` WHERE \`ActionProperty\` = 'WIX_UPGRADE_DETECTED'"
msibuild "$work/unsigned.msi" -q "INSERT INTO \`Upgrade\` (\`UpgradeCode\`, \`VersionMax\`, \`Attributes\`, \`ActionProperty\`) VALUES ('$upgrade_code', '$version', 513, 'WIX_UPGRADE_DETECTED')"
# ALLOWEDSITES: the AllowedSites value is written only when the property is given, and the
# property passes from the command line to the installing service (a per-machine package).
msibuild "$work/unsigned.msi" -q "UPDATE \`Component\` SET \`Condition\` = 'ALLOWEDSITES' WHERE \`Component\` = 'AllowedSites'"
msibuild "$work/unsigned.msi" -q "UPDATE \`Property\` SET \`Value\` = 'ALLOWEDSITES;WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED' WHERE \`Property\` = 'SecureCustomProperties'"
bash "$here/sign.sh" "$work/unsigned.msi" "$out" "$signing"
