' A whole FTP session, the error texts and a host look-up, as a VBScript author writes them.
' The test server runs on 127.0.0.1 and serves the user quill.

Dim net, fso, temp, upName, downName, h, c, r, n, listing, reply
On Error Resume Next
Set net = CreateObject("internet.quillbox")
Set fso = CreateObject("Scripting.FileSystemObject")

r = net.GetLastErrorNumber
Check "no error before the first call", r, CLng(0)
r = net.GetLastError
Check "the text for no error", r, "unbekannte Fehlernummer: 0"
r = net.Translate(18)
Check "Translate 18", r, "keine weiteren Daten vorhanden"
r = net.Translate(12033)
Check "Translate 12033", r, "Proxy-Fehler"
r = net.Translate(10999)
Check "Translate of the Winsock range", r, "Winsock: unspezifischer Fehler"
r = net.Translate(-5)
Check "Translate of a negative number", r, "unbekannte Fehlernummer: -5"

temp = fso.GetSpecialFolder(2).Path
upName = temp & "\quillbox-vbs-up.txt"
downName = temp & "\quillbox-vbs-down.txt"
fso.CreateTextFile(upName, True).Write "eins" & vbLf & "zwei" & vbLf

h = net.OpenInternet
Check "OpenInternet gives a Long", TypeName(h), "Long"
c = net.connect(h, "127.0.0.1", "quill", "box-secret")
Check "connect gives a handle", (c <> 0), True

r = net.MakeDir(c, "vbs")
Check "MakeDir", r, True
r = net.ChDir(c, "vbs")
Check "ChDir", r, True
r = net.GetDir(c)
Check "GetDir", r, "/vbs"
r = net.PutFile(c, upName, "up.txt")
Check "PutFile", r, True

listing = net.Dir(c)
Check "Dir gives a text", TypeName(listing), "String"
Check "one line with three tabs", UBound(Split(listing, vbTab)), CLng(3)
Check "the line names the file", Left(listing, 7), "up.txt" & vbTab
Check "no line break after the last line", InStr(listing, vbCrLf), CLng(0)
r = net.Dir(c, "*.nothing")
Check "a pattern that matches nothing gives Empty", IsEmpty(r), True

r = net.GetFile(c, "up.txt", downName)
Check "GetFile", r, True
r = fso.OpenTextFile(downName).ReadAll
Check "the download has CR LF line ends", r, "eins" & vbCrLf & "zwei" & vbCrLf

r = net.GetFile(c, "absent.txt", downName)
Check "GetFile of a missing file", r, False
n = net.GetLastErrorNumber
Check "the server refused it", n, CLng(12003)
reply = net.GetExtendedError
Check "the server's reply", Left(reply, 4), "550 "

r = net.RenameFile(c, "up.txt", "down.txt")
Check "RenameFile", r, True
r = net.DeleteFile(c, "down.txt")
Check "DeleteFile", r, True
r = net.DeleteFile(c, "down.txt")
Check "DeleteFile of a deleted file", r, False
r = net.ChDir(c, "/")
Check "ChDir back", r, True
r = net.RemoveDir(c, "vbs")
Check "RemoveDir", r, True

net.CloseHandle c
net.CloseHandle h
Check "CloseHandle raises nothing", Err.Number, CLng(0)
listing = net.Dir(c)
n = net.GetLastErrorNumber
r = net.Translate(n)
Check "Dir on a closed connection gives the error text", listing, r
Check "the error text has no tab", InStr(listing, vbTab), CLng(0)
r = net.GetDir(c)
Check "GetDir on a closed connection begins with a NUL", Left(r, 1), Chr(0)

net.WinsockInit
r = net.HostByName("localhost")
Check "HostByName localhost", r, "127.0.0.1"
r = net.HostByName("no-such-host.invalid")
Check "an unknown name", r, "kennichnich'"
r = net.HostByAddress("127.0.0.1")
Check "HostByAddress 127.0.0.1", r, "localhost"
net.WinsockQuit

r = net.ChDir("kein Handle", "/")
CheckError "a handle that is no number", 13

If fso.FileExists(upName) Then fso.DeleteFile upName
If fso.FileExists(downName) Then fso.DeleteFile downName
Done
