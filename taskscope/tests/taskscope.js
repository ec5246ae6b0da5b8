// taskscope as a JScript author uses it.

var ts = new ActiveXObject("taskscope.quillbox");
check("InstrRev returns a number", ts.InstrRev("C:\\Windows\\notepad.exe", "\\"), 11);
check("StrZToStr", ts.StrZToStr("abc\0"), "abc");
checkError("StrZToStr of an empty text", 5, function () { ts.StrZToStr(""); });
checkError("InstrRev with null", 94, function () { ts.InstrRev(null, "a"); });
var list = ts.ProcessList();
check("ProcessList lists cscript", /cscript\.exe/i.test(list), true);
check("no trailing line break", /\r\n$/.test(list), false);
var mods = ts.ModuleListFromEXE("cscript");
check("ModuleListFromEXE without mode", /cscript\.exe\t-?\d+\t-?\d+/i.test(mods), true);
check("ModuleListFromEXE mode false", ts.ModuleListFromEXE("cscript", false).split("\r\n").length >= 1, true);
check("ModuleList of no process", ts.ModuleList(-1), "");
checkError("too many arguments", 0x000E /* DISP_E_BADPARAMCOUNT low word */, function () { ts.ProcessList(1); });
done();
