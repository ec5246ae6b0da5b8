' The script's view of the two comparisons of bench_dispatch: a late-bound call through
' the frame's dispatcher against Scripting.Dictionary's Exists, and ProcessList against
' the same list through WMI, each pair timed side by side in this one run.
Const calls = 100000
Dim probe, dict, ts, i, r, t0, ours, theirs, rounds, list, wmi, p, names
Set probe = CreateObject("probe.quillbox")
Set dict = CreateObject("Scripting.Dictionary")
Set ts = CreateObject("taskscope.quillbox")

t0 = Timer
For i = 1 To calls
  r = probe.TakeString("key")
Next
ours = Timer - t0
t0 = Timer
For i = 1 To calls
  r = dict.Exists("key")
Next
theirs = Timer - t0
WScript.Echo "script-dispatch-vs-dictionary ratio " & FormatNumber(ours / theirs, 3) & " (goal <= 1.0)"
WScript.Echo "  frame " & FormatNumber(ours * 1e6 / calls, 2) & " us/call, Scripting.Dictionary.Exists " & FormatNumber(theirs * 1e6 / calls, 2) & " us/call"

rounds = 10
t0 = Timer
For i = 1 To rounds
  list = ts.ProcessList
Next
ours = Timer - t0
t0 = Timer
For i = 1 To rounds
  names = ""
  For Each p In GetObject("winmgmts:").ExecQuery("SELECT Name FROM Win32_Process")
    names = names & p.Name & vbCrLf
  Next
Next
wmi = Timer - t0
WScript.Echo "script-processlist-vs-wmi ratio " & FormatNumber(ours / wmi, 3) & " (goal < 1.0)"
WScript.Echo "  ProcessList " & FormatNumber(ours * 1000 / rounds, 2) & " ms, WMI " & FormatNumber(wmi * 1000 / rounds, 2) & " ms per list"
