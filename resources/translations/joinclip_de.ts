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
    <message>
        <source>These files were not renamed: %@</source>
        <translation>Diese Dateien wurden nicht umbenannt: %@</translation>
    </message>
    <message>
        <source>There are no file paths to export.</source>
        <translation>Es gibt keine Dateipfade zum Exportieren.</translation>
    </message>
    <message>
        <source>Add files to the file list and try again</source>
        <translation>Fügen Sie der Dateiliste Dateien hinzu und versuchen Sie es erneut</translation>
    </message>
    <message>
        <source>The paths were NOT exported.</source>
        <translation>Die Pfade wurden NICHT exportiert.</translation>
    </message>
    <message>
        <source>%d of the file paths could not be exported.</source>
        <translation>%d der Dateipfade konnten nicht exportiert werden.</translation>
    </message>
    <message>
        <source>A path that holds a line break or is not UTF-8 text cannot be written to a file list.</source>
        <translation>Ein Pfad mit einem Zeilenumbruch oder einer, der kein UTF-8-Text ist, kann nicht in eine Dateiliste geschrieben werden.</translation>
    </message>
    <message>
        <source>Choose File to Import</source>
        <translation>Zu importierende Datei auswählen</translation>
    </message>
    <message>
        <source>The file "%@" is not a file list.</source>
        <translation>Die Datei „%@“ ist keine Dateiliste.</translation>
    </message>
    <message>
        <source>A file list is UTF-8 text, one file path per line.</source>
        <translation>Eine Dateiliste ist UTF-8-Text mit einem Dateipfad pro Zeile.</translation>
    </message>
    <message>
        <source>The file "%@" could not be read.</source>
        <translation>Die Datei „%@“ konnte nicht gelesen werden.</translation>
    </message>
</context>
</TS>
