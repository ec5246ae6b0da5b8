' Opens an output window in the web browser, writes into it and waits until the user
' closes it; after 20 seconds without that, the script closes the window itself.
' Run it with:  tools/run-script examples/browser-output.vbs     (or: cscript browser-output.vbs)
Dim pane, ie, i, started
Set pane = CreateObject("webpane.quillbox")

' 400 x 300 pixels, centred in the screen's usable area, scroll bar when needed.
Set ie = pane.OpenIEWindow("Ausgabe von browser-output.vbs", True, 400, 300)

pane.Say ie, "<b>Hallo!</b> Dieses Fenster zeigt die Ausgabe des Skripts."
For i = 1 To 3
  pane.SayMore ie, "Zeile " & i & " von 3"
Next
pane.SayMoreDirect ie, "<hr><i>Schlie&szlig;en Sie das Fenster, um das Skript zu beenden.</i>"
WScript.Echo "Geschrieben: " & ie.Document.body.innerHTML

' HandleEvents lets the browser's quit notification in; fired tells that it came.
started = Timer
Do While Not pane.fired And Abs(Timer - started) < 20
  pane.HandleEvents
  Pause
Loop

If pane.fired Then
  WScript.Echo "Das Fenster wurde geschlossen."
Else
  WScript.Echo "Niemand hat das Fenster geschlossen; das Skript schliesst es."
  ie.Quit
  ' Returns at once: the window has quit already.
  pane.WaitForQuit ie
  WScript.Echo "fired = " & pane.fired
End If

Sub Pause()
  ' Not every script host offers Sleep; without it the loop simply goes on.
  On Error Resume Next
  WScript.Sleep 50
End Sub
