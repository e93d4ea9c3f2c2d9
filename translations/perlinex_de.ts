<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Application</name>
    <message>
        <source>An unexpected error has occurred.</source>
        <translation>Ein unerwarteter Fehler ist aufgetreten.</translation>
    </message>
</context>
<context>
    <name>Catalogue</name>
    <message>
        <source>its main table &quot;%1&quot; (usewith) is no table of the collection</source>
        <translation>ihre Haupttabelle „%1“ (usewith) ist keine Tabelle der Sammlung</translation>
    </message>
    <message>
        <source>its table &quot;%1&quot; (FileName) is no table of the collection</source>
        <translation>ihre Tabelle „%1“ (FileName) ist keine Tabelle der Sammlung</translation>
    </message>
    <message>
        <source>its field &quot;%1&quot; (fieldname) is no field of the table &quot;%2&quot;</source>
        <translation>ihr Feld „%1“ (fieldname) ist kein Feld der Tabelle „%2“</translation>
    </message>
    <message>
        <source>it names no field (linkfield) that joins the table &quot;%1&quot; to &quot;%2&quot;</source>
        <translation>sie nennt kein Feld (linkfield), das die Tabelle „%1“ mit „%2“ verbindet</translation>
    </message>
    <message>
        <source>its link &quot;%1&quot; (linkfield) does not name fields of the tables &quot;%2&quot; and &quot;%3&quot;</source>
        <translation>ihre Verknüpfung „%1“ (linkfield) nennt keine Felder der Tabellen „%2“ und „%3“</translation>
    </message>
    <message>
        <source>The field catalogue&apos;s row %1 (%2) cannot be used and is left out: %3.</source>
        <translation>Die Zeile %1 (%2) des Feldkatalogs ist nicht verwendbar und wird ausgelassen: %3.</translation>
    </message>
    <message>
        <source>a damaged database (%1)</source>
        <translation>eine beschädigte Datenbank (%1)</translation>
    </message>
    <message>
        <source>a database without the table RptSpec</source>
        <translation>eine Datenbank ohne die Tabelle RptSpec</translation>
    </message>
    <message>
        <source>a database whose table RptSpec lacks the field %1</source>
        <translation>eine Datenbank, deren Tabelle RptSpec das Feld %1 fehlt</translation>
    </message>
    <message>
        <source>a field catalogue without fields</source>
        <translation>ein Feldkatalog ohne Felder</translation>
    </message>
    <message>
        <source>The field catalogue %1 is %2. Its folder cannot be changed, so the file has been left as it is and Perlinex uses its own field catalogue for now.</source>
        <translation>Der Feldkatalog %1 ist %2. Sein Ordner kann nicht geändert werden, darum bleibt die Datei unverändert, und Perlinex verwendet vorerst seinen eigenen Feldkatalog.</translation>
    </message>
    <message>
        <source>The field catalogue %1 is %2, and it could not be moved aside to make a new one: %3</source>
        <translation>Der Feldkatalog %1 ist %2, und er konnte nicht beiseitegelegt werden, um einen neuen anzulegen: %3</translation>
    </message>
    <message>
        <source>The field catalogue %1 was %2. It has been kept as %3 and made again.</source>
        <translation>Der Feldkatalog %1 war %2. Er wurde als %3 aufbewahrt und neu angelegt.</translation>
    </message>
    <message>
        <source>The program&apos;s field catalogue data is missing.</source>
        <translation>Die Feldkatalogdaten des Programms fehlen.</translation>
    </message>
    <message>
        <source>The program&apos;s field catalogue data is damaged at: %1</source>
        <translation>Die Feldkatalogdaten des Programms sind beschädigt bei: %1</translation>
    </message>
</context>
<context>
    <name>CollectionHold</name>
    <message>
        <source>The collection %1 was stopped in the middle of a store (by a crash or a kill). That store must be undone before the collection can be read, but %2. Make it writable, or copy the folder to where it can be written, and try again.</source>
        <translation>Die Sammlung %1 wurde mitten in einem Speichervorgang angehalten (durch einen Absturz oder Abbruch). Dieser Speichervorgang muss rückgängig gemacht werden, bevor die Sammlung gelesen werden kann, aber %2. Machen Sie sie beschreibbar, oder kopieren Sie den Ordner an einen beschreibbaren Ort, und versuchen Sie es noch einmal.</translation>
    </message>
    <message>
        <source>there is no collection in %1</source>
        <translation>in %1 gibt es keine Sammlung</translation>
    </message>
    <message>
        <source>The collection %1 cannot be changed: %2. Nothing has been changed.</source>
        <translation>Die Sammlung %1 kann nicht geändert werden: %2. Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>A collection cannot be made in %1: %2.</source>
        <translation>In %1 kann keine Sammlung angelegt werden: %2.</translation>
    </message>
    <message>
        <source>The collection %1 was stopped in the middle of a store (by a crash or a kill). That store has been undone: the collection is as it was after its last complete store.</source>
        <translation>Die Sammlung %1 wurde mitten in einem Speichervorgang angehalten (durch einen Absturz oder Abbruch). Dieser Speichervorgang wurde rückgängig gemacht: Die Sammlung ist so wie nach ihrem letzten vollständigen Speichern.</translation>
    </message>
    <message>
        <source>cannot make the folder %1</source>
        <translation>der Ordner %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>%1 already holds a collection (stamp.mdb); it has been left as it is.</source>
        <translation>%1 enthält schon eine Sammlung (stamp.mdb); sie bleibt unverändert.</translation>
    </message>
</context>
<context>
    <name>ColumnMap</name>
    <message>
        <source>the file has no column %1</source>
        <translation>die Datei hat keine Spalte %1</translation>
    </message>
    <message>
        <source>there is no stamp field called %1</source>
        <translation>es gibt kein Briefmarkenfeld namens %1</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Usage:
  perlinex [FOLDER]                                 open the collection in FOLDER
  perlinex FILE.rpt                                 open a report layout in the designer
  perlinex new FOLDER                               make a new, empty collection
  perlinex generate FOLDER --stamps N [--seed S]    make a collection of N generated stamps
  perlinex check [FOLDER]                           check the collection; nothing is changed
  perlinex repair [FOLDER] [--yes]                  repair a damaged collection
  perlinex --help                                   show this text
  perlinex --version                                show the program&apos;s version
  Without a FOLDER, the collection is the one in %1.
</source>
        <translation>Aufruf:
  perlinex [ORDNER]                                 die Sammlung in ORDNER öffnen
  perlinex DATEI.rpt                                eine Berichtsvorlage im Designer öffnen
  perlinex new ORDNER                               eine neue, leere Sammlung anlegen
  perlinex generate ORDNER --stamps N [--seed S]    eine Sammlung aus N erzeugten Briefmarken anlegen
  perlinex check [ORDNER]                           die Sammlung prüfen; nichts wird geändert
  perlinex repair [ORDNER] [--yes]                  eine beschädigte Sammlung reparieren
  perlinex --help                                   diesen Text zeigen
  perlinex --version                                die Version des Programms zeigen
  Ohne ORDNER ist die Sammlung die in %1.
</translation>
    </message>
    <message>
        <source>new needs exactly one FOLDER</source>
        <translation>new braucht genau einen ORDNER</translation>
    </message>
    <message>
        <source>Made a new, empty collection in %1</source>
        <translation>Neue, leere Sammlung in %1 angelegt</translation>
    </message>
    <message>
        <source>generate needs exactly one FOLDER</source>
        <translation>generate braucht genau einen ORDNER</translation>
    </message>
    <message>
        <source>generate needs --stamps N</source>
        <translation>generate braucht --stamps N</translation>
    </message>
    <message>
        <source>--stamps needs a positive whole number, not %1</source>
        <translation>--stamps braucht eine positive ganze Zahl, nicht %1</translation>
    </message>
    <message>
        <source>--seed needs a positive whole number, not %1</source>
        <translation>--seed braucht eine positive ganze Zahl, nicht %1</translation>
    </message>
    <message>
        <source>Generated %1 in %2 (%3 ms)</source>
        <translation>%1 in %2 erzeugt (%3 ms)</translation>
    </message>
    <message>
        <source>%1 takes one FOLDER at most</source>
        <translation>%1 nimmt höchstens einen ORDNER</translation>
    </message>
    <message>
        <source>The collection in %1 is whole.</source>
        <translation>Die Sammlung in %1 ist vollständig.</translation>
    </message>
    <message>
        <source>The collection in %1 is damaged:</source>
        <translation>Die Sammlung in %1 ist beschädigt:</translation>
    </message>
    <message>
        <source>Nothing has been changed. &quot;perlinex repair&quot; repairs it.</source>
        <translation>Es wurde nichts geändert. „perlinex repair“ repariert sie.</translation>
    </message>
    <message>
        <source>The collection in %1 is whole; there is nothing to repair.</source>
        <translation>Die Sammlung in %1 ist vollständig; es gibt nichts zu reparieren.</translation>
    </message>
    <message>
        <source>the picture of stamp %1, stored when the program was stopped, has been put in place</source>
        <translation>das Bild der Briefmarke %1, gespeichert, als das Programm angehalten wurde, wurde an seinen Platz gebracht</translation>
    </message>
    <message>
        <source>the picture of stamp %1, whose record was not stored when the program was stopped, has been removed</source>
        <translation>das Bild der Briefmarke %1, deren Eintrag nicht gespeichert war, als das Programm angehalten wurde, wurde entfernt</translation>
    </message>
    <message>
        <source>pictures of a store cut short are left for a later start: %1</source>
        <translation>Bilder eines abgebrochenen Speichervorgangs bleiben für einen späteren Start: %1</translation>
    </message>
    <message>
        <source>unknown command: %1</source>
        <translation>unbekannter Befehl: %1</translation>
    </message>
    <message>
        <source>unexpected arguments: %1</source>
        <translation>unerwartete Argumente: %1</translation>
    </message>
    <message>
        <source>There is no collection in %1. Make a new, empty one?</source>
        <translation>In %1 gibt es keine Sammlung. Eine neue, leere anlegen?</translation>
    </message>
    <message>
        <source>The folder &apos;%1&apos; could not be made.</source>
        <translation>Der Ordner „%1“ konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>A restore of a backup into %1 was cut short, and it cannot be finished while the collection is read-only: the pictures may not belong to the collection shown. Open the folder where it can be changed to finish the restore.</source>
        <translation>Das Zurückspielen einer Sicherung nach %1 wurde abgebrochen und kann nicht beendet werden, solange die Sammlung schreibgeschützt ist: Die Bilder gehören womöglich nicht zur angezeigten Sammlung. Öffnen Sie den Ordner dort, wo er geändert werden kann, um das Zurückspielen zu beenden.</translation>
    </message>
    <message>
        <source>Restore Backup</source>
        <translation>Sicherung zurückspielen</translation>
    </message>
    <message>
        <source>standard output</source>
        <translation>Standardausgabe</translation>
    </message>
    <message>
        <source>, and %1 pictures to %2</source>
        <translation> und %1 Bilder nach %2</translation>
    </message>
    <message>
        <source>semicolon</source>
        <translation>Semikolon</translation>
    </message>
    <message>
        <source>tab</source>
        <translation>Tabulator</translation>
    </message>
    <message>
        <source>comma</source>
        <translation>Komma</translation>
    </message>
    <message>
        <source>line %1</source>
        <translation>Zeile %1</translation>
    </message>
    <message>
        <source>line %1, column %2</source>
        <translation>Zeile %1, Spalte %2</translation>
    </message>
    <message>
        <source>%1: refused: %2</source>
        <translation>%1: abgewiesen: %2</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Columns:</source>
        <translation>Spalten:</translation>
    </message>
    <message>
        <source> (when blank)</source>
        <translation> (wenn leer)</translation>
    </message>
    <message>
        <source>The first stamps as they will be stored:</source>
        <translation>Die ersten Briefmarken, wie sie gespeichert werden:</translation>
    </message>
    <message>
        <source>New classifications added:</source>
        <translation>Neue Klassifizierungen aufgenommen:</translation>
    </message>
    <message>
        <source>New classifications to be added:</source>
        <translation>Aufzunehmende neue Klassifizierungen:</translation>
    </message>
    <message>
        <source>A dry run: nothing has been stored. %1 stamps would be stored; %2 lines are refused; %3 stamps equal ones in the collection.</source>
        <translation>Ein Probelauf: Es wurde nichts gespeichert. %1 Briefmarken würden gespeichert; %2 Zeilen werden abgewiesen; %3 Briefmarken gleichen solchen in der Sammlung.</translation>
    </message>
    <message>
        <source>nothing has been stored: %1 lines were refused. Mend them, or store only the good lines with --good-lines-only.</source>
        <translation>es wurde nichts gespeichert: %1 Zeilen wurden abgewiesen. Berichtigen Sie sie, oder speichern Sie mit --good-lines-only nur die guten Zeilen.</translation>
    </message>
    <message>
        <source>nothing has been stored: every line was refused.</source>
        <translation>es wurde nichts gespeichert: Jede Zeile wurde abgewiesen.</translation>
    </message>
    <message>
        <source> (numbers %1 to %2)</source>
        <translation> (Nummern %1 bis %2)</translation>
    </message>
    <message>
        <source>%1 of them equal stamps already in the collection (the same description, catalogue number, country and year); --skip-duplicates leaves such stamps out.</source>
        <translation>%1 davon gleichen Briefmarken, die schon in der Sammlung sind (dieselbe Beschreibung, Katalognummer, dasselbe Land und Jahr); --skip-duplicates lässt solche Briefmarken aus.</translation>
    </message>
    <message>
        <source>it is not a picture Perlinex can read</source>
        <translation>es ist kein Bild, das Perlinex lesen kann</translation>
    </message>
    <message>
        <source>export takes no other words</source>
        <translation>export nimmt keine weiteren Wörter</translation>
    </message>
    <message>
        <source>export needs --csv FILE</source>
        <translation>export braucht --csv DATEI</translation>
    </message>
    <message>
        <source>--pictures needs a folder</source>
        <translation>--pictures braucht einen Ordner</translation>
    </message>
    <message>
        <source>import takes no other words</source>
        <translation>import nimmt keine weiteren Wörter</translation>
    </message>
    <message>
        <source>import needs either --csv FILE or --tellico FILE</source>
        <translation>import braucht entweder --csv DATEI oder --tellico DATEI</translation>
    </message>
    <message>
        <source>--encoding, --delimiter and --decimal are for CSV files</source>
        <translation>--encoding, --delimiter und --decimal sind für CSV-Dateien</translation>
    </message>
    <message>
        <source>--encoding takes utf-8, utf-16 or windows-1252, not %1</source>
        <translation>--encoding nimmt utf-8, utf-16 oder windows-1252, nicht %1</translation>
    </message>
    <message>
        <source>--delimiter takes comma, semicolon or tab, not %1</source>
        <translation>--delimiter nimmt comma, semicolon oder tab, nicht %1</translation>
    </message>
    <message>
        <source>--decimal takes point or comma, not %1</source>
        <translation>--decimal nimmt point oder comma, nicht %1</translation>
    </message>
    <message>
        <source>--map needs COLUMN=FIELD, not %1</source>
        <translation>--map braucht SPALTE=FELD, nicht %1</translation>
    </message>
    <message>
        <source>--map %1: %2</source>
        <translation>--map %1: %2</translation>
    </message>
    <message>
        <source>Tellico stamp collection &quot;%1&quot;: %2 entries</source>
        <translation>Tellico-Briefmarkensammlung „%1“: %2 Einträge</translation>
    </message>
    <message>
        <source>%1: %2, %3-separated, %4 lines</source>
        <translation>%1: %2, getrennt durch %3, %4 Zeilen</translation>
    </message>
    <message>
        <source>  perlinex list [--filter TEXT] [--sort description|catalog|issued|COLUMN] [--folder DIR]
      print the collection list as the window shows it: a header row, then one
      tab-separated row a stamp. --filter keeps the stamps whose description,
      catalogue number, country, topic or notes hold every word (case and
      accents aside); --sort takes a Sort menu order or a column&apos;s name, with
      &quot;-&quot; before it for downwards; --folder is the collection&apos;s folder (default:
      the one named above).
</source>
        <translation>  perlinex list [--filter TEXT] [--sort description|catalog|issued|SPALTE] [--folder VERZ]
      die Sammlungsliste so ausgeben, wie das Fenster sie zeigt: eine Kopfzeile,
      dann eine durch Tabulatoren getrennte Zeile je Briefmarke. --filter behält
      die Briefmarken, deren Beschreibung, Katalognummer, Land, Motiv oder
      Notizen jedes Wort enthalten (ohne Rücksicht auf Groß- und Kleinschreibung
      und Akzente); --sort nimmt eine Ordnung des Menüs Sortieren oder den Namen
      einer Spalte, mit „-“ davor für absteigend; --folder ist der Ordner der
      Sammlung (Vorgabe: der oben genannte).
</translation>
    </message>
    <message>
        <source>list takes no words besides its options</source>
        <translation>list nimmt außer seinen Optionen keine Wörter</translation>
    </message>
    <message>
        <source>--sort takes description, catalog, issued or a column&apos;s name, not %1</source>
        <translation>--sort nimmt description, catalog, issued oder den Namen einer Spalte, nicht %1</translation>
    </message>
    <message>
        <source>the list could not be written to standard output</source>
        <translation>die Liste konnte nicht auf die Standardausgabe geschrieben werden</translation>
    </message>
    <message>
        <source>  perlinex report --layout FILE.rpt [--to text|html|pdf] [--output FILE] [--folder DIR]
      generate a saved custom report layout; --to defaults to the layout&apos;s own
      target (Screen/Printer writes a PDF), --output to stamp.txt, stamp.htm or
      stamp.pdf in the current folder; --output - writes a text or HTML report to
      standard output. The layout file and the collection&apos;s files are never
      written over. --folder is the collection&apos;s folder
      (default: %1).
</source>
        <translation>  perlinex report --layout DATEI.rpt [--to text|html|pdf] [--output DATEI] [--folder VERZ]
      eine gespeicherte Berichtsvorlage erstellen; --to ist ohne Angabe das Ziel
      der Vorlage (Bildschirm/Drucker schreibt ein PDF), --output ohne Angabe
      stamp.txt, stamp.htm oder stamp.pdf im aktuellen Ordner; --output - schreibt
      einen Text- oder HTML-Bericht auf die Standardausgabe. Die Vorlage und die
      Dateien der Sammlung werden nie überschrieben. --folder ist der Ordner der
      Sammlung (Vorgabe: %1).
</translation>
    </message>
    <message>
        <source>a layout report takes no NAME: %1</source>
        <translation>ein Vorlagenbericht nimmt keinen NAMEN: %1</translation>
    </message>
    <message>
        <source>--layout belongs to the report command</source>
        <translation>--layout gehört zum Befehl report</translation>
    </message>
    <message>
        <source>report needs --layout FILE.rpt</source>
        <translation>report braucht --layout DATEI.rpt</translation>
    </message>
    <message>
        <source>--to takes text, html or pdf, not %1</source>
        <translation>--to nimmt text, html oder pdf, nicht %1</translation>
    </message>
    <message>
        <source>--output needs a file name</source>
        <translation>--output braucht einen Dateinamen</translation>
    </message>
    <message>
        <source>a PDF cannot go to standard output; name a file with --output</source>
        <translation>ein PDF kann nicht auf die Standardausgabe gehen; nennen Sie mit --output eine Datei</translation>
    </message>
    <message>
        <source>the layout file &apos;%1&apos; could not be read: %2</source>
        <translation>die Vorlagendatei „%1“ konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>the layout file being read %1</source>
        <translation>die gelesene Vorlagendatei %1</translation>
    </message>
    <message>
        <source>the file is too large</source>
        <translation>die Datei ist zu groß</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>the layout&apos;s report goes to the screen, as a PDF, which cannot go to standard output; add --to text or --to html</source>
        <translation>der Bericht der Vorlage geht auf den Bildschirm, als PDF, das nicht auf die Standardausgabe gehen kann; geben Sie --to text oder --to html an</translation>
    </message>
    <message>
        <source>the file &apos;%1&apos; could not be written: %2</source>
        <translation>die Datei „%1“ konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Wrote %1 (%2)</source>
        <translation>%1 geschrieben (%2)</translation>
    </message>
    <message>
        <source>the report&apos;s totals are too large to be added up</source>
        <translation>die Summen des Berichts sind zu groß, um addiert zu werden</translation>
    </message>
    <message>
        <source>the report could not be written to standard output</source>
        <translation>der Bericht konnte nicht auf die Standardausgabe geschrieben werden</translation>
    </message>
    <message>
        <source>  perlinex report NAME [--entry ID] --to text|html|pdf --output FILE [--folder DIR]
      write a fixed report; NAME is one of %1.
      --entry picks one entry of a category report by its number (default: all);
      --folder is the collection&apos;s folder
      (default: %2).
      --output - writes a text or HTML report to standard output. A report is
      never written over a file of the collection (stamp.mdb, rptspec.mdb,
      stampdb.bak, the lock, anything in images/), nor over a folder, device,
      pipe or read-only file.
</source>
        <translation>  perlinex report NAME [--entry ID] --to text|html|pdf --output DATEI [--folder VERZ]
      einen festen Bericht schreiben; NAME ist einer von %1.
      --entry wählt einen Eintrag eines Kategorieberichts nach seiner Nummer (Vorgabe: alle);
      --folder ist der Ordner der Sammlung
      (Vorgabe: %2).
      --output - schreibt einen Text- oder HTML-Bericht auf die Standardausgabe. Ein
      Bericht überschreibt nie eine Datei der Sammlung (stamp.mdb, rptspec.mdb,
      stampdb.bak, die Sperrdatei, nichts in images/), auch keinen Ordner, kein
      Gerät, keine Pipe und keine schreibgeschützte Datei.
</translation>
    </message>
    <message>
        <source>report needs exactly one NAME</source>
        <translation>report braucht genau einen NAMEN</translation>
    </message>
    <message>
        <source>there is no report called %1</source>
        <translation>es gibt keinen Bericht namens %1</translation>
    </message>
    <message>
        <source>report needs --to text|html|pdf</source>
        <translation>report braucht --to text|html|pdf</translation>
    </message>
    <message>
        <source>report needs --output FILE</source>
        <translation>report braucht --output DATEI</translation>
    </message>
    <message>
        <source>--entry is for the category reports (country, type, format, topic) only</source>
        <translation>--entry gilt nur für die Kategorieberichte (country, type, format, topic)</translation>
    </message>
    <message>
        <source>--entry needs a positive whole number (an entry&apos;s number), not %1</source>
        <translation>--entry braucht eine positive ganze Zahl (die Nummer eines Eintrags), nicht %1</translation>
    </message>
    <message>
        <source>There is no %1 number %2</source>
        <translation>Es gibt keinen Eintrag „%1“ mit der Nummer %2</translation>
    </message>
    <message>
        <source>the report&apos;s amounts are too large to be added up</source>
        <translation>die Beträge des Berichts sind zu groß, um addiert zu werden</translation>
    </message>
    <message>
        <source>statistics takes no other words: %1</source>
        <translation>statistics nimmt keine weiteren Wörter: %1</translation>
    </message>
    <message>
        <source>--by takes %1, not %2</source>
        <translation>--by nimmt %1, nicht %2</translation>
    </message>
    <message>
        <source>  perlinex export --csv FILE|- [--filter TEXT] [--folder DIR] [--pictures DIR]
      write every stamp, in description order, as a CSV file (- for standard
      output); --filter writes only the stamps the list&apos;s filter of TEXT keeps,
      as perlinex list --filter lists them; --pictures copies the pictures into
      DIR and names them in the picture column.
  perlinex import --csv FILE [--folder DIR] [--dry-run] [--good-lines-only]
                  [--skip-duplicates] [--map COLUMN=FIELD]... [--encoding E]
                  [--delimiter comma|semicolon|tab] [--decimal point|comma]
  perlinex import --tellico FILE.tc [--folder DIR] [--dry-run] [--good-lines-only]
                  [--skip-duplicates] [--map COLUMN=FIELD]...
      add the stamps of a CSV file or a Tellico stamp collection, all in one
      step. Refused lines are listed on standard error and nothing is stored
      (status 1) unless --good-lines-only is given; --dry-run shows what would
      be stored; --map gives a column another field, &quot;notes&quot; or &quot;skip&quot;.
</source>
        <translation>  perlinex export --csv DATEI|- [--filter TEXT] [--folder VERZ] [--pictures VERZ]
      jede Briefmarke nach Beschreibung geordnet als CSV-Datei schreiben (- für die
      Standardausgabe); --filter schreibt nur die Briefmarken, die der Filter TEXT
      der Liste behält, so wie perlinex list --filter sie aufführt; --pictures
      kopiert die Bilder nach VERZ und nennt sie in der Bildspalte.
  perlinex import --csv DATEI [--folder VERZ] [--dry-run] [--good-lines-only]
                  [--skip-duplicates] [--map SPALTE=FELD]... [--encoding E]
                  [--delimiter comma|semicolon|tab] [--decimal point|comma]
  perlinex import --tellico DATEI.tc [--folder VERZ] [--dry-run] [--good-lines-only]
                  [--skip-duplicates] [--map SPALTE=FELD]...
      die Briefmarken einer CSV-Datei oder einer Tellico-Briefmarkensammlung in
      einem Schritt hinzufügen. Abgewiesene Zeilen werden auf der Standard-
      fehlerausgabe aufgeführt, und nichts wird gespeichert (Status 1), außer mit
      --good-lines-only; --dry-run zeigt, was gespeichert würde; --map gibt einer
      Spalte ein anderes Feld, „notes“ oder „skip“.
</translation>
    </message>
    <message>
        <source>  perlinex statistics [--folder DIR] [--filter TEXT] [--by %1] [--csv]
      the figures of the Statistics window: the collection at a glance, or its
      stamps by one of these (the 15 largest entries, Other, Unclassified);
      tab-separated with a heading row, or comma-separated values with --csv.
      --filter takes the figures over the stamps the list&apos;s filter of TEXT
      keeps, and the first heading says so.
</source>
        <translation>  perlinex statistics [--folder VERZ] [--filter TEXT] [--by %1] [--csv]
      die Zahlen des Statistikfensters: die Sammlung im Überblick oder ihre
      Briefmarken nach einem davon (die 15 größten Einträge, Sonstige, Nicht
      zugeordnet); durch Tabulatoren getrennt mit einer Kopfzeile, oder mit --csv
      als kommagetrennte Werte. --filter nimmt die Zahlen über die Briefmarken,
      die der Filter TEXT der Liste behält, und die erste Überschrift sagt es.
</translation>
    </message>
    <message>
        <source>%1 (filtered: %2)</source>
        <translation>%1 (gefiltert: %2)</translation>
    </message>
    <message>
        <source>Wrote %1 to %2</source>
        <translation>%1 nach %2 geschrieben</translation>
    </message>
    <message>
        <source>Stored %1</source>
        <translation>%1 gespeichert</translation>
    </message>
    <message>
        <source>1 refused line was left out.</source>
        <translation>1 abgewiesene Zeile wurde ausgelassen.</translation>
    </message>
    <message numerus="yes">
        <source>%n refused lines were left out.</source>
        <translation>
            <numerusform>%n abgewiesene Zeile wurde ausgelassen.</numerusform>
            <numerusform>%n abgewiesene Zeilen wurden ausgelassen.</numerusform>
        </translation>
    </message>
    <message>
        <source>1 stamp equal to one in the collection was left out.</source>
        <translation>1 Briefmarke, die einer in der Sammlung gleicht, wurde ausgelassen.</translation>
    </message>
    <message numerus="yes">
        <source>%n stamps equal to ones in the collection were left out.</source>
        <translation>
            <numerusform>%n Briefmarke, die einer in der Sammlung gleicht, wurde ausgelassen.</numerusform>
            <numerusform>%n Briefmarken, die solchen in der Sammlung gleichen, wurden ausgelassen.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 on %2</source>
        <translation>%1 auf %2</translation>
    </message>
    <message>
        <source>The shared collection %1 is whole.</source>
        <translation>Die gemeinsame Sammlung %1 ist unbeschädigt.</translation>
    </message>
    <message>
        <source>The shared collection %1 is damaged:</source>
        <translation>Die gemeinsame Sammlung %1 ist beschädigt:</translation>
    </message>
    <message>
        <source>Nothing has been changed.</source>
        <translation>Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>check takes a FOLDER or --server, not both</source>
        <translation>check nimmt einen ORDNER oder --server, nicht beides</translation>
    </message>
</context>
<context>
    <name>Counts</name>
    <message>
        <source>1 stamp</source>
        <translation>1 Briefmarke</translation>
    </message>
    <message>
        <source>1 code entry</source>
        <translation>1 Eintrag der Codetabellen</translation>
    </message>
    <message numerus="yes">
        <source>%n code entries</source>
        <translation>
            <numerusform>%n Eintrag der Codetabellen</numerusform>
            <numerusform>%n Einträge der Codetabellen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n stamps</source>
        <translation>
            <numerusform>%n Briefmarke</numerusform>
            <numerusform>%n Briefmarken</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CsvExport</name>
    <message>
        <source>The folder &apos;%1&apos; could not be made.</source>
        <translation>Der Ordner „%1“ konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>The picture &apos;%1&apos; could not be read: %2.</source>
        <translation>Das Bild „%1“ konnte nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>The file &apos;%1&apos; could not be written: %2.</source>
        <translation>Die Datei „%1“ konnte nicht geschrieben werden: %2.</translation>
    </message>
</context>
<context>
    <name>CustomReport</name>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>The report could not be made: the collection could not answer its query.

%1</source>
        <translation>Der Bericht konnte nicht erstellt werden: Die Sammlung konnte seine Abfrage nicht beantworten.

%1</translation>
    </message>
    <message>
        <source>The report&apos;s totals are too large to be added up; nothing has been written.</source>
        <translation>Die Summen des Berichts sind zu groß, um addiert zu werden; es wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>The file &apos;%1&apos; could not be written; nothing has been changed.
%2</source>
        <translation>Die Datei „%1“ konnte nicht geschrieben werden; es wurde nichts geändert.
%2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; under %2 of the field %3 is not a number. Correct it or leave it blank; no report has been made.</source>
        <translation>„%1“ unter „%2“ des Feldes %3 ist keine Zahl. Berichtigen Sie den Wert, oder lassen Sie ihn leer; es wurde kein Bericht erstellt.</translation>
    </message>
    <message>
        <source>The text under Starts With of the field %1 holds a NUL character, which is not a valid value. Correct it or leave it blank; no report has been made.</source>
        <translation>Der Text unter „Beginnt mit“ des Feldes %1 enthält ein NUL-Zeichen, das kein gültiger Wert ist. Berichtigen Sie ihn, oder lassen Sie ihn leer; es wurde kein Bericht erstellt.</translation>
    </message>
    <message>
        <source>Less Than</source>
        <translation>Kleiner als</translation>
    </message>
    <message>
        <source>Greater Than</source>
        <translation>Größer als</translation>
    </message>
    <message>
        <source>Every field of the report is hidden, so the report would have no columns. Clear &quot;Hide Field&quot; for at least one field.</source>
        <translation>Alle Felder des Berichts sind ausgeblendet, der Bericht hätte also keine Spalten. Schalten Sie „Feld ausblenden“ für mindestens ein Feld aus.</translation>
    </message>
    <message>
        <source>You have not selected any fields to include in the report</source>
        <translation>Sie haben keine Felder für den Bericht ausgewählt</translation>
    </message>
    <message>
        <source>No records have been entered that may be included in the specified report</source>
        <translation>Es gibt keine Einträge, die in diesen Bericht aufgenommen werden können</translation>
    </message>
    <message>
        <source>No collection is open.</source>
        <translation>Keine Sammlung geöffnet.</translation>
    </message>
    <message>
        <source>Page %d</source>
        <translation>Seite %d</translation>
    </message>
    <message>
        <source>|Page %d|</source>
        <translation>|Seite %d|</translation>
    </message>
</context>
<context>
    <name>Database</name>
    <message>
        <source>taking the lock</source>
        <translation>beim Sperren</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid path: the folder does not exist.</source>
        <translation>„%1“ ist kein gültiger Pfad: Der Ordner existiert nicht.</translation>
    </message>
    <message>
        <source>Could not find file &apos;%1&apos;.</source>
        <translation>Die Datei „%1“ wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The database &apos;%1&apos; is damaged: its header is not valid.</source>
        <translation>Die Datenbank „%1“ ist beschädigt: Ihr Kopf ist ungültig.</translation>
    </message>
    <message>
        <source>The database &apos;%1&apos; cannot be changed: %2.</source>
        <translation>Die Datenbank „%1“ kann nicht geändert werden: %2.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; already exists.</source>
        <translation>„%1“ ist schon vorhanden.</translation>
    </message>
    <message>
        <source>the file is read-only</source>
        <translation>die Datei ist schreibgeschützt</translation>
    </message>
    <message>
        <source>its folder &apos;%1&apos; is read-only</source>
        <translation>ihr Ordner „%1“ ist schreibgeschützt</translation>
    </message>
    <message>
        <source>No database is open.</source>
        <translation>Keine Datenbank geöffnet.</translation>
    </message>
</context>
<context>
    <name>DurableFile</name>
    <message>
        <source>a folder</source>
        <translation>ein Ordner</translation>
    </message>
    <message>
        <source>a named pipe (FIFO)</source>
        <translation>eine benannte Pipe (FIFO)</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>ein Socket</translation>
    </message>
    <message>
        <source>a device</source>
        <translation>ein Gerät</translation>
    </message>
    <message>
        <source>a special file</source>
        <translation>eine Spezialdatei</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is %2, which Perlinex never writes over.</source>
        <translation>„%1“ ist %2, das Perlinex nie überschreibt.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; leads to %2, which Perlinex never writes over.</source>
        <translation>„%1“ führt zu %2, das Perlinex nie überschreibt.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is another name (a hard link) for %2, which Perlinex never writes over.</source>
        <translation>„%1“ ist ein anderer Name (ein harter Link) für %2, das Perlinex nie überschreibt.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is in %2, where Perlinex never writes a file.</source>
        <translation>„%1“ liegt in %2, wo Perlinex nie eine Datei schreibt.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; leads into %2, where Perlinex never writes a file.</source>
        <translation>„%1“ führt in %2, wo Perlinex nie eine Datei schreibt.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is another name (a hard link) for a file in %2, which Perlinex never writes over.</source>
        <translation>„%1“ ist ein anderer Name (ein harter Link) für eine Datei in %2, die Perlinex nie überschreibt.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is %2, not a regular file; Perlinex writes a file only where there is none or a regular file.</source>
        <translation>„%1“ ist %2, keine gewöhnliche Datei; Perlinex schreibt eine Datei nur dort, wo keine oder eine gewöhnliche Datei ist.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is read-only; Perlinex does not replace a file that may not be changed.</source>
        <translation>„%1“ ist schreibgeschützt; Perlinex ersetzt keine Datei, die nicht geändert werden darf.</translation>
    </message>
    <message>
        <source>Could not write &apos;%1&apos;</source>
        <translation>„%1“ konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>there is not enough space on the disk</source>
        <translation>auf dem Datenträger ist nicht genug Platz</translation>
    </message>
    <message>
        <source>Could not open &apos;%1&apos; to write it to disk</source>
        <translation>„%1“ konnte nicht zum Schreiben geöffnet werden</translation>
    </message>
    <message>
        <source>Could not write &apos;%1&apos; to disk</source>
        <translation>„%1“ konnte nicht auf den Datenträger geschrieben werden</translation>
    </message>
    <message>
        <source>Could not rename &apos;%1&apos; to &apos;%2&apos;</source>
        <translation>„%1“ konnte nicht in „%2“ umbenannt werden</translation>
    </message>
    <message>
        <source>Could not read &apos;%1&apos;</source>
        <translation>„%1“ konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>Could not read &apos;%1&apos;: %2.</source>
        <translation>„%1“ konnte nicht gelesen werden: %2.</translation>
    </message>
</context>
<context>
    <name>ErrorHandler</name>
    <message>
        <source>The collection %1 is damaged:
%2

It is read-only, so Perlinex cannot repair it. Copy its folder to where it can be changed and run &quot;perlinex repair&quot; there. Perlinex ends now.</source>
        <translation>Die Sammlung %1 ist beschädigt:
%2

Sie ist schreibgeschützt, darum kann Perlinex sie nicht reparieren. Kopieren Sie ihren Ordner an einen Ort, an dem er geändert werden kann, und führen Sie dort „perlinex repair“ aus. Perlinex wird jetzt beendet.</translation>
    </message>
    <message>
        <source>Damaged Collection</source>
        <translation>Beschädigte Sammlung</translation>
    </message>
    <message>
        <source>The collection %1 is damaged:
%2

Do you want to put back the copy kept by the last compaction (%3, saved %4)?

Choose No to recover what can still be read from the damaged file. Either way the damaged file is kept.</source>
        <translation>Die Sammlung %1 ist beschädigt:
%2

Wollen Sie die bei der letzten Komprimierung aufbewahrte Kopie (%3, gespeichert %4) zurückholen?

Wählen Sie „Nein“, um zu retten, was sich aus der beschädigten Datei noch lesen lässt. In beiden Fällen wird die beschädigte Datei aufbewahrt.</translation>
    </message>
    <message>
        <source>The collection %1 held about %2, but only %3 and %4 could be recovered from it.

Do you want to replace the damaged file with what was recovered?

Choose No to leave the damaged file as it is, so that another tool can be tried; Perlinex then ends.</source>
        <translation>Die Sammlung %1 enthielt etwa %2, aber nur %3 und %4 konnten daraus gerettet werden.

Wollen Sie die beschädigte Datei durch das Gerettete ersetzen?

Wählen Sie „Nein“, um die beschädigte Datei unverändert zu lassen, damit ein anderes Werkzeug versucht werden kann; Perlinex wird dann beendet.</translation>
    </message>
    <message>
        <source>The damaged collection has been left as it was in %1. Perlinex ends now.</source>
        <translation>Die beschädigte Sammlung wurde unverändert in %1 belassen. Perlinex wird jetzt beendet.</translation>
    </message>
    <message>
        <source>The collection %1 was damaged and has been repaired: %2 and %3 were recovered.</source>
        <translation>Die Sammlung %1 war beschädigt und wurde repariert: %2 und %3 wurden wiederhergestellt.</translation>
    </message>
    <message>
        <source>The collection %1 is damaged and could not be repaired.

%2

Nothing has been overwritten.</source>
        <translation>Die Sammlung %1 ist beschädigt und konnte nicht repariert werden.

%2

Es wurde nichts überschrieben.</translation>
    </message>
    <message>
        <source>There was an error accessing the database file.  Aborting...</source>
        <translation>Beim Zugriff auf die Datenbankdatei ist ein Fehler aufgetreten. Abbruch …</translation>
    </message>
    <message>
        <source>Could not update locked record.  Do you wish to try again?</source>
        <translation>Der gesperrte Eintrag konnte nicht gespeichert werden. Wollen Sie es noch einmal versuchen?</translation>
    </message>
    <message>
        <source>Locked Record</source>
        <translation>Gesperrter Eintrag</translation>
    </message>
    <message>
        <source>

At least one row could not be read.</source>
        <translation>

Mindestens eine Zeile konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>

At least %1 rows could not be read.</source>
        <translation>

Mindestens %1 Zeilen konnten nicht gelesen werden.</translation>
    </message>
    <message>
        <source>

%1 values could only be read in part.</source>
        <translation>

%1 Werte konnten nur teilweise gelesen werden.</translation>
    </message>
    <message>
        <source>

The damaged file has been kept as %1.</source>
        <translation>

Die beschädigte Datei wurde als %1 aufbewahrt.</translation>
    </message>
</context>
<context>
    <name>ExchangeWindow</name>
    <message>
        <source>Export CSV</source>
        <translation>CSV exportieren</translation>
    </message>
    <message>
        <source>CSV Files (*.csv)|*.csv|All Files (*.*)|*.*</source>
        <translation>CSV-Dateien (*.csv)|*.csv|Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>Copy pictures into a folder beside the file?

The stamps&apos; pictures go into the folder &apos;%1&apos;, and the file&apos;s picture column names each one.</source>
        <translation>Bilder in einen Ordner neben der Datei kopieren?

Die Bilder der Briefmarken kommen in den Ordner „%1“, und die Bildspalte der Datei nennt jedes einzelne.</translation>
    </message>
    <message>
        <source>Writing the stamps...</source>
        <translation>Die Briefmarken werden geschrieben …</translation>
    </message>
    <message>
        <source>The file &apos;%1&apos; could not be written; nothing has been changed.
%2</source>
        <translation>Die Datei „%1“ konnte nicht geschrieben werden; es wurde nichts geändert.
%2</translation>
    </message>
    <message>
        <source>The stamps could not be read; nothing has been written.
%1</source>
        <translation>Die Briefmarken konnten nicht gelesen werden; es wurde nichts geschrieben.
%1</translation>
    </message>
    <message>
        <source>The export was cancelled; nothing has been written.</source>
        <translation>Der Export wurde abgebrochen; es wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>Stamps written to &apos;%1&apos;: %2.</source>
        <translation>In „%1“ geschriebene Briefmarken: %2.</translation>
    </message>
    <message>
        <source>Pictures copied into &apos;%1&apos;: %2.</source>
        <translation>Nach „%1“ kopierte Bilder: %2.</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Import</translation>
    </message>
</context>
<context>
    <name>Fields</name>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Catalog Num</source>
        <translation>Katalog-Nr.</translation>
    </message>
    <message>
        <source>Face Value</source>
        <translation>Nennwert</translation>
    </message>
    <message>
        <source>You must enter a number in the &apos;Face Value&apos; field, or leave it blank</source>
        <translation>Geben Sie im Feld „Nennwert“ eine Zahl ein, oder lassen Sie es leer</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>You must enter a number in the Year field, or leave it blank</source>
        <translation>Geben Sie im Feld „Jahr“ eine Zahl ein, oder lassen Sie es leer</translation>
    </message>
    <message>
        <source>Used</source>
        <translation>Gestempelt</translation>
    </message>
    <message>
        <source>Want List</source>
        <translation>Fehlliste</translation>
    </message>
    <message>
        <source>Quantity</source>
        <translation>Anzahl</translation>
    </message>
    <message>
        <source>Country</source>
        <translation>Land</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Paper</source>
        <translation>Papier</translation>
    </message>
    <message>
        <source>Cancellation</source>
        <translation>Entwertung</translation>
    </message>
    <message>
        <source>Perforation</source>
        <translation>Zähnung</translation>
    </message>
    <message>
        <source>Topic</source>
        <translation>Motiv</translation>
    </message>
    <message>
        <source>Gum</source>
        <translation>Gummierung</translation>
    </message>
    <message>
        <source>Condition</source>
        <translation>Erhaltung</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Watermark</source>
        <translation>Wasserzeichen</translation>
    </message>
    <message>
        <source>Errors</source>
        <translation>Abarten</translation>
    </message>
    <message>
        <source>Issue Date</source>
        <translation>Ausgabedatum</translation>
    </message>
    <message>
        <source>You must enter a valid issue date, or leave the field blank.</source>
        <translation>Geben Sie ein gültiges Ausgabedatum ein, oder lassen Sie das Feld leer.</translation>
    </message>
    <message>
        <source>Price Paid</source>
        <translation>Kaufpreis</translation>
    </message>
    <message>
        <source>Total Paid</source>
        <translation>Summe bezahlt</translation>
    </message>
    <message>
        <source>Catalog Value</source>
        <translation>Katalogwert</translation>
    </message>
    <message>
        <source>Total Value</source>
        <translation>Summe Katalogwert</translation>
    </message>
    <message>
        <source>Selling Price</source>
        <translation>Verkaufspreis</translation>
    </message>
    <message>
        <source>Total Sales</source>
        <translation>Summe Verkauf</translation>
    </message>
    <message>
        <source>For Sale</source>
        <translation>Zu verkaufen</translation>
    </message>
    <message>
        <source>Purchase Date</source>
        <translation>Kaufdatum</translation>
    </message>
    <message>
        <source>You must enter a valid purchase date, or leave the field blank.</source>
        <translation>Geben Sie ein gültiges Kaufdatum ein, oder lassen Sie das Feld leer.</translation>
    </message>
    <message>
        <source>Sold</source>
        <translation>Verkauft</translation>
    </message>
    <message>
        <source>Date Sold</source>
        <translation>Verkaufsdatum</translation>
    </message>
    <message>
        <source>You must enter a valid sold date, or leave the field blank.</source>
        <translation>Geben Sie ein gültiges Verkaufsdatum ein, oder lassen Sie das Feld leer.</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notizen</translation>
    </message>
    <message>
        <source>Misc. 1</source>
        <translation>Sonstiges 1</translation>
    </message>
    <message>
        <source>Misc. 2</source>
        <translation>Sonstiges 2</translation>
    </message>
    <message>
        <source>C&amp;ancellations</source>
        <translation>Ent&amp;wertungen</translation>
    </message>
    <message>
        <source>Maintain Cancellations</source>
        <translation>Entwertungen pflegen</translation>
    </message>
    <message>
        <source>Cancellation Description</source>
        <translation>Bezeichnung der Entwertung</translation>
    </message>
    <message>
        <source>cancellation</source>
        <translation>Entwertung</translation>
    </message>
    <message>
        <source>Are you sure that you want to delete this Cancellation?</source>
        <translation>Wollen Sie diese Entwertung wirklich löschen?</translation>
    </message>
    <message>
        <source>Delete Cancellation</source>
        <translation>Entwertung löschen</translation>
    </message>
    <message>
        <source>This cancellation is in use in a stamp record</source>
        <translation>Diese Entwertung wird in einem Briefmarkeneintrag verwendet</translation>
    </message>
    <message>
        <source>Con&amp;ditions</source>
        <translation>&amp;Erhaltungen</translation>
    </message>
    <message>
        <source>Maintain Conditions</source>
        <translation>Erhaltungen pflegen</translation>
    </message>
    <message>
        <source>Condition Description</source>
        <translation>Bezeichnung der Erhaltung</translation>
    </message>
    <message>
        <source>condition</source>
        <translation>Erhaltung</translation>
    </message>
    <message>
        <source>Are you sure that you want to delete this condition?</source>
        <translation>Wollen Sie diese Erhaltung wirklich löschen?</translation>
    </message>
    <message>
        <source>Delete Condition</source>
        <translation>Erhaltung löschen</translation>
    </message>
    <message>
        <source>This condition is in use in a stamp record</source>
        <translation>Diese Erhaltung wird in einem Briefmarkeneintrag verwendet</translation>
    </message>
    <message>
        <source>&amp;Countries</source>
        <translation>&amp;Länder</translation>
    </message>
    <message>
        <source>Maintain Countries</source>
        <translation>Länder pflegen</translation>
    </message>
    <message>
        <source>Country Description</source>
        <translation>Bezeichnung des Landes</translation>
    </message>
    <message>
        <source>country</source>
        <translation>Land</translation>
    </message>
    <message>
        <source>Are you sure that you want to delete this country?</source>
        <translation>Wollen Sie dieses Land wirklich löschen?</translation>
    </message>
    <message>
        <source>Delete Country</source>
        <translation>Land löschen</translation>
    </message>
    <message>
        <source>This country is in use in a stamp record</source>
        <translation>Dieses Land wird in einem Briefmarkeneintrag verwendet</translation>
    </message>
    <message>
        <source>&amp;Formats</source>
        <translation>&amp;Formate</translation>
    </message>
    <message>
        <source>Maintain Formats</source>
        <translation>Formate pflegen</translation>
    </message>
    <message>
        <source>Format Description</source>
        <translation>Bezeichnung des Formats</translation>
    </message>
    <message>
        <source>format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Are you sure that you want to delete this format?</source>
        <translation>Wollen Sie dieses Format wirklich löschen?</translation>
    </message>
    <message>
        <source>Delete Format</source>
        <translation>Format löschen</translation>
    </message>
    <message>
        <source>This format is in use in a stamp record</source>
        <translation>Dieses Format wird in einem Briefmarkeneintrag verwendet</translation>
    </message>
    <message>
        <source>&amp;Gum</source>
        <translation>&amp;Gummierungen</translation>
    </message>
    <message>
        <source>Maintain Gum Types</source>
        <translation>Gummierungen pflegen</translation>
    </message>
    <message>
        <source>Gum Description</source>
        <translation>Bezeichnung der Gummierung</translation>
    </message>
    <message>
        <source>gum</source>
        <translation>Gummierung</translation>
    </message>
    <message>
        <source>Are you sure that you want to delete this gum type?</source>
        <translation>Wollen Sie diese Gummierung wirklich löschen?</translation>
    </message>
    <message>
        <source>Delete Gum</source>
        <translation>Gummierung löschen</translation>
    </message>
    <message>
        <source>This gum is in use in a stamp record</source>
        <translation>Diese Gummierung wird in einem Briefmarkeneintrag verwendet</translation>
    </message>
    <message>
        <source>&amp;Papers</source>
        <translation>&amp;Papiere</translation>
    </message>
    <message>
        <source>Maintain Papers</source>
        <translation>Papiere pflegen</translation>
    </message>
    <message>
        <source>Paper Description</source>
        <translation>Bezeichnung des Papiers</translation>
    </message>
    <message>
        <source>paper</source>
        <translation>Papier</translation>
    </message>
    <message>
        <source>Are you sure that you want to delete this paper?</source>
        <translation>Wollen Sie dieses Papier wirklich löschen?</translation>
    </message>
    <message>
        <source>Delete Paper</source>
        <translation>Papier löschen</translation>
    </message>
    <message>
        <source>This paper is in use in a stamp record</source>
        <translation>Dieses Papier wird in einem Briefmarkeneintrag verwendet</translation>
    </message>
    <message>
        <source>P&amp;erformations</source>
        <translation>&amp;Zähnungen</translation>
    </message>
    <message>
        <source>Maintain Perforations</source>
        <translation>Zähnungen pflegen</translation>
    </message>
    <message>
        <source>Perforation Description</source>
        <translation>Bezeichnung der Zähnung</translation>
    </message>
    <message>
        <source>perforation</source>
        <translation>Zähnung</translation>
    </message>
    <message>
        <source>Are you sure that you want to delete this perforation?</source>
        <translation>Wollen Sie diese Zähnung wirklich löschen?</translation>
    </message>
    <message>
        <source>Delete Perforation</source>
        <translation>Zähnung löschen</translation>
    </message>
    <message>
        <source>This perforation is in use in a stamp record</source>
        <translation>Diese Zähnung wird in einem Briefmarkeneintrag verwendet</translation>
    </message>
    <message>
        <source>T&amp;opics</source>
        <translation>&amp;Motive</translation>
    </message>
    <message>
        <source>Maintain Topics</source>
        <translation>Motive pflegen</translation>
    </message>
    <message>
        <source>Topic Description</source>
        <translation>Bezeichnung des Motivs</translation>
    </message>
    <message>
        <source>topic</source>
        <translation>Motiv</translation>
    </message>
    <message>
        <source>Are you sure that you want to delete this topic?</source>
        <translation>Wollen Sie dieses Motiv wirklich löschen?</translation>
    </message>
    <message>
        <source>Delete Topic</source>
        <translation>Motiv löschen</translation>
    </message>
    <message>
        <source>This topic is in use in a stamp record</source>
        <translation>Dieses Motiv wird in einem Briefmarkeneintrag verwendet</translation>
    </message>
    <message>
        <source>&amp;Types</source>
        <translation>&amp;Typen</translation>
    </message>
    <message>
        <source>Maintain Types</source>
        <translation>Typen pflegen</translation>
    </message>
    <message>
        <source>Type Description</source>
        <translation>Bezeichnung des Typs</translation>
    </message>
    <message>
        <source>type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Are you sure that you want to delete this type?</source>
        <translation>Wollen Sie diesen Typ wirklich löschen?</translation>
    </message>
    <message>
        <source>Delete Type</source>
        <translation>Typ löschen</translation>
    </message>
    <message>
        <source>This type is in use in a stamp record</source>
        <translation>Dieser Typ wird in einem Briefmarkeneintrag verwendet</translation>
    </message>
</context>
<context>
    <name>FileProbe</name>
    <message>
        <source>a missing file</source>
        <translation>eine fehlende Datei</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>ein Ordner</translation>
    </message>
    <message>
        <source>a file that cannot be read (%1)</source>
        <translation>eine Datei, die nicht gelesen werden kann (%1)</translation>
    </message>
    <message>
        <source>an empty file</source>
        <translation>eine leere Datei</translation>
    </message>
    <message>
        <source>an SQLite database</source>
        <translation>eine SQLite-Datenbank</translation>
    </message>
    <message>
        <source>a Microsoft Access database</source>
        <translation>eine Microsoft-Access-Datenbank</translation>
    </message>
    <message>
        <source>a damaged SQLite database</source>
        <translation>eine beschädigte SQLite-Datenbank</translation>
    </message>
    <message>
        <source>a PDF document</source>
        <translation>ein PDF-Dokument</translation>
    </message>
    <message>
        <source>a ZIP archive or office document</source>
        <translation>ein ZIP-Archiv oder Office-Dokument</translation>
    </message>
    <message>
        <source>a PNG picture</source>
        <translation>ein PNG-Bild</translation>
    </message>
    <message>
        <source>a JPEG picture</source>
        <translation>ein JPEG-Bild</translation>
    </message>
    <message>
        <source>a GIF picture</source>
        <translation>ein GIF-Bild</translation>
    </message>
    <message>
        <source>a bitmap picture</source>
        <translation>ein Bitmap-Bild</translation>
    </message>
    <message>
        <source>a text file</source>
        <translation>eine Textdatei</translation>
    </message>
    <message>
        <source>a file of an unknown kind</source>
        <translation>eine Datei unbekannter Art</translation>
    </message>
</context>
<context>
    <name>FileTarget</name>
    <message>
        <source>%1

Nothing has been written; choose another file name.</source>
        <translation>%1

Es wurde nichts geschrieben; wählen Sie einen anderen Dateinamen.</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Bericht</translation>
    </message>
    <message>
        <source>%1 written to %2</source>
        <translation>%1 in %2 geschrieben</translation>
    </message>
    <message>
        <source>Report Written</source>
        <translation>Bericht geschrieben</translation>
    </message>
</context>
<context>
    <name>FolderLock</name>
    <message>
        <source>The collection &apos;%1&apos; cannot be locked: %2.</source>
        <translation>Die Sammlung „%1“ kann nicht gesperrt werden: %2.</translation>
    </message>
</context>
<context>
    <name>ImportPlan</name>
    <message>
        <source>&apos;%2&apos; is not an amount of money that the %1 can hold</source>
        <translation>„%2“ ist kein Geldbetrag, den %1 fassen kann</translation>
    </message>
    <message>
        <source>&apos;%2&apos; is not a date that the %1 can hold</source>
        <translation>„%2“ ist kein Datum, das %1 fassen kann</translation>
    </message>
    <message>
        <source>&apos;%2&apos; is not a year that the %1 can hold</source>
        <translation>„%2“ ist kein Jahr, das %1 fassen kann</translation>
    </message>
    <message>
        <source>&apos;%2&apos; is not a whole number that the %1 can hold</source>
        <translation>„%2“ ist keine ganze Zahl, die %1 fassen kann</translation>
    </message>
    <message>
        <source>Column %1</source>
        <translation>Spalte %1</translation>
    </message>
    <message>
        <source>the picture &apos;%1&apos; was not found; its name is kept in the notes</source>
        <translation>das Bild „%1“ wurde nicht gefunden; sein Name bleibt in den Notizen</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>ja</translation>
    </message>
    <message>
        <source>no</source>
        <translation>nein</translation>
    </message>
    <message>
        <source>%1 (new)</source>
        <translation>%1 (neu)</translation>
    </message>
</context>
<context>
    <name>ImportSource</name>
    <message>
        <source>it is not a file</source>
        <translation>es ist keine Datei</translation>
    </message>
    <message>
        <source>there is no such file</source>
        <translation>diese Datei gibt es nicht</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>die Datei ist leer</translation>
    </message>
    <message>
        <source>a quoted value begins here and is never closed; nothing from here on is read</source>
        <translation>hier beginnt ein Wert in Anführungszeichen, der nie geschlossen wird; ab hier wird nichts gelesen</translation>
    </message>
    <message>
        <source>The file &apos;%1&apos; could not be read: %2.</source>
        <translation>Die Datei „%1“ konnte nicht gelesen werden: %2.</translation>
    </message>
</context>
<context>
    <name>ImportStore</name>
    <message>
        <source>Picture: %1 (%2)</source>
        <translation>Bild: %1 (%2)</translation>
    </message>
    <message>
        <source>the picture &apos;%1&apos; could not be read (%2); the stamp is stored without it and its name is kept in the notes</source>
        <translation>das Bild „%1“ konnte nicht gelesen werden (%2); die Briefmarke wird ohne es gespeichert, und sein Name bleibt in den Notizen</translation>
    </message>
    <message>
        <source>%1 The picture is put in place when Perlinex next opens the collection.</source>
        <translation>%1 Das Bild wird an seinen Platz gebracht, wenn Perlinex die Sammlung das nächste Mal öffnet.</translation>
    </message>
</context>
<context>
    <name>LayoutFile</name>
    <message>
        <source>&quot;%1&quot; is not a whole number from %2 to %3</source>
        <translation>„%1“ ist keine ganze Zahl von %2 bis %3</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is neither 0 nor 1</source>
        <translation>„%1“ ist weder 0 noch 1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a number</source>
        <translation>„%1“ ist keine Zahl</translation>
    </message>
    <message>
        <source>%1 is not a date from the years 100 to 9999</source>
        <translation>%1 ist kein Datum aus den Jahren 100 bis 9999</translation>
    </message>
    <message>
        <source>it has %1 items for %2 fields</source>
        <translation>sie hat %1 Angaben für %2 Felder</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a field&apos;s number</source>
        <translation>„%1“ ist keine Feldnummer</translation>
    </message>
    <message>
        <source>the file has %1 lines of %2</source>
        <translation>die Datei hat %1 von %2 Zeilen</translation>
    </message>
    <message>
        <source>the field catalogue has no fields for &quot;%1&quot;</source>
        <translation>der Feldkatalog hat keine Felder für „%1“</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a width</source>
        <translation>„%1“ ist keine Breite</translation>
    </message>
    <message>
        <source>This does not appear to be a valid report file for this program.</source>
        <translation>Dies scheint keine gültige Berichtsdatei dieses Programms zu sein.</translation>
    </message>
    <message>
        <source>Invalid Report File</source>
        <translation>Ungültige Berichtsdatei</translation>
    </message>
</context>
<context>
    <name>Maintenance</name>
    <message>
        <source>The collection %1 is a symbolic link to %2, which cannot be reached: %3.</source>
        <translation>Die Sammlung %1 ist ein symbolischer Link auf %2, das nicht erreichbar ist: %3.</translation>
    </message>
    <message>
        <source>The collection %1 is a symbolic link that leads round in a circle. Perlinex has not changed it; make the link lead to the collection file, or remove it.</source>
        <translation>Die Sammlung %1 ist ein symbolischer Link, der im Kreis führt. Perlinex hat ihn nicht geändert; lassen Sie den Link auf die Sammlungsdatei zeigen, oder entfernen Sie ihn.</translation>
    </message>
    <message>
        <source>The collection %1 is a symbolic link to %2, which does not exist. Perlinex has not made a new collection in its place; put the collection file back where the link leads, or remove the link.</source>
        <translation>Die Sammlung %1 ist ein symbolischer Link auf %2, das nicht existiert. Perlinex hat an seiner Stelle keine neue Sammlung angelegt; legen Sie die Sammlungsdatei dorthin zurück, wohin der Link zeigt, oder entfernen Sie den Link.</translation>
    </message>
    <message>
        <source>There is not enough space on the disk to repair the collection. The damaged file has been left where it was.</source>
        <translation>Auf dem Datenträger ist nicht genug Platz, um die Sammlung zu reparieren. Die beschädigte Datei bleibt, wo sie war.</translation>
    </message>
    <message>
        <source>a named pipe, not a file</source>
        <translation>eine benannte Pipe, keine Datei</translation>
    </message>
    <message>
        <source>a socket, not a file</source>
        <translation>ein Socket, keine Datei</translation>
    </message>
    <message>
        <source>a device, not a file</source>
        <translation>ein Gerät, keine Datei</translation>
    </message>
    <message>
        <source>not a file</source>
        <translation>keine Datei</translation>
    </message>
    <message>
        <source>a link that leads round in a circle</source>
        <translation>ein Link, der im Kreis führt</translation>
    </message>
    <message>
        <source>a link that leads nowhere</source>
        <translation>ein Link, der ins Leere führt</translation>
    </message>
    <message>
        <source>the folder could not be read: %1</source>
        <translation>der Ordner konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>the folder could not be read to its end: %1</source>
        <translation>der Ordner konnte nicht bis zum Ende gelesen werden: %1</translation>
    </message>
    <message>
        <source>it is not a folder</source>
        <translation>es ist kein Ordner</translation>
    </message>
    <message>
        <source>%1 could not be copied: %2.</source>
        <translation>%1 konnte nicht kopiert werden: %2.</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>und %1 weitere</translation>
    </message>
    <message>
        <source>The backup has been made in the folder
%1

It holds the collection (stamp.mdb) and its pictures (images).</source>
        <translation>Die Sicherung wurde im Ordner
%1
angelegt.

Sie enthält die Sammlung (stamp.mdb) und ihre Bilder (images).</translation>
    </message>
    <message>
        <source>The backup in the folder
%1

is incomplete. It holds the collection (stamp.mdb), but these pictures could not be read and are not in it:

%2

Make them readable and make the backup again. The list is kept in the backup as incomplete.txt.</source>
        <translation>Die Sicherung im Ordner
%1

ist unvollständig. Sie enthält die Sammlung (stamp.mdb), aber diese Bilder konnten nicht gelesen werden und fehlen darin:

%2

Machen Sie sie lesbar, und legen Sie die Sicherung noch einmal an. Die Liste wird in der Sicherung als incomplete.txt aufbewahrt.</translation>
    </message>
    <message>
        <source>This backup is incomplete: these pictures could not be read when it was made, and are not in it.</source>
        <translation>Diese Sicherung ist unvollständig: Diese Bilder konnten beim Anlegen nicht gelesen werden und fehlen darin.</translation>
    </message>
    <message>
        <source>Could not remove %1.</source>
        <translation>%1 konnte nicht entfernt werden.</translation>
    </message>
    <message>
        <source>The backup could not be restored: there is not enough space on the disk. Nothing has been changed.</source>
        <translation>Die Sicherung konnte nicht zurückgespielt werden: Auf dem Datenträger ist nicht genug Platz. Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>The backup&apos;s collection has been put in place, but its pictures could not be: %1 Perlinex will finish the restore when it next starts.</source>
        <translation>Die Sammlung der Sicherung wurde an ihren Platz gebracht, ihre Bilder aber nicht: %1 Perlinex beendet das Zurückspielen beim nächsten Start.</translation>
    </message>
    <message>
        <source>a backup</source>
        <translation>eine Sicherung</translation>
    </message>
    <message>
        <source>Perlinex was stopped while it restored %1, and the restore could not be undone: %2</source>
        <translation>Perlinex wurde angehalten, während es %1 zurückspielte, und das Zurückspielen konnte nicht rückgängig gemacht werden: %2</translation>
    </message>
    <message>
        <source>Perlinex was stopped while it restored %1, before the collection was replaced. The restore has been undone: the collection and its pictures are as they were before it.</source>
        <translation>Perlinex wurde angehalten, während es %1 zurückspielte, bevor die Sammlung ersetzt war. Das Zurückspielen wurde rückgängig gemacht: Die Sammlung und ihre Bilder sind wie zuvor.</translation>
    </message>
    <message>
        <source>Perlinex was stopped while it restored %1, and the restore could not be finished: %2</source>
        <translation>Perlinex wurde angehalten, während es %1 zurückspielte, und das Zurückspielen konnte nicht beendet werden: %2</translation>
    </message>
    <message>
        <source>Perlinex was stopped while it restored %1. The restore has now been finished: the collection and its pictures are those of the backup. The ones it replaced are kept as %2 and images-before-restore.</source>
        <translation>Perlinex wurde angehalten, während es %1 zurückspielte. Das Zurückspielen ist jetzt beendet: Die Sammlung und ihre Bilder sind die der Sicherung. Die ersetzten werden als %2 und images-before-restore aufbewahrt.</translation>
    </message>
    <message>
        <source>%1, a file Perlinex keeps with the collection</source>
        <translation>%1, eine Datei, die Perlinex bei der Sammlung führt</translation>
    </message>
    <message>
        <source>the collection %1</source>
        <translation>die Sammlung %1</translation>
    </message>
    <message>
        <source>the collection&apos;s lock file %1</source>
        <translation>die Sperrdatei %1 der Sammlung</translation>
    </message>
    <message>
        <source>the copy of the collection kept by the last compaction %1</source>
        <translation>die bei der letzten Komprimierung aufbewahrte Kopie %1 der Sammlung</translation>
    </message>
    <message>
        <source>the field catalogue %1</source>
        <translation>der Feldkatalog %1</translation>
    </message>
    <message>
        <source>the collection&apos;s pictures folder %1</source>
        <translation>der Bilderordner %1 der Sammlung</translation>
    </message>
    <message>
        <source>%1, a folder Perlinex keeps with the collection</source>
        <translation>%1, ein Ordner, den Perlinex bei der Sammlung führt</translation>
    </message>
    <message>
        <source>Could not open &apos;%1&apos;: %2</source>
        <translation>„%1“ konnte nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>The new file &apos;%1&apos; does not hold everything of the collection.</source>
        <translation>Die neue Datei „%1“ enthält nicht die ganze Sammlung.</translation>
    </message>
    <message>
        <source>The new file &apos;%1&apos; is not a whole collection (%2).</source>
        <translation>Die neue Datei „%1“ ist keine vollständige Sammlung (%2).</translation>
    </message>
    <message>
        <source>it is %1</source>
        <translation>sie ist %1</translation>
    </message>
    <message>
        <source>The repaired collection is not whole (%1).</source>
        <translation>Die reparierte Sammlung ist nicht vollständig (%1).</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a whole collection (%2).</source>
        <translation>„%1“ ist keine vollständige Sammlung (%2).</translation>
    </message>
    <message>
        <source>Could not make the folder &apos;%1&apos;.</source>
        <translation>Der Ordner „%1“ konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Could not write &apos;%1&apos;: %2.</source>
        <translation>„%1“ konnte nicht geschrieben werden: %2.</translation>
    </message>
    <message>
        <source>The backup folder &apos;%1&apos; does not exist.</source>
        <translation>Der Sicherungsordner „%1“ existiert nicht.</translation>
    </message>
    <message>
        <source>Could not make a folder in &apos;%1&apos;.</source>
        <translation>In „%1“ konnte kein Ordner angelegt werden.</translation>
    </message>
    <message>
        <source>The backup could not be made: %1</source>
        <translation>Die Sicherung konnte nicht angelegt werden: %1</translation>
    </message>
    <message>
        <source>&apos;%1&apos; does not hold a whole Perlinex backup (%2).</source>
        <translation>„%1“ enthält keine vollständige Perlinex-Sicherung (%2).</translation>
    </message>
    <message>
        <source>The backup could not be restored: %1</source>
        <translation>Die Sicherung konnte nicht zurückgespielt werden: %1</translation>
    </message>
</context>
<context>
    <name>PendingPicture</name>
    <message>
        <source>Could not remove &apos;%1&apos;.</source>
        <translation>„%1“ konnte nicht entfernt werden.</translation>
    </message>
    <message>
        <source>Could not write &apos;%1&apos;: %2.</source>
        <translation>„%1“ konnte nicht geschrieben werden: %2.</translation>
    </message>
</context>
<context>
    <name>RecentCollections</name>
    <message>
        <source>%1 on %2</source>
        <translation>%1 auf %2</translation>
    </message>
</context>
<context>
    <name>Regional</name>
    <message>
        <source>too large</source>
        <translation>zu groß</translation>
    </message>
</context>
<context>
    <name>Reports</name>
    <message>
        <source>The file &apos;%1&apos; already exists.  Do you wish to replace it?</source>
        <translation>Die Datei „%1“ ist schon vorhanden. Wollen Sie sie ersetzen?</translation>
    </message>
    <message>
        <source>File Exists</source>
        <translation>Datei vorhanden</translation>
    </message>
    <message>
        <source>Text Files (*.txt)|*.txt|All Files (*.*)|*.*</source>
        <translation>Textdateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>Html Files (*.htm)|*.htm|All Files (*.*)|*.*</source>
        <translation>HTML-Dateien (*.htm)|*.htm|Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>the layout file %1 the report comes from</source>
        <translation>die Berichtsdatei %1, aus der der Bericht stammt</translation>
    </message>
    <message>
        <source>The report&apos;s amounts are too large to be added up; nothing has been written.</source>
        <translation>Die Beträge des Berichts sind zu groß, um addiert zu werden; es wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>The file &apos;%1&apos; could not be written; nothing has been changed.
%2</source>
        <translation>Die Datei „%1“ konnte nicht geschrieben werden; es wurde nichts geändert.
%2</translation>
    </message>
    <message>
        <source>The pages could not be drawn.</source>
        <translation>Die Seiten konnten nicht gezeichnet werden.</translation>
    </message>
    <message>
        <source>Totals</source>
        <translation>Summen</translation>
    </message>
    <message>
        <source>Total Stamps</source>
        <translation>Briefmarken gesamt</translation>
    </message>
    <message>
        <source>No collection is open.</source>
        <translation>Keine Sammlung geöffnet.</translation>
    </message>
    <message>
        <source>Item &apos;%1&apos; not found in this collection.</source>
        <translation>Eintrag „%1“ in dieser Sammlung nicht gefunden.</translation>
    </message>
    <message>
        <source>Could not write &apos;%1&apos;: %2.</source>
        <translation>„%1“ konnte nicht geschrieben werden: %2.</translation>
    </message>
    <message>
        <source>|Page %d</source>
        <translation>|Seite %d</translation>
    </message>
    <message>
        <source>You have not entered any reportable stamps!</source>
        <translation>Sie haben keine Briefmarken für diesen Bericht erfasst!</translation>
    </message>
    <message>
        <source>Stamps For Sale</source>
        <translation>Briefmarken zu verkaufen</translation>
    </message>
    <message>
        <source>Description|Cat #|Country|Face|Year|Price;</source>
        <translation>Beschreibung|Kat.-Nr.|Land|Nennw.|Jahr|Preis;</translation>
    </message>
    <message>
        <source>Description|Cat #|Country|Face Value|Year|Price</source>
        <translation>Beschreibung|Kat.-Nr.|Land|Nennwert|Jahr|Preis</translation>
    </message>
    <message>
        <source>You have not entered any stamps with the For Sale option checked.</source>
        <translation>Sie haben keine Briefmarken mit „Zu verkaufen“ erfasst.</translation>
    </message>
    <message>
        <source>Stamp Sales Report</source>
        <translation>Verkaufsbericht</translation>
    </message>
    <message>
        <source>Description|Cat #|Quantity|Paid Each|Total Paid|Sale Each|Total Sales;</source>
        <translation>Beschreibung|Kat.-Nr.|Anzahl|Kauf je|Summe Kauf|Verkauf je|Summe Verkauf;</translation>
    </message>
    <message>
        <source>Description|Cat #|Quantity|Paid Each|Total Paid|Sale Price Each|Total Sales</source>
        <translation>Beschreibung|Kat.-Nr.|Anzahl|Kaufpreis je|Summe bezahlt|Verkaufspreis je|Summe Verkauf</translation>
    </message>
    <message>
        <source>You have not entered any stamps as sold.</source>
        <translation>Sie haben keine Briefmarken als verkauft erfasst.</translation>
    </message>
    <message>
        <source>Sale Price Minus Cost</source>
        <translation>Verkaufspreis abzüglich Kosten</translation>
    </message>
    <message>
        <source>Stamp Value Report</source>
        <translation>Wertbericht</translation>
    </message>
    <message>
        <source>Stamp Collection Value </source>
        <translation>Wert der Briefmarkensammlung </translation>
    </message>
    <message>
        <source>Stamp Collection Value</source>
        <translation>Wert der Briefmarkensammlung</translation>
    </message>
    <message>
        <source>Description|Cat #|Quantity|Paid Each|Total Paid|Value Each|Total Value;</source>
        <translation>Beschreibung|Kat.-Nr.|Anzahl|Kauf je|Summe Kauf|Wert je|Summe Wert;</translation>
    </message>
    <message>
        <source>Description|Cat #|Quantity|Paid Each|Total Paid|Value Each|Total Value</source>
        <translation>Beschreibung|Kat.-Nr.|Anzahl|Kaufpreis je|Summe bezahlt|Wert je|Summe Wert</translation>
    </message>
    <message>
        <source>You have not entered any stamps!</source>
        <translation>Sie haben keine Briefmarken erfasst!</translation>
    </message>
    <message>
        <source>Value Minus Cost</source>
        <translation>Wert abzüglich Kosten</translation>
    </message>
    <message>
        <source>Stamp Want List</source>
        <translation>Fehlliste</translation>
    </message>
    <message>
        <source>Stamp Want List </source>
        <translation>Fehlliste </translation>
    </message>
    <message>
        <source>Description|Cat #|Country|Face Value|Condition|Will Pay|;</source>
        <translation>Beschreibung|Kat.-Nr.|Land|Nennwert|Erhaltung|Höchstgebot|;</translation>
    </message>
    <message>
        <source>Description|Cat #|Country|Face Value|Condition|Will Pay</source>
        <translation>Beschreibung|Kat.-Nr.|Land|Nennwert|Erhaltung|Höchstgebot</translation>
    </message>
    <message>
        <source>You have not entered any want list stamps!</source>
        <translation>Sie haben keine Briefmarken auf der Fehlliste erfasst!</translation>
    </message>
    <message>
        <source>Stamps by Country</source>
        <translation>Briefmarken nach Land</translation>
    </message>
    <message>
        <source>Country|description|Cat #|Face Value|Year|Quantity;</source>
        <translation>Land|Beschreibung|Kat.-Nr.|Nennwert|Jahr|Anzahl;</translation>
    </message>
    <message>
        <source>Country|Description|Cat #|Face Value|Year|Quantity</source>
        <translation>Land|Beschreibung|Kat.-Nr.|Nennwert|Jahr|Anzahl</translation>
    </message>
    <message>
        <source>Country Report</source>
        <translation>Länderbericht</translation>
    </message>
    <message>
        <source>All Countries</source>
        <translation>Alle Länder</translation>
    </message>
    <message>
        <source>Selected Country</source>
        <translation>Gewähltes Land</translation>
    </message>
    <message>
        <source>Stamps by Type</source>
        <translation>Briefmarken nach Typ</translation>
    </message>
    <message>
        <source>Type|description|Cat #|Face Value|Year|Quantity;</source>
        <translation>Typ|Beschreibung|Kat.-Nr.|Nennwert|Jahr|Anzahl;</translation>
    </message>
    <message>
        <source>Type|Description|Cat #|Face Value|Year|Quantity</source>
        <translation>Typ|Beschreibung|Kat.-Nr.|Nennwert|Jahr|Anzahl</translation>
    </message>
    <message>
        <source>Type Report</source>
        <translation>Typenbericht</translation>
    </message>
    <message>
        <source>All Types</source>
        <translation>Alle Typen</translation>
    </message>
    <message>
        <source>Selected Type</source>
        <translation>Gewählter Typ</translation>
    </message>
    <message>
        <source>Stamps by Format</source>
        <translation>Briefmarken nach Format</translation>
    </message>
    <message>
        <source>Format|description|Cat #|Face Value|Year|Quantity;</source>
        <translation>Format|Beschreibung|Kat.-Nr.|Nennwert|Jahr|Anzahl;</translation>
    </message>
    <message>
        <source>Format|Description|Cat #|Face Value|Year|Quantity</source>
        <translation>Format|Beschreibung|Kat.-Nr.|Nennwert|Jahr|Anzahl</translation>
    </message>
    <message>
        <source>Format Report</source>
        <translation>Formatbericht</translation>
    </message>
    <message>
        <source>All Formats</source>
        <translation>Alle Formate</translation>
    </message>
    <message>
        <source>Selected Format</source>
        <translation>Gewähltes Format</translation>
    </message>
    <message>
        <source>Stamps by Topic</source>
        <translation>Briefmarken nach Motiv</translation>
    </message>
    <message>
        <source>Topic|description|Cat #|Face Value|Year|Quantity;</source>
        <translation>Motiv|Beschreibung|Kat.-Nr.|Nennwert|Jahr|Anzahl;</translation>
    </message>
    <message>
        <source>Topic|Description|Cat #|Face Value|Year|Quantity</source>
        <translation>Motiv|Beschreibung|Kat.-Nr.|Nennwert|Jahr|Anzahl</translation>
    </message>
    <message>
        <source>Topics Report</source>
        <translation>Motivbericht</translation>
    </message>
    <message>
        <source>All Topics</source>
        <translation>Alle Motive</translation>
    </message>
    <message>
        <source>Selected Topic</source>
        <translation>Gewähltes Motiv</translation>
    </message>
</context>
<context>
    <name>Salvage</name>
    <message>
        <source>Could not read &apos;%1&apos;: %2</source>
        <translation>„%1“ konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>the file ends after %1 of the %2 pages its header counts</source>
        <translation>die Datei endet nach %1 der %2 Seiten, die ihr Kopf zählt</translation>
    </message>
    <message>
        <source>the last page is cut short</source>
        <translation>die letzte Seite ist abgeschnitten</translation>
    </message>
    <message>
        <source>the table list is damaged; searching the pages for it</source>
        <translation>die Tabellenliste ist beschädigt; die Seiten werden danach durchsucht</translation>
    </message>
    <message>
        <source>the table list is lost; tables are told by their rows</source>
        <translation>die Tabellenliste ist verloren; Tabellen werden an ihren Zeilen erkannt</translation>
    </message>
    <message>
        <source>%1: b-tree damaged, %2 rows found by searching</source>
        <translation>%1: B-Baum beschädigt, %2 Zeilen durch Suchen gefunden</translation>
    </message>
</context>
<context>
    <name>SaveJPG</name>
    <message>
        <source>Failed to save to JPG %1</source>
        <translation>Speichern als JPG fehlgeschlagen %1</translation>
    </message>
    <message>
        <source>Failed to initialise the IJL library: %1</source>
        <translation>Die JPEG-Bibliothek konnte nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>the picture has no bitmap</source>
        <translation>das Bild hat keine Bitmap</translation>
    </message>
    <message>
        <source>quality %1 is not 1 to 100</source>
        <translation>Qualität %1 liegt nicht zwischen 1 und 100</translation>
    </message>
</context>
<context>
    <name>ServerCheck</name>
    <message>
        <source>the table %1 is missing</source>
        <translation>die Tabelle %1 fehlt</translation>
    </message>
    <message>
        <source>the table %1 has no field %2</source>
        <translation>die Tabelle %1 hat kein Feld %2</translation>
    </message>
    <message>
        <source>its schema version (%1) is not the one this program writes (%2)</source>
        <translation>ihre Schemaversion (%1) ist nicht die, die dieses Programm schreibt (%2)</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>the counter of the table %1 is behind its highest number (%2): it would hand out numbers already given</source>
        <translation>der Zähler der Tabelle %1 liegt unter ihrer höchsten Nummer (%2): er würde schon vergebene Nummern vergeben</translation>
    </message>
    <message>
        <source>%1 rows of the table %2 have a sort key of %3 that does not match the text: they are listed out of order</source>
        <translation>%1 Zeilen der Tabelle %2 haben einen Sortierschlüssel von %3, der nicht zum Text passt: sie stehen an falscher Stelle</translation>
    </message>
    <message>
        <source>the index %1 is not usable</source>
        <translation>der Index %1 ist nicht verwendbar</translation>
    </message>
</context>
<context>
    <name>ServerCommand</name>
    <message>
        <source>%1% of the stamps copied</source>
        <translation>%1 % der Briefmarken kopiert</translation>
    </message>
    <message>
        <source>server init needs exactly one SERVER</source>
        <translation>server init braucht genau einen SERVER</translation>
    </message>
    <message>
        <source>Made a new, empty shared collection %1 on %2</source>
        <translation>Neue, leere gemeinsame Sammlung %1 auf %2 angelegt</translation>
    </message>
    <message>
        <source>server push needs a FOLDER and a SERVER</source>
        <translation>server push braucht einen ORDNER und einen SERVER</translation>
    </message>
    <message>
        <source>Cannot read the picture %1: %2</source>
        <translation>Das Bild %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Copied to the shared collection %4 on %5: stamps %1, code entries %2, pictures %3</source>
        <translation>In die gemeinsame Sammlung %4 auf %5 kopiert: Briefmarken %1, Codeeinträge %2, Bilder %3</translation>
    </message>
    <message>
        <source>Cannot make the folder %1</source>
        <translation>Der Ordner %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>server pull needs a SERVER and a FOLDER</source>
        <translation>server pull braucht einen SERVER und einen ORDNER</translation>
    </message>
    <message>
        <source>Made a collection in %1 from the shared collection %2 on %3: stamps %4, code entries %5, pictures %6</source>
        <translation>Sammlung in %1 aus der gemeinsamen Sammlung %2 auf %3 angelegt: Briefmarken %4, Codeeinträge %5, Bilder %6</translation>
    </message>
    <message>
        <source>server restore needs a FOLDER and a SERVER</source>
        <translation>server restore braucht einen ORDNER und einen SERVER</translation>
    </message>
    <message>
        <source>perlinex: this replaces the shared collection %1 on %2, and everything the desks stored in it, with the collection in %3. Nothing has been changed; run it again with --yes to replace it.</source>
        <translation>perlinex: Dies ersetzt die gemeinsame Sammlung %1 auf %2 und alles, was die Arbeitsplätze darin gespeichert haben, durch die Sammlung in %3. Es wurde nichts geändert; rufen Sie es mit --yes noch einmal auf, um sie zu ersetzen.</translation>
    </message>
    <message>
        <source>  perlinex --server SERVER[#COLLECTION]
      open a collection shared on a PostgreSQL server in the window; other desks
      may work on it at the same time.
  perlinex server init SERVER[#COLLECTION]
      make a new, empty collection shared on a PostgreSQL server. SERVER is a
      postgresql:// address or the name of a service in the service file; the
      password comes from ~/.pgpass or the service file, never the address.
      COLLECTION names the collection there (default: stamps).
  perlinex server push FOLDER SERVER[#COLLECTION]
      copy the collection in FOLDER, with its pictures, to a new shared collection;
      all of it or nothing.
  perlinex server pull SERVER[#COLLECTION] FOLDER
      make a new collection in FOLDER from a shared one, with its pictures; all of
      it or nothing.
  perlinex server restore FOLDER SERVER[#COLLECTION] --yes
      replace a shared collection, and all the desks stored in it, with the
      collection in FOLDER (such as a backup of it); all of it or nothing.
  perlinex check --server SERVER[#COLLECTION]
      check a shared collection through the server; nothing is changed.
</source>
        <translation>  perlinex --server SERVER[#SAMMLUNG]
      eine gemeinsame Sammlung auf einem PostgreSQL-Server im Fenster öffnen;
      andere Arbeitsplätze können zugleich damit arbeiten.
  perlinex server init SERVER[#SAMMLUNG]
      eine neue, leere Sammlung auf einem PostgreSQL-Server anlegen, die mehrere
      gemeinsam nutzen. SERVER ist eine postgresql://-Adresse oder der Name eines
      Dienstes in der Dienstdatei; das Passwort steht in ~/.pgpass oder in der
      Dienstdatei, nie in der Adresse. SAMMLUNG benennt die Sammlung dort
      (Vorgabe: stamps).
  perlinex server push ORDNER SERVER[#SAMMLUNG]
      die Sammlung in ORDNER mit ihren Bildern in eine neue gemeinsame Sammlung
      kopieren; ganz oder gar nicht.
  perlinex server pull SERVER[#SAMMLUNG] ORDNER
      eine neue Sammlung in ORDNER aus einer gemeinsamen anlegen, mit ihren
      Bildern; ganz oder gar nicht.
  perlinex server restore ORDNER SERVER[#SAMMLUNG] --yes
      eine gemeinsame Sammlung und alles, was die Arbeitsplätze darin gespeichert
      haben, durch die Sammlung in ORDNER ersetzen (etwa eine Sicherung davon);
      ganz oder gar nicht.
  perlinex check --server SERVER[#SAMMLUNG]
      eine gemeinsame Sammlung über den Server prüfen; nichts wird geändert.
</translation>
    </message>
    <message>
        <source>server needs init, push, pull or restore</source>
        <translation>server braucht init, push, pull oder restore</translation>
    </message>
</context>
<context>
    <name>ServerStore</name>
    <message>
        <source>The server already holds a collection named &apos;%1&apos;; it has been left as it is.</source>
        <translation>Der Server enthält schon eine Sammlung namens „%1“; sie bleibt unverändert.</translation>
    </message>
    <message>
        <source>Cannot reach the server: %1</source>
        <translation>Der Server ist nicht erreichbar: %1</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no name for a collection on a server: it takes 1 to 63 bytes.</source>
        <translation>„%1“ ist kein Name für eine Sammlung auf einem Server: er braucht 1 bis 63 Bytes.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; names no server: %2</source>
        <translation>„%1“ nennt keinen Server: %2</translation>
    </message>
    <message>
        <source>The server&apos;s address carries a password. A password belongs in ~/.pgpass or in the service file, never in the address or on the command line.</source>
        <translation>Die Adresse des Servers enthält ein Passwort. Ein Passwort gehört in ~/.pgpass oder in die Dienstdatei, nie in die Adresse oder auf die Befehlszeile.</translation>
    </message>
    <message>
        <source>The server holds no collection named &apos;%1&apos;.</source>
        <translation>Der Server enthält keine Sammlung namens „%1“.</translation>
    </message>
</context>
<context>
    <name>StampBrowser</name>
    <message>
        <source>New stamp (1 stamp)</source>
        <translation>Neue Briefmarke (1 Briefmarke)</translation>
    </message>
    <message>
        <source>New stamp (%1 stamps)</source>
        <translation>Neue Briefmarke (%1 Briefmarken)</translation>
    </message>
    <message>
        <source>No stamp of %1 matches the filter</source>
        <translation>Keine der %1 Briefmarken passt zum Filter</translation>
    </message>
    <message>
        <source>Stamp %1 of %2</source>
        <translation>Briefmarke %1 von %2</translation>
    </message>
    <message>
        <source>(filtered from %1)</source>
        <translation>(gefiltert aus %1)</translation>
    </message>
</context>
<context>
    <name>StampPictures</name>
    <message>
        <source>Failed to save the picture to the file: &apos;%1&apos;</source>
        <translation>Das Bild konnte nicht in der Datei gespeichert werden: „%1“</translation>
    </message>
    <message>
        <source>: %1. The picture stored before has been kept.</source>
        <translation>: %1. Das vorher gespeicherte Bild bleibt erhalten.</translation>
    </message>
    <message>
        <source>The picture could not be stored: it holds no bitmap (the clipboard held no picture, or the file is a drawing). The stamp&apos;s stored picture has been kept.</source>
        <translation>Das Bild konnte nicht gespeichert werden: Es enthält keine Bitmap (die Zwischenablage enthielt kein Bild, oder die Datei ist eine Zeichnung). Das gespeicherte Bild der Briefmarke bleibt erhalten.</translation>
    </message>
    <message>
        <source>All Picture Files (*.bmp *.dib *.gif *.jpg *.jpeg *.png *.tif *.tiff *.wmf *.emf *.ico *.cur);;Bitmaps (*.bmp *.dib);;GIF Images (*.gif);;JPEG Images (*.jpg *.jpeg);;PNG Images (*.png);;TIFF Images (*.tif *.tiff);;Metafiles (*.wmf *.emf);;Icons (*.ico *.cur);;All Files (*)</source>
        <translation>Alle Bilddateien (*.bmp *.dib *.gif *.jpg *.jpeg *.png *.tif *.tiff *.wmf *.emf *.ico *.cur);;Bitmaps (*.bmp *.dib);;GIF-Bilder (*.gif);;JPEG-Bilder (*.jpg *.jpeg);;PNG-Bilder (*.png);;TIFF-Bilder (*.tif *.tiff);;Metadateien (*.wmf *.emf);;Symbole (*.ico *.cur);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>The picture could not be stored: %1. The stamp&apos;s stored picture has been kept.</source>
        <translation>Das Bild konnte nicht gespeichert werden: %1. Das gespeicherte Bild der Briefmarke bleibt erhalten.</translation>
    </message>
</context>
<context>
    <name>StampValidator</name>
    <message>
        <source>The %1 times the quantity is more than an amount of money can hold. Enter a smaller quantity or %2.</source>
        <translation>%1 mal die Anzahl ist mehr, als ein Geldbetrag fassen kann. Geben Sie eine kleinere Anzahl oder einen kleineren Wert für %2 ein.</translation>
    </message>
    <message>
        <source>The year must be a whole number from -32768 to 32767, or blank.</source>
        <translation>Das Jahr muss eine ganze Zahl von -32768 bis 32767 sein oder leer bleiben.</translation>
    </message>
    <message>
        <source>The %1 is more than an amount of money can hold.</source>
        <translation>%1 ist mehr, als ein Geldbetrag fassen kann.</translation>
    </message>
    <message>
        <source>The quantity must be a whole number from -2147483648 to 2147483647.</source>
        <translation>Die Anzahl muss eine ganze Zahl von -2147483648 bis 2147483647 sein.</translation>
    </message>
    <message>
        <source>You must enter a valid number or leave the field blank</source>
        <translation>Geben Sie eine gültige Zahl ein, oder lassen Sie das Feld leer</translation>
    </message>
    <message>
        <source>The %1 can hold at most %2 characters; it holds %3.</source>
        <translation>%1 fasst höchstens %2 Zeichen; es enthält %3.</translation>
    </message>
    <message>
        <source>You must enter a number in the Quantity field</source>
        <translation>Geben Sie im Feld „Anzahl“ eine Zahl ein</translation>
    </message>
    <message>
        <source>You must enter a description for this stamp or click the Cancel button.</source>
        <translation>Geben Sie eine Beschreibung für diese Briefmarke ein, oder wählen Sie „Abbrechen“.</translation>
    </message>
    <message>
        <source>You must enter number in the quantity field.</source>
        <translation>Geben Sie im Feld „Anzahl“ eine Zahl ein.</translation>
    </message>
    <message>
        <source>Non-numeric Quantity Entered</source>
        <translation>Anzahl ist keine Zahl</translation>
    </message>
    <message>
        <source>Invalid Quantity</source>
        <translation>Ungültige Anzahl</translation>
    </message>
    <message>
        <source>A stamp cannot be for sale and sold at the same time.</source>
        <translation>Eine Briefmarke kann nicht zugleich zu verkaufen und verkauft sein.</translation>
    </message>
    <message>
        <source>Sale Status Error</source>
        <translation>Fehler im Verkaufsstatus</translation>
    </message>
</context>
<context>
    <name>Statistics</name>
    <message>
        <source>The picture could not be made.</source>
        <translation>Das Bild konnte nicht erstellt werden.</translation>
    </message>
    <message>
        <source>At a &amp;Glance</source>
        <translation>&amp;Überblick</translation>
    </message>
    <message>
        <source>C&amp;ountry</source>
        <translation>&amp;Land</translation>
    </message>
    <message>
        <source>To&amp;pic</source>
        <translation>&amp;Motiv</translation>
    </message>
    <message>
        <source>Co&amp;ndition</source>
        <translation>&amp;Erhaltung</translation>
    </message>
    <message>
        <source>T&amp;ype</source>
        <translation>&amp;Typ</translation>
    </message>
    <message>
        <source>&amp;Decade of Issue</source>
        <translation>&amp;Jahrzehnt der Ausgabe</translation>
    </message>
    <message>
        <source>P&amp;urchases</source>
        <translation>Eink&amp;äufe</translation>
    </message>
    <message>
        <source>Stamps by country</source>
        <translation>Briefmarken nach Land</translation>
    </message>
    <message>
        <source>Catalogue value by country</source>
        <translation>Katalogwert nach Land</translation>
    </message>
    <message>
        <source>Stamps by topic</source>
        <translation>Briefmarken nach Motiv</translation>
    </message>
    <message>
        <source>Catalogue value by topic</source>
        <translation>Katalogwert nach Motiv</translation>
    </message>
    <message>
        <source>Stamps by condition</source>
        <translation>Briefmarken nach Erhaltung</translation>
    </message>
    <message>
        <source>Catalogue value by condition</source>
        <translation>Katalogwert nach Erhaltung</translation>
    </message>
    <message>
        <source>Stamps by type</source>
        <translation>Briefmarken nach Typ</translation>
    </message>
    <message>
        <source>Catalogue value by type</source>
        <translation>Katalogwert nach Typ</translation>
    </message>
    <message>
        <source>Stamps by decade of issue</source>
        <translation>Briefmarken nach Jahrzehnt der Ausgabe</translation>
    </message>
    <message>
        <source>Catalogue value by decade of issue</source>
        <translation>Katalogwert nach Jahrzehnt der Ausgabe</translation>
    </message>
    <message>
        <source>Catalogue value against price paid by year of purchase</source>
        <translation>Katalogwert und Kaufpreis nach Kaufjahr</translation>
    </message>
    <message>
        <source>The collection at a glance</source>
        <translation>Die Sammlung im Überblick</translation>
    </message>
    <message>
        <source>Stamps</source>
        <translation>Briefmarken</translation>
    </message>
    <message>
        <source>Quantity</source>
        <translation>Anzahl</translation>
    </message>
    <message>
        <source>Catalogue value</source>
        <translation>Katalogwert</translation>
    </message>
    <message>
        <source>Price paid</source>
        <translation>Kaufpreis</translation>
    </message>
    <message>
        <source>Year of purchase</source>
        <translation>Kaufjahr</translation>
    </message>
    <message>
        <source>(no description)</source>
        <translation>(ohne Bezeichnung)</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <source>%1s</source>
        <translation>%1er</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Sonstige</translation>
    </message>
    <message>
        <source>Unclassified</source>
        <translation>Nicht zugeordnet</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Gesamt</translation>
    </message>
    <message>
        <source>Collection</source>
        <translation>Sammlung</translation>
    </message>
    <message>
        <source>Want list</source>
        <translation>Fehlliste</translation>
    </message>
    <message>
        <source>For sale</source>
        <translation>Zu verkaufen</translation>
    </message>
    <message>
        <source>Sold</source>
        <translation>Verkauft</translation>
    </message>
    <message>
        <source>Figure</source>
        <translation>Kennzahl</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Stamps in the collection</source>
        <translation>Briefmarken in der Sammlung</translation>
    </message>
    <message>
        <source>Quantity in the collection</source>
        <translation>Anzahl in der Sammlung</translation>
    </message>
    <message>
        <source>Total paid</source>
        <translation>Summe bezahlt</translation>
    </message>
    <message>
        <source>Value minus cost</source>
        <translation>Wert abzüglich Kosten</translation>
    </message>
    <message>
        <source>Stamps on the want list</source>
        <translation>Briefmarken auf der Fehlliste</translation>
    </message>
    <message>
        <source>Quantity on the want list</source>
        <translation>Anzahl auf der Fehlliste</translation>
    </message>
    <message>
        <source>Will pay for the want list</source>
        <translation>Höchstgebote der Fehlliste</translation>
    </message>
    <message>
        <source>Stamps for sale</source>
        <translation>Briefmarken zu verkaufen</translation>
    </message>
    <message>
        <source>Quantity for sale</source>
        <translation>Anzahl zu verkaufen</translation>
    </message>
    <message>
        <source>Asked for the stamps for sale</source>
        <translation>Verlangt für die Briefmarken zu verkaufen</translation>
    </message>
    <message>
        <source>Stamps sold</source>
        <translation>Verkaufte Briefmarken</translation>
    </message>
    <message>
        <source>Quantity sold</source>
        <translation>Verkaufte Anzahl</translation>
    </message>
    <message>
        <source>Paid for the stamps sold</source>
        <translation>Bezahlt für die verkauften Briefmarken</translation>
    </message>
    <message>
        <source>Total sales</source>
        <translation>Summe Verkäufe</translation>
    </message>
    <message>
        <source>Sale price minus cost</source>
        <translation>Verkaufspreis abzüglich Kosten</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Country</source>
        <translation>Land</translation>
    </message>
    <message>
        <source>Topic</source>
        <translation>Motiv</translation>
    </message>
    <message>
        <source>Condition</source>
        <translation>Erhaltung</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Decade of issue</source>
        <translation>Jahrzehnt der Ausgabe</translation>
    </message>
</context>
<context>
    <name>TellicoCollection</name>
    <message>
        <source>custom</source>
        <translation>benutzerdefinierte</translation>
    </message>
    <message>
        <source>book</source>
        <translation>Bücher</translation>
    </message>
    <message>
        <source>video</source>
        <translation>Video</translation>
    </message>
    <message>
        <source>music</source>
        <translation>Musik</translation>
    </message>
    <message>
        <source>bibliography</source>
        <translation>Bibliografie</translation>
    </message>
    <message>
        <source>comic book</source>
        <translation>Comic</translation>
    </message>
    <message>
        <source>wine</source>
        <translation>Wein</translation>
    </message>
    <message>
        <source>coin</source>
        <translation>Münzen</translation>
    </message>
    <message>
        <source>card</source>
        <translation>Karten</translation>
    </message>
    <message>
        <source>video game</source>
        <translation>Videospiel</translation>
    </message>
    <message>
        <source>file catalog</source>
        <translation>Dateikatalog</translation>
    </message>
    <message>
        <source>board game</source>
        <translation>Brettspiel</translation>
    </message>
    <message>
        <source>type %1</source>
        <translation>Typ %1</translation>
    </message>
    <message>
        <source>it cannot be read from the archive</source>
        <translation>sie kann nicht aus dem Archiv gelesen werden</translation>
    </message>
    <message>
        <source>The file &apos;%1&apos; could not be read: %2.</source>
        <translation>Die Datei „%1“ konnte nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a Tellico collection file: %2.</source>
        <translation>„%1“ ist keine Tellico-Sammlungsdatei: %2.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a Tellico collection file: it holds no tellico.xml.</source>
        <translation>„%1“ ist keine Tellico-Sammlungsdatei: Sie enthält keine tellico.xml.</translation>
    </message>
    <message>
        <source>The collection in &apos;%1&apos; could not be read: %2.</source>
        <translation>Die Sammlung in „%1“ konnte nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a Tellico collection file.</source>
        <translation>„%1“ ist keine Tellico-Sammlungsdatei.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; holds a %2 collection of Tellico, not a stamp collection; only stamp collections can be imported.</source>
        <translation>„%1“ enthält eine Tellico-Sammlung der Art „%2“, keine Briefmarkensammlung; nur Briefmarkensammlungen können importiert werden.</translation>
    </message>
    <message>
        <source>The collection in &apos;%1&apos; could not be read: %2 (line %3).</source>
        <translation>Die Sammlung in „%1“ konnte nicht gelesen werden: %2 (Zeile %3).</translation>
    </message>
    <message>
        <source>&apos;%1&apos; holds no collection.</source>
        <translation>„%1“ enthält keine Sammlung.</translation>
    </message>
    <message>
        <source>it is not in the collection file</source>
        <translation>sie ist nicht in der Sammlungsdatei</translation>
    </message>
</context>
<context>
    <name>TerminalDialogs</name>
    <message>
        <source>(answered yes)</source>
        <translation>(mit Ja beantwortet)</translation>
    </message>
    <message>
        <source>[y/n] </source>
        <translation>[j/n] </translation>
    </message>
    <message>
        <source>y</source>
        <comment>the first letter of the answer yes, as [y/n] asks for it</comment>
        <translation>j</translation>
    </message>
</context>
<context>
    <name>WorkProgress</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>cDIBSection</name>
    <message>
        <source>Overflow</source>
        <translation>Überlauf</translation>
    </message>
    <message>
        <source>I don&apos;t know how to put a DIB on the clipboard! Copy as bitmap instead!!!</source>
        <translation>Eine DIB kann nicht in die Zwischenablage gelegt werden. Kopieren Sie stattdessen als Bitmap.</translation>
    </message>
</context>
<context>
    <name>perlinex::CodeListSearch</name>
    <message>
        <source>No entry starts with or contains what is typed.</source>
        <translation>Kein Eintrag beginnt mit dem Eingegebenen oder enthält es.</translation>
    </message>
</context>
<context>
    <name>perlinex::CollectionPane</name>
    <message>
        <source>Filter: words of the description, number, country, topic or notes</source>
        <translation>Filter: Wörter aus Beschreibung, Nummer, Land, Motiv oder Notizen</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Collection list</source>
        <translation>Sammlungsliste</translation>
    </message>
</context>
<context>
    <name>perlinex::DateField</name>
    <message>
        <source>Select Issue Date</source>
        <translation>Ausgabedatum wählen</translation>
    </message>
    <message>
        <source>Select Purchase Date</source>
        <translation>Kaufdatum wählen</translation>
    </message>
    <message>
        <source>Select Sold Date</source>
        <translation>Verkaufsdatum wählen</translation>
    </message>
</context>
<context>
    <name>perlinex::HelpViewer</name>
    <message>
        <source>Perlinex Help</source>
        <translation>Perlinex-Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Vor</translation>
    </message>
    <message>
        <source>&amp;Search for words:</source>
        <translation>Nach Wörtern &amp;suchen:</translation>
    </message>
    <message>
        <source>Type one or more words</source>
        <translation>Ein oder mehrere Wörter eingeben</translation>
    </message>
    <message>
        <source>Pages found</source>
        <translation>Gefundene Seiten</translation>
    </message>
</context>
<context>
    <name>perlinex::browse::StampBrowser</name>
    <message>
        <source>Record is deleted.</source>
        <translation>Der Eintrag ist gelöscht.</translation>
    </message>
</context>
<context>
    <name>perlinex::browse::StampListModel</name>
    <message>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
</context>
<context>
    <name>perlinex::custom::frmRptSpec</name>
    <message>
        <source>The custom reports cannot be opened: the field catalogue could not be read.

%1</source>
        <translation>Die eigenen Berichte können nicht geöffnet werden: Der Feldkatalog konnte nicht gelesen werden.

%1</translation>
    </message>
    <message>
        <source>Custom Report</source>
        <translation>Eigener Bericht</translation>
    </message>
    <message>
        <source>At Bottom</source>
        <translation>Unten</translation>
    </message>
    <message>
        <source>In Header</source>
        <translation>In der Kopfzeile</translation>
    </message>
    <message>
        <source>No Page Numbers</source>
        <translation>Keine Seitennummern</translation>
    </message>
    <message>
        <source>You must select a field from the list of available fields to add to the report.</source>
        <translation>Wählen Sie in der Liste der verfügbaren Felder ein Feld, das in den Bericht aufgenommen werden soll.</translation>
    </message>
    <message>
        <source>You must select a field to remove from the report.</source>
        <translation>Wählen Sie ein Feld, das aus dem Bericht entfernt werden soll.</translation>
    </message>
    <message>
        <source>You must select the field to move up in the list</source>
        <translation>Wählen Sie das Feld, das in der Liste nach oben rücken soll</translation>
    </message>
    <message>
        <source>You must select the field to move down in the list</source>
        <translation>Wählen Sie das Feld, das in der Liste nach unten rücken soll</translation>
    </message>
    <message>
        <source>Details For </source>
        <translation>Einzelheiten zu </translation>
    </message>
    <message>
        <source>You must enter a valid number for the column width</source>
        <translation>Geben Sie für die Spaltenbreite eine gültige Zahl ein</translation>
    </message>
    <message>
        <source>You must enter a number or leave this selection field blank</source>
        <translation>Geben Sie eine Zahl ein, oder lassen Sie dieses Auswahlfeld leer</translation>
    </message>
    <message>
        <source>You must enter a valid date or leave this selection field blank.</source>
        <translation>Geben Sie ein gültiges Datum ein, oder lassen Sie dieses Auswahlfeld leer.</translation>
    </message>
    <message>
        <source>You must enter a valid time or leave this selection field blank.</source>
        <translation>Geben Sie eine gültige Uhrzeit ein, oder lassen Sie dieses Auswahlfeld leer.</translation>
    </message>
    <message>
        <source>Custom Report - </source>
        <translation>Eigener Bericht - </translation>
    </message>
    <message>
        <source>Do you wish to save the current report?</source>
        <translation>Wollen Sie den aktuellen Bericht speichern?</translation>
    </message>
    <message>
        <source>Save Current Report</source>
        <translation>Aktuellen Bericht speichern</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Report Files (*.rpt)|*.rpt</source>
        <translation>Berichtsdateien (*.rpt)|*.rpt</translation>
    </message>
    <message>
        <source>The report file &apos;%1&apos; could not be read: %2</source>
        <translation>Die Berichtsdatei „%1“ konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>The report file &apos;%1&apos; already exists.  Do you wish to replace it?</source>
        <translation>Die Berichtsdatei „%1“ ist schon vorhanden. Wollen Sie sie ersetzen?</translation>
    </message>
    <message>
        <source>File Exists</source>
        <translation>Datei vorhanden</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>The report file &apos;%1&apos; could not be written; nothing has been changed.
%2</source>
        <translation>Die Berichtsdatei „%1“ konnte nicht geschrieben werden; es wurde nichts geändert.
%2</translation>
    </message>
    <message>
        <source>Report Fields</source>
        <translation>Berichtsfelder</translation>
    </message>
    <message>
        <source>Report Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Sorting</source>
        <translation>Sortierung</translation>
    </message>
    <message>
        <source>&amp;Generate Report</source>
        <translation>Bericht &amp;erstellen</translation>
    </message>
    <message>
        <source>E&amp;xit Custom Reports</source>
        <translation>Eigene Berichte &amp;beenden</translation>
    </message>
    <message>
        <source>Add the field to the report</source>
        <translation>Das Feld in den Bericht aufnehmen</translation>
    </message>
    <message>
        <source>Remove the field from the report</source>
        <translation>Das Feld aus dem Bericht entfernen</translation>
    </message>
    <message>
        <source>Move the field up (to the left in the report)</source>
        <translation>Das Feld nach oben rücken (im Bericht nach links)</translation>
    </message>
    <message>
        <source>Move the field down (to the right in the report)</source>
        <translation>Das Feld nach unten rücken (im Bericht nach rechts)</translation>
    </message>
    <message>
        <source>&amp;Available Fields</source>
        <translation>&amp;Verfügbare Felder</translation>
    </message>
    <message>
        <source>Fields to R&amp;eport</source>
        <translation>Felder im Be&amp;richt</translation>
    </message>
    <message>
        <source>&amp;Hide Field</source>
        <translation>Feld &amp;ausblenden</translation>
    </message>
    <message>
        <source>&amp;Width</source>
        <translation>Brei&amp;te</translation>
    </message>
    <message>
        <source>Selection Criteria</source>
        <translation>Auswahlkriterien</translation>
    </message>
    <message>
        <source>Starts w&amp;ith:</source>
        <translation>Beginnt m&amp;it:</translation>
    </message>
    <message>
        <source>Show &amp;Total</source>
        <translation>&amp;Summe zeigen</translation>
    </message>
    <message>
        <source>Greater Tha&amp;n</source>
        <translation>Grö&amp;ßer als</translation>
    </message>
    <message>
        <source>&amp;Less Than</source>
        <translation>&amp;Kleiner als</translation>
    </message>
    <message>
        <source>Select Start Date</source>
        <translation>Anfangsdatum wählen</translation>
    </message>
    <message>
        <source>Select End Date</source>
        <translation>Enddatum wählen</translation>
    </message>
    <message>
        <source>Start &amp;Date</source>
        <translation>Ab Datu&amp;m</translation>
    </message>
    <message>
        <source>E&amp;nd Date</source>
        <translation>Bis Dat&amp;um</translation>
    </message>
    <message>
        <source>Tr&amp;ue</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>Fa&amp;lse</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>Start Ti&amp;me</source>
        <translation>Ab &amp;Zeit</translation>
    </message>
    <message>
        <source>E&amp;nd Time</source>
        <translation>Bis &amp;Uhrzeit</translation>
    </message>
    <message>
        <source>Report &amp;Title</source>
        <translation>Berichts&amp;titel</translation>
    </message>
    <message>
        <source>Report To</source>
        <translation>Ausgabe nach</translation>
    </message>
    <message>
        <source>Screen/&amp;Printer</source>
        <translation>Bildschirm/Dr&amp;ucker</translation>
    </message>
    <message>
        <source>Text Fi&amp;le</source>
        <translation>Te&amp;xtdatei</translation>
    </message>
    <message>
        <source>&amp;Web Table (html)</source>
        <translation>&amp;Webtabelle (HTML)</translation>
    </message>
    <message>
        <source>Report Orientation</source>
        <translation>Ausrichtung</translation>
    </message>
    <message>
        <source>Portr&amp;ait</source>
        <translation>&amp;Hochformat</translation>
    </message>
    <message>
        <source>La&amp;ndscape</source>
        <translation>&amp;Querformat</translation>
    </message>
    <message>
        <source>Report Formatting</source>
        <translation>Formatierung</translation>
    </message>
    <message>
        <source>Width in &amp;Inches</source>
        <translation>Breite in &amp;Zoll</translation>
    </message>
    <message>
        <source>&amp;Centimeters</source>
        <translation>Ze&amp;ntimeter</translation>
    </message>
    <message>
        <source>Show &amp;Date in Header</source>
        <translation>Datum im &amp;Kopf zeigen</translation>
    </message>
    <message>
        <source>Page N&amp;umber</source>
        <translation>&amp;Seitennummer</translation>
    </message>
    <message>
        <source>&amp;Primary Sort</source>
        <translation>&amp;Hauptsortierung</translation>
    </message>
    <message>
        <source>Se&amp;condary Sort</source>
        <translation>&amp;Zweite Sortierung</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As</source>
        <translation>Speichern &amp;unter …</translation>
    </message>
</context>
<context>
    <name>perlinex::exchange::ImportDialog</name>
    <message>
        <source>Import Stamps</source>
        <translation>Briefmarken importieren</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Durchsuchen …</translation>
    </message>
    <message>
        <source>&amp;File:</source>
        <translation>Da&amp;tei:</translation>
    </message>
    <message>
        <source>&amp;Delimiter:</source>
        <translation>T&amp;rennzeichen:</translation>
    </message>
    <message>
        <source>&amp;Encoding:</source>
        <translation>&amp;Kodierung:</translation>
    </message>
    <message>
        <source>Decimal se&amp;parator:</source>
        <translation>Dezimal&amp;zeichen:</translation>
    </message>
    <message>
        <source>&amp;Columns of the file and the fields they fill:</source>
        <translation>&amp;Spalten der Datei und die Felder, die sie füllen:</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Zeile</translation>
    </message>
    <message>
        <source>Column</source>
        <translation>Spalte</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Grund</translation>
    </message>
    <message>
        <source>Store only the &amp;good lines; leave the refused ones out</source>
        <translation>Nur die &amp;guten Zeilen speichern; die abgewiesenen auslassen</translation>
    </message>
    <message>
        <source>Refused &amp;lines and remarks:</source>
        <translation>Abgewiesene Zei&amp;len und Hinweise:</translation>
    </message>
    <message>
        <source>&amp;New classifications:</source>
        <translation>&amp;Neue Klassifizierungen:</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Importieren</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Pre&amp;view: the first stamps as they will be stored</source>
        <translation>&amp;Vorschau: die ersten Briefmarken, wie sie gespeichert werden</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>CSV and Tellico Files (*.csv *.txt *.tc)|*.csv;*.txt;*.tc|CSV Files (*.csv)|*.csv|Tellico Files (*.tc)|*.tc|All Files (*.*)|*.*</source>
        <translation>CSV- und Tellico-Dateien (*.csv *.txt *.tc)|*.csv;*.txt;*.tc|CSV-Dateien (*.csv)|*.csv|Tellico-Dateien (*.tc)|*.tc|Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>No collection is open.</source>
        <translation>Keine Sammlung geöffnet.</translation>
    </message>
    <message>
        <source>Tellico stamp collection &quot;%1&quot;; entries: %2</source>
        <translation>Tellico-Briefmarkensammlung „%1“; Einträge: %2</translation>
    </message>
    <message>
        <source>CSV file; lines below its header: %1</source>
        <translation>CSV-Datei; Zeilen unter der Kopfzeile: %1</translation>
    </message>
    <message>
        <source>%1 (detected)</source>
        <translation>%1 (erkannt)</translation>
    </message>
    <message>
        <source>Comma</source>
        <translation>Komma</translation>
    </message>
    <message>
        <source>Semicolon</source>
        <translation>Semikolon</translation>
    </message>
    <message>
        <source>Tab</source>
        <translation>Tabulator</translation>
    </message>
    <message>
        <source>UTF-8</source>
        <translation>UTF-8</translation>
    </message>
    <message>
        <source>UTF-16</source>
        <translation>UTF-16</translation>
    </message>
    <message>
        <source>Latin-1 / Windows-1252</source>
        <translation>Latin-1 / Windows-1252</translation>
    </message>
    <message>
        <source>Point (.)</source>
        <translation>Punkt (.)</translation>
    </message>
    <message>
        <source>Comma (,)</source>
        <translation>Komma (,)</translation>
    </message>
    <message>
        <source>Field</source>
        <translation>Feld</translation>
    </message>
    <message>
        <source>First line</source>
        <translation>Erste Zeile</translation>
    </message>
    <message>
        <source>Column %1</source>
        <translation>Spalte %1</translation>
    </message>
    <message>
        <source>Notes, under the column&apos;s name</source>
        <translation>Notizen, unter dem Namen der Spalte</translation>
    </message>
    <message>
        <source>Not imported</source>
        <translation>Nicht importiert</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>%1, where the other column leaves it blank</source>
        <translation>%1, wo die andere Spalte es leer lässt</translation>
    </message>
    <message>
        <source>Refused: %1</source>
        <translation>Abgewiesen: %1</translation>
    </message>
    <message>
        <source>Stamps that can be stored: %1.</source>
        <translation>Briefmarken, die gespeichert werden können: %1.</translation>
    </message>
    <message>
        <source>Lines refused: %1.</source>
        <translation>Abgewiesene Zeilen: %1.</translation>
    </message>
    <message>
        <source>Nothing from line %1 on could be read.</source>
        <translation>Ab Zeile %1 konnte nichts gelesen werden.</translation>
    </message>
    <message>
        <source>Equal to stamps already in the collection: %1.</source>
        <translation>Gleich Briefmarken, die schon in der Sammlung sind: %1.</translation>
    </message>
    <message>
        <source>The first %1 of %2 problems are listed.</source>
        <translation>Die ersten %1 von %2 Problemen sind aufgeführt.</translation>
    </message>
    <message>
        <source>Lines of the file refused: %1. Each is listed with its reason; nothing has been stored.

Mend the file and open it again, or choose to store only the good lines.</source>
        <translation>Abgewiesene Zeilen der Datei: %1. Jede ist mit ihrem Grund aufgeführt; es wurde nichts gespeichert.

Berichtigen Sie die Datei, und öffnen Sie sie erneut, oder wählen Sie, nur die guten Zeilen zu speichern.</translation>
    </message>
    <message>
        <source>The file holds no stamp that can be stored.</source>
        <translation>Die Datei enthält keine Briefmarke, die gespeichert werden kann.</translation>
    </message>
    <message>
        <source>Stamps of the file equal to stamps already in the collection (the same description, catalogue number, country and year, as when a file is imported a second time): %1.

Leave them out?</source>
        <translation>Briefmarken der Datei, die Briefmarken in der Sammlung gleichen (dieselbe Beschreibung, Katalognummer, dasselbe Land und Jahr, wie wenn eine Datei ein zweites Mal importiert wird): %1.

Diese auslassen?</translation>
    </message>
    <message>
        <source>    and others: %1 more</source>
        <translation>    und weitere: %1</translation>
    </message>
    <message>
        <source>These classifications are not in their code tables yet:

%1

Add them to the code tables? Choose No to leave those fields empty and keep the descriptions in the stamps&apos; notes.</source>
        <translation>Diese Klassifizierungen stehen noch nicht in ihren Codetabellen:

%1

Sollen sie in die Codetabellen aufgenommen werden? Wählen Sie „Nein“, um diese Felder leer zu lassen und die Bezeichnungen in den Notizen der Briefmarken zu behalten.</translation>
    </message>
    <message>
        <source>Storing the stamps...</source>
        <translation>Die Briefmarken werden gespeichert …</translation>
    </message>
    <message>
        <source>The import was cancelled. Nothing has been stored: the collection is as it was.</source>
        <translation>Der Import wurde abgebrochen. Es wurde nichts gespeichert: Die Sammlung ist unverändert.</translation>
    </message>
    <message>
        <source>Stamps imported: %1 (numbers %2 to %3).</source>
        <translation>Importierte Briefmarken: %1 (Nummern %2 bis %3).</translation>
    </message>
    <message>
        <source>No stamps were imported.</source>
        <translation>Es wurden keine Briefmarken importiert.</translation>
    </message>
    <message>
        <source>Refused lines left out: %1.</source>
        <translation>Ausgelassene abgewiesene Zeilen: %1.</translation>
    </message>
    <message>
        <source>Stamps already in the collection left out: %1.</source>
        <translation>Ausgelassene, schon vorhandene Briefmarken: %1.</translation>
    </message>
    <message>
        <source>New classifications added to the code tables: %1.</source>
        <translation>In die Codetabellen aufgenommene neue Klassifizierungen: %1.</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>Other pictures that could not be stored: %1.</source>
        <translation>Weitere Bilder, die nicht gespeichert werden konnten: %1.</translation>
    </message>
</context>
<context>
    <name>perlinex::frmAbout</name>
    <message>
        <source>About Perlinex</source>
        <translation>Über Perlinex</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Perlinex catalogues a postage-stamp collection: one record per stamp with its prices, dates, classifications and picture, code tables to classify by, a search, and fixed and self-designed reports.</source>
        <translation>Perlinex verwaltet eine Briefmarkensammlung: ein Eintrag je Briefmarke mit Preisen, Daten, Klassifizierungen und Bild, Codetabellen zum Einordnen, eine Suche sowie feste und selbst gestaltete Berichte.</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>perlinex::frmBackup</name>
    <message>
        <source>Making the backup...</source>
        <translation>Die Sicherung wird angelegt …</translation>
    </message>
    <message>
        <source>Last backup: %1</source>
        <translation>Letzte Sicherung: %1</translation>
    </message>
    <message>
        <source>Last backup (incomplete): %1</source>
        <translation>Letzte Sicherung (unvollständig): %1</translation>
    </message>
    <message>
        <source>Restoring the backup...</source>
        <translation>Die Sicherung wird zurückgespielt …</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>Sicherung</translation>
    </message>
    <message>
        <source>&amp;Make Backup...</source>
        <translation>Sicherung &amp;anlegen …</translation>
    </message>
    <message>
        <source>&amp;Restore Backup...</source>
        <translation>Sicherung &amp;zurückspielen …</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Choose the Folder to Put the Backup In</source>
        <translation>Ordner für die Sicherung wählen</translation>
    </message>
    <message>
        <source>Restore Backup</source>
        <translation>Sicherung zurückspielen</translation>
    </message>
    <message>
        <source>Choose the Backup Folder (Perlinex backup ...) to Restore</source>
        <translation>Zurückzuspielenden Sicherungsordner (Perlinex backup …) wählen</translation>
    </message>
    <message>
        <source>The folder %1 is the program folder that holds the current collection, not a backup.

Choose a folder named like &quot;Perlinex backup 2024-05-01 18-30-00&quot;.</source>
        <translation>Der Ordner %1 ist der Programmordner mit der aktuellen Sammlung, keine Sicherung.

Wählen Sie einen Ordner mit einem Namen wie „Perlinex backup 2024-05-01 18-30-00“.</translation>
    </message>
    <message>
        <source>The folder %1 does not hold a Perlinex backup.

Choose a folder named like &quot;Perlinex backup 2024-05-01 18-30-00&quot;; it holds stamp.mdb and an images folder. Nothing has been changed.</source>
        <translation>Der Ordner %1 enthält keine Perlinex-Sicherung.

Wählen Sie einen Ordner mit einem Namen wie „Perlinex backup 2024-05-01 18-30-00“; er enthält stamp.mdb und einen Ordner images. Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>Replace the current collection with the backup in
%1?

The current collection is kept as stamp-before-restore.mdb and its pictures as images-before-restore in the program folder, replacing any kept there by an earlier restore.</source>
        <translation>Die aktuelle Sammlung durch die Sicherung in
%1 ersetzen?

Die aktuelle Sammlung wird als stamp-before-restore.mdb und ihre Bilder als images-before-restore im Programmordner aufbewahrt; was ein früheres Zurückspielen dort aufbewahrt hat, wird ersetzt.</translation>
    </message>
    <message>
        <source>Restored from: %1</source>
        <translation>Zurückgespielt aus: %1</translation>
    </message>
    <message>
        <source>The collection has been restored from the backup in
%1.</source>
        <translation>Die Sammlung wurde aus der Sicherung in
%1 zurückgespielt.</translation>
    </message>
    <message>
        <source>A backup is a copy of your whole collection: the stamp records with the code tables (stamp.mdb) and the stamp pictures (the images folder).

Make Backup puts the copy in a new folder named with today&apos;s date and time, such as &quot;Perlinex backup 2024-05-01 18-30-00&quot;, inside the folder you choose. Choose a folder on another disk or a memory stick, so that the copy survives when this disk fails.

Restore Backup puts such a copy back in place of the current collection. The current collection is kept as stamp-before-restore.mdb (and its pictures as images-before-restore) in the program folder.

Report layouts (.rpt files) are kept wherever you saved them and are not part of a backup.</source>
        <translation>Eine Sicherung ist eine Kopie Ihrer ganzen Sammlung: die Briefmarkeneinträge mit den Codetabellen (stamp.mdb) und die Briefmarkenbilder (der Ordner images).

„Sicherung anlegen“ legt die Kopie in einem neuen Ordner an, der nach dem heutigen Datum und der Uhrzeit benannt ist, etwa „Perlinex backup 2024-05-01 18-30-00“, in dem Ordner, den Sie wählen. Wählen Sie einen Ordner auf einem anderen Datenträger oder einem USB-Stick, damit die Kopie erhalten bleibt, wenn dieser Datenträger ausfällt.

„Sicherung zurückspielen“ setzt eine solche Kopie an die Stelle der aktuellen Sammlung. Die aktuelle Sammlung wird als stamp-before-restore.mdb (und ihre Bilder als images-before-restore) im Programmordner aufbewahrt.

Berichtsvorlagen (.rpt-Dateien) liegen dort, wo Sie sie gespeichert haben, und gehören nicht zur Sicherung.</translation>
    </message>
</context>
<context>
    <name>perlinex::frmCodesMaint</name>
    <message>
        <source>There is already a %1 &quot;%2&quot;. An entry that differs from it only in capitals or accents could not be told apart from it in the lists, so &quot;%3&quot; is not stored.</source>
        <translation>Es gibt schon den Eintrag „%2“ (%1). Ein Eintrag, der sich nur in Groß- und Kleinschreibung oder Akzenten davon unterscheidet, wäre in den Listen nicht davon zu unterscheiden, darum wird „%3“ nicht gespeichert.</translation>
    </message>
    <message>
        <source>Entry Already There</source>
        <translation>Eintrag schon vorhanden</translation>
    </message>
    <message>
        <source>Enter the %1 description to find:</source>
        <translation>Gesuchte Bezeichnung (%1) eingeben:</translation>
    </message>
    <message>
        <source>Find Code</source>
        <translation>Code suchen</translation>
    </message>
    <message>
        <source>The search for &quot;%1&quot; could not be made.

%2</source>
        <translation>Die Suche nach „%1“ war nicht möglich.

%2</translation>
    </message>
    <message>
        <source>The collection is not open.</source>
        <translation>Die Sammlung ist nicht geöffnet.</translation>
    </message>
    <message>
        <source>&amp;Add New</source>
        <translation>Neu &amp;anlegen</translation>
    </message>
    <message>
        <source>Do you want to save the changes to this entry?</source>
        <translation>Wollen Sie die Änderungen an diesem Eintrag speichern?</translation>
    </message>
    <message>
        <source>You must enter a description or press Cancel</source>
        <translation>Geben Sie eine Bezeichnung ein, oder wählen Sie „Abbrechen“</translation>
    </message>
    <message>
        <source>Missing Data</source>
        <translation>Fehlende Angaben</translation>
    </message>
    <message>
        <source>&amp;Add Another</source>
        <translation>&amp;Weiteren anlegen</translation>
    </message>
    <message>
        <source>Cannot Delete</source>
        <translation>Löschen nicht möglich</translation>
    </message>
    <message>
        <source>That record was not found.</source>
        <translation>Dieser Eintrag wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>No Records Match</source>
        <translation>Keine Treffer</translation>
    </message>
    <message>
        <source>Firs&amp;t</source>
        <translation>&amp;Erste</translation>
    </message>
    <message>
        <source>&amp;Previous</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Nächste</translation>
    </message>
    <message>
        <source>&amp;Last</source>
        <translation>Le&amp;tzte</translation>
    </message>
    <message>
        <source>&amp;Update</source>
        <translation>S&amp;peichern</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>Abb&amp;rechen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>Lös&amp;chen</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Suchen</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>This entry was deleted by another user. The entries are shown as they are now.</source>
        <translation>Dieser Eintrag wurde von einem anderen Benutzer gelöscht. Die Einträge werden so gezeigt, wie sie jetzt sind.</translation>
    </message>
</context>
<context>
    <name>perlinex::frmDateEnt</name>
    <message>
        <source>Select Date</source>
        <translation>Datum wählen</translation>
    </message>
</context>
<context>
    <name>perlinex::frmFind</name>
    <message>
        <source>Find a Stamp</source>
        <translation>Briefmarke suchen</translation>
    </message>
    <message>
        <source>Field to Find</source>
        <translation>Suchfeld</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>Vergleich</translation>
    </message>
    <message>
        <source>What to Find</source>
        <translation>Suchbegriff</translation>
    </message>
    <message>
        <source>FindFirst</source>
        <translation>Erste suchen</translation>
    </message>
    <message>
        <source>Find Previous</source>
        <translation>Vorige suchen</translation>
    </message>
    <message>
        <source>Find Next</source>
        <translation>Nächste suchen</translation>
    </message>
    <message>
        <source>Find Last</source>
        <translation>Letzte suchen</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Suchen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>not =</source>
        <translation>nicht =</translation>
    </message>
    <message>
        <source>Contains</source>
        <translation>Enthält</translation>
    </message>
    <message>
        <source>Begins With</source>
        <translation>Beginnt mit</translation>
    </message>
    <message>
        <source>Ends With</source>
        <translation>Endet mit</translation>
    </message>
    <message>
        <source>Equals</source>
        <translation>Gleich</translation>
    </message>
    <message>
        <source>True</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>False</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>The list of fields to search could not be read, so there is nothing to search by: %1</source>
        <translation>Die Liste der Suchfelder konnte nicht gelesen werden, darum kann nach nichts gesucht werden: %1</translation>
    </message>
    <message>
        <source>Select Value</source>
        <translation>Wert wählen</translation>
    </message>
    <message>
        <source>The collection is not open.</source>
        <translation>Die Sammlung ist nicht geöffnet.</translation>
    </message>
    <message>
        <source>The values of %1 could not be read: %2</source>
        <translation>Die Werte von %1 konnten nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>There are no fields to search.</source>
        <translation>Es gibt keine Felder zum Suchen.</translation>
    </message>
    <message>
        <source>You must select the field to find from the first list.</source>
        <translation>Wählen Sie das Suchfeld in der ersten Liste.</translation>
    </message>
    <message>
        <source>You must select the value to find from the second list.</source>
        <translation>Wählen Sie den gesuchten Wert in der zweiten Liste.</translation>
    </message>
    <message>
        <source>No Value Selected</source>
        <translation>Kein Wert gewählt</translation>
    </message>
    <message>
        <source>You must enter a valid number for this field.</source>
        <translation>Geben Sie für dieses Feld eine gültige Zahl ein.</translation>
    </message>
    <message>
        <source>Search Value Not Numeric</source>
        <translation>Suchwert ist keine Zahl</translation>
    </message>
    <message>
        <source>You must enter a valid date for this field.</source>
        <translation>Geben Sie für dieses Feld ein gültiges Datum ein.</translation>
    </message>
    <message>
        <source>Search Value Not Date</source>
        <translation>Suchwert ist kein Datum</translation>
    </message>
    <message>
        <source>The field %1 cannot be searched.</source>
        <translation>Im Feld %1 kann nicht gesucht werden.</translation>
    </message>
    <message>
        <source>No stamps are open.</source>
        <translation>Es sind keine Briefmarken geöffnet.</translation>
    </message>
    <message>
        <source>The search could not be made: </source>
        <translation>Die Suche war nicht möglich: </translation>
    </message>
    <message>
        <source>Comparison</source>
        <translation>Vergleich</translation>
    </message>
    <message>
        <source>Value to find</source>
        <translation>Gesuchter Wert</translation>
    </message>
</context>
<context>
    <name>perlinex::frmMain</name>
    <message>
        <source>&amp;Add Another</source>
        <translation>&amp;Weitere neu</translation>
    </message>
    <message>
        <source>&amp;Add New</source>
        <translation>Ne&amp;u</translation>
    </message>
    <message>
        <source>%1 — %2 (read-only)</source>
        <translation>%1 — %2 (schreibgeschützt)</translation>
    </message>
    <message>
        <source>%1 — %2</source>
        <translation>%1 — %2</translation>
    </message>
    <message>
        <source>No collection is open.</source>
        <translation>Keine Sammlung geöffnet.</translation>
    </message>
    <message>
        <source>The collection &apos;%1&apos; is damaged (%2).</source>
        <translation>Die Sammlung „%1“ ist beschädigt (%2).</translation>
    </message>
    <message>
        <source>The collection could not be opened again.</source>
        <translation>Die Sammlung konnte nicht wieder geöffnet werden.</translation>
    </message>
    <message>
        <source>The record on screen has not been stored yet. Check it and press Update to store it.</source>
        <translation>Der angezeigte Eintrag ist noch nicht gespeichert. Prüfen Sie ihn, und wählen Sie „Speichern“, um ihn zu speichern.</translation>
    </message>
    <message>
        <source>The record on screen has not been stored. Do you want to close Perlinex and lose the changes?</source>
        <translation>Der angezeigte Eintrag ist nicht gespeichert. Wollen Sie Perlinex schließen und die Änderungen verwerfen?</translation>
    </message>
    <message>
        <source>Close Perlinex</source>
        <translation>Perlinex schließen</translation>
    </message>
    <message>
        <source>This collection has no stamps.</source>
        <translation>Diese Sammlung enthält keine Briefmarken.</translation>
    </message>
    <message>
        <source>This collection has no stamps yet: press Add New to add the first one.</source>
        <translation>Diese Sammlung enthält noch keine Briefmarken: Wählen Sie „Neu“, um die erste anzulegen.</translation>
    </message>
    <message>
        <source>“%1”</source>
        <translation>„%1“</translation>
    </message>
    <message>
        <source>“%1”, catalogue number %2</source>
        <translation>„%1“, Katalognummer %2</translation>
    </message>
    <message>
        <source>Are you sure that you want to delete this stamp record?

%1</source>
        <translation>Wollen Sie diesen Briefmarkeneintrag wirklich löschen?

%1</translation>
    </message>
    <message>
        <source>Delete Stamp</source>
        <translation>Briefmarke löschen</translation>
    </message>
    <message>
        <source>No stamps entered to find.</source>
        <translation>Es gibt keine Briefmarken zum Suchen.</translation>
    </message>
    <message>
        <source>No Stamps in Database</source>
        <translation>Keine Briefmarken in der Sammlung</translation>
    </message>
    <message>
        <source>That stamp was not found.</source>
        <translation>Diese Briefmarke wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>No Records Match</source>
        <translation>Keine Treffer</translation>
    </message>
    <message>
        <source>Load Image</source>
        <translation>Bild laden</translation>
    </message>
    <message>
        <source>File not found.</source>
        <translation>Datei nicht gefunden.</translation>
    </message>
    <message>
        <source>Please store or cancel the record on screen before making or restoring a backup or compacting the collection.</source>
        <translation>Bitte speichern oder verwerfen Sie den angezeigten Eintrag, bevor Sie eine Sicherung anlegen oder zurückspielen oder die Sammlung komprimieren.</translation>
    </message>
    <message>
        <source>Compact Database</source>
        <translation>Datenbank komprimieren</translation>
    </message>
    <message>
        <source>Do you wish to compact the Perlinex database?</source>
        <translation>Wollen Sie die Perlinex-Datenbank komprimieren?</translation>
    </message>
    <message>
        <source>Compacting the collection...</source>
        <translation>Die Sammlung wird komprimiert …</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>Sicherung</translation>
    </message>
    <message>
        <source>Please store or cancel the record on screen before importing stamps.</source>
        <translation>Bitte speichern oder verwerfen Sie den angezeigten Eintrag, bevor Sie Briefmarken importieren.</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>The stored %1 holds %2 characters, more than the %3 this field takes. It is kept whole unless you change it here.</source>
        <translation>Das gespeicherte Feld %1 enthält %2 Zeichen, mehr als die %3, die dieses Feld fasst. Es bleibt vollständig erhalten, solange Sie es hier nicht ändern.</translation>
    </message>
    <message>
        <source>Will Pay</source>
        <translation>Höchstgebot</translation>
    </message>
    <message>
        <source>Price Paid</source>
        <translation>Kaufpreis</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>  Stamp Prices</source>
        <translation>  Preise</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notizen</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Firs&amp;t</source>
        <translation>&amp;Erste</translation>
    </message>
    <message>
        <source>&amp;Previous</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Nächste</translation>
    </message>
    <message>
        <source>&amp;Last</source>
        <translation>&amp;Letzte</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>Lös&amp;chen</translation>
    </message>
    <message>
        <source>F&amp;ind</source>
        <translation>&amp;Suchen</translation>
    </message>
    <message>
        <source>&amp;Update</source>
        <translation>S&amp;peichern</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>Abb&amp;rechen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>L&amp;oad Image</source>
        <translation>B&amp;ild laden</translation>
    </message>
    <message>
        <source>Paste Ima&amp;ge</source>
        <translation>Bild einf&amp;ügen</translation>
    </message>
    <message>
        <source>Cop&amp;y Image</source>
        <translation>Bild &amp;kopieren</translation>
    </message>
    <message>
        <source>Actual Si&amp;ze</source>
        <translation>Originalgr&amp;öße</translation>
    </message>
    <message>
        <source>Shows the picture at its full size; otherwise it is fitted to the view.</source>
        <translation>Zeigt das Bild in voller Größe; sonst wird es in die Ansicht eingepasst.</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Backup</source>
        <translation>&amp;Sicherung</translation>
    </message>
    <message>
        <source>&amp;Pack Database</source>
        <translation>Datenbank &amp;komprimieren</translation>
    </message>
    <message>
        <source>&amp;Export CSV...</source>
        <translation>CSV-&amp;Export …</translation>
    </message>
    <message>
        <source>&amp;Import...</source>
        <translation>&amp;Import …</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Sort</source>
        <translation>S&amp;ortieren</translation>
    </message>
    <message>
        <source>Sort by &amp;Description</source>
        <translation>Nach &amp;Beschreibung</translation>
    </message>
    <message>
        <source>Sort by &amp;Catalog Number</source>
        <translation>Nach &amp;Katalognummer</translation>
    </message>
    <message>
        <source>Sort by &amp;Issue Date</source>
        <translation>Nach &amp;Ausgabedatum</translation>
    </message>
    <message>
        <source>&amp;Maintain</source>
        <translation>&amp;Verwalten</translation>
    </message>
    <message>
        <source>&amp;Reports</source>
        <translation>&amp;Berichte</translation>
    </message>
    <message>
        <source>&amp;View/Print Report</source>
        <translation>Bericht &amp;anzeigen/drucken</translation>
    </message>
    <message>
        <source>Send Report to &amp;File</source>
        <translation>Bericht in &amp;Datei</translation>
    </message>
    <message>
        <source>Web Table (html)</source>
        <translation>Webtabelle (HTML)</translation>
    </message>
    <message>
        <source>Stamps by &amp;Country</source>
        <translation>Marken nach &amp;Land</translation>
    </message>
    <message>
        <source>Stamps by &amp;Type</source>
        <translation>Marken nach &amp;Typ</translation>
    </message>
    <message>
        <source>Stamps by For&amp;mat</source>
        <translation>Marken nach &amp;Format</translation>
    </message>
    <message>
        <source>Stamps by T&amp;opic</source>
        <translation>Marken nach &amp;Motiv</translation>
    </message>
    <message>
        <source>Collection Val&amp;ue</source>
        <translation>Sammlungs&amp;wert</translation>
    </message>
    <message>
        <source>&amp;Want List</source>
        <translation>Fe&amp;hlliste</translation>
    </message>
    <message>
        <source>Stamps For S&amp;ale</source>
        <translation>Marken zum &amp;Verkauf</translation>
    </message>
    <message>
        <source>Stamps &amp;Sold</source>
        <translation>Ver&amp;kaufte Marken</translation>
    </message>
    <message>
        <source>Custom &amp;Reports</source>
        <translation>&amp;Eigene Berichte</translation>
    </message>
    <message>
        <source>Stat&amp;istics...</source>
        <translation>&amp;Statistik …</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>&amp;Search for Help on...</source>
        <translation>Hilfe &amp;suchen …</translation>
    </message>
    <message>
        <source>&amp;Using Help</source>
        <translation>Hilfe &amp;benutzen</translation>
    </message>
    <message>
        <source>&amp;About the Perlinex Program</source>
        <translation>&amp;Über das Programm Perlinex</translation>
    </message>
    <message>
        <source>Stamp record</source>
        <translation>Briefmarkeneintrag</translation>
    </message>
    <message>
        <source>Record buttons</source>
        <translation>Schaltflächen des Eintrags</translation>
    </message>
    <message>
        <source>Stamp picture</source>
        <translation>Briefmarkenbild</translation>
    </message>
    <message>
        <source> — %1</source>
        <translation> — %1</translation>
    </message>
    <message>
        <source>&amp;New Collection...</source>
        <translation>&amp;Neue Sammlung …</translation>
    </message>
    <message>
        <source>&amp;Open Collection...</source>
        <translation>Sammlung ö&amp;ffnen …</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>Collection &amp;List</source>
        <translation>Sammlungs&amp;liste</translation>
    </message>
    <message>
        <source>There is no collection in %1 any more. It is taken off the list of recent collections.</source>
        <translation>In %1 gibt es keine Sammlung mehr. Sie wird aus der Liste der zuletzt geöffneten Sammlungen entfernt.</translation>
    </message>
    <message>
        <source>Open Recent</source>
        <translation>Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>New Collection</source>
        <translation>Neue Sammlung</translation>
    </message>
    <message>
        <source>There is a collection in %1 already. Open it with Open Collection, or choose another folder.</source>
        <translation>In %1 gibt es bereits eine Sammlung. Öffnen Sie sie mit „Sammlung öffnen“, oder wählen Sie einen anderen Ordner.</translation>
    </message>
    <message>
        <source>Open Collection</source>
        <translation>Sammlung öffnen</translation>
    </message>
    <message>
        <source>The record on screen has not been stored. Do you want to open another collection and lose the changes?</source>
        <translation>Der angezeigte Eintrag ist nicht gespeichert. Wollen Sie eine andere Sammlung öffnen und die Änderungen verwerfen?</translation>
    </message>
    <message>
        <source>%1 — %2 (shared)</source>
        <translation>%1 — %2 (gemeinsam)</translation>
    </message>
    <message>
        <source>This stamp was changed by another user since you began editing it.

Do you want to store your version over theirs?

Choose No to see their version; your changes are then dropped.</source>
        <translation>Diese Briefmarke wurde von einem anderen Benutzer geändert, seit Sie mit der Bearbeitung begonnen haben.

Wollen Sie Ihre Fassung über die andere speichern?

Wählen Sie „Nein“, um die andere Fassung zu sehen; Ihre Änderungen werden dann verworfen.</translation>
    </message>
    <message>
        <source>Stamp Changed</source>
        <translation>Briefmarke geändert</translation>
    </message>
    <message>
        <source>This stamp was deleted by another user since you began editing it. Your changes could not be stored.</source>
        <translation>Diese Briefmarke wurde von einem anderen Benutzer gelöscht, seit Sie mit der Bearbeitung begonnen haben. Ihre Änderungen konnten nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Stamp Deleted</source>
        <translation>Briefmarke gelöscht</translation>
    </message>
    <message>
        <source>Backup: a new folder for the copy of the shared collection</source>
        <translation>Sicherung: ein neuer Ordner für die Kopie der gemeinsamen Sammlung</translation>
    </message>
    <message>
        <source>Copying the shared collection...</source>
        <translation>Die gemeinsame Sammlung wird kopiert …</translation>
    </message>
    <message numerus="yes">
        <source>The shared collection has been copied to %1: %2, with %n picture(s). It opens with Open Collection, without the server.</source>
        <translation>
            <numerusform>Die gemeinsame Sammlung wurde nach %1 kopiert: %2, mit %n Bild. Sie lässt sich mit „Sammlung öffnen“ ohne den Server öffnen.</numerusform>
            <numerusform>Die gemeinsame Sammlung wurde nach %1 kopiert: %2, mit %n Bildern. Sie lässt sich mit „Sammlung öffnen“ ohne den Server öffnen.</numerusform>
        </translation>
    </message>
    <message>
        <source>Open &amp;Shared Collection...</source>
        <translation>&amp;Gemeinsame Sammlung öffnen …</translation>
    </message>
    <message>
        <source>The shared collection: its server (a postgresql:// address or a service name) and, after #, the collection&apos;s name there (stamps when none is named). The password comes from ~/.pgpass or the service file.</source>
        <translation>Die gemeinsame Sammlung: ihr Server (eine postgresql://-Adresse oder ein Dienstname) und nach # der Name der Sammlung dort (stamps, wenn keiner genannt ist). Das Passwort kommt aus ~/.pgpass oder der Dienstdatei.</translation>
    </message>
    <message>
        <source>Open Shared Collection</source>
        <translation>Gemeinsame Sammlung öffnen</translation>
    </message>
</context>
<context>
    <name>perlinex::reports::frmOutput</name>
    <message>
        <source>Report Output</source>
        <translation>Berichtsausgabe</translation>
    </message>
    <message>
        <source>First Page (Home)</source>
        <translation>Erste Seite (Pos1)</translation>
    </message>
    <message>
        <source>Previous Page (PgUp)</source>
        <translation>Vorige Seite (Bild auf)</translation>
    </message>
    <message>
        <source>Page </source>
        <translation>Seite </translation>
    </message>
    <message>
        <source>Page 00000 of 00000</source>
        <translation>Seite 00000 von 00000</translation>
    </message>
    <message>
        <source>Next Page (PgDn)</source>
        <translation>Nächste Seite (Bild ab)</translation>
    </message>
    <message>
        <source>Last Page (End)</source>
        <translation>Letzte Seite (Ende)</translation>
    </message>
    <message>
        <source>Whole &amp;Page|Page &amp;Width|&amp;Two Pages|Thumb&amp;nail</source>
        <translation>Ganze &amp;Seite|Seiten&amp;breite|&amp;Zwei Seiten|&amp;Miniaturen</translation>
    </message>
    <message>
        <source>P&amp;rint...</source>
        <translation>&amp;Drucken …</translation>
    </message>
    <message>
        <source>Export P&amp;DF...</source>
        <translation>&amp;PDF exportieren …</translation>
    </message>
    <message>
        <source>Laying out pages... %p%</source>
        <translation>Seiten werden umbrochen … %p%</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source> of %1</source>
        <translation> von %1</translation>
    </message>
    <message>
        <source> of %1+</source>
        <translation> von %1+</translation>
    </message>
    <message>
        <source>Printing...</source>
        <translation>Drucken …</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>on the %1</source>
        <translation>auf %1</translation>
    </message>
    <message>
        <source>Now printing Page %1 of %2</source>
        <translation>Drucke Seite %1 von %2</translation>
    </message>
    <message>
        <source>The report could not be printed.</source>
        <translation>Der Bericht konnte nicht gedruckt werden.</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>PDF exportieren</translation>
    </message>
    <message>
        <source>PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*</source>
        <translation>PDF-Dateien (*.pdf)|*.pdf|Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>The file &apos;%1&apos; already exists.  Do you wish to replace it?</source>
        <translation>Die Datei „%1“ ist schon vorhanden. Wollen Sie sie ersetzen?</translation>
    </message>
    <message>
        <source>File Exists</source>
        <translation>Datei vorhanden</translation>
    </message>
    <message>
        <source>Now writing Page %1 of %2</source>
        <translation>Schreibe Seite %1 von %2</translation>
    </message>
    <message>
        <source>The file &apos;%1&apos; could not be written.
%2</source>
        <translation>Die Datei „%1“ konnte nicht geschrieben werden.
%2</translation>
    </message>
</context>
<context>
    <name>perlinex::reports::frmRptSel</name>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>Abb&amp;rechen</translation>
    </message>
    <message>
        <source>You must make a selection from the list!</source>
        <translation>Wählen Sie einen Eintrag aus der Liste!</translation>
    </message>
</context>
<context>
    <name>perlinex::stats::StatisticsWindow</name>
    <message>
        <source>Statistics (filtered: %1)</source>
        <translation>Statistik (gefiltert: %1)</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>The collection at a glance</source>
        <translation>Die Sammlung im Überblick</translation>
    </message>
    <message>
        <source>Chart: %1</source>
        <translation>Diagramm: %1</translation>
    </message>
    <message>
        <source>Figures: %1</source>
        <translation>Zahlen: %1</translation>
    </message>
    <message>
        <source>&amp;Count</source>
        <translation>An&amp;zahl</translation>
    </message>
    <message>
        <source>&amp;Value</source>
        <translation>&amp;Wert</translation>
    </message>
    <message>
        <source>Export Ch&amp;art...</source>
        <translation>Dia&amp;gramm exportieren …</translation>
    </message>
    <message>
        <source>Export &amp;Figures...</source>
        <translation>Zahlen e&amp;xportieren …</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>No collection is open.</source>
        <translation>Keine Sammlung geöffnet.</translation>
    </message>
    <message>
        <source>The file &apos;%1&apos; could not be written; nothing has been changed.
%2</source>
        <translation>Die Datei „%1“ konnte nicht geschrieben werden; es wurde nichts geändert.
%2</translation>
    </message>
    <message>
        <source>Export Chart</source>
        <translation>Diagramm exportieren</translation>
    </message>
    <message>
        <source>PNG Images (*.png)|*.png|SVG Drawings (*.svg)|*.svg</source>
        <translation>PNG-Bilder (*.png)|*.png|SVG-Zeichnungen (*.svg)|*.svg</translation>
    </message>
    <message>
        <source>Export Figures</source>
        <translation>Zahlen exportieren</translation>
    </message>
    <message>
        <source>CSV Files (*.csv)|*.csv|All Files (*.*)|*.*</source>
        <translation>CSV-Dateien (*.csv)|*.csv|Alle Dateien (*.*)|*.*</translation>
    </message>
</context>
</TS>
