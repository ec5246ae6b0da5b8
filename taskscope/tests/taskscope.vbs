' taskscope as a VBScript author uses it.

Dim ts, s, r, lines
Set ts = CreateObject("taskscope.quillbox")
On Error Resume Next

' Strip changes the script's own variable.
s = "abc" & Chr(0) & "def"
ts.Strip s
Check "Strip cuts at the NUL", s, "abc"
s = "no nul"
ts.Strip s
Check "Strip leaves a text without NUL", s, "no nul"
s = Chr(0) & "x"
ts.Strip s
Check "Strip of a leading NUL", s, ""
s = String(40000, "a") & Chr(0)
ts.Strip s
CheckError "Strip beyond 32767 overflows", 6
Check "Strip keeps the text after an overflow", Len(s), 40001

s = "abc"
r = ts.StrZToStr(s)
Check "StrZToStr drops the last character", r, "ab"
Check "StrZToStr leaves its argument", s, "abc"
r = ts.StrZToStr("")
CheckError "StrZToStr of an empty text", 5

r = ts.InstrRev("C:\Windows\notepad.exe", "\")
Check "InstrRev finds the last backslash", r, CLng(11)
r = ts.InstrRev("abc", "x")
Check "InstrRev returns a Long 0", r, CLng(0)
r = ts.InstrRev("aaa", "aa")
Check "InstrRev counts overlaps", r, CLng(2)
r = ts.InstrRev("ABC", "b")
Check "InstrRev is case-sensitive", r, CLng(0)
r = ts.InstrRev(12312, 12)
Check "InstrRev converts numbers", r, CLng(4)
r = ts.InstrRev(Null, "a")
CheckError "InstrRev with Null", 94

lines = Split(ts.ProcessList, vbCrLf)
Check "ProcessList lists cscript", (InStr(1, ts.ProcessList, "cscript.exe", 1) > 0), True
Check "ProcessList has no empty last line", (lines(UBound(lines)) <> ""), True

r = ts.ModuleListFromEXE("cscript")
Check "ModuleListFromEXE without mode lists the host's modules", (InStr(1, r, "cscript.exe" & vbTab, 1) > 0), True
Check "ModuleListFromEXE records have three fields", UBound(Split(Split(r, vbCrLf)(0), vbTab)), 2
r = ts.ModuleListFromEXE("CSCRIPT", False)
Check "ModuleListFromEXE mode False: the executable only", (InStr(1, r, "kernel32", 1) = 0 And InStr(1, r, "cscript.exe", 1) > 0), True
r = ts.ModuleListFromEXE("cscript.exe.bak")
Check "A longer prefix does not match", r, ""
r = ts.ModuleList(-1)
Check "ModuleList of no process", r, ""
r = ts.ModuleListFromName("no window has this title 4711")
Check "ModuleListFromName of no window", r, ""
r = ts.NoSuchMember()
CheckError "unknown member", 438

Done
