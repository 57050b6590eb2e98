<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>Application</name>
    <message>
        <source>LumenQuill could not save the journal (%1).</source>
        <translation>LumenQuill konnte das Tagebuch nicht speichern (%1).</translation>
    </message>
    <message>
        <source>The unsaved text is kept in %1</source>
        <translation>Der nicht gespeicherte Text liegt in %1</translation>
    </message>
    <message>
        <source>The unsaved text could not be kept either.</source>
        <translation>Auch der nicht gespeicherte Text konnte nicht gesichert werden.</translation>
    </message>
    <message>
        <source>LumenQuill is already running: its window was brought forward.</source>
        <translation>LumenQuill läuft schon: sein Fenster wurde nach vorn geholt.</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>A daily journal for the Linux desktop.</source>
        <translation>Ein Tagebuch für den Linux-Desktop.</translation>
    </message>
    <message>
        <source>Write the journal into DIR as Markdown files, one per day, and journal.md.</source>
        <translation>Schreibt das Tagebuch als Markdown-Dateien in ORDNER, eine je Tag, dazu journal.md.</translation>
    </message>
    <message>
        <source>DIR</source>
        <translation>ORDNER</translation>
    </message>
    <message>
        <source>Read the days of an exported folder DIR into the journal; a day with text of its own gets the imported text below a separator.</source>
        <translation>Liest die Tage eines exportierten Ordners ORDNER in das Tagebuch ein; hat ein Tag schon eigenen Text, kommt der eingelesene unter einer Trennlinie darunter.</translation>
    </message>
    <message>
        <source>give either --export DIR or --import DIR</source>
        <translation>bitte entweder --export ORDNER oder --import ORDNER angeben</translation>
    </message>
    <message>
        <source>there is no journal at %1 to export</source>
        <translation>unter %1 gibt es kein Tagebuch zum Exportieren</translation>
    </message>
    <message>
        <source>the journal could not be exported: %1</source>
        <translation>das Tagebuch konnte nicht exportiert werden: %1</translation>
    </message>
    <message numerus="yes">
        <source>Exported %n days to %1</source>
        <translation>
            <numerusform>%n Tag nach %1 exportiert</numerusform>
            <numerusform>%n Tage nach %1 exportiert</numerusform>
        </translation>
    </message>
    <message>
        <source>nothing was imported: %1</source>
        <translation>nichts wurde importiert: %1</translation>
    </message>
    <message numerus="yes">
        <source>Imported %n days from %1: %2 new, %3 merged below a separator, %4 already there</source>
        <translation>
            <numerusform>%n Tag aus %1 importiert: %2 neu, %3 unter einer Trennlinie angefügt, %4 schon vorhanden</numerusform>
            <numerusform>%n Tage aus %1 importiert: %2 neu, %3 unter einer Trennlinie angefügt, %4 schon vorhanden</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DailyBackup</name>
    <message>
        <source>cannot write %1 to disk: %2</source>
        <translation>%1 kann nicht auf den Datenträger geschrieben werden: %2</translation>
    </message>
    <message>
        <source>cannot create the folder %1</source>
        <translation>der Ordner %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>%1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>cannot rename %1: %2</source>
        <translation>%1 kann nicht umbenannt werden: %2</translation>
    </message>
</context>
<context>
    <name>DateText</name>
    <message>
        <source>MMMM d, yyyy, ddd</source>
        <extracomment>The day over the open note, as a QLocale date format: d the day, MMMM the month&apos;s name, yyyy the year, ddd the weekday&apos;s short name; text in single quotes is kept as it is. English: &quot;December 6, 2026, Sun&quot;.</extracomment>
        <translation>ddd, d. MMMM yyyy</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <extracomment>The calendar&apos;s title: %1 the month&apos;s name, %2 the year. English: &quot;December 2026&quot;.</extracomment>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>MMMM d, yyyy</source>
        <extracomment>A day in full, as a QLocale date format (see the header&apos;s), for screen readers and messages. English: &quot;December 6, 2026&quot;.</extracomment>
        <translation>d. MMMM yyyy</translation>
    </message>
</context>
<context>
    <name>DayCell</name>
    <message>
        <source>%1, has a note</source>
        <extracomment>A calendar day for screen readers: %1 the day in full.</extracomment>
        <translation>%1, hat eine Notiz</translation>
    </message>
</context>
<context>
    <name>EditorStatusBar</name>
    <message>
        <source>Not saved yet</source>
        <translation>Noch nicht gespeichert</translation>
    </message>
    <message>
        <source>The note could not be written to disk (%1). LumenQuill keeps it and tries again.</source>
        <translation>Die Notiz konnte nicht auf den Datenträger geschrieben werden (%1). LumenQuill behält sie und versucht es weiter.</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <extracomment>The status bar&apos;s counts: %1 the words, %2 the characters, each as translated below.</extracomment>
        <translation>%1 %2</translation>
    </message>
    <message numerus="yes">
        <source>%n words</source>
        <translation>
            <numerusform>%n Wort</numerusform>
            <numerusform>%n Wörter</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n characters</source>
        <translation>
            <numerusform>%n Zeichen</numerusform>
            <numerusform>%n Zeichen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Journal</name>
    <message>
        <source>the note is not in this journal</source>
        <translation>die Notiz gehört nicht zu diesem Tagebuch</translation>
    </message>
</context>
<context>
    <name>JournalDatabase</name>
    <message>
        <source>cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>%1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>%1 is a folder, not a journal file</source>
        <translation>%1 ist ein Ordner, keine Tagebuchdatei</translation>
    </message>
    <message>
        <source>cannot create the folder %1</source>
        <translation>der Ordner %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>the folder %1 is not writable, and the journal needs it</source>
        <translation>in den Ordner %1 kann nicht geschrieben werden, das Tagebuch braucht ihn aber</translation>
    </message>
    <message>
        <source>%1 cannot keep a write-ahead log</source>
        <translation>%1 kann kein Write-Ahead-Log führen</translation>
    </message>
    <message>
        <source>%1 could not be upgraded to this version: %2</source>
        <translation>%1 konnte nicht auf diese Version umgestellt werden: %2</translation>
    </message>
    <message>
        <source>the note is no longer in the journal</source>
        <translation>die Notiz ist nicht mehr im Tagebuch</translation>
    </message>
    <message>
        <source>the tag %1 can be neither made nor found</source>
        <translation>das Schlagwort %1 lässt sich weder anlegen noch finden</translation>
    </message>
</context>
<context>
    <name>JournalHeader</name>
    <message>
        <source>%1 is empty, not a journal</source>
        <translation>%1 ist leer, kein Tagebuch</translation>
    </message>
    <message>
        <source>%1 is not a journal (not an SQLite database)</source>
        <translation>%1 ist kein Tagebuch (keine SQLite-Datenbank)</translation>
    </message>
    <message>
        <source>%1 is truncated: %2 of %3 bytes are there</source>
        <translation>%1 ist abgeschnitten: nur %2 von %3 Bytes sind vorhanden</translation>
    </message>
    <message>
        <source>%1 is an SQLite database but not a journal</source>
        <translation>%1 ist eine SQLite-Datenbank, aber kein Tagebuch</translation>
    </message>
    <message>
        <source>%1 was written by a newer version of LumenQuill (store version %2; this version reads %3 and older)</source>
        <translation>%1 wurde von einer neueren Version von LumenQuill geschrieben (Speicherformat %2; diese Version liest %3 und ältere)</translation>
    </message>
</context>
<context>
    <name>JournalLock</name>
    <message>
        <source>cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 is already open in another LumenQuill (process %2)</source>
        <translation>%1 ist schon in einem anderen LumenQuill geöffnet (Prozess %2)</translation>
    </message>
    <message>
        <source>cannot lock %1: %2</source>
        <translation>%1 kann nicht gesperrt werden: %2</translation>
    </message>
    <message>
        <source>the journal file %1 was deleted or moved away</source>
        <translation>die Tagebuchdatei %1 wurde gelöscht oder verschoben</translation>
    </message>
    <message>
        <source>the journal file %1 was replaced by another file</source>
        <translation>die Tagebuchdatei %1 wurde durch eine andere Datei ersetzt</translation>
    </message>
</context>
<context>
    <name>JournalMenu</name>
    <message>
        <source>1 day</source>
        <translation>1 Tag</translation>
    </message>
    <message numerus="yes">
        <source>%n days</source>
        <translation>
            <numerusform>%n Tag</numerusform>
            <numerusform>%n Tage</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Journal</source>
        <translation>&amp;Tagebuch</translation>
    </message>
    <message>
        <source>&amp;Search Notes</source>
        <translation>Notizen &amp;durchsuchen</translation>
    </message>
    <message>
        <source>&amp;Export…</source>
        <translation>&amp;Exportieren …</translation>
    </message>
    <message>
        <source>&amp;Import…</source>
        <translation>&amp;Importieren …</translation>
    </message>
    <message>
        <source>Export the Journal to a Folder</source>
        <translation>Tagebuch in einen Ordner exportieren</translation>
    </message>
    <message>
        <source>Import Days from a Folder</source>
        <translation>Tage aus einem Ordner importieren</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>Exporting to %1…</source>
        <translation>Export nach %1 …</translation>
    </message>
    <message>
        <source>Exported %1 to %2</source>
        <extracomment>%1 the number of days (&quot;5 days&quot;), %2 the folder.</extracomment>
        <translation>%1 nach %2 exportiert</translation>
    </message>
    <message>
        <source>The journal could not be exported: %1</source>
        <translation>Das Tagebuch konnte nicht exportiert werden: %1</translation>
    </message>
    <message>
        <source>Nothing was imported: %1</source>
        <translation>Nichts wurde importiert: %1</translation>
    </message>
    <message>
        <source>Imported %1 from %2: %3 new, %4 merged below a separator, %5 already there.</source>
        <extracomment>%1 the number of days (&quot;5 days&quot;), %2 the folder, then how many of them were new, added below the text already there, or the same as there.</extracomment>
        <translation>%1 aus %2 importiert: %3 neu, %4 unter einer Trennlinie angefügt, %5 schon vorhanden.</translation>
    </message>
    <message>
        <source>Not saved yet: %1</source>
        <translation>Noch nicht gespeichert: %1</translation>
    </message>
    <message>
        <source>&amp;Close Window</source>
        <translation>Fenster &amp;schließen</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;New Window</source>
        <translation>&amp;Neues Fenster</translation>
    </message>
</context>
<context>
    <name>JournalTransfer</name>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>cannot create the folder %1</source>
        <translation>der Ordner %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>there is no folder %1</source>
        <translation>es gibt keinen Ordner %1</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 is not UTF-8 text</source>
        <translation>%1 ist kein UTF-8-Text</translation>
    </message>
    <message>
        <source>%1 holds no exported days (files named YYYY/MM/YYYY-MM-DD.md)</source>
        <translation>%1 enthält keine exportierten Tage (Dateien namens JJJJ/MM/JJJJ-MM-TT.md)</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Search Notes</source>
        <translation>Notizen durchsuchen</translation>
    </message>
    <message>
        <source>&amp;Go</source>
        <translation>&amp;Gehe zu</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Keyboard Shortcuts</source>
        <translation>&amp;Tastenkürzel</translation>
    </message>
</context>
<context>
    <name>MonthCalendar</name>
    <message>
        <source>Previous month</source>
        <translation>Vorheriger Monat</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Heute</translation>
    </message>
    <message>
        <source>Next month</source>
        <translation>Nächster Monat</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Kalender</translation>
    </message>
    <message>
        <source>Choose a month and year</source>
        <translation>Monat und Jahr wählen</translation>
    </message>
    <message>
        <source>TODAY</source>
        <extracomment>The button that goes back to today, in capitals where the language has them.</extracomment>
        <translation>HEUTE</translation>
    </message>
    <message>
        <source>Days with notes could not be read: %1</source>
        <translation>Die Tage mit Notizen konnten nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>&amp;Today</source>
        <translation>&amp;Heute</translation>
    </message>
    <message>
        <source>Previous &amp;Day</source>
        <translation>&amp;Vorheriger Tag</translation>
    </message>
    <message>
        <source>&amp;Next Day</source>
        <translation>&amp;Nächster Tag</translation>
    </message>
    <message>
        <source>Previous &amp;Month</source>
        <translation>Vorheriger &amp;Monat</translation>
    </message>
    <message>
        <source>Next M&amp;onth</source>
        <translation>Nä&amp;chster Monat</translation>
    </message>
</context>
<context>
    <name>MonthPicker</name>
    <message>
        <source>Choose a month</source>
        <translation>Monat wählen</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Monat</translation>
    </message>
</context>
<context>
    <name>NoteCardDelegate</name>
    <message>
        <source>This note could not be read: %1</source>
        <translation>Diese Notiz konnte nicht gelesen werden: %1</translation>
    </message>
</context>
<context>
    <name>NoteEditor</name>
    <message>
        <source>The note of %1 could not be read: %2</source>
        <translation>Die Notiz vom %1 konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Note text</source>
        <translation>Notiztext</translation>
    </message>
</context>
<context>
    <name>NoteTextEdit</name>
    <message>
        <source>No Suggestions</source>
        <translation>Keine Vorschläge</translation>
    </message>
    <message>
        <source>Add to Dictionary</source>
        <translation>Zum Wörterbuch hinzufügen</translation>
    </message>
    <message>
        <source>Ignore</source>
        <translation>Ignorieren</translation>
    </message>
    <message>
        <source>Check Spelling</source>
        <translation>Rechtschreibung prüfen</translation>
    </message>
    <message>
        <source>No spelling dictionary installed</source>
        <translation>Kein Wörterbuch für die Rechtschreibprüfung installiert</translation>
    </message>
    <message>
        <source>Smart Quotes</source>
        <translation>Typografische Anführungszeichen</translation>
    </message>
    <message>
        <source>Smart Dashes</source>
        <translation>Typografische Gedankenstriche</translation>
    </message>
</context>
<context>
    <name>Result</name>
    <message>
        <source>unknown error</source>
        <translation>unbekannter Fehler</translation>
    </message>
</context>
<context>
    <name>SearchPage</name>
    <message>
        <source>Search Notes</source>
        <translation>Notizen durchsuchen</translation>
    </message>
    <message>
        <source>Search Results</source>
        <translation>Suchergebnisse</translation>
    </message>
    <message>
        <source>The notes could not be searched: %1</source>
        <translation>Die Notizen konnten nicht durchsucht werden: %1</translation>
    </message>
    <message>
        <source>No Results</source>
        <translation>Keine Treffer</translation>
    </message>
</context>
<context>
    <name>ShortcutsDialog</name>
    <message>
        <source>Keyboard Shortcuts</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Aktion</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>Tasten</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Fenster</translation>
    </message>
    <message>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <source>In the Calendar&apos;s Days</source>
        <translation>In den Tagen des Kalenders</translation>
    </message>
    <message>
        <source>Day before / after</source>
        <translation>Tag davor / danach</translation>
    </message>
    <message>
        <source>Week before / after</source>
        <translation>Woche davor / danach</translation>
    </message>
    <message>
        <source>Month before / after</source>
        <translation>Monat davor / danach</translation>
    </message>
    <message>
        <source>Open the day</source>
        <translation>Den Tag öffnen</translation>
    </message>
</context>
<context>
    <name>TagListModel</name>
    <message>
        <source>%1, 1 note</source>
        <extracomment>A tag for screen readers: %1 its name, then how many notes carry it.</extracomment>
        <translation>%1, 1 Notiz</translation>
    </message>
    <message numerus="yes">
        <source>%1, %n notes</source>
        <translation>
            <numerusform>%1, %n Notiz</numerusform>
            <numerusform>%1, %n Notizen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TagNotesPage</name>
    <message>
        <source>Notes tagged with #%1</source>
        <translation>Notizen mit dem Schlagwort #%1</translation>
    </message>
    <message>
        <source>The notes of this tag could not be read: %1</source>
        <translation>Die Notizen dieses Schlagworts konnten nicht gelesen werden: %1</translation>
    </message>
</context>
<context>
    <name>TagOrder</name>
    <message>
        <source>A → Z</source>
        <translation>A → Z</translation>
    </message>
    <message>
        <source>Z → A</source>
        <translation>Z → A</translation>
    </message>
    <message>
        <source>Most Recent</source>
        <translation>Neueste zuerst</translation>
    </message>
</context>
<context>
    <name>TagPane</name>
    <message>
        <source>Sort Order</source>
        <translation>Sortierung</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Search Tags</source>
        <translation>Schlagwörter durchsuchen</translation>
    </message>
    <message>
        <source>Tags</source>
        <translation>Schlagwörter</translation>
    </message>
    <message>
        <source>The tags could not be read: %1</source>
        <translation>Die Schlagwörter konnten nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>Type #word in a note to make a tag</source>
        <translation>Schreiben Sie #word in eine Notiz, um ein Schlagwort anzulegen</translation>
    </message>
    <message>
        <source>No matching tags</source>
        <translation>Keine passenden Schlagwörter</translation>
    </message>
    <message>
        <source>Delete Tag %1</source>
        <extracomment>%1 the tag&apos;s name in quotes.</extracomment>
        <translation>Schlagwort %1 löschen</translation>
    </message>
    <message>
        <source>Delete Tag</source>
        <translation>Schlagwort löschen</translation>
    </message>
    <message>
        <source>Are you sure you want to delete the tag %1? This cannot be undone.</source>
        <translation>Möchten Sie das Schlagwort %1 wirklich löschen? Das lässt sich nicht rückgängig machen.</translation>
    </message>
    <message>
        <source>Delete %1</source>
        <extracomment>The button that deletes the tag: %1 its name in quotes.</extracomment>
        <translation>%1 löschen</translation>
    </message>
    <message>
        <source>&amp;Find Tag</source>
        <translation>Schlagwort &amp;finden</translation>
    </message>
</context>
<context>
    <name>TagSearchField</name>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Search Tags</source>
        <translation>Schlagwörter durchsuchen</translation>
    </message>
</context>
</TS>
