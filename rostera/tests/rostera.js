// rostera as a JScript author uses it; the dialog's user is a second program.
var shell = new ActiveXObject("WScript.Shell");
var user = shell.Environment("PROCESS")("QB_ROSTERA_USER").replace(/\//g, "\\");
var r = new ActiveXObject("rostera.quillbox");

function flat(coll) {
  var s = "";
  for (var e = new Enumerator(coll); !e.atEnd(); e.moveNext()) s += e.item().replace(/\r\n/g, "/") + "|";
  return s;
}

r.AddHeader("Stadt");
r.AddHeader("Land", 50);
r.AddItem("wien");
r.AddSubItem(1, "AT");
r.AddItem("Bern");
r.AddSubItem(1, "CH");
r.AddItem("aarau");
r.AddSubItem(1, "CH");
check("AddItem returns undefined (Empty)", typeof r.AddItem("Rom"), "undefined");
r.AddSubItem(1, "IT");
check("rows in the order added", flat(r.GetRosteraContents()), "wien/AT|Bern/CH|aarau/CH|Rom/IT|");
r.RosteraSort(0);
check("sorted by the own text, ignoring case", flat(r.GetRosteraContents()), "aarau/CH|Bern/CH|Rom/IT|wien/AT|");
r.RosteraSort(1, 1);
check("by a cell, descending, equal cells keep their order", flat(r.GetRosteraContents()),
      "Rom/IT|aarau/CH|Bern/CH|wien/AT|");
checkError("RemoveItem of a missing key", 35601, function () { r.RemoveItem("key9"); });
r.RemoveItem("key3");
check("RemoveItem", r.GetRosteraContents().Count, 3);

var other = new ActiveXObject("rostera.quillbox");
checkError("a key that the other object used", 35602, function () { other.AddItem("x"); });
checkError("its counter goes on: key2 is taken too", 35602, function () { other.AddItem("x"); });
other.AddItem("Genf");  // key3, free since its row was removed
check("one list for both objects", r.GetRosteraContents().Count, 4);

shell.Run('"' + user + '" "JS-Liste" home ok', 0, false);
var chosen = r.RosteraShow("JS-Liste");
check("OK returns the first row", flat(chosen), "Rom/IT|");
check("the list is discarded", r.GetRosteraContents().Count, 0);

r.AddItem("Neu");
shell.Run('"' + user + '" "JS-Liste 2" close', 0, false);
var again = r.RosteraShow("JS-Liste 2", 0.5, 0.5);
check("the close control keeps the selection", flat(again), "Rom/IT|");
check("the same collection object", again === chosen, true);
r.RosteraQuit();
check("nothing left after RosteraQuit", r.GetRosteraContents().Count, 0);
done();
