<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>ContentView</name>
    <message>
        <source>Select the "Documents" directory for the Books App. This directory is usually found at: ~/Library/Containers/com.apple.iBooksX/Data/</source>
        <translation>请选择“图书”应用的“Documents”文件夹。它通常位于：~/Library/Containers/com.apple.iBooksX/Data/</translation>
    </message>
    <message>
        <source>%1 from %2</source>
        <translation>来自 %2 的 %1</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1，%2</translation>
    </message>
    <message>
        <source>book</source>
        <translation>本书</translation>
    </message>
    <message>
        <source>books</source>
        <translation>本书</translation>
    </message>
    <message>
        <source>highlight</source>
        <translation>条标注</translation>
    </message>
    <message>
        <source>highlights</source>
        <translation>条标注</translation>
    </message>
</context>
<context>
    <name>notara::AboutDialog</name>
    <message>
        <source>About Notara</source>
        <translation>关于 Notara</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>版本 %1</translation>
    </message>
    <message>
        <source>Gathers the highlights and notes of your e-books.</source>
        <translation>汇集您电子书中的标注和笔记。</translation>
    </message>
    <message>
        <source>Free software under the MIT License.</source>
        <translation>基于 MIT 许可证的自由软件。</translation>
    </message>
    <message>
        <source>Runs with Qt %1, ICU %2 and SQLite %3.</source>
        <translation>运行于 Qt %1、ICU %2 和 SQLite %3。</translation>
    </message>
</context>
<context>
    <name>notara::AnnotationCardDelegate</name>
    <message>
        <source>Note: </source>
        <translation>笔记：</translation>
    </message>
</context>
<context>
    <name>notara::AnnotationListModel</name>
    <message>
        <source>Removed at source on %1</source>
        <translation>已于 %1 在来源中删除</translation>
    </message>
    <message>
        <source>Note: %1</source>
        <translation>笔记：%1</translation>
    </message>
</context>
<context>
    <name>notara::ContentView</name>
    <message>
        <source>Nothing loaded yet.

Choose a Books folder or a Kindle Notebook export, or open the sample notebook.</source>
        <translation>尚未加载任何内容。

请选择“图书”文件夹或 Kindle 笔记本导出文件，或打开示例笔记本。</translation>
    </message>
    <message>
        <source>All Highlights</source>
        <translation>全部标注</translation>
    </message>
    <message>
        <source>Copied</source>
        <translation>已复制</translation>
    </message>
    <message>
        <source>No highlights match “%1”</source>
        <translation>没有与“%1”匹配的标注</translation>
    </message>
    <message>
        <source>No highlights were found: they are probably in the -wal files, which were not copied with the Books databases. Copy the whole Data folder from the Mac, including the files ending in -wal and -shm.</source>
        <translation>未找到标注：它们可能在未随“图书”数据库一起复制的 -wal 文件中。请从 Mac 复制整个 Data 文件夹，包括以 -wal 和 -shm 结尾的文件。</translation>
    </message>
    <message>
        <source>No book here has highlights. Turn off "Hide Works with no Annotations" to list them all.</source>
        <translation>这里没有带标注的书。关闭“隐藏没有注释的作品”即可全部列出。</translation>
    </message>
    <message>
        <source>This list is empty.</source>
        <translation>此列表为空。</translation>
    </message>
    <message>
        <source>The sample notebook could not be written to %1.</source>
        <translation>无法将示例笔记本写入 %1。</translation>
    </message>
    <message>
        <source>Search Highlights</source>
        <translation>搜索标注</translation>
    </message>
    <message>
        <source>Actions</source>
        <translation>操作</translation>
    </message>
    <message>
        <source>Select Books Folder</source>
        <translation>选择“图书”文件夹</translation>
    </message>
    <message>
        <source>Select Kindle Notes Export (.html)</source>
        <translation>选择 Kindle 笔记导出文件 (.html)</translation>
    </message>
    <message>
        <source>Hide Works with no Annotations</source>
        <translation>隐藏没有注释的作品</translation>
    </message>
    <message>
        <source>Select Kindle Clippings (My Clippings.txt)</source>
        <translation>选择 Kindle 剪报 (My Clippings.txt)</translation>
    </message>
    <message>
        <source>Select Kobo Database (KoboReader.sqlite)</source>
        <translation>选择 Kobo 数据库 (KoboReader.sqlite)</translation>
    </message>
    <message>
        <source>Sort</source>
        <translation>排序</translation>
    </message>
    <message>
        <source>Book Order</source>
        <translation>书中顺序</translation>
    </message>
    <message>
        <source>Date Highlighted</source>
        <translation>标注日期</translation>
    </message>
    <message>
        <source>As Stored</source>
        <translation>按存储顺序</translation>
    </message>
    <message>
        <source>Detailed Export</source>
        <translation>详细导出</translation>
    </message>
    <message>
        <source>Export All Works…</source>
        <translation>导出全部作品…</translation>
    </message>
    <message>
        <source>Find Highlights on This Computer…</source>
        <translation>查找本机上的标注…</translation>
    </message>
    <message>
        <source>Select KOReader Folder…</source>
        <translation>选择 KOReader 文件夹…</translation>
    </message>
    <message>
        <source>Select Foliate Folder…</source>
        <translation>选择 Foliate 文件夹…</translation>
    </message>
    <message>
        <source>Select calibre Library…</source>
        <translation>选择 calibre 书库…</translation>
    </message>
    <message>
        <source>Choose a folder with KOReader's sidecars: a book folder, a mounted e-reader or KOReader's own folder</source>
        <translation>请选择包含 KOReader 附属文件的文件夹：书籍文件夹、已挂载的电子阅读器或 KOReader 自己的文件夹</translation>
    </message>
    <message>
        <source>Choose Foliate's data folder (~/.local/share/com.github.johnfactotum.Foliate)</source>
        <translation>请选择 Foliate 的数据文件夹 (~/.local/share/com.github.johnfactotum.Foliate)</translation>
    </message>
    <message>
        <source>Choose a calibre library folder (with metadata.db) or the viewer's annotation folder</source>
        <translation>请选择 calibre 书库文件夹（含 metadata.db）或阅读器的注释文件夹</translation>
    </message>
    <message>
        <source>About Notara</source>
        <translation>关于 Notara</translation>
    </message>
    <message>
        <source>Shown list</source>
        <translation>当前列表</translation>
    </message>
    <message>
        <source>Books</source>
        <translation>书籍</translation>
    </message>
    <message>
        <source>Hiding Works with no Annotations</source>
        <translation>正在隐藏没有注释的作品</translation>
    </message>
    <message>
        <source>Apple Books</source>
        <translation>Apple 图书</translation>
    </message>
    <message>
        <source>The Books databases of the folder chosen on %1%2 are gone: they were moved or deleted. Choose "Select Books Folder" to load them again.</source>
        <translation>%1%2 选择的文件夹中的“图书”数据库已不存在：它们已被移动或删除。请选择“选择“图书”文件夹”重新加载。</translation>
    </message>
    <message>
        <source>The Books library in %1 holds no books, so there is nothing to show.</source>
        <translation>%1 中的“图书”书库没有书籍，因此没有可显示的内容。</translation>
    </message>
    <message>
        <source>The Books library holds no books, so there is nothing to show.</source>
        <translation>“图书”书库没有书籍，因此没有可显示的内容。</translation>
    </message>
    <message>
        <source>Alert!</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Kindle notebook</source>
        <translation>Kindle 笔记本</translation>
    </message>
    <message>
        <source>"%1" could not be imported. %2 "Select Books Folder" or the "Hide Works with no Annotations" filter brings the library back.</source>
        <translation>无法导入“%1”。%2 使用“选择“图书”文件夹”或“隐藏没有注释的作品”筛选即可回到书库。</translation>
    </message>
    <message>
        <source>Show Library</source>
        <translation>显示书库</translation>
    </message>
    <message>
        <source>Select Kindle Clippings</source>
        <translation>选择 Kindle 剪报</translation>
    </message>
    <message>
        <source>Kindle clippings (*.txt)</source>
        <translation>Kindle 剪报 (*.txt)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>所有文件 (*)</translation>
    </message>
    <message>
        <source>Select Kobo Database</source>
        <translation>选择 Kobo 数据库</translation>
    </message>
    <message>
        <source>Kobo database (KoboReader.sqlite *.sqlite)</source>
        <translation>Kobo 数据库 (KoboReader.sqlite *.sqlite)</translation>
    </message>
    <message>
        <source>%1 found on this computer</source>
        <translation>在本机上找到 %1</translation>
    </message>
    <message>
        <source>Nothing could be imported. %1</source>
        <translation>未能导入任何内容。%1</translation>
    </message>
    <message>
        <source>Found on This Computer</source>
        <translation>在本机上找到</translation>
    </message>
    <message>
        <source>%1. Not imported: %2</source>
        <translation>%1。未导入：%2</translation>
    </message>
    <message>
        <source>%1 connected:</source>
        <translation>%1 已连接：</translation>
    </message>
    <message>
        <source>Import Highlights</source>
        <translation>导入标注</translation>
    </message>
    <message>
        <source>Export All Works</source>
        <translation>导出全部作品</translation>
    </message>
    <message>
        <source>Choose the folder for one Markdown file per work</source>
        <translation>请选择存放每部作品一个 Markdown 文件的文件夹</translation>
    </message>
    <message>
        <source>Exporting annotations…</source>
        <translation>正在导出注释…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Exporting annotations… %1 of %2</source>
        <translation>正在导出注释… 第 %1 个，共 %2 个</translation>
    </message>
    <message>
        <source>Saving to disk…</source>
        <translation>正在保存到磁盘…</translation>
    </message>
    <message>
        <source>1 Markdown file</source>
        <translation>1 个 Markdown 文件</translation>
    </message>
    <message>
        <source>%1 Markdown files</source>
        <translation>%1 个 Markdown 文件</translation>
    </message>
    <message>
        <source>%1 written to %2</source>
        <translation>已将 %1 写入 %2</translation>
    </message>
    <message>
        <source> (cancelled after %1 of %2)</source>
        <translation>（在 %2 个中的第 %1 个后取消）</translation>
    </message>
    <message>
        <source>Each work with annotations has its own file, named like the single export.</source>
        <translation>每部有注释的作品都有自己的文件，命名方式与单独导出相同。</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 个无法写入：%2</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>在文件夹中显示</translation>
    </message>
    <message>
        <source>Nothing was imported from “%1”.</source>
        <translation>未从“%1”导入任何内容。</translation>
    </message>
</context>
<context>
    <name>notara::CoreTexts</name>
    <message>
        <source>Unable to find Annotation Database!</source>
        <translation>找不到注释数据库！</translation>
    </message>
    <message>
        <source>Unable to find Library Database!</source>
        <translation>找不到书库数据库！</translation>
    </message>
    <message>
        <source>Recent highlights may be missing: the Books databases were copied without their -wal files. Copy the whole Data folder from the Mac, including the files ending in -wal and -shm.</source>
        <translation>最近的标注可能缺失：“图书”数据库在复制时没有带上 -wal 文件。请从 Mac 复制整个 Data 文件夹，包括以 -wal 和 -shm 结尾的文件。</translation>
    </message>
    <message>
        <source>Apple Books</source>
        <translation>Apple 图书</translation>
    </message>
    <message>
        <source>Kindle notebook</source>
        <translation>Kindle 笔记本</translation>
    </message>
</context>
<context>
    <name>notara::FileManager</name>
    <message>
        <source>No file manager could show “%1”.</source>
        <translation>没有文件管理器能显示“%1”。</translation>
    </message>
</context>
<context>
    <name>notara::LibraryActions</name>
    <message>
        <source>%1 new, %2 changed, %3 removed at source, %4 unchanged</source>
        <translation>新增 %1，更改 %2，来源中已删除 %3，未变 %4</translation>
    </message>
    <message>
        <source>Keep Imports in Library</source>
        <translation>将导入内容保存到书库</translation>
    </message>
    <message>
        <source>All Highlights</source>
        <translation>全部标注</translation>
    </message>
    <message>
        <source>Hide Removed</source>
        <translation>隐藏已删除项</translation>
    </message>
    <message>
        <source>Forget Source</source>
        <translation>移除来源</translation>
    </message>
    <message>
        <source>Sync to Folder…</source>
        <translation>同步到文件夹…</translation>
    </message>
    <message>
        <source>Change Sync Folder…</source>
        <translation>更改同步文件夹…</translation>
    </message>
    <message>
        <source>Keeping highlights in your library…</source>
        <translation>正在将标注保存到您的书库…</translation>
    </message>
    <message>
        <source>Keeping highlights in your library… %1%</source>
        <translation>正在将标注保存到您的书库… %1%</translation>
    </message>
    <message>
        <source>Kept in your library: %1</source>
        <translation>已保存到您的书库：%1</translation>
    </message>
    <message>
        <source>Tags</source>
        <translation>标签</translation>
    </message>
    <message>
        <source>Tags for this highlight, separated by commas:</source>
        <translation>此标注的标签，用逗号分隔：</translation>
    </message>
    <message>
        <source>Choose Your Notes Folder</source>
        <translation>选择您的笔记文件夹</translation>
    </message>
    <message>
        <source>Choose your notes folder: one Markdown file per book is kept in it</source>
        <translation>请选择您的笔记文件夹：其中每本书保留一个 Markdown 文件</translation>
    </message>
    <message>
        <source>Syncing to %1…</source>
        <translation>正在同步到 %1…</translation>
    </message>
    <message>
        <source>Syncing to your notes folder… %1%</source>
        <translation>正在同步到您的笔记文件夹… %1%</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>在文件夹中显示</translation>
    </message>
    <message>
        <source>No Sources Kept</source>
        <translation>没有已保存的来源</translation>
    </message>
    <message>
        <source>Forget “%1”?</source>
        <translation>移除“%1”？</translation>
    </message>
    <message>
        <source>1 highlight leaves your library; highlights another source also lists stay.</source>
        <translation>1 条标注将离开您的书库；其他来源也列出的标注会保留。</translation>
    </message>
    <message>
        <source>%1 highlights leave your library; highlights another source also lists stay.</source>
        <translation>%1 条标注将离开您的书库；其他来源也列出的标注会保留。</translation>
    </message>
    <message>
        <source>Forget</source>
        <translation>移除</translation>
    </message>
    <message>
        <source>Forgot %1: 1 highlight left your library.</source>
        <translation>已移除 %1：1 条标注已离开您的书库。</translation>
    </message>
    <message>
        <source>Forgot %1: %2 highlights left your library.</source>
        <translation>已移除 %1：%2 条标注已离开您的书库。</translation>
    </message>
    <message>
        <source>Your notes folder is up to date: nothing changed.</source>
        <translation>您的笔记文件夹已是最新：没有任何更改。</translation>
    </message>
    <message>
        <source>1 file written</source>
        <translation>已写入 1 个文件</translation>
    </message>
    <message>
        <source>%1 files written</source>
        <translation>已写入 %1 个文件</translation>
    </message>
    <message>
        <source> (%1 new)</source>
        <translation>（新建 %1 个）</translation>
    </message>
    <message>
        <source>1 highlight added</source>
        <translation>新增 1 条标注</translation>
    </message>
    <message>
        <source>%1 highlights added</source>
        <translation>新增 %1 条标注</translation>
    </message>
    <message>
        <source>kept 1 highlight you edited</source>
        <translation>保留了 1 条您编辑过的标注</translation>
    </message>
    <message>
        <source>kept %1 highlights you edited</source>
        <translation>保留了 %1 条您编辑过的标注</translation>
    </message>
    <message>
        <source>%1 marked removed at source</source>
        <translation>%1 条已标记为来源中删除</translation>
    </message>
</context>
<context>
    <name>notara::MessageBar</name>
    <message>
        <source>Dismiss</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>消息</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>信息</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
</context>
<context>
    <name>notara::ScanDialog</name>
    <message>
        <source>Find Highlights on This Computer</source>
        <translation>查找本机上的标注</translation>
    </message>
    <message>
        <source>No highlights of KOReader, Foliate or calibre were found on this computer or on a mounted e-reader.</source>
        <translation>在本机和已挂载的电子阅读器上都没有找到 KOReader、Foliate 或 calibre 的标注。</translation>
    </message>
    <message>
        <source>Choose what to import. The readers' files are only read.</source>
        <translation>请选择要导入的内容。阅读器的文件只会被读取。</translation>
    </message>
    <message>
        <source>Highlights found</source>
        <translation>找到的标注</translation>
    </message>
    <message>
        <source>%1 — %2 — %3</source>
        <translation>%1 — %2 — %3</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>导入</translation>
    </message>
</context>
<context>
    <name>notara::WelcomePanel</name>
    <message>
        <source>Your highlights, book by book</source>
        <translation>您的标注，按书整理</translation>
    </message>
    <message>
        <source>Notara gathers the highlights and notes you made in e-books. Choose the Apple Books folder copied from your Mac, a Notebook page a Kindle app exported for one book, a Kindle's My Clippings.txt or a Kobo's KoboReader.sqlite. The sample shows every kind of entry.</source>
        <translation>Notara 汇集您在电子书中做的标注和笔记。请选择从 Mac 复制的 Apple 图书文件夹、Kindle 应用为一本书导出的笔记本页面、Kindle 的 My Clippings.txt 或 Kobo 的 KoboReader.sqlite。示例展示了每一种条目。</translation>
    </message>
    <message>
        <source>Select Books Folder</source>
        <translation>选择“图书”文件夹</translation>
    </message>
    <message>
        <source>Select Kindle Notes Export (.html)</source>
        <translation>选择 Kindle 笔记导出文件 (.html)</translation>
    </message>
    <message>
        <source>Select Kindle Clippings (My Clippings.txt)</source>
        <translation>选择 Kindle 剪报 (My Clippings.txt)</translation>
    </message>
    <message>
        <source>Select Kobo Database (KoboReader.sqlite)</source>
        <translation>选择 Kobo 数据库 (KoboReader.sqlite)</translation>
    </message>
    <message>
        <source>Open Sample Notebook</source>
        <translation>打开示例笔记本</translation>
    </message>
</context>
<context>
    <name>notara::WorkDetailView</name>
    <message>
        <source>Export Annotations</source>
        <translation>导出注释</translation>
    </message>
    <message>
        <source>Select a book to see its highlights</source>
        <translation>选择一本书以查看其标注</translation>
    </message>
    <message>
        <source>Highlights</source>
        <translation>标注</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>Copy as Citation</source>
        <translation>复制为引文</translation>
    </message>
    <message>
        <source>Favourite</source>
        <translation>收藏</translation>
    </message>
    <message>
        <source>Tags…</source>
        <translation>标签…</translation>
    </message>
    <message>
        <source>No Annotations for "%1"</source>
        <translation>“%1”没有注释</translation>
    </message>
    <message>
        <source>Exported all Annotations for "%1"</source>
        <translation>已导出“%1”的全部注释</translation>
    </message>
    <message>
        <source>Unable to export Annotations!</source>
        <translation>无法导出注释！</translation>
    </message>
    <message>
        <source>Annotations exported to %1</source>
        <translation>注释已导出到 %1</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>在文件夹中显示</translation>
    </message>
    <message>
        <source>The annotations of "%1" could not be written: %2</source>
        <translation>无法写入“%1”的注释：%2</translation>
    </message>
    <message>
        <source>No program on this computer opens “%1”.</source>
        <translation>本机上没有能打开“%1”的程序。</translation>
    </message>
    <message>
        <source>Open in Reader</source>
        <translation>在阅读器中打开</translation>
    </message>
</context>
<context>
    <name>notara::WorkListModel</name>
    <message>
        <source>Matching Annotations: </source>
        <translation>匹配的注释：</translation>
    </message>
    <message>
        <source>Total Annotations: </source>
        <translation>注释总数：</translation>
    </message>
</context>
</TS>
