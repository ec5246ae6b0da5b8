' rostera as a VBScript author uses it. The dialog's user is played by a second program
' (QB_ROSTERA_USER) that the script starts just before it shows the dialog.

Dim r, r2, c, x, kept, again, multi, sh, user
Set sh = CreateObject("WScript.Shell")
user = Replace(sh.Environment("PROCESS")("QB_ROSTERA_USER"), "/", "\")
Set r = CreateObject("rostera.quillbox")
On Error Resume Next

' The texts of a collection on one line: rows separated by "|", lines by "/".
Function Flat(coll)
  Dim s, item
  s = ""
  For Each item In coll
    s = s & Replace(item, vbCrLf, "/") & "|"
  Next
  Flat = s
End Function

Sub UserWill(caption, actions)
  sh.Run """" & user & """ """ & caption & """ " & actions, 0, False
End Sub

r.AddHeader "Name"
r.AddHeader "Ort", 40
r.AddHeader "Telefon"
x = r.AddItem("Meier")
Check "AddItem returns Empty", IsEmpty(x), True
r.AddSubItem 1, "Bonn"
r.AddSubItem 2, "0228"
r.AddItem "albers"
r.AddSubItem 1, "Aachen"
r.AddItem "Zander"
r.AddSubItem 2, "05141"
r.AddSubItem 1, "Celle"
Check "no error while filling", Err.Number, CLng(0)

Set c = r.GetRosteraContents()
Check "three rows", c.Count, CLng(3)
Check "a row text holds its cells", c(1), "Meier" & vbCrLf & "Bonn" & vbCrLf & "0228"
Check "an unwritten cell is empty", c(2), "albers" & vbCrLf & "Aachen" & vbCrLf

r.RosteraSort 0
Check "sorted by name, ignoring case", Flat(r.GetRosteraContents()), "albers/Aachen/|Meier/Bonn/0228|Zander/Celle/05141|"
r.RosteraSort 1, 1
Check "sorted by town, descending", Flat(r.GetRosteraContents()), "Zander/Celle/05141|Meier/Bonn/0228|albers/Aachen/|"

r.RemoveItem "key2"
Check "RemoveItem by key", Flat(r.GetRosteraContents()), "Zander/Celle/05141|Meier/Bonn/0228|"
r.RemoveItem "key2"
CheckError "RemoveItem of a missing key", 35601
Check "the list is unchanged", r.GetRosteraContents().Count, CLng(2)

' A second object fills the same list with keys of its own counting.
Set r2 = CreateObject("rostera.quillbox")
r2.AddItem "Doppelt"
CheckError "a key the other object used already", 35602
r2.AddItem "Neu"
Check "the second object's next key is free", Err.Number, CLng(0)
Check "both objects see one list", r.GetRosteraContents().Count, CLng(3)
r.RemoveItem "key2"
Check "one object removes the other's row", Flat(r2.GetRosteraContents()), "Zander/Celle/05141|Meier/Bonn/0228|"

' The user picks the first row and presses OK.
r.RosteraSort 0
UserWill "Liste", "home ok"
Set kept = r.RosteraShow("Liste")
Check "RosteraShow returns without error", Err.Number, CLng(0)
Check "OK returns the chosen row", Flat(kept), "Meier/Bonn/0228|"
Check "single mode discards the list", r.GetRosteraContents().Count, CLng(0)

' The next closing (Escape) changes the collection the script kept.
r.AddItem "Wieder"
UserWill "Liste 2", "home escape"
Set again = r.RosteraShow("Liste 2")
Check "cancel returns an empty collection", again.Count, CLng(0)
Check "the kept collection is the same object", (kept Is again), True
Check "the kept collection was emptied", kept.Count, CLng(0)

' Multi-edit mode: keys come back, the list stays.
r.AddItem "Erste"
r.AddItem "Zweite"
UserWill "Mehr", "home down enter"
Set multi = r.RosteraShow("Mehr", 0, 0, True, "&Nehmen", "&Lassen", True)
Check "multi-edit returns row text and key", Flat(multi), "Zweite///key6|"
Check "multi-edit keeps the list", r.GetRosteraContents().Count, CLng(2)
r.RemoveItem "key6"
Check "the returned key removes the row", Flat(r.GetRosteraContents()), "Erste//|"

r.RosteraQuit
Check "GetRosteraContents after RosteraQuit is empty", r.GetRosteraContents().Count, CLng(0)
Done
