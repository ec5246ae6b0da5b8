// The error texts and the per-thread last platform error, through the object's members.
#include <gtest/gtest.h>

#include <thread>

#include "testing/automation.h"

using namespace qbtest;

namespace {

struct TextCase {
  long number;
  const wchar_t* text;
};

// Every entry, both ranges with their edges, and the fallback.
const TextCase kCases[] = {
    {1, L"Ungültige Funktion"}, {2, L"Datei nicht gefunden"}, {3, L"Pfad nicht gefunden"},
    {4, L"Zu viele Dateien geöffnet"}, {5, L"Zugriff verweigert"}, {6, L"ungültige Handle"},
    {8, L"zu wenig Speicher"}, {9, L"ungültiger Zeiger"}, {18, L"keine weiteren Daten vorhanden"},
    {19, L"Disk schreibgeschützt"}, {32, L"Datei wird bereits benutzt"}, {33, L"Datei ist gesperrt"},
    {80, L"Datei existiert bereits"}, {87, L"ungültiger Parameter"}, {112, L"Medium ist voll"},
    {250, L"Ausnahmefehler"}, {251, L"Datei nicht lesbar"}, {252, L"Dateiname ungültig"},
    {253, L"unbekannter Fehler"}, {254, L"Funktion nicht implementiert"}, {255, L"ungültiges Flag"},
    {256, L"Objekt ist beschäftigt"}, {258, L"Objekt existiert nicht mehr"}, {513, L"Download unvollständig"},
    {12001, L"Keine freien Handles mehr verfügbar"}, {12002, L"Timeout"}, {12004, L"interner Fehler"},
    {12005, L"ungültige URL"}, {12006, L"unbekanntes Schema"}, {12007, L"URL-Name konnte nicht aufgelöst werden"},
    {12008, L"Protokoll wurde nicht gefunden"}, {12009, L"ungültige Option"},
    {12010, L"ungültige Länge der Option"}, {12011, L"Option kann nicht gesetzt werden"}, {12012, L"Shutdown"},
    {12013, L"Benutzername ist falsch"}, {12014, L"Kennwort ist falsch"}, {12015, L"Anmeldung ist gescheitert"},
    {12016, L"ungültige Anforderung"}, {12017, L"Anforderung wurde abgebrochen"},
    {12018, L"Handle-Typ ist falsch"}, {12019, L"Handle ist nicht einsatzbereit"}, {12020, L"Proxy-Fehler"},
    {12021, L"Registry-Eintrag nicht gefunden"}, {12022, L"Registry-Eintrag ist ungültig"},
    {12023, L"Direkter Zugriff ist verboten"}, {12024, L"Kein Kontext definiert"},
    {12025, L"Keine Callback-Funktion definiert"}, {12026, L"Anforderung wird bearbeitet"},
    {12027, L"falsches Format"}, {12028, L"Eintrag nicht gefunden"}, {12029, L"Kann keine Verbindung herstellen"},
    {12030, L"Verbindung abgebrochen"}, {12031, L"Verbindung wiederhergestellt"}, {12032, L"Wiederholen"},
    {12033, L"Proxy-Fehler"}, {12034, L"Funktion erfordert Benutzerinterface"},
    {12036, L"Handle existiert bereits"}, {12110, L"FTP läuft"}, {12111, L"FTP abgebrochen"},
    {12112, L"FTP-Optionen falsch"},
    {10035, L"Winsock: blockiert"}, {10036, L"Winsock: Vorgang läuft"}, {10050, L"Winsock: Netz nicht verfügbar"},
    {10051, L"Winsock: Netz nicht erreichbar"}, {10052, L"Winsock: Netzverbindung zurückgesetzt"},
    {10053, L"Winsock: Verbindung abgebrochen"}, {10054, L"Winsock: Verbindung zurückgesetzt"},
    {10055, L"Winsock: Keine Buffer"}, {10057, L"Winsock: nicht verbunden"}, {10060, L"Winsock: Timeout"},
    {10061, L"Winsock: Verbindung zurückgewiesen"}, {10063, L"Winsock: Name zu lang"},
    {10064, L"Winsock: Host down"}, {10065, L"Winsock: Host nicht erreichbar"},
    {10093, L"Winsock: nicht initialisiert"},
    // Ranges: numbers without an entry of their own, and the edges.
    {10000, L"Winsock: unspezifischer Fehler"}, {10056, L"Winsock: unspezifischer Fehler"},
    {10999, L"Winsock: unspezifischer Fehler"}, {12000, L"Internet: unspezifischer Fehler"},
    {12035, L"Internet: unspezifischer Fehler"}, {12037, L"Internet: unspezifischer Fehler"},
    {12109, L"Internet: unspezifischer Fehler"}, {12999, L"Internet: unspezifischer Fehler"},
    // Fallback, between and around the ranges; "Download abgebrochen" has no number.
    {0, L"unbekannte Fehlernummer: 0"}, {7, L"unbekannte Fehlernummer: 7"}, {-5, L"unbekannte Fehlernummer: -5"},
    {514, L"unbekannte Fehlernummer: 514"}, {9999, L"unbekannte Fehlernummer: 9999"},
    {11000, L"unbekannte Fehlernummer: 11000"}, {11001, L"unbekannte Fehlernummer: 11001"},
    {13000, L"unbekannte Fehlernummer: 13000"}, {2147483647, L"unbekannte Fehlernummer: 2147483647"},
    {-2147483647 - 1, L"unbekannte Fehlernummer: -2147483648"},
};

class Texts : public ::testing::TestWithParam<TextCase> {};

TEST_P(Texts, TranslateGivesTheTableText) {
  static auto obj = CreateObject(L"internet.quillbox");
  auto r = Call(obj.get(), L"Translate", {Long(GetParam().number)});
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.text(), GetParam().text) << GetParam().number;
}

INSTANTIATE_TEST_SUITE_P(AllNumbers, Texts, ::testing::ValuesIn(kCases));

TEST(Texts, NoTextEndsWithAFullStopOrHoldsATab) {
  for (const TextCase& c : kCases) {
    std::wstring text = c.text;
    EXPECT_NE(text.back(), L'.') << c.number;
    EXPECT_EQ(text.find_first_of(L"\t\r\n"), std::wstring::npos) << c.number;
  }
}

TEST(Texts, ExtendedErrorNumberGivesTheResponseText) {
  auto obj = CreateObject(L"internet.quillbox");
  auto response = Call(obj.get(), L"GetExtendedError");
  auto translated = Call(obj.get(), L"Translate", {Long(12003)});
  ASSERT_TRUE(translated.ok());
  EXPECT_EQ(translated.text(), response.text());
}

// The members of a fresh thread (its own apartment and object): its last error.
struct ThreadView {
  long first_number = -1;
  std::wstring first_text;
  long own_number = -1;
};

ThreadView OnNewThread() {
  ThreadView view;
  std::thread([&] {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
      auto obj = CreateObject(L"internet.quillbox");
      view.first_number = Call(obj.get(), L"GetLastErrorNumber").number();
      view.first_text = Call(obj.get(), L"GetLastError").text();
      // A listing on no connection: the platform rejects the handle.
      Call(obj.get(), L"Dir", {Long(0)});
      view.own_number = Call(obj.get(), L"GetLastErrorNumber").number();
    }
    CoUninitialize();
  }).join();
  return view;
}

TEST(LastError, IsHeldPerThreadAndSharedByTheObjectsOfAThread) {
  auto one = CreateObject(L"internet.quillbox");
  auto two = CreateObject(L"internet.quillbox");
  // A handle number that is no WinInet handle: a failure with a nonzero number.
  Call(one.get(), L"ChDir", {Long(0x7654321), Text(L"/")});
  const long mine = Call(one.get(), L"GetLastErrorNumber").number();
  ASSERT_NE(mine, 0);
  EXPECT_EQ(Call(two.get(), L"GetLastErrorNumber").number(), mine);

  ThreadView other = OnNewThread();
  EXPECT_EQ(other.first_number, 0);
  EXPECT_EQ(other.first_text, L"unbekannte Fehlernummer: 0");
  EXPECT_NE(other.own_number, 0);

  EXPECT_EQ(Call(one.get(), L"GetLastErrorNumber").number(), mine);
}

TEST(LastError, ReadingTheTextLeavesTheNumber) {
  auto obj = CreateObject(L"internet.quillbox");
  Call(obj.get(), L"ChDir", {Long(0x7654321), Text(L"/")});
  const long number = Call(obj.get(), L"GetLastErrorNumber").number();
  const std::wstring expected = Call(obj.get(), L"Translate", {Long(number)}).text();
  EXPECT_EQ(Call(obj.get(), L"GetLastError").text(), expected);
  EXPECT_EQ(Call(obj.get(), L"GetLastErrorNumber").number(), number);
}

TEST(LastError, CloseHandleOfZeroReturnsNormallyAndStoresAnError) {
  auto obj = CreateObject(L"internet.quillbox");
  auto r = Call(obj.get(), L"CloseHandle", {Long(0)});
  EXPECT_TRUE(r.ok());
  EXPECT_NE(Call(obj.get(), L"GetLastErrorNumber").number(), 0);
}

}  // namespace
