<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- German. Keys are the English texts exactly, blanks included; each translation keeps the key's placeholders in the same order. -->
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>LocalizedStrings</name>
    <message>
        <source>%@ frames</source>
        <translation>%@ Bilder</translation>
    </message>
    <message>
        <source>Finished processing movies!</source>
        <translation>Verarbeitung der Filme abgeschlossen!</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Viewer</source>
        <translation>Betrachter</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Choose</source>
        <translation>Auswählen</translation>
    </message>
    <message>
        <source>Choose file</source>
        <translation>Datei auswählen</translation>
    </message>
    <message>
        <source>Choose files</source>
        <translation>Dateien auswählen</translation>
    </message>
    <message>
        <source>Choose destination folder</source>
        <translation>Zielordner auswählen</translation>
    </message>
    <message>
        <source>Choose a destination directory for exported files</source>
        <translation>Zielordner für exportierte Dateien auswählen</translation>
    </message>
    <message>
        <source>Chapter %d</source>
        <translation>Kapitel %d</translation>
    </message>
    <message>
        <source> and </source>
        <translation> und </translation>
    </message>
    <message>
        <source> other</source>
        <translation> weitere</translation>
    </message>
    <message>
        <source> others</source>
        <translation> weitere</translation>
    </message>
    <message>
        <source>Play All</source>
        <translation>Alle abspielen</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Splitting movie...</source>
        <translation>Film wird geteilt …</translation>
    </message>
    <message>
        <source>JoinClip can not process the file "%@".</source>
        <translation>JoinClip kann die Datei „%@“ nicht verarbeiten.</translation>
    </message>
    <message>
        <source>Please make sure you have the correct QuickTime components installed for the selected file type.</source>
        <translation>Bitte stellen Sie sicher, dass die passenden QuickTime-Komponenten für den gewählten Dateityp installiert sind.</translation>
    </message>
    <message>
        <source>The movie "%@" was updated successfully.</source>
        <translation>Der Film „%@“ wurde erfolgreich aktualisiert.</translation>
    </message>
    <message>
        <source>The movie "%@" was not updated successfully.</source>
        <translation>Der Film „%@“ konnte nicht aktualisiert werden.</translation>
    </message>
    <message>
        <source>The movie format is probably incompatible with this feature.</source>
        <translation>Das Filmformat ist mit dieser Funktion wahrscheinlich nicht kompatibel.</translation>
    </message>
    <message>
        <source>Download Failed</source>
        <translation>Download fehlgeschlagen</translation>
    </message>
    <message>
        <source>An error occured during download.</source>
        <translation>Beim Herunterladen ist ein Fehler aufgetreten.</translation>
    </message>
    <message>
        <source>Checking for a software update...</source>
        <translation>Suche nach Softwareaktualisierung …</translation>
    </message>
    <message>
        <source>An update is available for JoinClip.</source>
        <translation>Für JoinClip ist eine Aktualisierung verfügbar.</translation>
    </message>
    <message>
        <source>JoinClip could not check for a software update at this time.</source>
        <translation>JoinClip konnte gerade nicht nach einer Softwareaktualisierung suchen.</translation>
    </message>
    <message>
        <source>The current version information could not be read.</source>
        <translation>Die aktuellen Versionsinformationen konnten nicht gelesen werden.</translation>
    </message>
    <message>
        <source>%d of the files could not be exported.</source>
        <translation>%d der Dateien konnten nicht exportiert werden.</translation>
    </message>
    <message>
        <source>No export component is selected.</source>
        <translation>Es ist keine Exportkomponente ausgewählt.</translation>
    </message>
    <message>
        <source>Choose one in the Preferences window under 'Output Format', or turn exporting off.</source>
        <translation>Wählen Sie eine im Einstellungsfenster unter „Ausgabeformat“ oder schalten Sie das Exportieren aus.</translation>
    </message>
    <!-- The main window, its menus, the progress sheet and the viewer's stand-in. -->
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;List</source>
        <translation>&amp;Liste</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>&amp;Fenster</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Add Files…</source>
        <translation>Dateien hinzufügen …</translation>
    </message>
    <message>
        <source>Add movie, picture and sound files or folders to the list</source>
        <translation>Film-, Bild- und Tondateien oder Ordner zur Liste hinzufügen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Remove the selected files from the list</source>
        <translation>Die ausgewählten Dateien aus der Liste entfernen</translation>
    </message>
    <message>
        <source>Sort by:</source>
        <translation>Sortieren nach:</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Geändert</translation>
    </message>
    <message>
        <source>Created</source>
        <translation>Erstellt</translation>
    </message>
    <message>
        <source>EXIF Date</source>
        <translation>EXIF-Datum</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>Umkehren</translation>
    </message>
    <message>
        <source>Sort the list by file path</source>
        <translation>Die Liste nach Dateipfad sortieren</translation>
    </message>
    <message>
        <source>Sort the list by title</source>
        <translation>Die Liste nach Titel sortieren</translation>
    </message>
    <message>
        <source>Sort the list by modification date</source>
        <translation>Die Liste nach Änderungsdatum sortieren</translation>
    </message>
    <message>
        <source>Sort the list by creation date</source>
        <translation>Die Liste nach Erstellungsdatum sortieren</translation>
    </message>
    <message>
        <source>Sort the list by the date the picture was taken</source>
        <translation>Die Liste nach Aufnahmedatum sortieren</translation>
    </message>
    <message>
        <source>Reverse the order of the list</source>
        <translation>Die Reihenfolge der Liste umkehren</translation>
    </message>
    <message>
        <source>Export…</source>
        <translation>Exportieren …</translation>
    </message>
    <message>
        <source>Convert each file on its own with the chosen export format</source>
        <translation>Jede Datei einzeln in das gewählte Exportformat umwandeln</translation>
    </message>
    <message>
        <source>Join…</source>
        <translation>Zusammenfügen …</translation>
    </message>
    <message>
        <source>Join the files of the list into one movie</source>
        <translation>Die Dateien der Liste zu einem Film zusammenfügen</translation>
    </message>
    <message>
        <source>Files to join</source>
        <translation>Zusammenzufügende Dateien</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Working</source>
        <translation>In Arbeit</translation>
    </message>
    <message>
        <source>Total duration</source>
        <translation>Gesamtdauer</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Download progress</source>
        <translation>Download-Fortschritt</translation>
    </message>
    <message>
        <source>Cancel Download</source>
        <translation>Download abbrechen</translation>
    </message>
    <message>
        <source>Open in Default Application</source>
        <translation>Mit Standardprogramm öffnen</translation>
    </message>
    <message>
        <source>Show in File Manager</source>
        <translation>Im Dateimanager zeigen</translation>
    </message>
    <message>
        <source>Preferences…</source>
        <translation>Einstellungen …</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Sort by Name</source>
        <translation>Nach Name sortieren</translation>
    </message>
    <message>
        <source>Sort by Title</source>
        <translation>Nach Titel sortieren</translation>
    </message>
    <message>
        <source>Sort by Date Modified</source>
        <translation>Nach Änderungsdatum sortieren</translation>
    </message>
    <message>
        <source>Sort by Date Created</source>
        <translation>Nach Erstellungsdatum sortieren</translation>
    </message>
    <message>
        <source>Sort by EXIF Date</source>
        <translation>Nach EXIF-Datum sortieren</translation>
    </message>
    <message>
        <source>Reverse Order</source>
        <translation>Reihenfolge umkehren</translation>
    </message>
    <message>
        <source>Clear List</source>
        <translation>Liste leeren</translation>
    </message>
    <message>
        <source>Number Files in Sequence</source>
        <translation>Dateien fortlaufend nummerieren</translation>
    </message>
    <message>
        <source>Remove Number Prefixes</source>
        <translation>Nummern-Präfixe entfernen</translation>
    </message>
    <message>
        <source>Export List…</source>
        <translation>Liste exportieren …</translation>
    </message>
    <message>
        <source>Import List…</source>
        <translation>Liste importieren …</translation>
    </message>
    <message>
        <source>Show Viewer</source>
        <translation>Betrachter zeigen</translation>
    </message>
    <message>
        <source>JoinClip Help</source>
        <translation>JoinClip-Hilfe</translation>
    </message>
    <message>
        <source>JoinClip Website</source>
        <translation>JoinClip-Website</translation>
    </message>
    <message>
        <source>JoinClip in the Software Centre</source>
        <translation>JoinClip im Software-Center</translation>
    </message>
    <message>
        <source>Saving Movie</source>
        <translation>Film wird gesichert</translation>
    </message>
    <message>
        <source>Operation</source>
        <translation>Vorgang</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>The viewer is not part of this version of JoinClip yet.
It will play, step through and save frames of the movie selected in the list.</source>
        <translation>Der Betrachter ist noch nicht Teil dieser Version von JoinClip.
Er wird den in der Liste ausgewählten Film abspielen, Bild für Bild zeigen und Bilder daraus sichern.</translation>
    </message>
    <message>
        <source>Your preferences could not be read, so the defaults are used.</source>
        <translation>Ihre Einstellungen konnten nicht gelesen werden, daher gelten die Voreinstellungen.</translation>
    </message>
    <message>
        <source>The damaged preferences file was kept as "%@".</source>
        <translation>Die beschädigte Einstellungsdatei wurde als „%@“ aufbewahrt.</translation>
    </message>
    <message>
        <source>Your preferences could not be saved.</source>
        <translation>Ihre Einstellungen konnten nicht gesichert werden.</translation>
    </message>
</context>
</TS>
