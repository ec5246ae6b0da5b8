' Lists the running processes, then the modules that this script's host has loaded.
' Run it with:  tools/run-script examples/processes.vbs     (or: cscript processes.vbs)
Dim ts, line, fields
Set ts = CreateObject("taskscope.quillbox")

WScript.Echo "Laufende Prozesse:"
For Each line In Split(ts.ProcessList, vbCrLf)
  WScript.Echo "  " & line
Next

WScript.Echo ""
WScript.Echo "Module des Skript-Hosts (Pfad, Nutzung im Prozess, Nutzung global):"
' The host is cscript.exe or wscript.exe: both start with "cscript"/"wscript".
For Each line In Split(ts.ModuleListFromEXE(Left(LCase(Mid(WScript.FullName, ts.InstrRev(WScript.FullName, "\") + 1)), 7)), vbCrLf)
  fields = Split(line, vbTab)
  WScript.Echo "  " & fields(0) & "  (" & fields(1) & ", " & fields(2) & ")"
Next
