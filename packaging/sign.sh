#!/usr/bin/env bash
# Authenticode-signs one file, a PE image or an MSI package, with osslsigncode.
#   sign.sh IN OUT SIGNING_DIR
# With PEL_SIGN_PFX (a PKCS#12 file holding the code-signing certificate, its chain and key)
# and PEL_SIGN_PASSWORD, signs with that certificate; PEL_SIGN_TIMESTAMP may name an RFC 3161
# time-stamp server. Without PEL_SIGN_PFX, signs with a throw-away test certificate that is
# made on first use in SIGNING_DIR (never in the repository):
#   test-ca.crt   the test certificate authority, to verify against
#   test-ca.key, codesign.crt, codesign.key
set -euo pipefail
in=$1 out=$2 signing=$3
args=(-h sha256 -n "Pelioran ActiveX Control")

if [ -n "${PEL_SIGN_PFX:-}" ]; then
  [ -f "$PEL_SIGN_PFX" ] || { echo "sign.sh: PEL_SIGN_PFX: no such file: $PEL_SIGN_PFX" >&2; exit 1; }
  [ -n "${PEL_SIGN_TIMESTAMP:-}" ] && args+=(-ts "$PEL_SIGN_TIMESTAMP")
  # The password goes through a pipe, never the command line.
  osslsigncode sign -pkcs12 "$PEL_SIGN_PFX" -readpass <(printf '%s' "${PEL_SIGN_PASSWORD:-}") \
    "${args[@]}" -in "$in" -out "$out.tmp" >/dev/null
  mv -f "$out.tmp" "$out"
  exit 0
fi

mkdir -p "$signing"
( flock 9
  if [ ! -f "$signing/codesign.crt" ]; then
    umask 077
    tmp=$(mktemp -d "$signing/.new.XXXXXX")
    openssl req -x509 -newkey rsa:3072 -nodes -days 3650 -keyout "$tmp/test-ca.key" \
      -out "$tmp/test-ca.crt" -subj "/O=Norvane Works/CN=Pelioran throw-away test CA" \
      -addext "basicConstraints=critical,CA:TRUE" \
      -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
    openssl req -newkey rsa:3072 -nodes -keyout "$tmp/codesign.key" -out "$tmp/codesign.csr" \
      -subj "/O=Norvane Works/CN=Pelioran test code signing" 2>/dev/null
    printf '%s\n' "basicConstraints=CA:FALSE" "keyUsage=critical,digitalSignature" \
      "extendedKeyUsage=codeSigning" "subjectKeyIdentifier=hash" \
      "authorityKeyIdentifier=keyid" >"$tmp/codesign.ext"
    openssl x509 -req -in "$tmp/codesign.csr" -CA "$tmp/test-ca.crt" -CAkey "$tmp/test-ca.key" \
      -CAcreateserial -days 825 -extfile "$tmp/codesign.ext" -out "$tmp/codesign.crt" 2>/dev/null
    chmod 644 "$tmp/test-ca.crt" "$tmp/codesign.crt"
    mv -f "$tmp"/test-ca.key "$tmp"/test-ca.crt "$tmp"/codesign.key "$signing/"
    mv -f "$tmp/codesign.crt" "$signing/"  # last: its presence says the set is complete
    rm -rf "$tmp"
  fi
) 9>"$signing/.lock"
osslsigncode sign -certs "$signing/codesign.crt" -key "$signing/codesign.key" "${args[@]}" \
  -in "$in" -out "$out.tmp" >/dev/null
mv -f "$out.tmp" "$out"
