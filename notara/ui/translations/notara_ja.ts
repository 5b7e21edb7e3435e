<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>ContentView</name>
    <message>
        <source>Select the "Documents" directory for the Books App. This directory is usually found at: ~/Library/Containers/com.apple.iBooksX/Data/</source>
        <translation>ブックアプリの「Documents」フォルダを選択してください。通常は次の場所にあります: ~/Library/Containers/com.apple.iBooksX/Data/</translation>
    </message>
    <message>
        <source>%1 from %2</source>
        <translation>%2 から %1</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1、%2</translation>
    </message>
    <message>
        <source>book</source>
        <translation>冊</translation>
    </message>
    <message>
        <source>books</source>
        <translation>冊</translation>
    </message>
    <message>
        <source>highlight</source>
        <translation>件のハイライト</translation>
    </message>
    <message>
        <source>highlights</source>
        <translation>件のハイライト</translation>
    </message>
</context>
<context>
    <name>notara::AboutDialog</name>
    <message>
        <source>About Notara</source>
        <translation>Notara について</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>バージョン %1</translation>
    </message>
    <message>
        <source>Gathers the highlights and notes of your e-books.</source>
        <translation>電子書籍のハイライトとメモを集めます。</translation>
    </message>
    <message>
        <source>Free software under the MIT License.</source>
        <translation>MIT ライセンスのフリーソフトウェアです。</translation>
    </message>
    <message>
        <source>Runs with Qt %1, ICU %2 and SQLite %3.</source>
        <translation>Qt %1、ICU %2、SQLite %3 で動作しています。</translation>
    </message>
</context>
<context>
    <name>notara::AnnotationCardDelegate</name>
    <message>
        <source>Note: </source>
        <translation>メモ: </translation>
    </message>
</context>
<context>
    <name>notara::AnnotationListModel</name>
    <message>
        <source>Removed at source on %1</source>
        <translation>%1 に元の場所で削除</translation>
    </message>
    <message>
        <source>Note: %1</source>
        <translation>メモ: %1</translation>
    </message>
</context>
<context>
    <name>notara::ContentView</name>
    <message>
        <source>Nothing loaded yet.

Choose a Books folder or a Kindle Notebook export, or open the sample notebook.</source>
        <translation>まだ何も読み込まれていません。

ブックのフォルダか Kindle ノートブックのエクスポートを選ぶか、サンプルのノートブックを開いてください。</translation>
    </message>
    <message>
        <source>All Highlights</source>
        <translation>すべてのハイライト</translation>
    </message>
    <message>
        <source>Copied</source>
        <translation>コピーしました</translation>
    </message>
    <message>
        <source>No highlights match “%1”</source>
        <translation>「%1」に一致するハイライトはありません</translation>
    </message>
    <message>
        <source>No highlights were found: they are probably in the -wal files, which were not copied with the Books databases. Copy the whole Data folder from the Mac, including the files ending in -wal and -shm.</source>
        <translation>ハイライトが見つかりません。ブックのデータベースと一緒にコピーされなかった -wal ファイルにあると思われます。Mac から Data フォルダ全体を、-wal と -shm で終わるファイルも含めてコピーしてください。</translation>
    </message>
    <message>
        <source>No book here has highlights. Turn off "Hide Works with no Annotations" to list them all.</source>
        <translation>ハイライトのある本はありません。すべて表示するには「注釈のない作品を隠す」をオフにしてください。</translation>
    </message>
    <message>
        <source>This list is empty.</source>
        <translation>このリストは空です。</translation>
    </message>
    <message>
        <source>The sample notebook could not be written to %1.</source>
        <translation>サンプルのノートブックを %1 に書き込めませんでした。</translation>
    </message>
    <message>
        <source>Search Highlights</source>
        <translation>ハイライトを検索</translation>
    </message>
    <message>
        <source>Actions</source>
        <translation>アクション</translation>
    </message>
    <message>
        <source>Select Books Folder</source>
        <translation>ブックのフォルダを選択</translation>
    </message>
    <message>
        <source>Select Kindle Notes Export (.html)</source>
        <translation>Kindle のメモのエクスポートを選択 (.html)</translation>
    </message>
    <message>
        <source>Hide Works with no Annotations</source>
        <translation>注釈のない作品を隠す</translation>
    </message>
    <message>
        <source>Select Kindle Clippings (My Clippings.txt)</source>
        <translation>Kindle のクリップを選択 (My Clippings.txt)</translation>
    </message>
    <message>
        <source>Select Kobo Database (KoboReader.sqlite)</source>
        <translation>Kobo のデータベースを選択 (KoboReader.sqlite)</translation>
    </message>
    <message>
        <source>Sort</source>
        <translation>並べ替え</translation>
    </message>
    <message>
        <source>Book Order</source>
        <translation>本の順</translation>
    </message>
    <message>
        <source>Date Highlighted</source>
        <translation>ハイライトした日付</translation>
    </message>
    <message>
        <source>As Stored</source>
        <translation>保存順</translation>
    </message>
    <message>
        <source>Detailed Export</source>
        <translation>詳細なエクスポート</translation>
    </message>
    <message>
        <source>Export All Works…</source>
        <translation>すべての作品をエクスポート…</translation>
    </message>
    <message>
        <source>Find Highlights on This Computer…</source>
        <translation>このコンピュータのハイライトを探す…</translation>
    </message>
    <message>
        <source>Select KOReader Folder…</source>
        <translation>KOReader のフォルダを選択…</translation>
    </message>
    <message>
        <source>Select Foliate Folder…</source>
        <translation>Foliate のフォルダを選択…</translation>
    </message>
    <message>
        <source>Select calibre Library…</source>
        <translation>calibre のライブラリを選択…</translation>
    </message>
    <message>
        <source>Choose a folder with KOReader's sidecars: a book folder, a mounted e-reader or KOReader's own folder</source>
        <translation>KOReader のサイドカーがあるフォルダを選んでください: 本のフォルダ、マウントした電子書籍リーダー、または KOReader 自身のフォルダ</translation>
    </message>
    <message>
        <source>Choose Foliate's data folder (~/.local/share/com.github.johnfactotum.Foliate)</source>
        <translation>Foliate のデータフォルダを選んでください (~/.local/share/com.github.johnfactotum.Foliate)</translation>
    </message>
    <message>
        <source>Choose a calibre library folder (with metadata.db) or the viewer's annotation folder</source>
        <translation>calibre のライブラリフォルダ (metadata.db があるもの) かビューアの注釈フォルダを選んでください</translation>
    </message>
    <message>
        <source>About Notara</source>
        <translation>Notara について</translation>
    </message>
    <message>
        <source>Shown list</source>
        <translation>表示中のリスト</translation>
    </message>
    <message>
        <source>Books</source>
        <translation>本</translation>
    </message>
    <message>
        <source>Hiding Works with no Annotations</source>
        <translation>注釈のない作品を隠しています</translation>
    </message>
    <message>
        <source>Apple Books</source>
        <translation>Apple ブック</translation>
    </message>
    <message>
        <source>The Books databases of the folder chosen on %1%2 are gone: they were moved or deleted. Choose "Select Books Folder" to load them again.</source>
        <translation>%1%2 に選んだフォルダのブックのデータベースが見つかりません。移動または削除されました。もう一度読み込むには「ブックのフォルダを選択」を選んでください。</translation>
    </message>
    <message>
        <source>The Books library in %1 holds no books, so there is nothing to show.</source>
        <translation>%1 のブックのライブラリには本がないため、表示するものはありません。</translation>
    </message>
    <message>
        <source>The Books library holds no books, so there is nothing to show.</source>
        <translation>ブックのライブラリには本がないため、表示するものはありません。</translation>
    </message>
    <message>
        <source>Alert!</source>
        <translation>注意</translation>
    </message>
    <message>
        <source>Kindle notebook</source>
        <translation>Kindle ノートブック</translation>
    </message>
    <message>
        <source>"%1" could not be imported. %2 "Select Books Folder" or the "Hide Works with no Annotations" filter brings the library back.</source>
        <translation>「%1」を読み込めませんでした。%2「ブックのフォルダを選択」か「注釈のない作品を隠す」フィルタでライブラリに戻れます。</translation>
    </message>
    <message>
        <source>Show Library</source>
        <translation>ライブラリを表示</translation>
    </message>
    <message>
        <source>Select Kindle Clippings</source>
        <translation>Kindle のクリップを選択</translation>
    </message>
    <message>
        <source>Kindle clippings (*.txt)</source>
        <translation>Kindle のクリップ (*.txt)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>すべてのファイル (*)</translation>
    </message>
    <message>
        <source>Select Kobo Database</source>
        <translation>Kobo のデータベースを選択</translation>
    </message>
    <message>
        <source>Kobo database (KoboReader.sqlite *.sqlite)</source>
        <translation>Kobo のデータベース (KoboReader.sqlite *.sqlite)</translation>
    </message>
    <message>
        <source>%1 found on this computer</source>
        <translation>このコンピュータで %1 が見つかりました</translation>
    </message>
    <message>
        <source>Nothing could be imported. %1</source>
        <translation>何も読み込めませんでした。%1</translation>
    </message>
    <message>
        <source>Found on This Computer</source>
        <translation>このコンピュータで見つかったもの</translation>
    </message>
    <message>
        <source>%1. Not imported: %2</source>
        <translation>%1。読み込めなかったもの: %2</translation>
    </message>
    <message>
        <source>%1 connected:</source>
        <translation>%1 が接続されました:</translation>
    </message>
    <message>
        <source>Import Highlights</source>
        <translation>ハイライトを読み込む</translation>
    </message>
    <message>
        <source>Export All Works</source>
        <translation>すべての作品をエクスポート</translation>
    </message>
    <message>
        <source>Choose the folder for one Markdown file per work</source>
        <translation>作品ごとに 1 つの Markdown ファイルを置くフォルダを選んでください</translation>
    </message>
    <message>
        <source>Exporting annotations…</source>
        <translation>注釈をエクスポートしています…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Exporting annotations… %1 of %2</source>
        <translation>注釈をエクスポートしています… %1 / %2</translation>
    </message>
    <message>
        <source>Saving to disk…</source>
        <translation>ディスクに保存しています…</translation>
    </message>
    <message>
        <source>1 Markdown file</source>
        <translation>1 個の Markdown ファイル</translation>
    </message>
    <message>
        <source>%1 Markdown files</source>
        <translation>%1 個の Markdown ファイル</translation>
    </message>
    <message>
        <source>%1 written to %2</source>
        <translation>%1 を %2 に書き込みました</translation>
    </message>
    <message>
        <source> (cancelled after %1 of %2)</source>
        <translation> (%2 件中 %1 件で中止)</translation>
    </message>
    <message>
        <source>Each work with annotations has its own file, named like the single export.</source>
        <translation>注釈のある作品ごとに、単独のエクスポートと同じ名前のファイルがあります。</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 件を書き込めませんでした: %2</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>フォルダに表示</translation>
    </message>
    <message>
        <source>Nothing was imported from “%1”.</source>
        <translation>「%1」からは何も読み込まれませんでした。</translation>
    </message>
</context>
<context>
    <name>notara::CoreTexts</name>
    <message>
        <source>Unable to find Annotation Database!</source>
        <translation>注釈のデータベースが見つかりません</translation>
    </message>
    <message>
        <source>Unable to find Library Database!</source>
        <translation>ライブラリのデータベースが見つかりません</translation>
    </message>
    <message>
        <source>Recent highlights may be missing: the Books databases were copied without their -wal files. Copy the whole Data folder from the Mac, including the files ending in -wal and -shm.</source>
        <translation>最近のハイライトが欠けているかもしれません。ブックのデータベースが -wal ファイルなしでコピーされました。Mac から Data フォルダ全体を、-wal と -shm で終わるファイルも含めてコピーしてください。</translation>
    </message>
    <message>
        <source>Apple Books</source>
        <translation>Apple ブック</translation>
    </message>
    <message>
        <source>Kindle notebook</source>
        <translation>Kindle ノートブック</translation>
    </message>
</context>
<context>
    <name>notara::FileManager</name>
    <message>
        <source>No file manager could show “%1”.</source>
        <translation>「%1」を表示できるファイルマネージャがありません。</translation>
    </message>
</context>
<context>
    <name>notara::LibraryActions</name>
    <message>
        <source>%1 new, %2 changed, %3 removed at source, %4 unchanged</source>
        <translation>新規 %1、変更 %2、元の場所で削除 %3、変更なし %4</translation>
    </message>
    <message>
        <source>Keep Imports in Library</source>
        <translation>読み込んだものをライブラリに保存</translation>
    </message>
    <message>
        <source>All Highlights</source>
        <translation>すべてのハイライト</translation>
    </message>
    <message>
        <source>Hide Removed</source>
        <translation>削除されたものを隠す</translation>
    </message>
    <message>
        <source>Forget Source</source>
        <translation>ソースを削除</translation>
    </message>
    <message>
        <source>Sync to Folder…</source>
        <translation>フォルダに同期…</translation>
    </message>
    <message>
        <source>Change Sync Folder…</source>
        <translation>同期フォルダを変更…</translation>
    </message>
    <message>
        <source>Keeping highlights in your library…</source>
        <translation>ハイライトをライブラリに保存しています…</translation>
    </message>
    <message>
        <source>Keeping highlights in your library… %1%</source>
        <translation>ハイライトをライブラリに保存しています… %1%</translation>
    </message>
    <message>
        <source>Kept in your library: %1</source>
        <translation>ライブラリに保存しました: %1</translation>
    </message>
    <message>
        <source>Tags</source>
        <translation>タグ</translation>
    </message>
    <message>
        <source>Tags for this highlight, separated by commas:</source>
        <translation>このハイライトのタグ (カンマ区切り):</translation>
    </message>
    <message>
        <source>Choose Your Notes Folder</source>
        <translation>メモのフォルダを選択</translation>
    </message>
    <message>
        <source>Choose your notes folder: one Markdown file per book is kept in it</source>
        <translation>メモのフォルダを選んでください: 本ごとに 1 つの Markdown ファイルが保たれます</translation>
    </message>
    <message>
        <source>Syncing to %1…</source>
        <translation>%1 に同期しています…</translation>
    </message>
    <message>
        <source>Syncing to your notes folder… %1%</source>
        <translation>メモのフォルダに同期しています… %1%</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>フォルダに表示</translation>
    </message>
    <message>
        <source>No Sources Kept</source>
        <translation>保存されたソースはありません</translation>
    </message>
    <message>
        <source>Forget “%1”?</source>
        <translation>「%1」を削除しますか?</translation>
    </message>
    <message>
        <source>1 highlight leaves your library; highlights another source also lists stay.</source>
        <translation>1 件のハイライトがライブラリから削除されます。別のソースにもあるハイライトは残ります。</translation>
    </message>
    <message>
        <source>%1 highlights leave your library; highlights another source also lists stay.</source>
        <translation>%1 件のハイライトがライブラリから削除されます。別のソースにもあるハイライトは残ります。</translation>
    </message>
    <message>
        <source>Forget</source>
        <translation>削除</translation>
    </message>
    <message>
        <source>Forgot %1: 1 highlight left your library.</source>
        <translation>%1 を削除しました: 1 件のハイライトがライブラリから削除されました。</translation>
    </message>
    <message>
        <source>Forgot %1: %2 highlights left your library.</source>
        <translation>%1 を削除しました: %2 件のハイライトがライブラリから削除されました。</translation>
    </message>
    <message>
        <source>Your notes folder is up to date: nothing changed.</source>
        <translation>メモのフォルダは最新です。変更はありません。</translation>
    </message>
    <message>
        <source>1 file written</source>
        <translation>1 個のファイルを書き込みました</translation>
    </message>
    <message>
        <source>%1 files written</source>
        <translation>%1 個のファイルを書き込みました</translation>
    </message>
    <message>
        <source> (%1 new)</source>
        <translation> (新規 %1)</translation>
    </message>
    <message>
        <source>1 highlight added</source>
        <translation>1 件のハイライトを追加</translation>
    </message>
    <message>
        <source>%1 highlights added</source>
        <translation>%1 件のハイライトを追加</translation>
    </message>
    <message>
        <source>kept 1 highlight you edited</source>
        <translation>編集した 1 件のハイライトはそのままにしました</translation>
    </message>
    <message>
        <source>kept %1 highlights you edited</source>
        <translation>編集した %1 件のハイライトはそのままにしました</translation>
    </message>
    <message>
        <source>%1 marked removed at source</source>
        <translation>%1 件を元の場所で削除済みとして記録</translation>
    </message>
</context>
<context>
    <name>notara::MessageBar</name>
    <message>
        <source>Dismiss</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>メッセージ</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>情報</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
</context>
<context>
    <name>notara::ScanDialog</name>
    <message>
        <source>Find Highlights on This Computer</source>
        <translation>このコンピュータのハイライトを探す</translation>
    </message>
    <message>
        <source>No highlights of KOReader, Foliate or calibre were found on this computer or on a mounted e-reader.</source>
        <translation>このコンピュータにもマウントした電子書籍リーダーにも、KOReader、Foliate、calibre のハイライトは見つかりませんでした。</translation>
    </message>
    <message>
        <source>Choose what to import. The readers' files are only read.</source>
        <translation>読み込むものを選んでください。リーダーのファイルは読み取るだけです。</translation>
    </message>
    <message>
        <source>Highlights found</source>
        <translation>見つかったハイライト</translation>
    </message>
    <message>
        <source>%1 — %2 — %3</source>
        <translation>%1 — %2 — %3</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>読み込む</translation>
    </message>
</context>
<context>
    <name>notara::WelcomePanel</name>
    <message>
        <source>Your highlights, book by book</source>
        <translation>あなたのハイライトを本ごとに</translation>
    </message>
    <message>
        <source>Notara gathers the highlights and notes you made in e-books. Choose the Apple Books folder copied from your Mac, a Notebook page a Kindle app exported for one book, a Kindle's My Clippings.txt or a Kobo's KoboReader.sqlite. The sample shows every kind of entry.</source>
        <translation>Notara は電子書籍で付けたハイライトとメモを集めます。Mac からコピーした Apple ブックのフォルダ、Kindle アプリが 1 冊ごとに書き出したノートブックのページ、Kindle の My Clippings.txt、Kobo の KoboReader.sqlite のいずれかを選んでください。サンプルではあらゆる種類の項目を見られます。</translation>
    </message>
    <message>
        <source>Select Books Folder</source>
        <translation>ブックのフォルダを選択</translation>
    </message>
    <message>
        <source>Select Kindle Notes Export (.html)</source>
        <translation>Kindle のメモのエクスポートを選択 (.html)</translation>
    </message>
    <message>
        <source>Select Kindle Clippings (My Clippings.txt)</source>
        <translation>Kindle のクリップを選択 (My Clippings.txt)</translation>
    </message>
    <message>
        <source>Select Kobo Database (KoboReader.sqlite)</source>
        <translation>Kobo のデータベースを選択 (KoboReader.sqlite)</translation>
    </message>
    <message>
        <source>Open Sample Notebook</source>
        <translation>サンプルのノートブックを開く</translation>
    </message>
</context>
<context>
    <name>notara::WorkDetailView</name>
    <message>
        <source>Export Annotations</source>
        <translation>注釈をエクスポート</translation>
    </message>
    <message>
        <source>Select a book to see its highlights</source>
        <translation>本を選ぶとハイライトが表示されます</translation>
    </message>
    <message>
        <source>Highlights</source>
        <translation>ハイライト</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>コピー</translation>
    </message>
    <message>
        <source>Copy as Citation</source>
        <translation>引用としてコピー</translation>
    </message>
    <message>
        <source>Favourite</source>
        <translation>お気に入り</translation>
    </message>
    <message>
        <source>Tags…</source>
        <translation>タグ…</translation>
    </message>
    <message>
        <source>No Annotations for "%1"</source>
        <translation>「%1」の注釈はありません</translation>
    </message>
    <message>
        <source>Exported all Annotations for "%1"</source>
        <translation>「%1」のすべての注釈をエクスポートしました</translation>
    </message>
    <message>
        <source>Unable to export Annotations!</source>
        <translation>注釈をエクスポートできませんでした</translation>
    </message>
    <message>
        <source>Annotations exported to %1</source>
        <translation>注釈を %1 にエクスポートしました</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>フォルダに表示</translation>
    </message>
    <message>
        <source>The annotations of "%1" could not be written: %2</source>
        <translation>「%1」の注釈を書き込めませんでした: %2</translation>
    </message>
    <message>
        <source>No program on this computer opens “%1”.</source>
        <translation>このコンピュータには「%1」を開けるプログラムがありません。</translation>
    </message>
    <message>
        <source>Open in Reader</source>
        <translation>リーダーで開く</translation>
    </message>
</context>
<context>
    <name>notara::WorkListModel</name>
    <message>
        <source>Matching Annotations: </source>
        <translation>一致する注釈: </translation>
    </message>
    <message>
        <source>Total Annotations: </source>
        <translation>注釈の合計: </translation>
    </message>
</context>
</TS>
