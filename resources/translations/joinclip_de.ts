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
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Ausgabe</translation>
    </message>
    <message>
        <source>Save Frame</source>
        <translation>Bild sichern</translation>
    </message>
    <message>
        <source>Downloads</source>
        <translation>Downloads</translation>
    </message>
    <message>
        <source>Columns</source>
        <translation>Spalten</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>File List</source>
        <translation>Dateiliste</translation>
    </message>
    <message>
        <source>Remember the file list between sessions</source>
        <translation>Dateiliste bis zum nächsten Start behalten</translation>
    </message>
    <message>
        <source>Clear the list before adding files</source>
        <translation>Liste vor dem Hinzufügen von Dateien leeren</translation>
    </message>
    <message>
        <source>Convert sound files into movies when adding them</source>
        <translation>Tondateien beim Hinzufügen in Filme umwandeln</translation>
    </message>
    <message>
        <source>Show the full path of each file</source>
        <translation>Vollständigen Pfad jeder Datei zeigen</translation>
    </message>
    <message>
        <source>Start playing when the selection changes</source>
        <translation>Wiedergabe starten, wenn sich die Auswahl ändert</translation>
    </message>
    <message>
        <source>Software Update</source>
        <translation>Softwareaktualisierung</translation>
    </message>
    <message>
        <source>Check for a newer version at start</source>
        <translation>Beim Start nach einer neueren Version suchen</translation>
    </message>
    <message>
        <source>Joined Movie</source>
        <translation>Zusammengefügter Film</translation>
    </message>
    <message>
        <source>Write a self-contained movie (not one that refers to its sources)</source>
        <translation>Eigenständigen Film schreiben (keinen, der auf seine Quellen verweist)</translation>
    </message>
    <message>
        <source>The movie was not joined: a listed file is missing.</source>
        <translation>Der Film wurde nicht zusammengefügt: Eine Datei der Liste fehlt.</translation>
    </message>
    <message>
        <source>The movie was not joined: %d of the listed files are missing.</source>
        <translation>Der Film wurde nicht zusammengefügt: %d Dateien der Liste fehlen.</translation>
    </message>
    <message>
        <source>%@

Put them back, or remove them from the list, and join again.</source>
        <translation>%@

Legen Sie sie zurück oder entfernen Sie sie aus der Liste, und fügen Sie erneut zusammen.</translation>
    </message>
    <message>
        <source>Change Files</source>
        <translation>Dateien ändern</translation>
    </message>
    <message>
        <source>Do not ask again</source>
        <translation>Nicht mehr fragen</translation>
    </message>
    <message>
        <source>Rename the listed files on disk?</source>
        <translation>Die Dateien der Liste auf dem Datenträger umbenennen?</translation>
    </message>
    <message>
        <source>Each file keeps its place; only its name changes.</source>
        <translation>Jede Datei bleibt, wo sie ist; nur ihr Name ändert sich.</translation>
    </message>
    <message>
        <source>Rewrite the movie's file to the new duration?</source>
        <translation>Die Datei des Films auf die neue Dauer umschreiben?</translation>
    </message>
    <message>
        <source>The movie is stretched or shortened to the new duration and saved into its own file. The original goes to the trash, where it can be restored.</source>
        <translation>Der Film wird auf die neue Dauer gedehnt oder gekürzt und in seiner eigenen Datei gesichert. Das Original kommt in den Papierkorb, aus dem es wiederhergestellt werden kann.</translation>
    </message>
    <message>
        <source>&quot;%@&quot; now lasts %@.</source>
        <translation>„%@“ dauert jetzt %@.</translation>
    </message>
    <message>
        <source> The original is in the trash.</source>
        <translation> Das Original liegt im Papierkorb.</translation>
    </message>
    <message>
        <source> The original was kept as &quot;%@&quot;.</source>
        <translation> Das Original wurde als „%@“ behalten.</translation>
    </message>
    <message>
        <source>The duration was not changed.</source>
        <translation>Die Dauer wurde nicht geändert.</translation>
    </message>
    <message>
        <source>The join was cancelled; nothing was written.</source>
        <translation>Das Zusammenfügen wurde abgebrochen; nichts wurde geschrieben.</translation>
    </message>
    <message>
        <source>%d file was exported to %@.</source>
        <translation>%d Datei wurde nach %@ exportiert.</translation>
    </message>
    <message>
        <source>%d files were exported to %@.</source>
        <translation>%d Dateien wurden nach %@ exportiert.</translation>
    </message>
    <message>
        <source>Export cancelled; %d file was written to %@.</source>
        <translation>Export abgebrochen; %d Datei wurde nach %@ geschrieben.</translation>
    </message>
    <message>
        <source>Export cancelled; %d files were written to %@.</source>
        <translation>Export abgebrochen; %d Dateien wurden nach %@ geschrieben.</translation>
    </message>
    <message>
        <source>A movie that refers to its sources plays only while they stay where they are, and most players (FFmpeg, GStreamer, web browsers) refuse it.</source>
        <translation>Ein Film, der auf seine Quellen verweist, spielt nur, solange sie an ihrem Ort bleiben, und die meisten Player (FFmpeg, GStreamer, Webbrowser) lehnen ihn ab.</translation>
    </message>
    <message>
        <source>Add chapters named by the titles</source>
        <translation>Kapitel mit den Titeln als Namen hinzufügen</translation>
    </message>
    <message>
        <source>Ask for a file name when joining</source>
        <translation>Beim Zusammenfügen nach einem Dateinamen fragen</translation>
    </message>
    <message>
        <source>Open the movie once it is written</source>
        <translation>Film öffnen, sobald er geschrieben ist</translation>
    </message>
    <message>
        <source>Scale the movie to:</source>
        <translation>Film skalieren auf:</translation>
    </message>
    <message>
        <source>Desired duration in seconds</source>
        <translation>Gewünschte Dauer in Sekunden</translation>
    </message>
    <message>
        <source>No scaling</source>
        <translation>Nicht skalieren</translation>
    </message>
    <message>
        <source>Output Format</source>
        <translation>Ausgabeformat</translation>
    </message>
    <message>
        <source>Export through a component instead of writing a movie</source>
        <translation>Über eine Komponente exportieren statt einen Film zu schreiben</translation>
    </message>
    <message>
        <source>Component:</source>
        <translation>Komponente:</translation>
    </message>
    <message>
        <source>Export component</source>
        <translation>Exportkomponente</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Einstellungen …</translation>
    </message>
    <message>
        <source>Save Settings…</source>
        <translation>Einstellungen sichern …</translation>
    </message>
    <message>
        <source>Load Settings…</source>
        <translation>Einstellungen laden …</translation>
    </message>
    <message>
        <source>Give each exported file the dates of its source</source>
        <translation>Jeder exportierten Datei die Daten ihrer Quelle geben</translation>
    </message>
    <message>
        <source>Output Folder</source>
        <translation>Ausgabeordner</translation>
    </message>
    <message>
        <source>Output folder</source>
        <translation>Ausgabeordner</translation>
    </message>
    <message>
        <source>No folder chosen</source>
        <translation>Kein Ordner ausgewählt</translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation>Auswählen …</translation>
    </message>
    <message>
        <source>Choose output folder</source>
        <translation>Ausgabeordner auswählen</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Clear output folder</source>
        <translation>Ausgabeordner entfernen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Open output folder</source>
        <translation>Ausgabeordner öffnen</translation>
    </message>
    <message>
        <source>Saved Frames</source>
        <translation>Gesicherte Bilder</translation>
    </message>
    <message>
        <source>Image format:</source>
        <translation>Bildformat:</translation>
    </message>
    <message>
        <source>JPEG quality:</source>
        <translation>JPEG-Qualität:</translation>
    </message>
    <message>
        <source>From 0 (smallest file) to 1 (best picture)</source>
        <translation>Von 0 (kleinste Datei) bis 1 (bestes Bild)</translation>
    </message>
    <message>
        <source>Add the movie time to the file name</source>
        <translation>Filmzeit an den Dateinamen anhängen</translation>
    </message>
    <message>
        <source>Compress TIFF images (LZW)</source>
        <translation>TIFF-Bilder komprimieren (LZW)</translation>
    </message>
    <message>
        <source>Download Folder</source>
        <translation>Download-Ordner</translation>
    </message>
    <message>
        <source>Download folder</source>
        <translation>Download-Ordner</translation>
    </message>
    <message>
        <source>Choose download folder</source>
        <translation>Download-Ordner auswählen</translation>
    </message>
    <message>
        <source>Clear download folder</source>
        <translation>Download-Ordner entfernen</translation>
    </message>
    <message>
        <source>Open download folder</source>
        <translation>Download-Ordner öffnen</translation>
    </message>
    <message>
        <source>Downloads may replace files of the same name</source>
        <translation>Downloads dürfen gleichnamige Dateien ersetzen</translation>
    </message>
    <message>
        <source>Columns Shown in the File List</source>
        <translation>In der Dateiliste gezeigte Spalten</translation>
    </message>
    <message>
        <source>Icon</source>
        <translation>Symbol</translation>
    </message>
    <message>
        <source>Filename</source>
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
        <source>The preferences could not be saved.</source>
        <translation>Die Einstellungen konnten nicht gesichert werden.</translation>
    </message>
    <message>
        <source>An output directory has not been specified.</source>
        <translation>Es wurde kein Ausgabeordner festgelegt.</translation>
    </message>
    <message>
        <source>A URL Download directory has not been specified.</source>
        <translation>Es wurde kein Ordner für URL-Downloads festgelegt.</translation>
    </message>
    <message>
        <source>So it can not be opened. Specify one in Preferences.</source>
        <translation>Daher kann er nicht geöffnet werden. Legen Sie einen in den Einstellungen fest.</translation>
    </message>
    <message>
        <source>%@ Settings</source>
        <translation>Einstellungen für %@</translation>
    </message>
    <message>
        <source>Video</source>
        <translation>Video</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Ton</translation>
    </message>
    <message>
        <source>Encoder:</source>
        <translation>Encoder:</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Default (%@)</source>
        <translation>Standard (%@)</translation>
    </message>
    <message>
        <source>Bit rate:</source>
        <translation>Bitrate:</translation>
    </message>
    <message>
        <source>Constant quality</source>
        <translation>Konstante Qualität</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Quality:</source>
        <translation>Qualität:</translation>
    </message>
    <message>
        <source>Encoder default</source>
        <translation>Vorgabe des Encoders</translation>
    </message>
    <message>
        <source>Constant-quality level when no bit rate is set; lower is better.</source>
        <translation>Stufe konstanter Qualität, wenn keine Bitrate gesetzt ist; niedriger ist besser.</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>Natural</source>
        <translation>Original</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>Frame rate:</source>
        <translation>Bildrate:</translation>
    </message>
    <message>
        <source>Same as the sources</source>
        <translation>Wie die Quellen</translation>
    </message>
    <message>
        <source>Sample rate:</source>
        <translation>Abtastrate:</translation>
    </message>
    <message>
        <source>Channels:</source>
        <translation>Kanäle:</translation>
    </message>
    <message>
        <source>Mono</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation>Stereo</translation>
    </message>
    <message>
        <source>Settings files (%@)</source>
        <translation>Einstellungsdateien (%@)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Save Export Settings</source>
        <translation>Exporteinstellungen sichern</translation>
    </message>
    <message>
        <source>"%@" already exists. Do you want to replace it?</source>
        <translation>„%@“ ist bereits vorhanden. Möchten Sie die Datei ersetzen?</translation>
    </message>
    <message>
        <source>Image format</source>
        <translation>Bildformat</translation>
    </message>
    <message>
        <source>JPEG quality</source>
        <translation>JPEG-Qualität</translation>
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
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>Dateiname</translation>
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
    <!-- Status lines, progress texts and alerts of the list and the join. -->
    <message>
        <source>Add some movies to the file list and try again.</source>
        <translation>Fügen Sie der Dateiliste einige Filme hinzu und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>All export settings could not be saved to: %@</source>
        <translation>Die Exporteinstellungen konnten nicht vollständig gesichert werden in: %@</translation>
    </message>
    <message>
        <source>The export settings could not be loaded from: %@</source>
        <translation>Die Exporteinstellungen konnten nicht geladen werden aus: %@</translation>
    </message>
    <message>
        <source>All export settings were saved to: %@</source>
        <translation>Alle Exporteinstellungen wurden gesichert in: %@</translation>
    </message>
    <message>
        <source>Chapterizing movie: %@</source>
        <translation>Kapitel werden angelegt: %@</translation>
    </message>
    <message>
        <source>Choose a settings file</source>
        <translation>Wählen Sie eine Einstellungsdatei</translation>
    </message>
    <message>
        <source>Choose another name or folder and try again.</source>
        <translation>Wählen Sie einen anderen Namen oder Ordner und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Converted sound to movie</source>
        <translation>Ton in Film umgewandelt</translation>
    </message>
    <message>
        <source>Could not import "%1": %2</source>
        <translation>„%1“ konnte nicht importiert werden: %2</translation>
    </message>
    <message>
        <source>Could not rename "%1" to "%2": %3</source>
        <translation>„%1“ konnte nicht in „%2“ umbenannt werden: %3</translation>
    </message>
    <message>
        <source>Created movie: %@</source>
        <translation>Film erstellt: %@</translation>
    </message>
    <message>
        <source>Elapsed Time: </source>
        <translation>Verstrichene Zeit: </translation>
    </message>
    <message>
        <source>, Est. Time Remaining: </source>
        <translation>, geschätzte Restzeit: </translation>
    </message>
    <message>
        <source>Exporting file "%@" (%d of %d)</source>
        <translation>Datei „%@“ wird exportiert (%d von %d)</translation>
    </message>
    <message>
        <source>JoinClip File List Export</source>
        <translation>JoinClip-Dateiliste</translation>
    </message>
    <message>
        <source>Not exported (a line break or bytes that are not UTF-8 in its path): %1</source>
        <translation>Nicht exportiert (ein Zeilenumbruch oder Bytes, die kein UTF-8 sind, im Pfad): %1</translation>
    </message>
    <message>
        <source>Open the Preferences window to turn on exporting in 'Output Format'.</source>
        <translation>Öffnen Sie das Einstellungsfenster, um das Exportieren unter „Ausgabeformat“ einzuschalten.</translation>
    </message>
    <message>
        <source>Processed movie: %d of %d</source>
        <translation>Film verarbeitet: %d von %d</translation>
    </message>
    <message>
        <source>Processing file %d of %d</source>
        <translation>Datei %d von %d wird verarbeitet</translation>
    </message>
    <message>
        <source>Saving movie: %@</source>
        <translation>Film wird gesichert: %@</translation>
    </message>
    <message>
        <source>The joined movie can not replace one of the movies being joined.</source>
        <translation>Der zusammengefügte Film kann keinen der zusammenzufügenden Filme ersetzen.</translation>
    </message>
    <message>
        <source>The movie could not be saved to: "%@", try another filename</source>
        <translation>Der Film konnte nicht gesichert werden unter: „%@“, versuchen Sie einen anderen Dateinamen</translation>
    </message>
    <message>
        <source>The movie could not be saved.</source>
        <translation>Der Film konnte nicht gesichert werden.</translation>
    </message>
    <message>
        <source>The option to export is not selected.</source>
        <translation>Die Option zum Exportieren ist nicht ausgewählt.</translation>
    </message>
    <message>
        <source>There are no movies to process.</source>
        <translation>Es gibt keine Filme zu verarbeiten.</translation>
    </message>
    <message>
        <source>Total Duration: %@</source>
        <translation>Gesamtdauer: %@</translation>
    </message>
    <message>
        <source>Total Scaled Duration: %@</source>
        <translation>Skalierte Gesamtdauer: %@</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>%@ byte</source>
        <translation>%@ Byte</translation>
    </message>
    <message>
        <source>%@ bytes</source>
        <translation>%@ Bytes</translation>
    </message>
    <message>
        <source>%@ (missing)</source>
        <translation>%@ (fehlt)</translation>
    </message>
    <message>
        <source>The file cannot be found. It was at %@.</source>
        <translation>Die Datei ist nicht auffindbar. Sie lag unter %@.</translation>
    </message>
    <message>
        <source>Preview of %@</source>
        <translation>Vorschau von %@</translation>
    </message>
    <message>
        <source>The file cannot be found.</source>
        <translation>Die Datei ist nicht auffindbar.</translation>
    </message>
    <message>
        <source>It does not open as a movie, picture or sound (%@).</source>
        <translation>Sie lässt sich nicht als Film, Bild oder Ton öffnen (%@).</translation>
    </message>
    <message>
        <source>The folder cannot be read.</source>
        <translation>Der Ordner kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Its path is too long.</source>
        <translation>Ihr Pfad ist zu lang.</translation>
    </message>
    <message>
        <source>1 file was not added.</source>
        <translation>1 Datei wurde nicht hinzugefügt.</translation>
    </message>
    <message>
        <source>%d files were not added.</source>
        <translation>%d Dateien wurden nicht hinzugefügt.</translation>
    </message>
    <message>
        <source>and %d more</source>
        <translation>und %d weitere</translation>
    </message>
    <message>
        <source>Drop movies, pictures and sound files here, or choose Add Files…</source>
        <translation>Filme, Bilder und Tondateien hierher ziehen oder „Dateien hinzufügen …“ wählen</translation>
    </message>
    <message>
        <source>1 file was renamed.</source>
        <translation>1 Datei wurde umbenannt.</translation>
    </message>
    <message>
        <source>%d files were renamed.</source>
        <translation>%d Dateien wurden umbenannt.</translation>
    </message>
    <message>
        <source>This file was not renamed: %@</source>
        <translation>Diese Datei wurde nicht umbenannt: %@</translation>
    </message>
    <message>
        <source>%d URL queued for download.</source>
        <translation>%d URL zum Herunterladen vorgemerkt.</translation>
    </message>
    <message>
        <source>%d URLs queued for download.</source>
        <translation>%d URLs zum Herunterladen vorgemerkt.</translation>
    </message>
    <message>
        <source>%d percent, %@, %s)</source>
        <translation>%d Prozent, %@, %s)</translation>
    </message>
    <message>
        <source>(%@ of %@ bytes</source>
        <translation>(%@ von %@ Bytes</translation>
    </message>
    <message>
        <source>JoinClip download failed. Error - %@ %@</source>
        <translation>JoinClip-Download fehlgeschlagen. Fehler - %@ %@</translation>
    </message>
    <message>
        <source>“%@” was downloaded but cannot be added to the list.</source>
        <translation>„%@“ wurde heruntergeladen, kann aber nicht in die Liste aufgenommen werden.</translation>
    </message>
    <message>
        <source>Name and Password</source>
        <translation>Name und Passwort</translation>
    </message>
    <message>
        <source>The server %@ asks for a name and password (%@).</source>
        <translation>Der Server %@ verlangt einen Namen und ein Passwort (%@).</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>Log In</source>
        <translation>Anmelden</translation>
    </message>
    <message>
        <source>Software Update…</source>
        <translation>Softwareaktualisierung …</translation>
    </message>
    <message>
        <source>This version:</source>
        <translation>Diese Version:</translation>
    </message>
    <message>
        <source>This version</source>
        <translation>Diese Version</translation>
    </message>
    <message>
        <source>Latest version:</source>
        <translation>Neueste Version:</translation>
    </message>
    <message>
        <source>Latest version</source>
        <translation>Neueste Version</translation>
    </message>
    <message>
        <source>Software update status</source>
        <translation>Status der Softwareaktualisierung</translation>
    </message>
    <message>
        <source>Checking</source>
        <translation>Suche läuft</translation>
    </message>
    <message>
        <source>Check Now</source>
        <translation>Jetzt suchen</translation>
    </message>
    <message>
        <source>This version of JoinClip does not check for updates.</source>
        <translation>Diese Version von JoinClip sucht nicht nach Aktualisierungen.</translation>
    </message>
    <message>
        <source>Your software is up to date.</source>
        <translation>Ihre Software ist auf dem neuesten Stand.</translation>
    </message>
    <message>
        <source>Connection failed with error: %@ %@</source>
        <translation>Verbindung fehlgeschlagen mit Fehler: %@ %@</translation>
    </message>
    <message>
        <source>An update is available for JoinClip (version %@.) Use Software Update in the JoinClip menu to download it.</source>
        <translation>Für JoinClip ist eine Aktualisierung verfügbar (Version %@). Laden Sie sie mit „Softwareaktualisierung“ im JoinClip-Menü.</translation>
    </message>
    <message>
        <source>(You can turn off automatic software update checks in Preferences.)</source>
        <translation>(Die automatische Suche nach Aktualisierungen lässt sich in den Einstellungen ausschalten.)</translation>
    </message>
    <message>
        <source>No download folder is set. Choose one in Preferences.</source>
        <translation>Es ist kein Download-Ordner festgelegt. Wählen Sie einen in den Einstellungen.</translation>
    </message>
</context>
</TS>
