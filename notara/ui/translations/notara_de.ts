<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ContentView</name>
    <message>
        <source>Select the "Documents" directory for the Books App. This directory is usually found at: ~/Library/Containers/com.apple.iBooksX/Data/</source>
        <translation>Wählen Sie den Ordner „Documents“ der Bücher-App. Er liegt meist unter: ~/Library/Containers/com.apple.iBooksX/Data/</translation>
    </message>
    <message>
        <source>%1 from %2</source>
        <translation>%1 aus %2</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>book</source>
        <translation>Buch</translation>
    </message>
    <message>
        <source>books</source>
        <translation>Bücher</translation>
    </message>
    <message>
        <source>highlight</source>
        <translation>Markierung</translation>
    </message>
    <message>
        <source>highlights</source>
        <translation>Markierungen</translation>
    </message>
</context>
<context>
    <name>notara::AboutDialog</name>
    <message>
        <source>About Notara</source>
        <translation>Über Notara</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Gathers the highlights and notes of your e-books.</source>
        <translation>Sammelt die Markierungen und Notizen Ihrer E-Books.</translation>
    </message>
    <message>
        <source>Free software under the MIT License.</source>
        <translation>Freie Software unter der MIT-Lizenz.</translation>
    </message>
    <message>
        <source>Runs with Qt %1, ICU %2 and SQLite %3.</source>
        <translation>Läuft mit Qt %1, ICU %2 und SQLite %3.</translation>
    </message>
</context>
<context>
    <name>notara::AnnotationCardDelegate</name>
    <message>
        <source>Note: </source>
        <translation>Notiz: </translation>
    </message>
</context>
<context>
    <name>notara::AnnotationListModel</name>
    <message>
        <source>Removed at source on %1</source>
        <translation>An der Quelle entfernt am %1</translation>
    </message>
    <message>
        <source>Note: %1</source>
        <translation>Notiz: %1</translation>
    </message>
</context>
<context>
    <name>notara::ContentView</name>
    <message>
        <source>Nothing loaded yet.

Choose a Books folder or a Kindle Notebook export, or open the sample notebook.</source>
        <translation>Noch nichts geladen.

Wählen Sie einen Bücher-Ordner oder einen Kindle-Notizbuch-Export oder öffnen Sie das Beispiel-Notizbuch.</translation>
    </message>
    <message>
        <source>All Highlights</source>
        <translation>Alle Markierungen</translation>
    </message>
    <message>
        <source>Copied</source>
        <translation>Kopiert</translation>
    </message>
    <message>
        <source>No highlights match “%1”</source>
        <translation>Keine Markierung passt zu „%1“</translation>
    </message>
    <message>
        <source>No highlights were found: they are probably in the -wal files, which were not copied with the Books databases. Copy the whole Data folder from the Mac, including the files ending in -wal and -shm.</source>
        <translation>Es wurden keine Markierungen gefunden: Sie stehen wahrscheinlich in den -wal-Dateien, die nicht mit den Bücher-Datenbanken kopiert wurden. Kopieren Sie den ganzen Data-Ordner vom Mac, auch die Dateien, die auf -wal und -shm enden.</translation>
    </message>
    <message>
        <source>No book here has highlights. Turn off "Hide Works with no Annotations" to list them all.</source>
        <translation>Kein Buch hier hat Markierungen. Schalten Sie „Werke ohne Anmerkungen ausblenden“ aus, um alle aufzulisten.</translation>
    </message>
    <message>
        <source>This list is empty.</source>
        <translation>Diese Liste ist leer.</translation>
    </message>
    <message>
        <source>The sample notebook could not be written to %1.</source>
        <translation>Das Beispiel-Notizbuch konnte nicht nach %1 geschrieben werden.</translation>
    </message>
    <message>
        <source>Search Highlights</source>
        <translation>Markierungen durchsuchen</translation>
    </message>
    <message>
        <source>Actions</source>
        <translation>Aktionen</translation>
    </message>
    <message>
        <source>Select Books Folder</source>
        <translation>Bücher-Ordner auswählen</translation>
    </message>
    <message>
        <source>Select Kindle Notes Export (.html)</source>
        <translation>Kindle-Notizen-Export auswählen (.html)</translation>
    </message>
    <message>
        <source>Hide Works with no Annotations</source>
        <translation>Werke ohne Anmerkungen ausblenden</translation>
    </message>
    <message>
        <source>Select Kindle Clippings (My Clippings.txt)</source>
        <translation>Kindle-Clippings auswählen (My Clippings.txt)</translation>
    </message>
    <message>
        <source>Select Kobo Database (KoboReader.sqlite)</source>
        <translation>Kobo-Datenbank auswählen (KoboReader.sqlite)</translation>
    </message>
    <message>
        <source>Sort</source>
        <translation>Sortieren</translation>
    </message>
    <message>
        <source>Book Order</source>
        <translation>Reihenfolge im Buch</translation>
    </message>
    <message>
        <source>Date Highlighted</source>
        <translation>Datum der Markierung</translation>
    </message>
    <message>
        <source>As Stored</source>
        <translation>Wie gespeichert</translation>
    </message>
    <message>
        <source>Detailed Export</source>
        <translation>Ausführlicher Export</translation>
    </message>
    <message>
        <source>Export All Works…</source>
        <translation>Alle Werke exportieren…</translation>
    </message>
    <message>
        <source>Find Highlights on This Computer…</source>
        <translation>Markierungen auf diesem Computer suchen…</translation>
    </message>
    <message>
        <source>Select KOReader Folder…</source>
        <translation>KOReader-Ordner auswählen…</translation>
    </message>
    <message>
        <source>Select Foliate Folder…</source>
        <translation>Foliate-Ordner auswählen…</translation>
    </message>
    <message>
        <source>Select calibre Library…</source>
        <translation>calibre-Bibliothek auswählen…</translation>
    </message>
    <message>
        <source>Choose a folder with KOReader's sidecars: a book folder, a mounted e-reader or KOReader's own folder</source>
        <translation>Wählen Sie einen Ordner mit den Sidecar-Dateien von KOReader: einen Bücherordner, einen eingehängten E-Reader oder den Ordner von KOReader selbst</translation>
    </message>
    <message>
        <source>Choose Foliate's data folder (~/.local/share/com.github.johnfactotum.Foliate)</source>
        <translation>Wählen Sie den Datenordner von Foliate (~/.local/share/com.github.johnfactotum.Foliate)</translation>
    </message>
    <message>
        <source>Choose a calibre library folder (with metadata.db) or the viewer's annotation folder</source>
        <translation>Wählen Sie einen calibre-Bibliotheksordner (mit metadata.db) oder den Anmerkungsordner des Betrachters</translation>
    </message>
    <message>
        <source>About Notara</source>
        <translation>Über Notara</translation>
    </message>
    <message>
        <source>Shown list</source>
        <translation>Angezeigte Liste</translation>
    </message>
    <message>
        <source>Books</source>
        <translation>Bücher</translation>
    </message>
    <message>
        <source>Hiding Works with no Annotations</source>
        <translation>Werke ohne Anmerkungen ausgeblendet</translation>
    </message>
    <message>
        <source>Apple Books</source>
        <translation>Apple Bücher</translation>
    </message>
    <message>
        <source>The Books databases of the folder chosen on %1%2 are gone: they were moved or deleted. Choose "Select Books Folder" to load them again.</source>
        <translation>Die Bücher-Datenbanken des am %1%2 gewählten Ordners sind nicht mehr da: Sie wurden verschoben oder gelöscht. Wählen Sie „Bücher-Ordner auswählen“, um sie erneut zu laden.</translation>
    </message>
    <message>
        <source>The Books library in %1 holds no books, so there is nothing to show.</source>
        <translation>Die Bücher-Bibliothek in %1 enthält keine Bücher, daher gibt es nichts anzuzeigen.</translation>
    </message>
    <message>
        <source>The Books library holds no books, so there is nothing to show.</source>
        <translation>Die Bücher-Bibliothek enthält keine Bücher, daher gibt es nichts anzuzeigen.</translation>
    </message>
    <message>
        <source>Alert!</source>
        <translation>Achtung!</translation>
    </message>
    <message>
        <source>Kindle notebook</source>
        <translation>Kindle-Notizbuch</translation>
    </message>
    <message>
        <source>"%1" could not be imported. %2 "Select Books Folder" or the "Hide Works with no Annotations" filter brings the library back.</source>
        <translation>„%1“ konnte nicht importiert werden. %2 „Bücher-Ordner auswählen“ oder der Filter „Werke ohne Anmerkungen ausblenden“ holt die Bibliothek zurück.</translation>
    </message>
    <message>
        <source>Show Library</source>
        <translation>Bibliothek zeigen</translation>
    </message>
    <message>
        <source>Select Kindle Clippings</source>
        <translation>Kindle-Clippings auswählen</translation>
    </message>
    <message>
        <source>Kindle clippings (*.txt)</source>
        <translation>Kindle-Clippings (*.txt)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Select Kobo Database</source>
        <translation>Kobo-Datenbank auswählen</translation>
    </message>
    <message>
        <source>Kobo database (KoboReader.sqlite *.sqlite)</source>
        <translation>Kobo-Datenbank (KoboReader.sqlite *.sqlite)</translation>
    </message>
    <message>
        <source>%1 found on this computer</source>
        <translation>%1 auf diesem Computer gefunden</translation>
    </message>
    <message>
        <source>Nothing could be imported. %1</source>
        <translation>Nichts konnte importiert werden. %1</translation>
    </message>
    <message>
        <source>Found on This Computer</source>
        <translation>Auf diesem Computer gefunden</translation>
    </message>
    <message>
        <source>%1. Not imported: %2</source>
        <translation>%1. Nicht importiert: %2</translation>
    </message>
    <message>
        <source>%1 connected:</source>
        <translation>%1 angeschlossen:</translation>
    </message>
    <message>
        <source>Import Highlights</source>
        <translation>Markierungen importieren</translation>
    </message>
    <message>
        <source>Export All Works</source>
        <translation>Alle Werke exportieren</translation>
    </message>
    <message>
        <source>Choose the folder for one Markdown file per work</source>
        <translation>Wählen Sie den Ordner für eine Markdown-Datei je Werk</translation>
    </message>
    <message>
        <source>Exporting annotations…</source>
        <translation>Anmerkungen werden exportiert…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Exporting annotations… %1 of %2</source>
        <translation>Anmerkungen werden exportiert… %1 von %2</translation>
    </message>
    <message>
        <source>Saving to disk…</source>
        <translation>Wird gespeichert…</translation>
    </message>
    <message>
        <source>1 Markdown file</source>
        <translation>1 Markdown-Datei</translation>
    </message>
    <message>
        <source>%1 Markdown files</source>
        <translation>%1 Markdown-Dateien</translation>
    </message>
    <message>
        <source>%1 written to %2</source>
        <translation>%1 nach %2 geschrieben</translation>
    </message>
    <message>
        <source> (cancelled after %1 of %2)</source>
        <translation> (abgebrochen nach %1 von %2)</translation>
    </message>
    <message>
        <source>Each work with annotations has its own file, named like the single export.</source>
        <translation>Jedes Werk mit Anmerkungen hat eine eigene Datei, benannt wie beim Einzelexport.</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 konnten nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Im Ordner zeigen</translation>
    </message>
    <message>
        <source>Nothing was imported from “%1”.</source>
        <translation>Aus „%1“ wurde nichts importiert.</translation>
    </message>
</context>
<context>
    <name>notara::CoreTexts</name>
    <message>
        <source>Unable to find Annotation Database!</source>
        <translation>Die Anmerkungsdatenbank wurde nicht gefunden!</translation>
    </message>
    <message>
        <source>Unable to find Library Database!</source>
        <translation>Die Bibliotheksdatenbank wurde nicht gefunden!</translation>
    </message>
    <message>
        <source>Recent highlights may be missing: the Books databases were copied without their -wal files. Copy the whole Data folder from the Mac, including the files ending in -wal and -shm.</source>
        <translation>Neuere Markierungen fehlen vielleicht: Die Bücher-Datenbanken wurden ohne ihre -wal-Dateien kopiert. Kopieren Sie den ganzen Data-Ordner vom Mac, auch die Dateien, die auf -wal und -shm enden.</translation>
    </message>
    <message>
        <source>Apple Books</source>
        <translation>Apple Bücher</translation>
    </message>
    <message>
        <source>Kindle notebook</source>
        <translation>Kindle-Notizbuch</translation>
    </message>
</context>
<context>
    <name>notara::FileManager</name>
    <message>
        <source>No file manager could show “%1”.</source>
        <translation>Kein Dateimanager konnte „%1“ zeigen.</translation>
    </message>
</context>
<context>
    <name>notara::LibraryActions</name>
    <message>
        <source>%1 new, %2 changed, %3 removed at source, %4 unchanged</source>
        <translation>%1 neu, %2 geändert, %3 an der Quelle entfernt, %4 unverändert</translation>
    </message>
    <message>
        <source>Keep Imports in Library</source>
        <translation>Importe in der Bibliothek behalten</translation>
    </message>
    <message>
        <source>All Highlights</source>
        <translation>Alle Markierungen</translation>
    </message>
    <message>
        <source>Hide Removed</source>
        <translation>Entfernte ausblenden</translation>
    </message>
    <message>
        <source>Forget Source</source>
        <translation>Quelle vergessen</translation>
    </message>
    <message>
        <source>Sync to Folder…</source>
        <translation>Mit Ordner abgleichen…</translation>
    </message>
    <message>
        <source>Change Sync Folder…</source>
        <translation>Abgleichsordner ändern…</translation>
    </message>
    <message>
        <source>Keeping highlights in your library…</source>
        <translation>Markierungen werden in Ihrer Bibliothek gespeichert…</translation>
    </message>
    <message>
        <source>Keeping highlights in your library… %1%</source>
        <translation>Markierungen werden in Ihrer Bibliothek gespeichert… %1 %</translation>
    </message>
    <message>
        <source>Kept in your library: %1</source>
        <translation>In Ihrer Bibliothek gespeichert: %1</translation>
    </message>
    <message>
        <source>Tags</source>
        <translation>Schlagwörter</translation>
    </message>
    <message>
        <source>Tags for this highlight, separated by commas:</source>
        <translation>Schlagwörter für diese Markierung, durch Kommas getrennt:</translation>
    </message>
    <message>
        <source>Choose Your Notes Folder</source>
        <translation>Notizordner auswählen</translation>
    </message>
    <message>
        <source>Choose your notes folder: one Markdown file per book is kept in it</source>
        <translation>Wählen Sie Ihren Notizordner: Darin wird je Buch eine Markdown-Datei gepflegt</translation>
    </message>
    <message>
        <source>Syncing to %1…</source>
        <translation>Abgleich mit %1…</translation>
    </message>
    <message>
        <source>Syncing to your notes folder… %1%</source>
        <translation>Abgleich mit Ihrem Notizordner… %1 %</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Im Ordner zeigen</translation>
    </message>
    <message>
        <source>No Sources Kept</source>
        <translation>Keine Quellen gespeichert</translation>
    </message>
    <message>
        <source>Forget “%1”?</source>
        <translation>„%1“ vergessen?</translation>
    </message>
    <message>
        <source>1 highlight leaves your library; highlights another source also lists stay.</source>
        <translation>1 Markierung verlässt Ihre Bibliothek; Markierungen, die auch eine andere Quelle enthält, bleiben.</translation>
    </message>
    <message>
        <source>%1 highlights leave your library; highlights another source also lists stay.</source>
        <translation>%1 Markierungen verlassen Ihre Bibliothek; Markierungen, die auch eine andere Quelle enthält, bleiben.</translation>
    </message>
    <message>
        <source>Forget</source>
        <translation>Vergessen</translation>
    </message>
    <message>
        <source>Forgot %1: 1 highlight left your library.</source>
        <translation>%1 vergessen: 1 Markierung hat Ihre Bibliothek verlassen.</translation>
    </message>
    <message>
        <source>Forgot %1: %2 highlights left your library.</source>
        <translation>%1 vergessen: %2 Markierungen haben Ihre Bibliothek verlassen.</translation>
    </message>
    <message>
        <source>Your notes folder is up to date: nothing changed.</source>
        <translation>Ihr Notizordner ist aktuell: Nichts hat sich geändert.</translation>
    </message>
    <message>
        <source>1 file written</source>
        <translation>1 Datei geschrieben</translation>
    </message>
    <message>
        <source>%1 files written</source>
        <translation>%1 Dateien geschrieben</translation>
    </message>
    <message>
        <source> (%1 new)</source>
        <translation> (%1 neu)</translation>
    </message>
    <message>
        <source>1 highlight added</source>
        <translation>1 Markierung hinzugefügt</translation>
    </message>
    <message>
        <source>%1 highlights added</source>
        <translation>%1 Markierungen hinzugefügt</translation>
    </message>
    <message>
        <source>kept 1 highlight you edited</source>
        <translation>1 von Ihnen bearbeitete Markierung behalten</translation>
    </message>
    <message>
        <source>kept %1 highlights you edited</source>
        <translation>%1 von Ihnen bearbeitete Markierungen behalten</translation>
    </message>
    <message>
        <source>%1 marked removed at source</source>
        <translation>%1 als an der Quelle entfernt markiert</translation>
    </message>
</context>
<context>
    <name>notara::MessageBar</name>
    <message>
        <source>Dismiss</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Meldung</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>notara::ScanDialog</name>
    <message>
        <source>Find Highlights on This Computer</source>
        <translation>Markierungen auf diesem Computer suchen</translation>
    </message>
    <message>
        <source>No highlights of KOReader, Foliate or calibre were found on this computer or on a mounted e-reader.</source>
        <translation>Auf diesem Computer und auf keinem eingehängten E-Reader wurden Markierungen von KOReader, Foliate oder calibre gefunden.</translation>
    </message>
    <message>
        <source>Choose what to import. The readers' files are only read.</source>
        <translation>Wählen Sie, was importiert werden soll. Die Dateien der Reader werden nur gelesen.</translation>
    </message>
    <message>
        <source>Highlights found</source>
        <translation>Gefundene Markierungen</translation>
    </message>
    <message>
        <source>%1 — %2 — %3</source>
        <translation>%1 — %2 — %3</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
</context>
<context>
    <name>notara::WelcomePanel</name>
    <message>
        <source>Your highlights, book by book</source>
        <translation>Ihre Markierungen, Buch für Buch</translation>
    </message>
    <message>
        <source>Notara gathers the highlights and notes you made in e-books. Choose the Apple Books folder copied from your Mac, a Notebook page a Kindle app exported for one book, a Kindle's My Clippings.txt or a Kobo's KoboReader.sqlite. The sample shows every kind of entry.</source>
        <translation>Notara sammelt die Markierungen und Notizen, die Sie in E-Books gemacht haben. Wählen Sie den vom Mac kopierten Apple-Bücher-Ordner, eine Notizbuch-Seite, die eine Kindle-App für ein Buch exportiert hat, die My Clippings.txt eines Kindle oder die KoboReader.sqlite eines Kobo. Das Beispiel zeigt jede Art von Eintrag.</translation>
    </message>
    <message>
        <source>Select Books Folder</source>
        <translation>Bücher-Ordner auswählen</translation>
    </message>
    <message>
        <source>Select Kindle Notes Export (.html)</source>
        <translation>Kindle-Notizen-Export auswählen (.html)</translation>
    </message>
    <message>
        <source>Select Kindle Clippings (My Clippings.txt)</source>
        <translation>Kindle-Clippings auswählen (My Clippings.txt)</translation>
    </message>
    <message>
        <source>Select Kobo Database (KoboReader.sqlite)</source>
        <translation>Kobo-Datenbank auswählen (KoboReader.sqlite)</translation>
    </message>
    <message>
        <source>Open Sample Notebook</source>
        <translation>Beispiel-Notizbuch öffnen</translation>
    </message>
</context>
<context>
    <name>notara::WorkDetailView</name>
    <message>
        <source>Export Annotations</source>
        <translation>Anmerkungen exportieren</translation>
    </message>
    <message>
        <source>Select a book to see its highlights</source>
        <translation>Wählen Sie ein Buch, um seine Markierungen zu sehen</translation>
    </message>
    <message>
        <source>Highlights</source>
        <translation>Markierungen</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Copy as Citation</source>
        <translation>Als Zitat kopieren</translation>
    </message>
    <message>
        <source>Favourite</source>
        <translation>Favorit</translation>
    </message>
    <message>
        <source>Tags…</source>
        <translation>Schlagwörter…</translation>
    </message>
    <message>
        <source>No Annotations for "%1"</source>
        <translation>Keine Anmerkungen für „%1“</translation>
    </message>
    <message>
        <source>Exported all Annotations for "%1"</source>
        <translation>Alle Anmerkungen für „%1“ exportiert</translation>
    </message>
    <message>
        <source>Unable to export Annotations!</source>
        <translation>Anmerkungen konnten nicht exportiert werden!</translation>
    </message>
    <message>
        <source>Annotations exported to %1</source>
        <translation>Anmerkungen exportiert nach %1</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Im Ordner zeigen</translation>
    </message>
    <message>
        <source>The annotations of "%1" could not be written: %2</source>
        <translation>Die Anmerkungen von „%1“ konnten nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>No program on this computer opens “%1”.</source>
        <translation>Kein Programm auf diesem Computer öffnet „%1“.</translation>
    </message>
    <message>
        <source>Open in Reader</source>
        <translation>Im Reader öffnen</translation>
    </message>
</context>
<context>
    <name>notara::WorkListModel</name>
    <message>
        <source>Matching Annotations: </source>
        <translation>Passende Anmerkungen: </translation>
    </message>
    <message>
        <source>Total Annotations: </source>
        <translation>Anmerkungen insgesamt: </translation>
    </message>
</context>
</TS>
