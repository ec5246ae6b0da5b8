// A whole FTP session, the error texts and a host look-up, as a JScript author writes them.
// The test server runs on 127.0.0.1 and serves the user quill.

var net = new ActiveXObject("internet.quillbox");
var fso = new ActiveXObject("Scripting.FileSystemObject");
var temp = fso.GetSpecialFolder(2).Path;
var upName = temp + "\\quillbox-js-up.txt", downName = temp + "\\quillbox-js-down.txt";
var up = fso.CreateTextFile(upName, true);
up.Write("eins\nzwei\n");
up.Close();

check("Translate 513", net.Translate(513), "Download unvollst\u00e4ndig");
check("Translate 12035", net.Translate(12035), "Internet: unspezifischer Fehler");
check("Translate 11001", net.Translate(11001), "unbekannte Fehlernummer: 11001");

var h = net.OpenInternet();
check("OpenInternet gives a number", typeof h, "number");
var c = net.connect(h, "127.0.0.1", "quill", "box-secret");
check("connect gives a handle", c !== 0, true);

check("MakeDir", net.MakeDir(c, "js"), true);
check("ChDir", net.ChDir(c, "js"), true);
check("GetDir", net.GetDir(c), "/js");
check("PutFile", net.PutFile(c, upName, "a.txt"), true);
check("PutFile again", net.PutFile(c, upName, "b.txt"), true);

var listing = net.Dir(c, "*.*");
var lines = listing.split("\r\n");
check("two lines", lines.length, 2);
check("fields of a line", lines[0].split("\t").length, 4);
check("the second line names b.txt", lines[1].split("\t")[0], "b.txt");
check("two listings in a row are the same", net.Dir(c), listing);
check("a pattern that matches nothing gives Empty", typeof net.Dir(c, "*.nothing"), "undefined");

check("GetFile", net.GetFile(c, "a.txt", downName), true);
var down = fso.OpenTextFile(downName);
check("the download has CR LF line ends", down.ReadAll(), "eins\r\nzwei\r\n");
down.Close();
check("GetFile of a missing file", net.GetFile(c, "absent.txt", downName), false);
check("the server refused it", net.GetLastErrorNumber(), 12003);
check("GetLastError gives the server's reply", net.GetLastError().substr(0, 4), "550 ");

check("RenameFile", net.RenameFile(c, "a.txt", "c.txt"), true);
check("DeleteFile c", net.DeleteFile(c, "c.txt"), true);
check("DeleteFile b", net.DeleteFile(c, "b.txt"), true);
check("ChDir back", net.ChDir(c, ".."), true);
check("RemoveDir", net.RemoveDir(c, "js"), true);
checkError("CloseHandle raises nothing", 0, function () { net.CloseHandle(c); net.CloseHandle(h); });
var closed = net.Dir(c);
check("Dir on a closed connection gives the error text", closed, net.Translate(net.GetLastErrorNumber()));

net.WinsockInit();
check("HostByName localhost", net.HostByName("localhost"), "127.0.0.1");
check("an unknown name", net.HostByName("no-such-host.invalid"), "kennichnich'");
net.WinsockQuit();
checkError("a handle that is no number", 13, function () { net.ChDir("kein Handle", "/"); });

for (var name in { up: 0, down: 0 }) {
  var path = name === "up" ? upName : downName;
  if (fso.FileExists(path)) fso.DeleteFile(path);
}
done();
