' Helpers for script tests; tools/lib/script-test puts them before each test script.
' Every check prints one PASS or
' FAIL line; Done prints the closing "N passed, M failed". The helpers never raise and
' compare plain values, since the script engine under test may have quirks of its own.
Dim checksPassed, checksFailed
checksPassed = 0
checksFailed = 0

Function Describe(v)
  On Error Resume Next
  Describe = TypeName(v) & " [" & CStr(v) & "]"
  If Err.Number <> 0 Then Describe = TypeName(v)
  Err.Clear
End Function

Sub Report(name, ok, detail)
  If ok Then
    checksPassed = checksPassed + 1
    WScript.Echo "PASS " & name
  Else
    checksFailed = checksFailed + 1
    WScript.Echo "FAIL " & name & ": " & detail
  End If
End Sub

' Same type and the same value.
Function SameValue(got, want)
  Dim ok
  ok = False
  On Error Resume Next
  If TypeName(got) = TypeName(want) Then ok = (CStr(got) = CStr(want))
  If Err.Number <> 0 Then ok = False
  Err.Clear
  SameValue = (ok = True)
End Function

Sub Check(name, got, want)
  Report name, SameValue(got, want), "got " & Describe(got) & ", want " & Describe(want)
End Sub

' Checks the error number of the last statement (run under On Error Resume Next) and clears it.
Sub CheckError(name, want)
  Dim number, text
  number = Err.Number
  text = Err.Description
  Err.Clear
  Report name, (number = want), "got error " & number & " (" & text & "), want " & want
End Sub

Sub Done()
  WScript.Echo checksPassed & " passed, " & checksFailed & " failed"
End Sub
