// The column catalog of the plan table and the five drop-down vocabularies.
// The order of every list is the order of the drop-down items.
#include "ColumnCatalog.h"

const QStringList FormatValues = {
    "---", ">A0", ">A1", ">A2", ">A3", ">A4", "A0", "A1", "A2", "A3", "A4",
};

const QStringList GeschossValues = {
    "---",
    "1. Ebene",
    "2. Ebene",
    "3. Ebene",
    "4. Ebene",
    "5. Ebene",
    "6. Ebene",
    "Buehne",
    "Dachaufsicht",
    "Dachgeschoss",
    "Ebene",
    "Ebene +22,00 m",
    "Ebene +3,90m",
    "Ebene +7,00m",
    "Ebene +7,00 m",
    "Ebene +9,00m",
    "Ebene +9,50m",
    "Ebene +/-0,00m",
    "Ebene +4,35m",
    "Ebene +4,375m",
    "Ebene -4,50m",
    "Erd- und Obergeschoss",
    "Erd- Dachgeschoss",
    "Erdgeschoss",
    "Fahrstuhl",
    "Fundament",
    "1. + 2. Obergeschoss",
    "1. Obergeschoss",
    "2. Obergeschoss",
    "3. Obergeschoss",
    "4. Obergeschoss",
    "5. Obergeschoss",
    "6. Obergeschoss",
    "7. Obergeschoss",
    "Installationsgang",
    "Keller-und Erdgeschoss",
    "Kellergeschoss-Dachaufsicht",
    "Kellergeschoss",
    "Lkw",
    "Meß-Anhänger",
    "Meß-Lkw",
    "Untergeschoss",
    "Unter- und Erdgeschoss",
    "Technikzwischengeschoss",
    "Z2-Zwischengeschoss",
    "Z1-Zwischengeschoss",
};

const QStringList GewerkValues = {
    "---",
    "Elektro",
    "Feuerwehr",
    "Gase",
    "Gebäudeautomation",
    "Heizung",
    "Hochbau",
    "Innenraumgestaltung",
    "Kälte",
    "Kälte mit Lüftung und Heizung",
    "Kran",
    "Lüftung",
    "Lüftung und Heizung",
    "Lüftung und Kälte",
    "Rahmen",
    "RWA-Anlagen",
    "Sanitär",
    "Sanitär und Lüftung",
    "Tiefbau",
};

const QStringList MassstabValues = {
    "---",    "1:1",    "1:2",    "1:5",    "1:10",   "1:12,5", "1:20",    "1:25",   "1:50",
    "1:100",  "1:150",  "1:200",  "1:250",  "1:300",  "1:500",  "1:750",   "1:1000", "1:1500",
    "1:2000", "1:2500", "1:3500", "1:4000", "1:5000", "1:7500", "1:10000",
};

const QStringList PlanartValues = {
    "---",
    "Ansicht",
    "Brandabschnitt",
    "Blitzschutz",
    "Strangschema-BMA",
    "Blockschaltbild",
    "Brandmeldeinstallation",
    "Brandmeldetableau",
    "Detail",
    "Datennetzinstallation",
    "Draufsicht",
    "Datenverteiler",
    "Elektroinstallation",
    "Elektroverteiler",
    "Feuerwehrlaufkarte",
    "Fernmelde Blockschaltbild",
    "Fernmeldeinstallation",
    "Feuerschutzklappen",
    "Fernmeldeverteiler",
    "Grundriss und Schnitt",
    "Geländeschnitt",
    "Grundriss",
    "Installation Wassermelder",
    "Kabeltrassen",
    "Lageplan",
    "Messen, Steuern und Regeln",
    "Potentialausgleich",
    "Regenwasser",
    "Rauchwarnanlage",
    "Rettungswegeplan",
    "Schnitt und Detail",
    "Sanitärabwasser",
    "Schnitt",
    "Schema",
    "Sonderplan",
    "Schalplan",
    "Strangschema Datennetz",
    "Strangschema",
    "Verteiler",
};

const QStringList DefaultUnmarkedColumns = {
    "ExportID", "Verzeichnis", "DokuNr", "Techn.Obj.", "DTYPE",
};

namespace {

const ColumnEntry catalog[ColumnCatalog::ColumnCount] = {
    {'s', nullptr},         //  0 ExportID
    {'b', nullptr},         //  1 3
    {'s', nullptr},         //  2 Datei
    {'b', nullptr},         //  3 Verzeichnis
    {'b', nullptr},         //  4 6
    {'s', nullptr},         //  5 1
    {'s', nullptr},         //  6 7
    {'b', nullptr},         //  7 DokuNr
    {'s', nullptr},         //  8 9
    {'s', nullptr},         //  9 10
    {'s', nullptr},         // 10 11
    {'s', nullptr},         // 11 12
    {'s', nullptr},         // 12 13
    {'s', nullptr},         // 13 14
    {'s', nullptr},         // 14 15
    {'s', nullptr},         // 15 16
    {'s', nullptr},         // 16 17
    {'b', nullptr},         // 17 Beschreibung
    {'s', nullptr},         // 18 BauNr
    {'b', nullptr},         // 19 Erläuterung (line editor, by its number)
    {'n', &FormatValues},   // 20 Format
    {'b', nullptr},         // 21 Fremdfirma
    {'b', &GeschossValues}, // 22 Geschoß
    {'b', &GewerkValues},   // 23 Gewerk
    {'n', &MassstabValues}, // 24 Maßstab
    {'b', &PlanartValues},  // 25 Planart
    {'n', nullptr},         // 26 Techn.Obj.
    {'\0', nullptr},        // 27 DTYPE
};

} // namespace

const ColumnEntry &ColumnCatalog::entry(int column)
{
    return catalog[column];
}

int ColumnCatalog::widthForKind(char kind)
{
    switch (kind) {
    case 'b':
        return 160;
    case 'n':
        return 80;
    case 's':
        return 40;
    default:
        return 0;
    }
}
