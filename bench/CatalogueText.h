// Deterministic German catalogue-like text in Windows-1252: component entries with their fields,
// descriptions from a word stock, recurring phrases and CR LF line breaks. Benchmark input for
// the packed stream and the unzip library.
#pragma once

#include "platform/CodePage.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace catalogue_text {

class Generator {
public:
    explicit Generator(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}

    // At least size bytes, cut to exactly size.
    std::string Text(std::size_t size) {
        std::string text;
        while (text.size() < size)
            text += Entry();
        text.resize(size);
        return text;
    }

private:
    static constexpr std::string_view kNouns[] = {"Komponente",
                                                  "Datenbank",
                                                  "Größe",
                                                  "Tabelle",
                                                  "Schnittstelle",
                                                  "Bibliothek",
                                                  "Quelltext",
                                                  "Oberfläche",
                                                  "Dateiauswahl",
                                                  "Druckvorschau",
                                                  "Zugriff",
                                                  "Funktion",
                                                  "Abfrage",
                                                  "Änderung",
                                                  "Verzeichnis",
                                                  "Übersicht",
                                                  "Benutzer",
                                                  "Steuerung",
                                                  "Ausgabe",
                                                  "Schriftart",
                                                  "Grafik",
                                                  "Erweiterung",
                                                  "Prüfsumme",
                                                  "Währung",
                                                  "Eigenschaft",
                                                  "Berichtsgenerator",
                                                  "Zeichensatz",
                                                  "Listenfeld",
                                                  "Eingabemaske",
                                                  "Symbolleiste",
                                                  "Statuszeile",
                                                  "Baumansicht",
                                                  "Kalender",
                                                  "Uhrzeit",
                                                  "Datumsfeld",
                                                  "Zwischenablage",
                                                  "Speicherverwaltung",
                                                  "Netzwerkverbindung",
                                                  "Schnittstellenkarte",
                                                  "Druckertreiber",
                                                  "Farbpalette",
                                                  "Bildschirmmaske",
                                                  "Tastaturbelegung",
                                                  "Hilfedatei",
                                                  "Installationsprogramm",
                                                  "Verschlüsselung",
                                                  "Komprimierung",
                                                  "Rechtschreibprüfung",
                                                  "Tabellenkalkulation",
                                                  "Textverarbeitung",
                                                  "Seriennummer",
                                                  "Fehlerbehandlung",
                                                  "Dateiformat",
                                                  "Sortierung",
                                                  "Suchfunktion",
                                                  "Vorschau",
                                                  "Menüleiste",
                                                  "Dialogfenster",
                                                  "Schaltfläche",
                                                  "Rollbalken",
                                                  "Registerkarte",
                                                  "Zeitgeber"};
    static constexpr std::string_view kVerbs[] = {
        "unterstützt",   "erzeugt",      "liest",      "schreibt",     "prüft",      "verwaltet",
        "zeigt",         "enthält",      "ermöglicht", "ersetzt",      "öffnet",     "berechnet",
        "verknüpft",     "speichert",    "sortiert",   "überträgt",    "gestaltet",  "erweitert",
        "verschlüsselt", "druckt",       "importiert", "exportiert",   "formatiert", "überwacht",
        "vereinfacht",   "beschleunigt", "kapselt",    "protokolliert"};
    static constexpr std::string_view kAdjectives[] = {
        "schnelle",     "einfache",       "vollständige",    "grafische",     "flexible",
        "neue",         "große",          "kleine",          "mehrsprachige", "übersichtliche",
        "sichere",      "freie",          "beliebige",       "zusätzliche",   "eigene",
        "dynamische",   "statische",      "leistungsfähige", "komfortable",   "frei definierbare",
        "mehrspaltige", "verschachtelte", "datensensitive"};
    static constexpr std::string_view kLinks[] = {
        "und",     "mit",     "für",  "über", "ohne", "sowie", "in der", "aus der",
        "für die", "mit der", "oder", "auf",  "bei",  "nach",  "zur",    "zum"};
    static constexpr std::string_view kPhrases[] = {
        "Die Komponente ist vollständig in Pascal geschrieben und wird mit Quelltext geliefert.",
        "Eine Registrierung ist nach 30 Tagen Testzeit erforderlich.",
        "Beispielprogramme und eine ausführliche Hilfedatei liegen bei.",
        "Läuft unter Windows 3.1, Windows 95 und Windows NT.",
        "Für die Weitergabe in eigenen Programmen fallen keine Gebühren an.",
        "Die Shareware-Version zeigt beim Start einen Hinweis an.",
        "Nach der Registrierung erhalten Sie den vollständigen Quelltext.",
        "Bitte beachten Sie die Hinweise in der Datei LIESMICH.TXT."};
    static constexpr std::string_view kMakers[] = {
        "Müller Softwaretechnik GmbH", "Schröder & Söhne Datentechnik", "Bäcker Informatik",
        "Weiß Systemhaus KG",          "Jürgens EDV-Beratung",          "Köhler Programmierbüro",
        "Hoffmann & Partner",          "Groß Software-Entwicklung",     "Krämer Datenverarbeitung",
        "Özdemir Systemlösungen",      "Fröhlich Informationstechnik",  "Schäfer EDV-Service"};
    static constexpr std::string_view kCities[] = {
        "Stuttgart", "München",  "Köln",        "Düsseldorf", "Nürnberg", "Lübeck",
        "Göttingen", "Würzburg", "Saarbrücken", "Osnabrück",  "Tübingen", "Fürth"};
    static constexpr std::string_view kTerms[] = {"Shareware", "Freeware", "Vollversion",
                                                  "Demoversion", "Public Domain"};

    std::uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    template <std::size_t N> std::string Pick(const std::string_view (&words)[N]) {
        // The words are UTF-8, as this source file is.
        return platform::Utf8ToAnsi1252Lossy(words[Next() % N]);
    }
    std::string Number(unsigned below) { return std::to_string(Next() % below); }
    std::string Sentence() {
        if (Next() % 4 == 0)
            return Pick(kPhrases);
        std::string s = "Die ";
        s += Pick(kAdjectives);
        s += ' ';
        s += Pick(kNouns);
        s += ' ';
        s += Pick(kVerbs);
        for (unsigned clauses = 1 + Next() % 3; clauses > 0; --clauses) {
            s += ' ';
            s += Pick(kAdjectives);
            s += ' ';
            s += Pick(kNouns);
            s += ' ';
            s += Pick(kLinks);
        }
        s += ' ';
        s += Pick(kNouns);
        if (Next() % 3 == 0) {
            s += " (bis zu ";
            s += Number(100000);
            s += " Datensätze)";
        }
        s += '.';
        return s;
    }
    std::string Entry() {
        std::string e = "Komponente: T";
        e += Pick(kNouns);
        e += Pick(kNouns);
        e += ' ';
        e += Number(5);
        e += '.';
        e += Number(100);
        e += "\r\nHersteller: ";
        e += Pick(kMakers);
        e += ", ";
        e += Number(90000);
        e += ' ';
        e += Pick(kCities);
        e += "\r\nLizenz: ";
        e += Pick(kTerms);
        e += ", Registrierung ";
        e += Number(300);
        e += ",- DM\r\nStand: ";
        e += Number(28);
        e += '.';
        e += Number(12);
        e += ".199";
        e += Number(10);
        e += "\r\nBeschreibung:\r\n";
        for (unsigned i = 0, sentences = 2 + Next() % 8; i < sentences; ++i) {
            e += Sentence();
            e += i % 3 == 2 ? "\r\n" : " ";
        }
        e += "\r\n\r\n";
        return e;
    }

    std::uint32_t state_;
};

} // namespace catalogue_text
