' fenster as a VBScript author sees it without events.

Dim f, r, v, i, failedAt
Set f = CreateObject("fenster.quillbox")
On Error Resume Next

' Start from unloaded windows.
f.DestroyDialog
f.DestroyMessageBox

r = f.sleepwell
Check "sleepwell starts False", r, False
f.sleepwell = True
r = f.sleepwell
Check "sleepwell keeps True", r, True
f.WakeUp
r = f.sleepwell
Check "WakeUp clears sleepwell", r, False

r = f.DialogButtonText
Check "a fresh dialog's button text", r, "Command1"
r = f.MessageButtonText
Check "a fresh message window's button text", r, "&Abbrechen"
r = f.MessageButton
Check "its button is visible", r, True

' ShowDialog hides the button for an empty text and never shows it again itself.
f.ShowDialog "Ausgabe", "Zeilen", ""
r = f.DialogButton
Check "no button text hides the button", r, False
f.ShowDialog "Ausgabe", "Zeilen", "OK"
r = f.DialogButton
Check "a button text does not show it again", r, False
r = f.DialogButtonText
Check "but sets its text", r, "OK"
f.DialogButton = True
r = f.DialogButton
Check "DialogButton shows it", r, True
f.UpdateDialog "Neu", "Etikett", ""
r = f.DialogButton
Check "UpdateDialog hides it the same way", r, False
f.ShowDialog
CheckError "ShowDialog without arguments", 0

' ShowMessageBox without arguments: no button and an empty button text.
f.ShowMessageBox
CheckError "ShowMessageBox without arguments", 0
r = f.MessageButton
Check "no button", r, False
r = f.MessageButtonText
Check "empty button text", r, ""
f.MessageButton = True
f.MessageButtonText = "&Stopp"
r = f.MessageButtonText
Check "MessageButtonText", r, "&Stopp"
f.WriteMessageBox "erst"
f.WriteMessageBox "dann"
CheckError "WriteMessageBox", 0

' The Set members convert their Variant; Null and arrays fail and leave the text.
f.DialogButtonText = "vorher"
f.SetDialogButtonText Null
CheckError "SetDialogButtonText Null", 94
r = f.DialogButtonText
Check "the text stays after Null", r, "vorher"
f.SetDialogLabel Array(1, 2)
CheckError "SetDialogLabel with an array", 13
f.SetDialogCaption Null
CheckError "SetDialogCaption Null", 94
f.SetDialogButtonText 42
r = f.DialogButtonText
Check "a number becomes text", r, "42"

' A literal passed by reference works; a variable is not changed.
f.SetDialogCaption "Literal"
CheckError "a literal by reference", 0
v = 7
f.SetDialogButtonText v
Check "the variable is unchanged", v, 7
Check "and its value was used", f.DialogButtonText, "7"
v = 5
f.Form2Close v
CheckError "Form2Close 5", 0
Check "Form2Close leaves its argument", v, 5
f.Form2Close 32767
CheckError "Form2Close 32767 overflows", 6
f.Form2Close "abc"
CheckError "Form2Close with text", 13

' WriteLine past the 1001st line fails with 9 and adds the line all the same.
f.ClearDialog
failedAt = -1
For i = 0 To 1000
  f.WriteLine "Zeile " & i, "t" & i
  If Err.Number <> 0 And failedAt < 0 Then failedAt = i
  Err.Clear
Next
Check "1001 lines take a tag each", failedAt, -1
f.WriteLine "Zeile 1001", "zu viel"
r = Err.Description
CheckError "the 1002nd line", 9
Check "its text", r, "Subscript out of range"
f.WriteLine "Zeile 1002"
CheckError "and every one after it", 9
f.ClearDialog
f.WriteLine "wieder vorne"
CheckError "after ClearDialog index 0 is free again", 0

f.MessageBoxSize 50, 50, 3
CheckError "an alignment of 3", 380
f.MessageBoxSize 50, 50, 2
CheckError "an alignment of 2", 0
f.HandleEvents
CheckError "HandleEvents", 0
f.HideDialog
f.HideMessageBox
CheckError "hiding", 0
r = f.NoSuchMember()
CheckError "unknown member", 438
f.WriteLine
CheckError "WriteLine without its line", 449

f.DestroyDialog
f.DestroyMessageBox
Done
