// webpane as a JScript author uses it, against the stand-in browser application.
var sh = new ActiveXObject("WScript.Shell");
var closer = '"' + sh.Environment("PROCESS")("QB_STANDIN_BROWSER").replace(/\//g, "\\") + '" /close';
var o = new ActiveXObject("webpane.quillbox");

check("fired starts false", o.fired, false);
check("obj starts unset", o.obj, null);

var ie = o.OpenIEWindow("Skripttest", true, 250, 150);
check("OpenIEWindow navigates with the scroll word auto", /scroll="auto"/.test(ie.LocationURL), true);
check("width", ie.Width, 250);
check("height", ie.Height, 150);

o.Say(ie, "eins");
o.Say(ie, "zwei");
check("Say replaces the body", ie.Document.body.innerHTML, "<p>zwei</p>");
o.SayDirect(ie, "");
check("SayDirect of an empty text empties the body", ie.Document.body.innerHTML, "");
// JScript's null stands for an unset object reference, as VBScript's Nothing does.
checkError("Say with null", 91, function () { o.Say(null, "x"); });

sh.Run(closer, 0, true);
// The host's Sleep is not available everywhere: poll for at most ten seconds.
var start = new Date().getTime();
while (!o.fired && new Date().getTime() - start < 10000) o.HandleEvents();
check("fired after the window was closed", o.fired, true);
checkError("storing a window in obj by a property put", 0, function () { o.obj = ie; });
check("obj holds a window", o.obj === null, false);
checkError("WaitForQuit on a closed window returns at once", 0, function () { o.WaitForQuit(ie); });
var other = new ActiveXObject("webpane.quillbox");
checkError("WaitForQuit from an object that never watched it", 0, function () { other.WaitForQuit(ie); });
check("fired of that object", other.fired, true);

done();
