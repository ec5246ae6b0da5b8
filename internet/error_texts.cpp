#include "error_texts.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <string>

#include "frame/text.h"
#include "last_error.h"

namespace internet {
namespace {

constexpr long kExtendedError = 12003;  // ERROR_INTERNET_EXTENDED_ERROR

struct Entry {
  long number;
  const wchar_t* text;
};

// Searched in this order; the first match wins.
constexpr Entry kTexts[] = {
    // System errors
    {1, L"Ungültige Funktion"},
    {2, L"Datei nicht gefunden"},
    {3, L"Pfad nicht gefunden"},
    {4, L"Zu viele Dateien geöffnet"},
    {5, L"Zugriff verweigert"},
    {6, L"ungültige Handle"},
    {8, L"zu wenig Speicher"},
    {9, L"ungültiger Zeiger"},
    {18, L"keine weiteren Daten vorhanden"},
    {19, L"Disk schreibgeschützt"},
    {32, L"Datei wird bereits benutzt"},
    {33, L"Datei ist gesperrt"},
    {80, L"Datei existiert bereits"},
    {87, L"ungültiger Parameter"},
    {112, L"Medium ist voll"},
    {250, L"Ausnahmefehler"},
    {251, L"Datei nicht lesbar"},
    {252, L"Dateiname ungültig"},
    {253, L"unbekannter Fehler"},
    {254, L"Funktion nicht implementiert"},
    {255, L"ungültiges Flag"},
    {256, L"Objekt ist beschäftigt"},
    {258, L"Objekt existiert nicht mehr"},
    {513, L"Download unvollständig"},
    // WinInet and FTP errors (12003 is answered by the server's reply text)
    {12001, L"Keine freien Handles mehr verfügbar"},
    {12002, L"Timeout"},
    {12004, L"interner Fehler"},
    {12005, L"ungültige URL"},
    {12006, L"unbekanntes Schema"},
    {12007, L"URL-Name konnte nicht aufgelöst werden"},
    {12008, L"Protokoll wurde nicht gefunden"},
    {12009, L"ungültige Option"},
    {12010, L"ungültige Länge der Option"},
    {12011, L"Option kann nicht gesetzt werden"},
    {12012, L"Shutdown"},
    {12013, L"Benutzername ist falsch"},
    {12014, L"Kennwort ist falsch"},
    {12015, L"Anmeldung ist gescheitert"},
    {12016, L"ungültige Anforderung"},
    {12017, L"Anforderung wurde abgebrochen"},
    {12018, L"Handle-Typ ist falsch"},
    {12019, L"Handle ist nicht einsatzbereit"},
    {12020, L"Proxy-Fehler"},
    {12021, L"Registry-Eintrag nicht gefunden"},
    {12022, L"Registry-Eintrag ist ungültig"},
    {12023, L"Direkter Zugriff ist verboten"},
    {12024, L"Kein Kontext definiert"},
    {12025, L"Keine Callback-Funktion definiert"},
    {12026, L"Anforderung wird bearbeitet"},
    {12027, L"falsches Format"},
    {12028, L"Eintrag nicht gefunden"},
    {12029, L"Kann keine Verbindung herstellen"},
    {12030, L"Verbindung abgebrochen"},
    {12031, L"Verbindung wiederhergestellt"},
    {12032, L"Wiederholen"},
    {12033, L"Proxy-Fehler"},
    {12034, L"Funktion erfordert Benutzerinterface"},
    {12036, L"Handle existiert bereits"},
    {12110, L"FTP läuft"},
    {12111, L"FTP abgebrochen"},
    {12112, L"FTP-Optionen falsch"},
    // Winsock errors
    {10035, L"Winsock: blockiert"},
    {10036, L"Winsock: Vorgang läuft"},
    {10050, L"Winsock: Netz nicht verfügbar"},
    {10051, L"Winsock: Netz nicht erreichbar"},
    {10052, L"Winsock: Netzverbindung zurückgesetzt"},
    {10053, L"Winsock: Verbindung abgebrochen"},
    {10054, L"Winsock: Verbindung zurückgesetzt"},
    {10055, L"Winsock: Keine Buffer"},
    {10057, L"Winsock: nicht verbunden"},
    {10060, L"Winsock: Timeout"},
    {10061, L"Winsock: Verbindung zurückgewiesen"},
    {10063, L"Winsock: Name zu lang"},
    {10064, L"Winsock: Host down"},
    {10065, L"Winsock: Host nicht erreichbar"},
    {10093, L"Winsock: nicht initialisiert"},
};

}  // namespace

std::wstring Translate(long number) {
  if (number == kExtendedError) return ExtendedError();
  for (const Entry& e : kTexts)
    if (e.number == number) return e.text;
  if (number >= 10000 && number < 11000) return L"Winsock: unspezifischer Fehler";
  if (number >= 12000 && number < 13000) return L"Internet: unspezifischer Fehler";
  return L"unbekannte Fehlernummer: " + std::to_wstring(number);
}

std::wstring ExtendedError() {
  DWORD code = 0;
  DWORD length = 0;
  InternetGetLastResponseInfoA(&code, nullptr, &length);
  StoreLastError();
  // One NUL beyond the length WinInet asked for, so that a text it copies without its
  // terminator still ends inside the buffer.
  const size_t size = length;
  std::string buffer(size + 1, '\0');
  InternetGetLastResponseInfoA(&code, buffer.data(), &length);
  StoreLastError();
  // The reported length never reaches past the buffer, whatever WinInet answers.
  buffer.resize(std::min<size_t>(length, size));
  return frame::FromAnsi(buffer);
}

}  // namespace internet
