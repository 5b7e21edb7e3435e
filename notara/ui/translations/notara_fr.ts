<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>ContentView</name>
    <message>
        <source>Select the "Documents" directory for the Books App. This directory is usually found at: ~/Library/Containers/com.apple.iBooksX/Data/</source>
        <translation>Choisissez le dossier « Documents » de l’app Livres. Il se trouve en général ici : ~/Library/Containers/com.apple.iBooksX/Data/</translation>
    </message>
    <message>
        <source>%1 from %2</source>
        <translation>%1 de %2</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>book</source>
        <translation>livre</translation>
    </message>
    <message>
        <source>books</source>
        <translation>livres</translation>
    </message>
    <message>
        <source>highlight</source>
        <translation>surlignage</translation>
    </message>
    <message>
        <source>highlights</source>
        <translation>surlignages</translation>
    </message>
</context>
<context>
    <name>notara::AboutDialog</name>
    <message>
        <source>About Notara</source>
        <translation>À propos de Notara</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Gathers the highlights and notes of your e-books.</source>
        <translation>Rassemble les surlignages et les notes de vos livres numériques.</translation>
    </message>
    <message>
        <source>Free software under the MIT License.</source>
        <translation>Logiciel libre sous licence MIT.</translation>
    </message>
    <message>
        <source>Runs with Qt %1, ICU %2 and SQLite %3.</source>
        <translation>Fonctionne avec Qt %1, ICU %2 et SQLite %3.</translation>
    </message>
</context>
<context>
    <name>notara::AnnotationCardDelegate</name>
    <message>
        <source>Note: </source>
        <translation>Note : </translation>
    </message>
</context>
<context>
    <name>notara::AnnotationListModel</name>
    <message>
        <source>Removed at source on %1</source>
        <translation>Supprimé à la source le %1</translation>
    </message>
    <message>
        <source>Note: %1</source>
        <translation>Note : %1</translation>
    </message>
</context>
<context>
    <name>notara::ContentView</name>
    <message>
        <source>Nothing loaded yet.

Choose a Books folder or a Kindle Notebook export, or open the sample notebook.</source>
        <translation>Rien n’est encore chargé.

Choisissez un dossier Livres ou un export de carnet Kindle, ou ouvrez le carnet d’exemple.</translation>
    </message>
    <message>
        <source>All Highlights</source>
        <translation>Tous les surlignages</translation>
    </message>
    <message>
        <source>Copied</source>
        <translation>Copié</translation>
    </message>
    <message>
        <source>No highlights match “%1”</source>
        <translation>Aucun surlignage ne correspond à « %1 »</translation>
    </message>
    <message>
        <source>No highlights were found: they are probably in the -wal files, which were not copied with the Books databases. Copy the whole Data folder from the Mac, including the files ending in -wal and -shm.</source>
        <translation>Aucun surlignage trouvé : ils sont probablement dans les fichiers -wal, qui n’ont pas été copiés avec les bases de Livres. Copiez tout le dossier Data du Mac, y compris les fichiers qui se terminent par -wal et -shm.</translation>
    </message>
    <message>
        <source>No book here has highlights. Turn off "Hide Works with no Annotations" to list them all.</source>
        <translation>Aucun livre ici n’a de surlignage. Désactivez « Masquer les œuvres sans annotations » pour les afficher tous.</translation>
    </message>
    <message>
        <source>This list is empty.</source>
        <translation>Cette liste est vide.</translation>
    </message>
    <message>
        <source>The sample notebook could not be written to %1.</source>
        <translation>Le carnet d’exemple n’a pas pu être écrit dans %1.</translation>
    </message>
    <message>
        <source>Search Highlights</source>
        <translation>Rechercher dans les surlignages</translation>
    </message>
    <message>
        <source>Actions</source>
        <translation>Actions</translation>
    </message>
    <message>
        <source>Select Books Folder</source>
        <translation>Choisir le dossier Livres</translation>
    </message>
    <message>
        <source>Select Kindle Notes Export (.html)</source>
        <translation>Choisir un export de notes Kindle (.html)</translation>
    </message>
    <message>
        <source>Hide Works with no Annotations</source>
        <translation>Masquer les œuvres sans annotations</translation>
    </message>
    <message>
        <source>Select Kindle Clippings (My Clippings.txt)</source>
        <translation>Choisir les coupures Kindle (My Clippings.txt)</translation>
    </message>
    <message>
        <source>Select Kobo Database (KoboReader.sqlite)</source>
        <translation>Choisir la base Kobo (KoboReader.sqlite)</translation>
    </message>
    <message>
        <source>Sort</source>
        <translation>Trier</translation>
    </message>
    <message>
        <source>Book Order</source>
        <translation>Ordre du livre</translation>
    </message>
    <message>
        <source>Date Highlighted</source>
        <translation>Date du surlignage</translation>
    </message>
    <message>
        <source>As Stored</source>
        <translation>Tel qu’enregistré</translation>
    </message>
    <message>
        <source>Detailed Export</source>
        <translation>Export détaillé</translation>
    </message>
    <message>
        <source>Export All Works…</source>
        <translation>Exporter toutes les œuvres…</translation>
    </message>
    <message>
        <source>Find Highlights on This Computer…</source>
        <translation>Trouver les surlignages sur cet ordinateur…</translation>
    </message>
    <message>
        <source>Select KOReader Folder…</source>
        <translation>Choisir un dossier KOReader…</translation>
    </message>
    <message>
        <source>Select Foliate Folder…</source>
        <translation>Choisir le dossier de Foliate…</translation>
    </message>
    <message>
        <source>Select calibre Library…</source>
        <translation>Choisir une bibliothèque calibre…</translation>
    </message>
    <message>
        <source>Choose a folder with KOReader's sidecars: a book folder, a mounted e-reader or KOReader's own folder</source>
        <translation>Choisissez un dossier contenant les fichiers annexes de KOReader : un dossier de livres, une liseuse montée ou le dossier de KOReader lui-même</translation>
    </message>
    <message>
        <source>Choose Foliate's data folder (~/.local/share/com.github.johnfactotum.Foliate)</source>
        <translation>Choisissez le dossier de données de Foliate (~/.local/share/com.github.johnfactotum.Foliate)</translation>
    </message>
    <message>
        <source>Choose a calibre library folder (with metadata.db) or the viewer's annotation folder</source>
        <translation>Choisissez un dossier de bibliothèque calibre (avec metadata.db) ou le dossier d’annotations de la visionneuse</translation>
    </message>
    <message>
        <source>About Notara</source>
        <translation>À propos de Notara</translation>
    </message>
    <message>
        <source>Shown list</source>
        <translation>Liste affichée</translation>
    </message>
    <message>
        <source>Books</source>
        <translation>Livres</translation>
    </message>
    <message>
        <source>Hiding Works with no Annotations</source>
        <translation>Œuvres sans annotations masquées</translation>
    </message>
    <message>
        <source>Apple Books</source>
        <translation>Apple Livres</translation>
    </message>
    <message>
        <source>The Books databases of the folder chosen on %1%2 are gone: they were moved or deleted. Choose "Select Books Folder" to load them again.</source>
        <translation>Les bases Livres du dossier choisi le %1%2 ont disparu : elles ont été déplacées ou supprimées. Choisissez « Choisir le dossier Livres » pour les charger à nouveau.</translation>
    </message>
    <message>
        <source>The Books library in %1 holds no books, so there is nothing to show.</source>
        <translation>La bibliothèque Livres de %1 ne contient aucun livre : il n’y a rien à afficher.</translation>
    </message>
    <message>
        <source>The Books library holds no books, so there is nothing to show.</source>
        <translation>La bibliothèque Livres ne contient aucun livre : il n’y a rien à afficher.</translation>
    </message>
    <message>
        <source>Alert!</source>
        <translation>Attention !</translation>
    </message>
    <message>
        <source>Kindle notebook</source>
        <translation>Carnet Kindle</translation>
    </message>
    <message>
        <source>"%1" could not be imported. %2 "Select Books Folder" or the "Hide Works with no Annotations" filter brings the library back.</source>
        <translation>« %1 » n’a pas pu être importé. %2 « Choisir le dossier Livres » ou le filtre « Masquer les œuvres sans annotations » fait revenir la bibliothèque.</translation>
    </message>
    <message>
        <source>Show Library</source>
        <translation>Afficher la bibliothèque</translation>
    </message>
    <message>
        <source>Select Kindle Clippings</source>
        <translation>Choisir les coupures Kindle</translation>
    </message>
    <message>
        <source>Kindle clippings (*.txt)</source>
        <translation>Coupures Kindle (*.txt)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Select Kobo Database</source>
        <translation>Choisir la base Kobo</translation>
    </message>
    <message>
        <source>Kobo database (KoboReader.sqlite *.sqlite)</source>
        <translation>Base Kobo (KoboReader.sqlite *.sqlite)</translation>
    </message>
    <message>
        <source>%1 found on this computer</source>
        <translation>%1 trouvés sur cet ordinateur</translation>
    </message>
    <message>
        <source>Nothing could be imported. %1</source>
        <translation>Rien n’a pu être importé. %1</translation>
    </message>
    <message>
        <source>Found on This Computer</source>
        <translation>Trouvé sur cet ordinateur</translation>
    </message>
    <message>
        <source>%1. Not imported: %2</source>
        <translation>%1. Non importé : %2</translation>
    </message>
    <message>
        <source>%1 connected:</source>
        <translation>%1 connecté :</translation>
    </message>
    <message>
        <source>Import Highlights</source>
        <translation>Importer les surlignages</translation>
    </message>
    <message>
        <source>Export All Works</source>
        <translation>Exporter toutes les œuvres</translation>
    </message>
    <message>
        <source>Choose the folder for one Markdown file per work</source>
        <translation>Choisissez le dossier qui recevra un fichier Markdown par œuvre</translation>
    </message>
    <message>
        <source>Exporting annotations…</source>
        <translation>Export des annotations…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Exporting annotations… %1 of %2</source>
        <translation>Export des annotations… %1 sur %2</translation>
    </message>
    <message>
        <source>Saving to disk…</source>
        <translation>Enregistrement sur le disque…</translation>
    </message>
    <message>
        <source>1 Markdown file</source>
        <translation>1 fichier Markdown</translation>
    </message>
    <message>
        <source>%1 Markdown files</source>
        <translation>%1 fichiers Markdown</translation>
    </message>
    <message>
        <source>%1 written to %2</source>
        <translation>%1 écrit(s) dans %2</translation>
    </message>
    <message>
        <source> (cancelled after %1 of %2)</source>
        <translation> (annulé après %1 sur %2)</translation>
    </message>
    <message>
        <source>Each work with annotations has its own file, named like the single export.</source>
        <translation>Chaque œuvre annotée a son propre fichier, nommé comme pour l’export d’une seule œuvre.</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 n’ont pas pu être écrits : %2</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Afficher dans le dossier</translation>
    </message>
    <message>
        <source>Nothing was imported from “%1”.</source>
        <translation>Rien n’a été importé de « %1 ».</translation>
    </message>
</context>
<context>
    <name>notara::CoreTexts</name>
    <message>
        <source>Unable to find Annotation Database!</source>
        <translation>Base des annotations introuvable !</translation>
    </message>
    <message>
        <source>Unable to find Library Database!</source>
        <translation>Base de la bibliothèque introuvable !</translation>
    </message>
    <message>
        <source>Recent highlights may be missing: the Books databases were copied without their -wal files. Copy the whole Data folder from the Mac, including the files ending in -wal and -shm.</source>
        <translation>Des surlignages récents peuvent manquer : les bases Livres ont été copiées sans leurs fichiers -wal. Copiez tout le dossier Data du Mac, y compris les fichiers qui se terminent par -wal et -shm.</translation>
    </message>
    <message>
        <source>Apple Books</source>
        <translation>Apple Livres</translation>
    </message>
    <message>
        <source>Kindle notebook</source>
        <translation>Carnet Kindle</translation>
    </message>
</context>
<context>
    <name>notara::FileManager</name>
    <message>
        <source>No file manager could show “%1”.</source>
        <translation>Aucun gestionnaire de fichiers n’a pu afficher « %1 ».</translation>
    </message>
</context>
<context>
    <name>notara::LibraryActions</name>
    <message>
        <source>%1 new, %2 changed, %3 removed at source, %4 unchanged</source>
        <translation>%1 nouveaux, %2 modifiés, %3 supprimés à la source, %4 inchangés</translation>
    </message>
    <message>
        <source>Keep Imports in Library</source>
        <translation>Garder les imports dans la bibliothèque</translation>
    </message>
    <message>
        <source>All Highlights</source>
        <translation>Tous les surlignages</translation>
    </message>
    <message>
        <source>Hide Removed</source>
        <translation>Masquer les supprimés</translation>
    </message>
    <message>
        <source>Forget Source</source>
        <translation>Oublier une source</translation>
    </message>
    <message>
        <source>Sync to Folder…</source>
        <translation>Synchroniser vers un dossier…</translation>
    </message>
    <message>
        <source>Change Sync Folder…</source>
        <translation>Changer de dossier de synchronisation…</translation>
    </message>
    <message>
        <source>Keeping highlights in your library…</source>
        <translation>Enregistrement des surlignages dans votre bibliothèque…</translation>
    </message>
    <message>
        <source>Keeping highlights in your library… %1%</source>
        <translation>Enregistrement des surlignages dans votre bibliothèque… %1 %</translation>
    </message>
    <message>
        <source>Kept in your library: %1</source>
        <translation>Enregistré dans votre bibliothèque : %1</translation>
    </message>
    <message>
        <source>Tags</source>
        <translation>Étiquettes</translation>
    </message>
    <message>
        <source>Tags for this highlight, separated by commas:</source>
        <translation>Étiquettes de ce surlignage, séparées par des virgules :</translation>
    </message>
    <message>
        <source>Choose Your Notes Folder</source>
        <translation>Choisir votre dossier de notes</translation>
    </message>
    <message>
        <source>Choose your notes folder: one Markdown file per book is kept in it</source>
        <translation>Choisissez votre dossier de notes : un fichier Markdown par livre y est tenu à jour</translation>
    </message>
    <message>
        <source>Syncing to %1…</source>
        <translation>Synchronisation vers %1…</translation>
    </message>
    <message>
        <source>Syncing to your notes folder… %1%</source>
        <translation>Synchronisation vers votre dossier de notes… %1 %</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Afficher dans le dossier</translation>
    </message>
    <message>
        <source>No Sources Kept</source>
        <translation>Aucune source enregistrée</translation>
    </message>
    <message>
        <source>Forget “%1”?</source>
        <translation>Oublier « %1 » ?</translation>
    </message>
    <message>
        <source>1 highlight leaves your library; highlights another source also lists stay.</source>
        <translation>1 surlignage quitte votre bibliothèque ; ceux qu’une autre source contient aussi restent.</translation>
    </message>
    <message>
        <source>%1 highlights leave your library; highlights another source also lists stay.</source>
        <translation>%1 surlignages quittent votre bibliothèque ; ceux qu’une autre source contient aussi restent.</translation>
    </message>
    <message>
        <source>Forget</source>
        <translation>Oublier</translation>
    </message>
    <message>
        <source>Forgot %1: 1 highlight left your library.</source>
        <translation>%1 oublié : 1 surlignage a quitté votre bibliothèque.</translation>
    </message>
    <message>
        <source>Forgot %1: %2 highlights left your library.</source>
        <translation>%1 oublié : %2 surlignages ont quitté votre bibliothèque.</translation>
    </message>
    <message>
        <source>Your notes folder is up to date: nothing changed.</source>
        <translation>Votre dossier de notes est à jour : rien n’a changé.</translation>
    </message>
    <message>
        <source>1 file written</source>
        <translation>1 fichier écrit</translation>
    </message>
    <message>
        <source>%1 files written</source>
        <translation>%1 fichiers écrits</translation>
    </message>
    <message>
        <source> (%1 new)</source>
        <translation> (%1 nouveaux)</translation>
    </message>
    <message>
        <source>1 highlight added</source>
        <translation>1 surlignage ajouté</translation>
    </message>
    <message>
        <source>%1 highlights added</source>
        <translation>%1 surlignages ajoutés</translation>
    </message>
    <message>
        <source>kept 1 highlight you edited</source>
        <translation>1 surlignage que vous avez modifié conservé</translation>
    </message>
    <message>
        <source>kept %1 highlights you edited</source>
        <translation>%1 surlignages que vous avez modifiés conservés</translation>
    </message>
    <message>
        <source>%1 marked removed at source</source>
        <translation>%1 marqués comme supprimés à la source</translation>
    </message>
</context>
<context>
    <name>notara::MessageBar</name>
    <message>
        <source>Dismiss</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
</context>
<context>
    <name>notara::ScanDialog</name>
    <message>
        <source>Find Highlights on This Computer</source>
        <translation>Trouver les surlignages sur cet ordinateur</translation>
    </message>
    <message>
        <source>No highlights of KOReader, Foliate or calibre were found on this computer or on a mounted e-reader.</source>
        <translation>Aucun surlignage de KOReader, Foliate ou calibre n’a été trouvé sur cet ordinateur ni sur une liseuse montée.</translation>
    </message>
    <message>
        <source>Choose what to import. The readers' files are only read.</source>
        <translation>Choisissez ce qu’il faut importer. Les fichiers des liseuses sont seulement lus.</translation>
    </message>
    <message>
        <source>Highlights found</source>
        <translation>Surlignages trouvés</translation>
    </message>
    <message>
        <source>%1 — %2 — %3</source>
        <translation>%1 — %2 — %3</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importer</translation>
    </message>
</context>
<context>
    <name>notara::WelcomePanel</name>
    <message>
        <source>Your highlights, book by book</source>
        <translation>Vos surlignages, livre par livre</translation>
    </message>
    <message>
        <source>Notara gathers the highlights and notes you made in e-books. Choose the Apple Books folder copied from your Mac, a Notebook page a Kindle app exported for one book, a Kindle's My Clippings.txt or a Kobo's KoboReader.sqlite. The sample shows every kind of entry.</source>
        <translation>Notara rassemble les surlignages et les notes que vous avez faits dans vos livres numériques. Choisissez le dossier Apple Livres copié depuis votre Mac, une page de carnet qu’une app Kindle a exportée pour un livre, le My Clippings.txt d’une Kindle ou le KoboReader.sqlite d’une Kobo. L’exemple montre chaque sorte d’entrée.</translation>
    </message>
    <message>
        <source>Select Books Folder</source>
        <translation>Choisir le dossier Livres</translation>
    </message>
    <message>
        <source>Select Kindle Notes Export (.html)</source>
        <translation>Choisir un export de notes Kindle (.html)</translation>
    </message>
    <message>
        <source>Select Kindle Clippings (My Clippings.txt)</source>
        <translation>Choisir les coupures Kindle (My Clippings.txt)</translation>
    </message>
    <message>
        <source>Select Kobo Database (KoboReader.sqlite)</source>
        <translation>Choisir la base Kobo (KoboReader.sqlite)</translation>
    </message>
    <message>
        <source>Open Sample Notebook</source>
        <translation>Ouvrir le carnet d’exemple</translation>
    </message>
</context>
<context>
    <name>notara::WorkDetailView</name>
    <message>
        <source>Export Annotations</source>
        <translation>Exporter les annotations</translation>
    </message>
    <message>
        <source>Select a book to see its highlights</source>
        <translation>Choisissez un livre pour voir ses surlignages</translation>
    </message>
    <message>
        <source>Highlights</source>
        <translation>Surlignages</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copier</translation>
    </message>
    <message>
        <source>Copy as Citation</source>
        <translation>Copier comme citation</translation>
    </message>
    <message>
        <source>Favourite</source>
        <translation>Favori</translation>
    </message>
    <message>
        <source>Tags…</source>
        <translation>Étiquettes…</translation>
    </message>
    <message>
        <source>No Annotations for "%1"</source>
        <translation>Aucune annotation pour « %1 »</translation>
    </message>
    <message>
        <source>Exported all Annotations for "%1"</source>
        <translation>Toutes les annotations de « %1 » ont été exportées</translation>
    </message>
    <message>
        <source>Unable to export Annotations!</source>
        <translation>Impossible d’exporter les annotations !</translation>
    </message>
    <message>
        <source>Annotations exported to %1</source>
        <translation>Annotations exportées dans %1</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Afficher dans le dossier</translation>
    </message>
    <message>
        <source>The annotations of "%1" could not be written: %2</source>
        <translation>Les annotations de « %1 » n’ont pas pu être écrites : %2</translation>
    </message>
    <message>
        <source>No program on this computer opens “%1”.</source>
        <translation>Aucun programme de cet ordinateur n’ouvre « %1 ».</translation>
    </message>
    <message>
        <source>Open in Reader</source>
        <translation>Ouvrir dans la liseuse</translation>
    </message>
</context>
<context>
    <name>notara::WorkListModel</name>
    <message>
        <source>Matching Annotations: </source>
        <translation>Annotations correspondantes : </translation>
    </message>
    <message>
        <source>Total Annotations: </source>
        <translation>Total des annotations : </translation>
    </message>
</context>
</TS>
