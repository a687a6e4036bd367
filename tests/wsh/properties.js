// The control's properties as a JScript page or script sees them through new ActiveXObject:
// defaults and their types, what written values become, and the errors of the writes and
// calls that are refused. One "ok:" or "FAIL:" line per check; "done" is the last line, so
// that a script that stopped early is seen.
var o = new ActiveXObject("PELIORAN.PelioranCtrl.1");

function report(good, what, detail) {
  WScript.Echo(good ? "ok: " + what : "FAIL: " + what + " (" + detail + ")");
}

function show(v) {
  if (v === null) return "null";
  if (v === o) return "the control";
  if (typeof v == "string") return 'string "' + v + '"';
  return typeof v + " " + v;
}

function hex(n) {
  return "0x" + (n >>> 0).toString(16).toUpperCase();
}

// A control's HRESULT reaches a script as it is (Wine) or as the engine's own error of the
// same meaning (Windows): `codes` holds both.
var TYPE_MISMATCH = [0x80020005, 0x800A000D];
var OVERFLOW = [0x8002000A, 0x800A0006];
var UNKNOWN_NAME = [0x80020006, 0x800A01B6];
var BAD_PARAM_COUNT = [0x8002000E, 0x800A01C2];

function isOneOf(number, codes) {
  for (var k = 0; k < codes.length; ++k) {
    if (number >>> 0 == codes[k]) return true;
  }
  return false;
}

// What `action` throws: its number, or null when it throws nothing.
function thrown(action) {
  try {
    action();
  } catch (e) {
    return e.number;
  }
  return null;
}

function expectRead(name, expected) {
  var got = o[name];
  report(got === expected, name + " reads " + show(expected), "read " + show(got));
}

function expectTaken(name, value, expected) {
  var error = thrown(function () { o[name] = value; });
  var got = o[name];
  report(error === null && got === expected,
         name + " = " + show(value) + " reads " + show(expected),
         (error === null ? "no error" : "threw " + hex(error)) + ", read " + show(got));
}

function expectRefused(name, value, codes) {
  var before = o[name];
  var error = thrown(function () { o[name] = value; });
  var got = o[name];
  report(error !== null && isOneOf(error, codes),
         name + " = " + show(value) + " throws " + hex(codes[0]),
         error === null ? "no error" : "threw " + hex(error));
  report(got === before, name + " keeps " + show(before) + " after " + show(value),
         "read " + show(got));
}

// Defaults, before any start (iOperPaneCtls is computed by the first module set-up).
expectRead("strIpAddr", "");
expectRead("iHttpPort", 80);
expectRead("strIpAddrProxy", "");
expectRead("iHttpPortProxy", 8080);
expectRead("iSvrID", 0);
expectRead("strUserID", "");
expectRead("strUserPWD", "");
expectRead("iOperPaneCtls", 0);
expectRead("bGroup", true);
expectRead("bTour", true);
expectRead("bPower", true);
expectRead("bLight", true);
expectRead("bAux1", false);
expectRead("bAux2", true);

// Conversions on write.
expectTaken("iHttpPort", "8081", 8081);
expectTaken("strIpAddr", 42, "42");
expectTaken("bAux1", 5, true);
expectTaken("bAux1", 0, false);
expectTaken("bAux1", -1, true);
expectTaken("iSvrID", true, -1);
expectTaken("iHttpPort", 2.5, 2);
expectTaken("iHttpPort", undefined, 0);
expectTaken("strIpAddr", undefined, "");

// Refused writes leave the value written before.
expectTaken("iHttpPort", 8082, 8082);
expectRefused("iHttpPort", "abc", TYPE_MISMATCH);
expectRefused("iHttpPort", null, TYPE_MISMATCH);
expectRefused("iHttpPort", parseInt("port"), TYPE_MISMATCH);
expectRefused("iHttpPort", 1e20, OVERFLOW);
expectRefused("iHttpPort", Infinity, OVERFLOW);
expectTaken("strIpAddr", "cam.local", "cam.local");
expectRefused("strIpAddr", null, TYPE_MISMATCH);
expectRefused("strIpAddr", o, TYPE_MISMATCH);
expectRefused("bGroup", null, TYPE_MISMATCH);
expectRefused("bGroup", NaN, TYPE_MISMATCH);

// Members the control does not have, and arguments where there are none. What reading an
// unknown member gives is the engine's choice: undefined (Wine) or an error.
function expectThrows(what, action, codes) {
  var error = thrown(action);
  report(error !== null && isOneOf(error, codes), what + " throws " + hex(codes[0]),
         error === null ? "no error" : "threw " + hex(error));
}
var read;
var error = thrown(function () { read = o.iHttpPortt; });
report(error === null ? read === undefined : isOneOf(error, UNKNOWN_NAME),
       "reading an unknown member gives undefined or throws " + hex(UNKNOWN_NAME[0]),
       error === null ? "read " + show(read) : "threw " + hex(error));
expectThrows("writing an unknown member", function () { o.iHttpPortt = 1; }, UNKNOWN_NAME);
expectThrows("AboutBox(1)", function () { o.AboutBox(1); }, BAD_PARAM_COUNT);
expectRead("iHttpPort", 8082);

WScript.Echo("done");
