' Fills a list with three columns, lets the user pick rows in the list dialog and prints
' what was chosen. Run it with: tools/run-script examples/pick-rows.vbs

Dim list, chosen, row, lines, i
Set list = CreateObject("rostera.quillbox")

list.AddHeader "Stadt", 40
list.AddHeader "Land", 25
list.AddHeader "Einwohner", 30

list.AddItem "Hamburg"
list.AddSubItem 1, "Deutschland"
list.AddSubItem 2, "1.900.000"
list.AddItem "Wien"
list.AddSubItem 1, Chr(214) & "sterreich"
list.AddSubItem 2, "2.000.000"
list.AddItem "Bern"
list.AddSubItem 1, "Schweiz"
list.AddSubItem 2, "140.000"
list.AddItem "Aachen"
list.AddSubItem 1, "Deutschland"
list.AddSubItem 2, "250.000"

' Sorted by town; a click on a column header sorts by that column.
list.RosteraSort 0

' Half the screen wide, a third high, several rows may be chosen.
Set chosen = list.RosteraShow("Welche St" & Chr(228) & "dte?", 0.5, 0.33, True, "&Nehmen", "&Abbrechen")

If chosen.Count = 0 Then
  WScript.Echo "Nichts gew" & Chr(228) & "hlt."
Else
  For Each row In chosen
    ' A row comes back as its text and its cells, each on a line of its own.
    lines = Split(row, vbCrLf)
    WScript.Echo lines(0) & " (" & lines(1) & ", " & lines(2) & " Einwohner)"
  Next
End If
