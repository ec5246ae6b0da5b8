// Helpers for script tests; tools/lib/script-test puts them before each test script.
// Every check prints one PASS or FAIL line;
// done() prints the closing "N passed, M failed".
var checksPassed = 0, checksFailed = 0;

function describe(v) {
  try { return typeof v + " [" + String(v) + "]"; } catch (e) { return typeof v; }
}

function report(name, ok, detail) {
  if (ok) { checksPassed++; WScript.Echo("PASS " + name); }
  else { checksFailed++; WScript.Echo("FAIL " + name + ": " + detail); }
}

function check(name, got, want) {
  report(name, typeof got === typeof want && got === want, "got " + describe(got) + ", want " + describe(want));
}

// Runs f and checks the Automation error number it raises (0: none).
function checkError(name, want, f) {
  var number = 0, text = "";
  try { f(); } catch (e) { number = e.number & 0xFFFF; text = e.description; }
  report(name, number === want, "got error " + number + " (" + text + "), want " + want);
}

function done() { WScript.Echo(checksPassed + " passed, " + checksFailed + " failed"); }
