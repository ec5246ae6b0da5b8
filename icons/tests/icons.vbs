' icons as a VBScript author uses it: the members that need neither the dialog nor a
' message box.

Dim ic, sh, fso, dir, temp, r, idx, path, p, sizeValue
Set ic = CreateObject("icons.quillbox")
Set sh = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")
On Error Resume Next

' The fixture libraries are built next to the registered component.
dir = fso.GetParentFolderName(sh.RegRead("HKCR\CLSID\" & sh.RegRead("HKCR\icons.quillbox\CLSID\") & "\InprocServer32\")) & "\tests\"
temp = fso.GetSpecialFolder(2) & "\"
CheckError "fixture directory", 0

r = ic.GetIconNumber(dir & "icons3.dll")
Check "three icons", r, CLng(3)
r = ic.GetIconNumber(dir & "icons5.dll")
Check "five icons", r, CLng(5)
r = ic.GetIconNumber(dir & "fehlt.dll")
Check "a missing file has none", r, CLng(0)

r = ic.LoadIcon(dir & "icons5.dll", 4)
Check "LoadIcon returns the count", r, 5
path = temp & "icons_vbs_icon"
ic.IconToFile path
CheckError "IconToFile", 0
r = CLng(fso.GetFile(path).Size)
Check "a 36 x 36 bitmap file, name unchanged", r, CLng(54 + 36 * 36 * 3)
r = ic.LoadIcon(dir & "icons5.dll", -1)
CheckError "LoadIcon with a negative index", 9
r = ic.LoadIcon(dir & "fehlt.dll", -1)
Check "LoadIcon on a missing file", r, 0

idx = 7
r = ic.PickIcon("C:\" & String(256, "a"), idx)
CheckError "PickIcon with 259 characters", 0
Check "PickIcon returns path and index", r, "C:\" & String(256, "a") & ",7"
Check "PickIcon leaves the script's index", idx, 7
r = ic.PickIcon("C:\" & String(257, "a"), idx)
CheckError "PickIcon with 260 characters", 5

r = ic.version
Check "version", r, CLng(2)
r = ic.FindWindowHandle("Kein Fenster hat diesen Titel")
Check "FindWindowHandle of an unknown title", r, CLng(0)
r = ic.GetCursorWindow(33)
CheckError "GetCursorWindow(33) overflows", 6

ic.delay 0
CheckError "delay 0", 0
ic.delay "abc"
CheckError "delay of a text", 13
ic.delay -1
CheckError "a negative delay", 5

path = temp & "icons_vbs_screen.bmp"
r = ic.CaptureScreenToFile(path)
CheckError "CaptureScreenToFile", 0
Check "CaptureScreenToFile returns Empty", IsEmpty(r), True
Check "the screen file exists", fso.FileExists(path), True
ic.CaptureWindowToClip 0
CheckError "CaptureWindowToClip of handle 0", 5

Set p = ic.CaptureWindow(0, False, 0, 0, 16, 8)
CheckError "CaptureWindow", 0
Check "CaptureWindow gives an object", IsObject(p), True
r = CLng(p.Type)
Check "a bitmap picture", r, CLng(1)

' With the value present nothing fails, so no message box appears.
sizeValue = "HKCU\Control Panel\Desktop\WindowMetrics\Shell Icon Size"
sh.RegWrite sizeValue, "32"
r = ic.SetIconSize(2, True)
Check "SetIconSize returns the stored text", r, "32"
Check "SetIconSize writes the sum", sh.RegRead(sizeValue), "34"
ic.FlushIconCache
Check "FlushIconCache ends where it started", sh.RegRead(sizeValue), "34"
sh.RegWrite sizeValue, "32"

Done
