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
    <!-- The file table: column headers, its menu and its edits. -->
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <source>Date Modified</source>
        <translation>Änderungsdatum</translation>
    </message>
    <message>
        <source>Date Created</source>
        <translation>Erstellungsdatum</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>EXIF Date Time</source>
        <translation>EXIF-Datum</translation>
    </message>
    <message>
        <source>Position in the list</source>
        <translation>Position in der Liste</translation>
    </message>
    <message>
        <source>Files to join</source>
        <translation>Zu verbindende Dateien</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Im Ordner zeigen</translation>
    </message>
    <message>
        <source>Remove from List</source>
        <translation>Aus der Liste entfernen</translation>
    </message>
    <message>
        <source>Downloading from the web is not available yet: %@</source>
        <translation>Das Laden aus dem Web ist noch nicht verfügbar: %@</translation>
    </message>
    <message>
        <source>The file name could not be changed to "%@."</source>
        <translation>Der Dateiname konnte nicht in „%@“ geändert werden.</translation>
    </message>
    <message>
        <source>A file by that name may exist, try another name.</source>
        <translation>Vielleicht gibt es schon eine Datei mit diesem Namen. Versuchen Sie einen anderen Namen.</translation>
    </message>
    <message>
        <source>The duration was not modified.</source>
        <translation>Die Dauer wurde nicht geändert.</translation>
    </message>
    <message>
        <source>Make sure the file is a movie.</source>
        <translation>Stellen Sie sicher, dass die Datei ein Film ist.</translation>
    </message>
</context>
</TS>
