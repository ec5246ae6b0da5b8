// fenster as a JScript author sees it without events.

var f = new ActiveXObject("fenster.quillbox");
f.DestroyDialog();
f.DestroyMessageBox();

check("sleepwell starts false", f.sleepwell, false);
check("a fresh dialog's button text", f.DialogButtonText, "Command1");
check("a fresh message window's button text", f.MessageButtonText, "&Abbrechen");

f.ShowDialog("Ausgabe", "Zeilen", "");
check("no button text hides the button", f.DialogButton, false);
f.ShowDialog("Ausgabe", "Zeilen", "OK");
check("a button text does not show it again", f.DialogButton, false);
check("but sets its text", f.DialogButtonText, "OK");
f.DialogButton = true;
check("DialogButton shows it", f.DialogButton, true);

f.ShowMessageBox();
check("ShowMessageBox without arguments hides the button", f.MessageButton, false);
check("and empties its text", f.MessageButtonText, "");

f.DialogButtonText = "vorher";
checkError("SetDialogButtonText null", 94, function () { f.SetDialogButtonText(null); });
check("the text stays", f.DialogButtonText, "vorher");
checkError("SetDialogCaption null", 94, function () { f.SetDialogCaption(null); });
f.SetDialogLabel(3.5);
checkError("SetDialogLabel with a number", 0, function () { f.SetDialogLabel(3.5); });
var literal = "bleibt";
f.SetDialogCaption(literal);
check("a variable passed by reference stays", literal, "bleibt");

checkError("Form2Close 5", 0, function () { f.Form2Close(5); });
checkError("Form2Close 32767 overflows", 6, function () { f.Form2Close(32767); });
checkError("an alignment of 3", 380, function () { f.MessageBoxSize(50, 50, 3); });

f.ClearDialog();
for (var i = 0; i <= 1000; i++) f.WriteLine("Zeile " + i, "t" + i);
checkError("the 1002nd line", 9, function () { f.WriteLine("Zeile 1001"); });
checkError("and the next", 9, function () { f.WriteLine("Zeile 1002", "x"); });
f.ClearDialog();
checkError("after ClearDialog index 0 is free again", 0, function () { f.WriteLine("vorne"); });

checkError("HandleEvents", 0, function () { f.HandleEvents(); });
checkError("too many arguments", 0x000E, function () { f.WakeUp(1); });

f.DestroyDialog();
f.DestroyMessageBox();
done();
