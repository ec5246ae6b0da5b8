' Shows the output dialog with a few lines and the message window with a progress
' text, then closes both after a few seconds.
' Run it with:  tools/run-script examples/output-window.vbs     (or: cscript output-window.vbs)
' A script host that binds events (WScript.CreateObject with a prefix) would instead
' call f.GoToBed and leave it from its f_Click handler with f.WakeUp.
Dim f, i
Set f = CreateObject("fenster.quillbox")

f.ShowDialog "Ausgabe von output-window.vbs", "Gefundene Dateien:", "OK"
f.WriteLine "C:\autoexec.bat", "1"
f.WriteLine "C:\boot.ini", "2"
f.WriteLine "C:\config.sys", "3"

f.ShowMessageBox "Fortschritt", "&Abbrechen"
f.MessageBoxSize 30, 15, 2
For i = 0 To 100 Step 20
  f.WriteMessageBox "Bearbeitet: " & i & " %"
  Wait 0.5
Next
WScript.Echo "Ausgabefenster mit " & 3 & " Zeilen, Knopf """ & f.DialogButtonText & """; " & _
             "Nachrichtenfenster mit Knopf """ & f.MessageButtonText & """"

Wait 2
f.DestroyMessageBox
f.DestroyDialog
WScript.Echo "fertig"

' Lets the server's windows react for a while.
Sub Wait(seconds)
  Dim started
  started = Timer
  Do While Abs(Timer - started) < seconds
    f.HandleEvents
    Pause
  Loop
End Sub

Sub Pause()
  ' Not every script host offers Sleep; without it the loop simply goes on.
  On Error Resume Next
  WScript.Sleep 50
End Sub
