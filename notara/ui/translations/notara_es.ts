<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>ContentView</name>
    <message>
        <source>Select the "Documents" directory for the Books App. This directory is usually found at: ~/Library/Containers/com.apple.iBooksX/Data/</source>
        <translation>Seleccione la carpeta «Documents» de la app Libros. Suele estar en: ~/Library/Containers/com.apple.iBooksX/Data/</translation>
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
        <translation>libro</translation>
    </message>
    <message>
        <source>books</source>
        <translation>libros</translation>
    </message>
    <message>
        <source>highlight</source>
        <translation>subrayado</translation>
    </message>
    <message>
        <source>highlights</source>
        <translation>subrayados</translation>
    </message>
</context>
<context>
    <name>notara::AboutDialog</name>
    <message>
        <source>About Notara</source>
        <translation>Acerca de Notara</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Versión %1</translation>
    </message>
    <message>
        <source>Gathers the highlights and notes of your e-books.</source>
        <translation>Reúne los subrayados y las notas de sus libros electrónicos.</translation>
    </message>
    <message>
        <source>Free software under the MIT License.</source>
        <translation>Software libre bajo la licencia MIT.</translation>
    </message>
    <message>
        <source>Runs with Qt %1, ICU %2 and SQLite %3.</source>
        <translation>Funciona con Qt %1, ICU %2 y SQLite %3.</translation>
    </message>
</context>
<context>
    <name>notara::AnnotationCardDelegate</name>
    <message>
        <source>Note: </source>
        <translation>Nota: </translation>
    </message>
</context>
<context>
    <name>notara::AnnotationListModel</name>
    <message>
        <source>Removed at source on %1</source>
        <translation>Eliminado en el origen el %1</translation>
    </message>
    <message>
        <source>Note: %1</source>
        <translation>Nota: %1</translation>
    </message>
</context>
<context>
    <name>notara::ContentView</name>
    <message>
        <source>Nothing loaded yet.

Choose a Books folder or a Kindle Notebook export, or open the sample notebook.</source>
        <translation>Aún no hay nada cargado.

Elija una carpeta de Libros o una exportación del cuaderno de Kindle, o abra el cuaderno de ejemplo.</translation>
    </message>
    <message>
        <source>All Highlights</source>
        <translation>Todos los subrayados</translation>
    </message>
    <message>
        <source>Copied</source>
        <translation>Copiado</translation>
    </message>
    <message>
        <source>No highlights match “%1”</source>
        <translation>Ningún subrayado coincide con «%1»</translation>
    </message>
    <message>
        <source>No highlights were found: they are probably in the -wal files, which were not copied with the Books databases. Copy the whole Data folder from the Mac, including the files ending in -wal and -shm.</source>
        <translation>No se encontró ningún subrayado: probablemente están en los archivos -wal, que no se copiaron con las bases de datos de Libros. Copie toda la carpeta Data del Mac, incluidos los archivos que terminan en -wal y -shm.</translation>
    </message>
    <message>
        <source>No book here has highlights. Turn off "Hide Works with no Annotations" to list them all.</source>
        <translation>Ningún libro aquí tiene subrayados. Desactive «Ocultar obras sin anotaciones» para verlos todos.</translation>
    </message>
    <message>
        <source>This list is empty.</source>
        <translation>Esta lista está vacía.</translation>
    </message>
    <message>
        <source>The sample notebook could not be written to %1.</source>
        <translation>No se pudo escribir el cuaderno de ejemplo en %1.</translation>
    </message>
    <message>
        <source>Search Highlights</source>
        <translation>Buscar subrayados</translation>
    </message>
    <message>
        <source>Actions</source>
        <translation>Acciones</translation>
    </message>
    <message>
        <source>Select Books Folder</source>
        <translation>Seleccionar carpeta de Libros</translation>
    </message>
    <message>
        <source>Select Kindle Notes Export (.html)</source>
        <translation>Seleccionar exportación de notas de Kindle (.html)</translation>
    </message>
    <message>
        <source>Hide Works with no Annotations</source>
        <translation>Ocultar obras sin anotaciones</translation>
    </message>
    <message>
        <source>Select Kindle Clippings (My Clippings.txt)</source>
        <translation>Seleccionar recortes de Kindle (My Clippings.txt)</translation>
    </message>
    <message>
        <source>Select Kobo Database (KoboReader.sqlite)</source>
        <translation>Seleccionar base de datos de Kobo (KoboReader.sqlite)</translation>
    </message>
    <message>
        <source>Sort</source>
        <translation>Ordenar</translation>
    </message>
    <message>
        <source>Book Order</source>
        <translation>Orden del libro</translation>
    </message>
    <message>
        <source>Date Highlighted</source>
        <translation>Fecha del subrayado</translation>
    </message>
    <message>
        <source>As Stored</source>
        <translation>Tal como se guardó</translation>
    </message>
    <message>
        <source>Detailed Export</source>
        <translation>Exportación detallada</translation>
    </message>
    <message>
        <source>Export All Works…</source>
        <translation>Exportar todas las obras…</translation>
    </message>
    <message>
        <source>Find Highlights on This Computer…</source>
        <translation>Buscar subrayados en este ordenador…</translation>
    </message>
    <message>
        <source>Select KOReader Folder…</source>
        <translation>Seleccionar carpeta de KOReader…</translation>
    </message>
    <message>
        <source>Select Foliate Folder…</source>
        <translation>Seleccionar carpeta de Foliate…</translation>
    </message>
    <message>
        <source>Select calibre Library…</source>
        <translation>Seleccionar biblioteca de calibre…</translation>
    </message>
    <message>
        <source>Choose a folder with KOReader's sidecars: a book folder, a mounted e-reader or KOReader's own folder</source>
        <translation>Elija una carpeta con los archivos auxiliares de KOReader: una carpeta de libros, un lector montado o la carpeta propia de KOReader</translation>
    </message>
    <message>
        <source>Choose Foliate's data folder (~/.local/share/com.github.johnfactotum.Foliate)</source>
        <translation>Elija la carpeta de datos de Foliate (~/.local/share/com.github.johnfactotum.Foliate)</translation>
    </message>
    <message>
        <source>Choose a calibre library folder (with metadata.db) or the viewer's annotation folder</source>
        <translation>Elija una carpeta de biblioteca de calibre (con metadata.db) o la carpeta de anotaciones del visor</translation>
    </message>
    <message>
        <source>About Notara</source>
        <translation>Acerca de Notara</translation>
    </message>
    <message>
        <source>Shown list</source>
        <translation>Lista mostrada</translation>
    </message>
    <message>
        <source>Books</source>
        <translation>Libros</translation>
    </message>
    <message>
        <source>Hiding Works with no Annotations</source>
        <translation>Ocultando obras sin anotaciones</translation>
    </message>
    <message>
        <source>Apple Books</source>
        <translation>Apple Libros</translation>
    </message>
    <message>
        <source>The Books databases of the folder chosen on %1%2 are gone: they were moved or deleted. Choose "Select Books Folder" to load them again.</source>
        <translation>Las bases de datos de Libros de la carpeta elegida el %1%2 ya no están: se movieron o se eliminaron. Elija «Seleccionar carpeta de Libros» para cargarlas de nuevo.</translation>
    </message>
    <message>
        <source>The Books library in %1 holds no books, so there is nothing to show.</source>
        <translation>La biblioteca de Libros de %1 no contiene libros, así que no hay nada que mostrar.</translation>
    </message>
    <message>
        <source>The Books library holds no books, so there is nothing to show.</source>
        <translation>La biblioteca de Libros no contiene libros, así que no hay nada que mostrar.</translation>
    </message>
    <message>
        <source>Alert!</source>
        <translation>¡Atención!</translation>
    </message>
    <message>
        <source>Kindle notebook</source>
        <translation>Cuaderno de Kindle</translation>
    </message>
    <message>
        <source>"%1" could not be imported. %2 "Select Books Folder" or the "Hide Works with no Annotations" filter brings the library back.</source>
        <translation>No se pudo importar «%1». %2 «Seleccionar carpeta de Libros» o el filtro «Ocultar obras sin anotaciones» recuperan la biblioteca.</translation>
    </message>
    <message>
        <source>Show Library</source>
        <translation>Mostrar biblioteca</translation>
    </message>
    <message>
        <source>Select Kindle Clippings</source>
        <translation>Seleccionar recortes de Kindle</translation>
    </message>
    <message>
        <source>Kindle clippings (*.txt)</source>
        <translation>Recortes de Kindle (*.txt)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Todos los archivos (*)</translation>
    </message>
    <message>
        <source>Select Kobo Database</source>
        <translation>Seleccionar base de datos de Kobo</translation>
    </message>
    <message>
        <source>Kobo database (KoboReader.sqlite *.sqlite)</source>
        <translation>Base de datos de Kobo (KoboReader.sqlite *.sqlite)</translation>
    </message>
    <message>
        <source>%1 found on this computer</source>
        <translation>%1 encontrados en este ordenador</translation>
    </message>
    <message>
        <source>Nothing could be imported. %1</source>
        <translation>No se pudo importar nada. %1</translation>
    </message>
    <message>
        <source>Found on This Computer</source>
        <translation>Encontrado en este ordenador</translation>
    </message>
    <message>
        <source>%1. Not imported: %2</source>
        <translation>%1. No importado: %2</translation>
    </message>
    <message>
        <source>%1 connected:</source>
        <translation>%1 conectado:</translation>
    </message>
    <message>
        <source>Import Highlights</source>
        <translation>Importar subrayados</translation>
    </message>
    <message>
        <source>Export All Works</source>
        <translation>Exportar todas las obras</translation>
    </message>
    <message>
        <source>Choose the folder for one Markdown file per work</source>
        <translation>Elija la carpeta para un archivo Markdown por obra</translation>
    </message>
    <message>
        <source>Exporting annotations…</source>
        <translation>Exportando anotaciones…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Exporting annotations… %1 of %2</source>
        <translation>Exportando anotaciones… %1 de %2</translation>
    </message>
    <message>
        <source>Saving to disk…</source>
        <translation>Guardando en el disco…</translation>
    </message>
    <message>
        <source>1 Markdown file</source>
        <translation>1 archivo Markdown</translation>
    </message>
    <message>
        <source>%1 Markdown files</source>
        <translation>%1 archivos Markdown</translation>
    </message>
    <message>
        <source>%1 written to %2</source>
        <translation>%1 escritos en %2</translation>
    </message>
    <message>
        <source> (cancelled after %1 of %2)</source>
        <translation> (cancelado tras %1 de %2)</translation>
    </message>
    <message>
        <source>Each work with annotations has its own file, named like the single export.</source>
        <translation>Cada obra con anotaciones tiene su propio archivo, con el mismo nombre que en la exportación individual.</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>No se pudieron escribir %1: %2</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Mostrar en la carpeta</translation>
    </message>
    <message>
        <source>Nothing was imported from “%1”.</source>
        <translation>No se importó nada de «%1».</translation>
    </message>
</context>
<context>
    <name>notara::CoreTexts</name>
    <message>
        <source>Unable to find Annotation Database!</source>
        <translation>¡No se encontró la base de datos de anotaciones!</translation>
    </message>
    <message>
        <source>Unable to find Library Database!</source>
        <translation>¡No se encontró la base de datos de la biblioteca!</translation>
    </message>
    <message>
        <source>Recent highlights may be missing: the Books databases were copied without their -wal files. Copy the whole Data folder from the Mac, including the files ending in -wal and -shm.</source>
        <translation>Puede que falten subrayados recientes: las bases de datos de Libros se copiaron sin sus archivos -wal. Copie toda la carpeta Data del Mac, incluidos los archivos que terminan en -wal y -shm.</translation>
    </message>
    <message>
        <source>Apple Books</source>
        <translation>Apple Libros</translation>
    </message>
    <message>
        <source>Kindle notebook</source>
        <translation>Cuaderno de Kindle</translation>
    </message>
</context>
<context>
    <name>notara::FileManager</name>
    <message>
        <source>No file manager could show “%1”.</source>
        <translation>Ningún gestor de archivos pudo mostrar «%1».</translation>
    </message>
</context>
<context>
    <name>notara::LibraryActions</name>
    <message>
        <source>%1 new, %2 changed, %3 removed at source, %4 unchanged</source>
        <translation>%1 nuevos, %2 cambiados, %3 eliminados en el origen, %4 sin cambios</translation>
    </message>
    <message>
        <source>Keep Imports in Library</source>
        <translation>Guardar lo importado en la biblioteca</translation>
    </message>
    <message>
        <source>All Highlights</source>
        <translation>Todos los subrayados</translation>
    </message>
    <message>
        <source>Hide Removed</source>
        <translation>Ocultar eliminados</translation>
    </message>
    <message>
        <source>Forget Source</source>
        <translation>Olvidar fuente</translation>
    </message>
    <message>
        <source>Sync to Folder…</source>
        <translation>Sincronizar con carpeta…</translation>
    </message>
    <message>
        <source>Change Sync Folder…</source>
        <translation>Cambiar carpeta de sincronización…</translation>
    </message>
    <message>
        <source>Keeping highlights in your library…</source>
        <translation>Guardando los subrayados en su biblioteca…</translation>
    </message>
    <message>
        <source>Keeping highlights in your library… %1%</source>
        <translation>Guardando los subrayados en su biblioteca… %1 %</translation>
    </message>
    <message>
        <source>Kept in your library: %1</source>
        <translation>Guardado en su biblioteca: %1</translation>
    </message>
    <message>
        <source>Tags</source>
        <translation>Etiquetas</translation>
    </message>
    <message>
        <source>Tags for this highlight, separated by commas:</source>
        <translation>Etiquetas de este subrayado, separadas por comas:</translation>
    </message>
    <message>
        <source>Choose Your Notes Folder</source>
        <translation>Elegir su carpeta de notas</translation>
    </message>
    <message>
        <source>Choose your notes folder: one Markdown file per book is kept in it</source>
        <translation>Elija su carpeta de notas: en ella se mantiene un archivo Markdown por libro</translation>
    </message>
    <message>
        <source>Syncing to %1…</source>
        <translation>Sincronizando con %1…</translation>
    </message>
    <message>
        <source>Syncing to your notes folder… %1%</source>
        <translation>Sincronizando con su carpeta de notas… %1 %</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Mostrar en la carpeta</translation>
    </message>
    <message>
        <source>No Sources Kept</source>
        <translation>No hay fuentes guardadas</translation>
    </message>
    <message>
        <source>Forget “%1”?</source>
        <translation>¿Olvidar «%1»?</translation>
    </message>
    <message>
        <source>1 highlight leaves your library; highlights another source also lists stay.</source>
        <translation>1 subrayado sale de su biblioteca; los que también figuran en otra fuente se quedan.</translation>
    </message>
    <message>
        <source>%1 highlights leave your library; highlights another source also lists stay.</source>
        <translation>%1 subrayados salen de su biblioteca; los que también figuran en otra fuente se quedan.</translation>
    </message>
    <message>
        <source>Forget</source>
        <translation>Olvidar</translation>
    </message>
    <message>
        <source>Forgot %1: 1 highlight left your library.</source>
        <translation>Se olvidó %1: 1 subrayado salió de su biblioteca.</translation>
    </message>
    <message>
        <source>Forgot %1: %2 highlights left your library.</source>
        <translation>Se olvidó %1: %2 subrayados salieron de su biblioteca.</translation>
    </message>
    <message>
        <source>Your notes folder is up to date: nothing changed.</source>
        <translation>Su carpeta de notas está al día: no ha cambiado nada.</translation>
    </message>
    <message>
        <source>1 file written</source>
        <translation>1 archivo escrito</translation>
    </message>
    <message>
        <source>%1 files written</source>
        <translation>%1 archivos escritos</translation>
    </message>
    <message>
        <source> (%1 new)</source>
        <translation> (%1 nuevos)</translation>
    </message>
    <message>
        <source>1 highlight added</source>
        <translation>1 subrayado añadido</translation>
    </message>
    <message>
        <source>%1 highlights added</source>
        <translation>%1 subrayados añadidos</translation>
    </message>
    <message>
        <source>kept 1 highlight you edited</source>
        <translation>se conservó 1 subrayado que usted editó</translation>
    </message>
    <message>
        <source>kept %1 highlights you edited</source>
        <translation>se conservaron %1 subrayados que usted editó</translation>
    </message>
    <message>
        <source>%1 marked removed at source</source>
        <translation>%1 marcados como eliminados en el origen</translation>
    </message>
</context>
<context>
    <name>notara::MessageBar</name>
    <message>
        <source>Dismiss</source>
        <translation>Descartar</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Mensaje</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Información</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Advertencia</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>notara::ScanDialog</name>
    <message>
        <source>Find Highlights on This Computer</source>
        <translation>Buscar subrayados en este ordenador</translation>
    </message>
    <message>
        <source>No highlights of KOReader, Foliate or calibre were found on this computer or on a mounted e-reader.</source>
        <translation>No se encontraron subrayados de KOReader, Foliate ni calibre en este ordenador ni en un lector montado.</translation>
    </message>
    <message>
        <source>Choose what to import. The readers' files are only read.</source>
        <translation>Elija qué importar. Los archivos de los lectores solo se leen.</translation>
    </message>
    <message>
        <source>Highlights found</source>
        <translation>Subrayados encontrados</translation>
    </message>
    <message>
        <source>%1 — %2 — %3</source>
        <translation>%1 — %2 — %3</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importar</translation>
    </message>
</context>
<context>
    <name>notara::WelcomePanel</name>
    <message>
        <source>Your highlights, book by book</source>
        <translation>Sus subrayados, libro a libro</translation>
    </message>
    <message>
        <source>Notara gathers the highlights and notes you made in e-books. Choose the Apple Books folder copied from your Mac, a Notebook page a Kindle app exported for one book, a Kindle's My Clippings.txt or a Kobo's KoboReader.sqlite. The sample shows every kind of entry.</source>
        <translation>Notara reúne los subrayados y las notas que hizo en sus libros electrónicos. Elija la carpeta de Apple Libros copiada de su Mac, una página de cuaderno que una app de Kindle exportó para un libro, el My Clippings.txt de un Kindle o el KoboReader.sqlite de un Kobo. El ejemplo muestra cada tipo de entrada.</translation>
    </message>
    <message>
        <source>Select Books Folder</source>
        <translation>Seleccionar carpeta de Libros</translation>
    </message>
    <message>
        <source>Select Kindle Notes Export (.html)</source>
        <translation>Seleccionar exportación de notas de Kindle (.html)</translation>
    </message>
    <message>
        <source>Select Kindle Clippings (My Clippings.txt)</source>
        <translation>Seleccionar recortes de Kindle (My Clippings.txt)</translation>
    </message>
    <message>
        <source>Select Kobo Database (KoboReader.sqlite)</source>
        <translation>Seleccionar base de datos de Kobo (KoboReader.sqlite)</translation>
    </message>
    <message>
        <source>Open Sample Notebook</source>
        <translation>Abrir el cuaderno de ejemplo</translation>
    </message>
</context>
<context>
    <name>notara::WorkDetailView</name>
    <message>
        <source>Export Annotations</source>
        <translation>Exportar anotaciones</translation>
    </message>
    <message>
        <source>Select a book to see its highlights</source>
        <translation>Elija un libro para ver sus subrayados</translation>
    </message>
    <message>
        <source>Highlights</source>
        <translation>Subrayados</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copiar</translation>
    </message>
    <message>
        <source>Copy as Citation</source>
        <translation>Copiar como cita</translation>
    </message>
    <message>
        <source>Favourite</source>
        <translation>Favorito</translation>
    </message>
    <message>
        <source>Tags…</source>
        <translation>Etiquetas…</translation>
    </message>
    <message>
        <source>No Annotations for "%1"</source>
        <translation>No hay anotaciones para «%1»</translation>
    </message>
    <message>
        <source>Exported all Annotations for "%1"</source>
        <translation>Se exportaron todas las anotaciones de «%1»</translation>
    </message>
    <message>
        <source>Unable to export Annotations!</source>
        <translation>¡No se pudieron exportar las anotaciones!</translation>
    </message>
    <message>
        <source>Annotations exported to %1</source>
        <translation>Anotaciones exportadas a %1</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Mostrar en la carpeta</translation>
    </message>
    <message>
        <source>The annotations of "%1" could not be written: %2</source>
        <translation>No se pudieron escribir las anotaciones de «%1»: %2</translation>
    </message>
    <message>
        <source>No program on this computer opens “%1”.</source>
        <translation>Ningún programa de este ordenador abre «%1».</translation>
    </message>
    <message>
        <source>Open in Reader</source>
        <translation>Abrir en el lector</translation>
    </message>
</context>
<context>
    <name>notara::WorkListModel</name>
    <message>
        <source>Matching Annotations: </source>
        <translation>Anotaciones coincidentes: </translation>
    </message>
    <message>
        <source>Total Annotations: </source>
        <translation>Total de anotaciones: </translation>
    </message>
</context>
</TS>
