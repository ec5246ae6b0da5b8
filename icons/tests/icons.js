// icons as a JScript author uses it: the members that need neither the dialog nor a
// message box.

var ic = new ActiveXObject("icons.quillbox");
var sh = new ActiveXObject("WScript.Shell");
var fso = new ActiveXObject("Scripting.FileSystemObject");

// The fixture libraries are built next to the registered component.
var clsid = sh.RegRead("HKCR\\icons.quillbox\\CLSID\\");
var dir = fso.GetParentFolderName(sh.RegRead("HKCR\\CLSID\\" + clsid + "\\InprocServer32\\")) + "\\tests\\";
var temp = fso.GetSpecialFolder(2) + "\\";

check("three icons", ic.GetIconNumber(dir + "icons3.dll"), 3);
check("five icons", ic.GetIconNumber(dir + "icons5.dll"), 5);
check("a text file has none", ic.GetIconNumber(fso.GetSpecialFolder(1) + "\\..\\win.ini"), 0);

check("LoadIcon returns the count", ic.LoadIcon(dir + "icons3.dll", 2), 3);
var path = temp + "icons_js_icon.bmp";
ic.IconToFile(path);
check("a 36 x 36 bitmap file", fso.GetFile(path).Size, 54 + 36 * 36 * 3);
checkError("LoadIcon with a negative index", 9, function () { ic.LoadIcon(dir + "icons3.dll", -2); });
checkError("LoadIcon beyond 16 bits", 6, function () { ic.LoadIcon(dir + "icons3.dll", 40000); });

var longest = "C:\\" + new Array(257).join("b");  // 259 characters
check("PickIcon returns path and index", ic.PickIcon(longest, 3), longest + ",3");
check("PickIcon's index defaults to 0", ic.PickIcon("C:\\x.dll"), "C:\\x.dll,0");
checkError("PickIcon with 260 characters", 5, function () { ic.PickIcon(longest + "b", 0); });

check("version", ic.version(), 2);
check("FindWindowHandle of an unknown title", ic.FindWindowHandle("Kein Fenster hat diesen Titel"), 0);
checkError("GetCursorWindow(33) overflows", 6, function () { ic.GetCursorWindow(33); });
checkError("delay of a fraction", 0, function () { ic.delay(0.01); });
checkError("a negative delay", 5, function () { ic.delay(-0.5); });
checkError("delay of a text", 13, function () { ic.delay("abc"); });

var screen = temp + "icons_js_screen.bmp";
check("CaptureScreenToFile returns Empty", ic.CaptureScreenToFile(screen), undefined);
check("the screen file exists", fso.FileExists(screen), true);
checkError("CaptureWindowToFile of handle 0", 5, function () { ic.CaptureWindowToFile(0, screen); });
var picture = ic.CaptureWindow(0, false, 0, 0, 16, 8);
check("CaptureWindow gives a bitmap picture", picture.Type, 1);

var sizeValue = "HKCU\\Control Panel\\Desktop\\WindowMetrics\\Shell Icon Size";
sh.RegWrite(sizeValue, "40");
check("SetIconSize returns the stored text", ic.SetIconSize(8), "40");
check("SetIconSize writes the size", sh.RegRead(sizeValue), "8");
sh.RegWrite(sizeValue, "32");

done();
