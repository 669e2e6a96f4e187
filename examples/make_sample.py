#!/usr/bin/env python3
"""Writes the sample plan list planliste-verwaltungsbau.csv: an invented
office building, 64 drawings, 28 fields a line, UTF-8, LF line ends."""
import random

random.seed(1907)

trades = [("Hochbau", "HB"), ("Elektro", "EL"), ("Heizung", "HZ"), ("Sanitär", "SA"),
          ("Lüftung", "LU"), ("Gebäudeautomation", "GA"), ("Tiefbau", "TB"),
          ("Feuerwehr", "FW")]
floors = ["Kellergeschoss", "Erdgeschoss", "1. Obergeschoss", "2. Obergeschoss",
          "3. Obergeschoss", "Dachgeschoss", "Dachaufsicht"]
kinds = {
    "Hochbau": ["Grundriss", "Schnitt", "Ansicht", "Detail", "Lageplan"],
    "Elektro": ["Elektroinstallation", "Elektroverteiler", "Blitzschutz", "Kabeltrassen"],
    "Heizung": ["Grundriss", "Strangschema", "Schema"],
    "Sanitär": ["Sanitärabwasser", "Strangschema", "Grundriss"],
    "Lüftung": ["Grundriss", "Schnitt und Detail", "Schema"],
    "Gebäudeautomation": ["Messen, Steuern und Regeln", "Blockschaltbild"],
    "Tiefbau": ["Lageplan", "Regenwasser", "Geländeschnitt"],
    "Feuerwehr": ["Feuerwehrlaufkarte", "Rettungswegeplan", "Brandabschnitt"],
}
scales = {"Lageplan": "1:500", "Detail": "1:10", "Schnitt und Detail": "1:20",
          "Blockschaltbild": "---", "Schema": "---", "Strangschema": "---"}
firms = ["Ingenieurbüro Hähnel & Söhne", "Elektro Weiß GmbH", "Planungsgruppe Süd",
         "Büro Köhler Architekten", "Haustechnik Großmann", ""]
notes = ["Erstausgabe", "Index a: Türen geändert", "Index b: Maße ergänzt",
         "Freigabe zur Ausführung", "nur zur Information", "Änderung Brandschutz", ""]

lines = []
for n in range(1, 65):
    trade, code = random.choice(trades)
    kind = random.choice(kinds[trade])
    floor = "---" if kind in ("Lageplan", "Ansicht", "Schema") else random.choice(floors)
    scale = scales.get(kind, random.choice(["1:50", "1:100"]))
    fmt = random.choice(["A0", "A1", "A1", "A2", "A3", ">A0"])
    number = f"VW-{code}-{n:03d}"
    index = random.choice(["", "a", "b", "c"])
    title = f"{kind} {floor}" if floor != "---" else kind
    fields = [
        str(1000 + n),                          # 0 ExportID
        "Verwaltungsbau Nord",                  # 1
        f"{number}.pdf",                        # 2 Datei
        f"Planarchiv/{code}/{floor if floor != '---' else 'Allgemein'}",  # 3
        "Bauabschnitt 1",                       # 4
        index,                                  # 5
        "2026",                                 # 6
        number,                                 # 7 DokuNr
        "", "", "", "", "", "", "", "", "",     # 8 to 16
        title,                                  # 17 Beschreibung
        str(random.choice([11, 12, 14, 21])),   # 18 BauNr
        random.choice(notes)[:30],              # 19 Erläuterung
        fmt,                                    # 20 Format
        random.choice(firms),                   # 21 Fremdfirma
        floor,                                  # 22 Geschoß
        trade,                                  # 23 Gewerk
        scale,                                  # 24 Maßstab
        kind,                                   # 25 Planart
        random.choice(["", "", "TO-112", "TO-340"]),  # 26 Techn.Obj.
        "PDF",                                  # 27 DTYPE
    ]
    assert len(fields) == 28
    lines.append(";".join(fields))

with open("planliste-verwaltungsbau.csv", "w", encoding="utf-8", newline="\n") as out:
    out.write("\n".join(lines) + "\n")
