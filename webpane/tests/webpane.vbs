' webpane as a VBScript author uses it, against the stand-in browser application.

Dim sh, closer, o, ie, r, t, nothingThere
Set nothingThere = Nothing
Set sh = CreateObject("WScript.Shell")
closer = """" & Replace(sh.Environment("PROCESS")("QB_STANDIN_BROWSER"), "/", "\") & """ /close"
Set o = CreateObject("webpane.quillbox")
On Error Resume Next

r = o.fired
Check "fired starts False", r, False
r = (o.obj Is Nothing)
Check "obj starts unset", r, True

Set ie = o.OpenIEWindow("Skripttest")
CheckError "OpenIEWindow", 0
r = (o.obj Is ie)
Check "obj holds the window", r, True
r = ie.Visible
Check "the window is visible", r, True

o.Say ie, "eins"
o.SayMore ie, "zwei"
o.SayMoreDirect ie, "<b>drei</b>"
CheckError "Say, SayMore, SayMoreDirect", 0
r = ie.Document.body.innerHTML
Check "paragraphs in order, markup kept", r, "<p>eins</p><p>zwei</p><b>drei</b>"
o.Say nothingThere, "x"
CheckError "Say without a window", 91

o.HandleEvents
r = o.fired
Check "HandleEvents before the close leaves fired", r, False

' The user closes the window; the script polls.
sh.Run closer, 0, True
' The host's Sleep is not available everywhere: poll for at most ten seconds.
t = Timer
Do While Not o.fired And Abs(Timer - t) < 10
  o.HandleEvents
Loop
r = o.fired
Check "fired after the window was closed", r, True

o.WaitForQuit ie
CheckError "WaitForQuit on a closed window returns at once", 0
o.fired = False
o.obj_onquit
r = o.fired
Check "obj_onquit sets fired", r, True

Done
